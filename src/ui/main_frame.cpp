// SPDX-License-Identifier: GPL-3.0-or-later
// The main window.
#include "ui/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

#include "core/version.h"
#include "maps/tile_source.h"
#include "ui/data_paths.h"
#include "ui/display_text.h"
#include "ui/help_viewer.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/frame_model.h"
#include "ui/logic/help_about.h"
#include "ui/plovane_view.h"
#include "ui/tile_menu.h"
#include "ui/toolbar_icons.h"

namespace plovane {

// Draws the progress indicator over the status bar's right third.
class ProgressIndicator : public QWidget {
  public:
    explicit ProgressIndicator(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }
    void SetPercent(int percent) {
        percent_ = std::clamp(percent, 0, 100);
        update();
    }
    int percent() const { return percent_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const PixelRect client{0, 0, width(), height()};
        const ProgressLayout layout = LayoutProgress(client, percent_);
        const auto fill = [&painter](const PixelRect& r, const QColor& colour) {
            if (r.Width() > 0 && r.Height() > 0) {
                painter.fillRect(r.left, r.top, static_cast<int>(r.Width()),
                                 static_cast<int>(r.Height()), colour);
            }
        };
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(layout.frame.left, layout.frame.top,
                         static_cast<int>(layout.frame.Width()) - 1,
                         static_cast<int>(layout.frame.Height()) - 1);
        fill(layout.done, QColor(0, 0, 192));
        fill(layout.remaining, QColor(192, 192, 192));
    }

