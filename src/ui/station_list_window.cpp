// SPDX-License-Identifier: GPL-3.0-or-later
// The "Stations" window.
#include "ui/station_list_window.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>

#include "maps/render/symbol_icons.h"
#include "ui/display_text.h"
#include "ui/logic/list_text.h"

namespace plovane {

CStationListWindow::CStationListWindow(CStationList& stations, AppHost& host,
                                       const CSymbolIcons* icons,
                                       StationListActions::ShowInfo showInfo,
                                       StationListActions::SendNew sendNew, QWidget* parent)
    : ListWindowBase(parent),
      stations_(stations),
      icons_(icons),
      actions_(stations, host, std::move(showInfo), std::move(sendNew)) {
    setWindowTitle(tr("Stations"));
    // The 96 primary-table icons, then the 96 alternate-table ones.
    if (icons_ != nullptr) {
        for (const IconStrip strip : {IconStrip::kPrimary, IconStrip::kAlternate}) {
            for (int index = 0; index < kSymbolIconCount; ++index) {
                const QImage& image = icons_->Icon(strip, index);
                symbolIcons_.push_back(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
            }
        }
    }

    callMask_ = new QLineEdit(this);
    commentsMask_ = new QLineEdit(this);
    count_ = NewPlainLabel({}, this);

    model_ = new Model(
        ColumnTitles<CStationListWindow>(kStationColumnTitles),
        {kStationColumnWidths.begin(), kStationColumnWidths.end()},
        [](const StationRowData& s, int column) {
            return QString::fromStdString(StationCellText(s, column));
        },
        [this](const StationRowData& s) -> QIcon {
            const int index = StationListIcon(s.symbolTable, s.symbolCode);
            if (index < 0 || index >= static_cast<int>(symbolIcons_.size()))
                return {};
            return symbolIcons_[static_cast<size_t>(index)];
        },
        this);
    list_ = NewListView(model_, kStationColumns, this);

    infoButton_ = new QPushButton(tr("Station &Info..."), this);
    messageButton_ = new QPushButton(tr("Send &Message..."), this);
    regularExpressions_ = new QCheckBox(tr("Use re&gular expressions"), this);

    auto* masks = new QGridLayout;
    masks->addWidget(new QLabel(tr("Mask by Call:"), this), 0, 0);
    masks->addWidget(callMask_, 0, 1);
    masks->addWidget(new QLabel(tr("Mask by Comments:"), this), 1, 0);
    masks->addWidget(commentsMask_, 1, 1);
    // The two buttons centred in the two halves of the width.
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(infoButton_);
    buttonRow->addStretch(2);
    buttonRow->addWidget(messageButton_);
    buttonRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(masks);
    layout->addWidget(count_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttonRow);
    layout->addWidget(regularExpressions_);

    ResizeWithinScreen(*this, QSize(560, 600));

    maskTimer_.setSingleShot(true);
    maskTimer_.setInterval(kStationMaskDelayMs);
    fillTimer_.setInterval(0);
    pruneTimer_.setSingleShot(true);
    pruneTimer_.setInterval(kPruneDelayMs);
    connect(&maskTimer_, &QTimer::timeout, this, &CStationListWindow::RefillStationList);
    connect(&fillTimer_, &QTimer::timeout, this, &CStationListWindow::FillTick);
    connect(&pruneTimer_, &QTimer::timeout, this, [this] {
        DropRemovedRows();
        UpdateCount();
    });
    const auto restartMaskTimer = [this] { maskTimer_.start(); };
    connect(callMask_, &QLineEdit::textChanged, this, restartMaskTimer);
    connect(commentsMask_, &QLineEdit::textChanged, this, restartMaskTimer);
    connect(regularExpressions_, &QCheckBox::toggled, this, restartMaskTimer);
    connect(list_->header(), &QHeaderView::sectionClicked, this, &CStationListWindow::SortByColumn);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CStationListWindow::UpdateMessageButton);
    connect(infoButton_, &QPushButton::clicked, this, [this] { OnButton(true); });
    // Enter or a double click on a row opens its Station Info; Escape closes the window.
    connect(list_, &QTreeView::activated, this, [this](const QModelIndex&) { OnButton(true); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, &CStationListWindow::ShowRowMenu);
    connect(messageButton_, &QPushButton::clicked, this, [this] { OnButton(false); });

    RefillStationList();
}

CStationListWindow::~CStationListWindow() = default;

void CStationListWindow::ShowStationList() {
    show();
    raise();
    activateWindow();
}

StationFilter CStationListWindow::ReadFilter() const {
    return {TextMask(callMask_->text().toStdString()),
            TextMask(commentsMask_->text().toStdString()), regularExpressions_->isChecked()};
}

void CStationListWindow::RefillStationList() {
    maskTimer_.stop();
    fillTimer_.stop();
    pruneTimer_.stop();
    waiting_.clear();
    waitingAll_ = false;
    filter_ = ReadFilter();
    std::vector<StationRowData> records = CollectStationRows(stations_);
    total_ = records.size();
    // The rows come in the order the header shows (the rows keep it), not the store's.
    model_->StartFill(std::move(records),
                      [filter = filter_](const StationRowData& s) { return filter.Passes(s); });
    if (model_->rows().Loading())
        fillTimer_.start();
    UpdateCount();
}

void CStationListWindow::FillTick() {
    QElapsedTimer spent;
    spent.start();
    bool more = true;
    while (more && spent.elapsed() < kFillTickBudgetMs)
        more = FillListTick(*list_, *model_, kFillSlice);
    if (!more) {
        fillTimer_.stop();
        // Records the limit removed while the fill ran must not keep their rows.
        DropRemovedRows();
    }
    UpdateCount();
}

void CStationListWindow::FinishFill() {
    while (fillTimer_.isActive())
        FillTick();
}

void CStationListWindow::ShowRowMenu(const QPoint& pos) {
    const QModelIndex index = list_->indexAt(pos);
    if (!index.isValid())
        return;
    list_->setCurrentIndex(index);
    const std::optional<std::string> call = SelectedCall();
    if (!call)
        return;
    QMenu menu(this);
    QAction* info = menu.addAction(tr("Station &Info..."));
    QAction* message = menu.addAction(tr("Send &Message..."));
    message->setEnabled(messageButton_->isEnabled());
    QAction* centre = menu.addAction(tr("&Center on Station"));
    centre->setEnabled(static_cast<bool>(centerOn_));
    QAction* chosen = menu.exec(list_->viewport()->mapToGlobal(pos));
    if (chosen == info)
        OnButton(true);
    else if (chosen == message)
        OnButton(false);
    else if (chosen == centre && centerOn_)
        centerOn_(*call);
}

void CStationListWindow::StationsChanged(const std::vector<std::string>& calls, bool all) {
    if (!isVisible()) {
        // Kept for when the window is shown again.
        if (all || waitingAll_ || waiting_.size() + calls.size() > kMaxWaitingChanges) {
            waitingAll_ = true;
            waiting_.clear();
        } else {
            waiting_.insert(calls.begin(), calls.end());
        }
        return;
    }
    if (all) {
        RefillStationList();
        return;
    }
    for (const std::string& call : calls)
        StationListChanged(call);
}

void CStationListWindow::StationListChanged(const std::string& call) {
    std::optional<StationRowData> current;
    if (const auto station = stations_.FindStation(call))
        current = StationRowOf(*station);
    // A record without a row may be new, and a new record may have pushed the oldest out.
    // The check is not put off again by later changes, so steady traffic cannot starve it.
    if (current && !model_->rows().RowOf(call) && !pruneTimer_.isActive())
        pruneTimer_.start();
    model_->Change(call, std::move(current),
                   [this](const StationRowData& s) { return filter_.Passes(s); });
    total_ = stations_.Count();
    UpdateCount();
    UpdateMessageButton();
}

void CStationListWindow::UpdateMessageButton() {
    // A killed object or item has nobody to write to.
    bool offer = true;
    if (const std::optional<std::string> call = SelectedCall()) {
        if (const auto row = model_->rows().RowOf(*call))
            offer = !model_->rows().at(*row).killed;
    }
    messageButton_->setEnabled(offer);
}

size_t CStationListWindow::DropRemovedRows() {
    const auto calls = CollectStationCalls(stations_);
    if (!calls)
        return 0;  // the store is busy: try again at the next change
    total_ = calls->size();
    return model_->RemoveMissing(
        [&calls](const std::string& call) { return calls->count(call) != 0; });
}

void CStationListWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ApplyWaitingChanges();
}

void CStationListWindow::ApplyWaitingChanges() {
    if (waitingAll_) {
        RefillStationList();
        return;
    }
    if (waiting_.empty())
        return;
    const std::vector<std::string> calls(waiting_.begin(), waiting_.end());
    waiting_.clear();
    for (const std::string& call : calls)
        StationListChanged(call);
}

void CStationListWindow::UpdateCount() {
    count_->setText(QString::fromStdString(
        StationCountText(model_->rows().size(), total_, model_->rows().Loading())));
}

QString CStationListWindow::countText() const {
    return count_->text();
}

std::optional<std::string> CStationListWindow::SelectedCall() const {
    return SelectedRowKey(*list_, *model_);
}

void CStationListWindow::SelectCall(const std::string& call) {
    SelectRowKey(*list_, *model_, call);
}

void CStationListWindow::OnButton(bool info) {
    const std::optional<std::string> call = SelectedCall();
    const bool done = info ? actions_.Info(call) : actions_.SendMessage(call);
    if (!done && call) {
        // The selected row's record is gone: the row goes too.
        StationListChanged(*call);
    }
}

void CStationListWindow::SortByColumn(int column) {
    SortListByColumn(*list_, *model_, sort_, column,
                     [this](StationRows& rows) { SortStationRows(rows, sort_); });
}

}  // namespace plovane