  private:
    int percent_ = 0;
};

CMainFrame::CMainFrame(Profile& profile, QWidget* parent) : QMainWindow(parent), profile_(profile) {
    setObjectName("mainFrame");
    setWindowTitle(QString::fromLatin1(kProgramName));
    BuildMenus();
    BuildToolBar();
    notice_ = NewPlainLabel({}, this);  // received lines are never rich text
    notice_->setObjectName("notice");
    notice_->setTextInteractionFlags(Qt::NoTextInteraction);
    notice_->setMinimumWidth(1);
    statusBar()->addWidget(notice_, 1);
    pointer_ = NewPlainLabel({}, this);
    pointer_->setObjectName("pointerPosition");
    statusBar()->addPermanentWidget(pointer_);
    logState_ = NewPlainLabel({}, this);
    logState_->setObjectName("logState");
    statusBar()->addPermanentWidget(logState_);
    progress_ = new ProgressIndicator(statusBar());
    ShowNotice("Ready");
    ShowDragMode(DragMode::kZoom);
    resize(kDefaultWidth, kDefaultHeight);
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::MakeAction(Command id, const QString& text) {
    auto* action = new QAction(text, this);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    return action;
}

void CMainFrame::BuildMenus() {
    dragModes_ = new QActionGroup(this);
    dragModes_->setExclusive(true);
    for (const MenuEntry& top : MainMenuBar()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(top.text.c_str()));
        for (const MenuEntry& entry : top.children) {
            switch (entry.kind) {
                case MenuEntry::Kind::kSeparator:
                    menu->addSeparator();
                    break;
                case MenuEntry::Kind::kSubmenu:
                    // Map > Open: filled from the map list.
                    mapOpen_ = menu->addMenu(QString::fromLatin1(entry.text.c_str()));
                    mapOpen_->setObjectName("mapOpen");
                    break;
                case MenuEntry::Kind::kCommand: {
                    QAction* action = MakeAction(entry.id, QString::fromLatin1(entry.text.c_str()));
                    action->setEnabled(entry.enabled);
                    if (!entry.shortcut.empty()) {
                        action->setShortcut(
                            QKeySequence(QString::fromLatin1(entry.shortcut.c_str())));
                    }
                    // Help and Find Station answer from the list windows too.
                    if (entry.id == Command::kHelpTopics || entry.id == Command::kFindStation)
                        action->setShortcutContext(Qt::ApplicationShortcut);
                    if (entry.checkable) {
                        action->setCheckable(true);
                        dragModes_->addAction(action);
                    }
                    const QIcon icon = ToolbarIcon(entry.id);
                    if (!icon.isNull())
                        action->setIcon(icon);
                    menu->addAction(action);
                    actions_[entry.id] = action;
                    break;
                }
            }
        }
    }
    RebuildMapMenu({});
}

void CMainFrame::BuildToolBar() {
    toolBar_ = addToolBar("Toolbar");
    toolBar_->setObjectName("toolBar");  // saveState() needs the name
    toolBar_->setIconSize(QSize(16, 16));
    for (const ToolbarButton& button : MainToolbar()) {
        if (button.id == Command::kNone) {
            toolBar_->addSeparator();
            continue;
        }
        // The menu's action: one state for both, so the pressed drag mode follows the menu.
        QAction* action = actions_.at(button.id);
        action->setToolTip(QString::fromLatin1(button.text.c_str()));
        toolBar_->addAction(action);
    }
}

QAction* CMainFrame::action(Command id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::SetView(CPlovaneView* view) {
    view_ = view;
    setCentralWidget(view);
    connect(view, &CPlovaneView::dragModeChanged, this, &CMainFrame::ShowDragMode);
    connect(view, &CPlovaneView::pointerText, pointer_, &QLabel::setText);
    ShowDragMode(view->dragMode());
    for (QAction* top : menuBar()->actions()) {
        if (top->menu() && top->text() == "&View")
            AddTileMenu(*top->menu(), *view);
    }
}

void CMainFrame::ShowDragMode(DragMode mode) {
    QAction* checked =
        action(mode == DragMode::kZoom ? Command::kDragToZoom : Command::kDragToMove);
    if (checked != nullptr)
        checked->setChecked(true);
}

// --- Status bar ---

void CMainFrame::ShowLogState(const QString& text, const QString& tooltip, bool trouble) {
    logState_->setText(text);
    logState_->setToolTip(tooltip);
    logState_->setStyleSheet(trouble ? "color: #c00000; font-weight: bold;" : QString());
}

void CMainFrame::ShowPortIcons(const std::vector<PortIcon>& ports) {
    while (portIcons_.size() > ports.size()) {
        delete portIcons_.back();
        portIcons_.pop_back();
    }
    while (portIcons_.size() < ports.size()) {
        QLabel* icon = NewPlainLabel({}, this);
        icon->setObjectName(QString("tncPort%1").arg(portIcons_.size() + 1));
        statusBar()->insertPermanentWidget(static_cast<int>(portIcons_.size()) + 1, icon);
        portIcons_.push_back(icon);
    }
    for (size_t i = 0; i < ports.size(); ++i) {
        static constexpr const char* kColours[] = {"#808080", "#008000", "#c08000", "#c00000"};
        QLabel* icon = portIcons_[i];
        icon->setText(QString::fromUtf8("\u25CF ") + DisplayText(ports[i].text));
        icon->setToolTip(DisplayText(ports[i].tooltip));
        icon->setStyleSheet(QString("color: %1;").arg(kColours[static_cast<int>(ports[i].state)]));
    }
}

void CMainFrame::ShowNotice(const QString& text) {
    // One line: a received line's own line ends are not shown.
    QString line = text;
    line.replace('\r', ' ').replace('\n', ' ');
    // Other controls (ESC, BEL, C1) are shown as "\x1B", as on the console.
    for (qsizetype i = line.size(); i-- > 0;) {
        const char16_t code = line[i].unicode();
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
            line.replace(i, 1, QString::asprintf("\\x%02X", static_cast<unsigned>(code)));
    }
    notice_->setText(line.trimmed());
}

QString CMainFrame::notice() const {
    return notice_->text();
}

QString CMainFrame::pointerText() const {
    return pointer_->text();
}

void CMainFrame::BeginProgressDrawing() {
    if (progressUsers_++ == 0) {
        progress_->setGeometry(statusBar()->rect());
        progress_->SetPercent(0);
        progress_->raise();
        progress_->show();
    }
}

void CMainFrame::EndProgressDrawing() {
    if (progressUsers_ == 0)
        return;
    if (--progressUsers_ == 0)
        progress_->hide();
}

void CMainFrame::Progress(int percent) {
    if (progressUsers_ == 0)
        return;  // nothing is drawn outside a Begin/End pair
    progress_->setGeometry(statusBar()->rect());
    progress_->SetPercent(percent);
    // Map files are read before the event loop gets back: draw now, unless the map view is
    // painting (no other widget may be painted then; the update follows).
    if (view_ == nullptr || !view_->painting())
        progress_->repaint();
}

int CMainFrame::progressPercent() const {
    return progressUsers_ > 0 ? progress_->percent() : -1;
}

// --- Map > Open ---

void CMainFrame::RebuildMapMenu(const std::vector<MapListEntry>& maps) {
    // The old items go (the menu owns and deletes them); the placeholder or the maps, in
    // list order, take their place.
    mapOpen_->clear();
    for (const MenuEntry& entry : MapOpenItems(maps)) {
        // Titles arrive with "&" doubled, so the menu shows them literally.
        // A tab would start the item's shortcut column; the title shows a space instead.
        QAction* action = mapOpen_->addAction(DisplayText(entry.text).replace('\t', ' '));
        action->setData(entry.mapIndex);
        action->setEnabled(entry.enabled);
        if (entry.id == Command::kOpenMap) {
            const int index = entry.mapIndex;
            connect(action, &QAction::triggered, this, [this, index] { emit openMap(index); });
        }
    }
}

// --- Commands ---

void CMainFrame::OnCommand(Command id) {
    switch (id) {
        case Command::kExit:
            close();
            return;
        case Command::kAbout: {
            QMessageBox* box = MakeAboutBox();
            box->exec();
            delete box;
            return;
        }
        case Command::kHelpTopics:
            OpenHelp();
            return;
        default:
            break;
    }
    if (view_ != nullptr && view_->OnCommand(id))
        return;
    emit command(id);
}

QMessageBox* CMainFrame::MakeAboutBox() {
    // OpenStreetMap is credited while its tiles are under the map.
    bool osmTiles = false;
    if (view_ != nullptr) {
        TileSourceChoice choice;
        std::string error;
        osmTiles = ParseTileSource(view_->tileSource(), choice, error) &&
                   choice.kind == TileSourceKind::kUrl && IsOsmTileUrl(choice.location);
    }
    auto* box = new QMessageBox(this);
    box->setWindowTitle(QString::fromStdString(AboutCaption()));
    box->setTextFormat(Qt::PlainText);
    box->setText(QString::fromLatin1(kProgramName) + "\n" + QString::fromStdString(VersionLine()) +
                 "\n\n" + QString::fromStdString(AboutDetails(osmTiles)));
    box->setIcon(QMessageBox::Information);
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

HelpViewer* CMainFrame::helpViewer() const {
    return help_.data();
}

bool CMainFrame::OpenHelp(const QString& topic) {
    const QString path = HelpPagePath();
    if (path.isEmpty()) {
        QMessageBox::warning(this, QString::fromLatin1(kProgramName),
                             "Unable to open the help page.");
        return false;
    }
    QString section = topic;
    if (section.isEmpty()) {
        const QWidget* active = QApplication::activeWindow();
        section = QString::fromStdString(HelpTopicFor(active != nullptr && active != help_.data()
                                                          ? active->metaObject()->className()
                                                          : "CMainFrame"));
    }
    if (!help_)
        help_ = new HelpViewer(path, this);
    help_->ShowTopic(section);
    help_->show();
    help_->raise();
    help_->activateWindow();
    return true;
}

// --- Shut-down ---

void CMainFrame::SaveBarState() {
    const QByteArray state = saveState();
    profile_.WriteBinary("ToolBar", "RestoreInfo",
                         std::vector<uint8_t>(state.begin(), state.end()));
    // The version as UTF-16 without a terminator, low byte first.
    std::vector<uint8_t> version;
    for (const char* c = kVersionText; *c != '\0'; ++c) {
        version.push_back(static_cast<uint8_t>(*c));
        version.push_back(0);
    }
    profile_.WriteBinary("ToolBar", "LastVersion", version);
    const QByteArray geometry = saveGeometry();
    profile_.WriteBinary("ToolBar", "WindowGeometry",
                         std::vector<uint8_t>(geometry.begin(), geometry.end()));
}

void CMainFrame::RestoreWindowGeometry() {
    std::vector<uint8_t> geometry;
    if (profile_.GetBinary("ToolBar", "WindowGeometry", geometry) && !geometry.empty()) {
        restoreGeometry(QByteArray(reinterpret_cast<const char*>(geometry.data()),
                                   static_cast<qsizetype>(geometry.size())));
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    closed_ = true;
    SaveBarState();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ShowNotice("Exiting Plovane...");
    if (shutdown_)
        shutdown_();
    QApplication::restoreOverrideCursor();
    event->accept();
}

}  // namespace plovane
