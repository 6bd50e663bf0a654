// SPDX-License-Identifier: GPL-3.0-or-later
// The "Messages" window.
#include "ui/message_list_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/display_text.h"
#include "ui/logic/list_text.h"

namespace plovane {
namespace {

// An envelope with a mark: the arrow of a message going out, a tick once acknowledged,
// a bang for one waiting for our ack, a letter for bulletins and weather services.
QIcon EnvelopeIcon(QColor paper, QColor mark, int kind) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(paper);
    p.drawRect(1, 4, 13, 9);
    p.drawLine(1, 4, 7, 9);
    p.drawLine(14, 4, 8, 9);
    p.setPen(QPen(mark, 2));
    switch (kind) {
        case 1:  // going out
            p.drawLine(9, 2, 14, 2);
            p.drawLine(12, 0, 14, 2);
            break;
        case 2:  // acknowledged
        case 4:
            p.drawLine(8, 12, 10, 14);
            p.drawLine(10, 14, 15, 8);
            break;
        case 3:  // waiting for our ack
            p.drawLine(13, 6, 13, 11);
            p.drawPoint(13, 14);
            break;
        case 5:
        case 6: {
            QFont font;
            font.setPixelSize(9);
            font.setBold(true);
            p.setFont(font);
            p.setPen(mark);
            p.drawText(QRect(8, 6, 8, 10), Qt::AlignCenter, kind == 5 ? "B" : "W");
            break;
        }
        default:
            break;
    }
    return QIcon(pixmap);
}

}  // namespace

std::vector<QIcon> MessageIcons() {
    return {
        EnvelopeIcon(QColor(230, 230, 230), Qt::black, 0),
        EnvelopeIcon(QColor(255, 240, 200), QColor(200, 0, 0), 1),
        EnvelopeIcon(QColor(255, 240, 200), QColor(0, 140, 0), 2),
        EnvelopeIcon(QColor(255, 255, 160), QColor(200, 0, 0), 3),
        EnvelopeIcon(QColor(255, 255, 160), QColor(0, 140, 0), 4),
        EnvelopeIcon(QColor(200, 220, 255), QColor(0, 0, 160), 5),
        EnvelopeIcon(QColor(200, 255, 220), QColor(0, 100, 0), 6),
    };
}

CMessageListWindow::CMessageListWindow(CMessageList& store, AppHost& host,
                                       const CStationSettings& settings, SendNew sendNew,
                                       std::function<void()> redrawMainView, QWidget* parent)
    : ListWindowBase(parent),
      store_(store),
      settings_(settings),
      redrawMainView_(std::move(redrawMainView)),
      actions_(store, host, settings, std::move(sendNew)),
      icons_(MessageIcons()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Messages"));

    viewOnly_ = new QComboBox(this);
    for (const char* name : kMessageViewNames)
        viewOnly_->addItem(tr(name));
    callMask_ = new QLineEdit(this);
    contentsMask_ = new QLineEdit(this);
    regularExpressions_ = new QCheckBox(tr("Use Re&gular Expressions"), this);

    model_ = new Model(
        ColumnTitles<CMessageListWindow>(kMessageColumnTitles),
        {kMessageColumnWidths.begin(), kMessageColumnWidths.end()},
        [](const CMessage& m, int column) {
            return QString::fromStdString(MessageCellText(m, column));
        },
        [this](const CMessage& m) {
            const int icon = MessageIcon(m, settings_.MyCall);
            return icon >= 0 && icon < static_cast<int>(icons_.size()) ? icons_[icon] : QIcon();
        },
        this);
    list_ = NewListView(model_, kMessageColumns, this);
    list_->header()->setStretchLastSection(false);
    // The date column shows its longest text whole.
    list_->setColumnWidth(
        kMessageColumnDateTime,
        std::max(list_->columnWidth(kMessageColumnDateTime),
                 list_->fontMetrics().horizontalAdvance("2026-Sep-30 23:59") + 12));
    status_ = NewPlainLabel({}, this);

    auto* masks = new QFormLayout;
    masks->addRow(tr("View only:"), viewOnly_);
    masks->addRow(tr("Mask by Call:"), callMask_);
    masks->addRow(tr("Mask by Contents:"), contentsMask_);
    masks->addRow(QString(), regularExpressions_);
    auto* buttonRow = new QHBoxLayout;
    for (const char* text : {"&New", "&Resend", "Re&ply", "&Stop", "&Delete"}) {
        auto* button = new QPushButton(tr(text), this);
        button->setAutoDefault(false);
        buttons_.push_back(button);
        buttonRow->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(masks);
    layout->addWidget(list_, 1);
    layout->addWidget(status_);
    layout->addLayout(buttonRow);

    ResizeWithinScreen(*this, QSize(720, 520));

    maskTimer_.setSingleShot(true);
    maskTimer_.setInterval(kMaskDelayMs);
    fillTimer_.setInterval(kFillTickMs);
    connect(&maskTimer_, &QTimer::timeout, this, &CMessageListWindow::Reload);
    // Escape closes the window, as in the station list.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(&fillTimer_, &QTimer::timeout, this, &CMessageListWindow::FillTick);
    const auto restartMaskTimer = [this] { maskTimer_.start(); };
    connect(viewOnly_, &QComboBox::currentIndexChanged, this, restartMaskTimer);
    connect(callMask_, &QLineEdit::textChanged, this, restartMaskTimer);
    connect(contentsMask_, &QLineEdit::textChanged, this, restartMaskTimer);
    connect(regularExpressions_, &QCheckBox::toggled, this, restartMaskTimer);
    connect(list_->header(), &QHeaderView::sectionClicked, this, &CMessageListWindow::SortByColumn);

    connect(buttons_[0], &QPushButton::clicked, this, [this] { actions_.New(); });
    connect(buttons_[1], &QPushButton::clicked, this, [this] {
        const auto key = SelectedKey();
        actions_.Resend(key);
        AfterAction(key);
    });
    connect(buttons_[2], &QPushButton::clicked, this, [this] { actions_.Reply(SelectedKey()); });
    connect(buttons_[3], &QPushButton::clicked, this, [this] {
        const auto key = SelectedKey();
        actions_.Stop(key);
        AfterAction(key);
    });
    connect(buttons_[4], &QPushButton::clicked, this, [this] {
        const auto key = SelectedKey();
        actions_.Delete(key);
        AfterAction(key);
    });

    Reload();
}

CMessageListWindow::~CMessageListWindow() = default;

QPushButton* CMessageListWindow::button(int index) const {
    return index >= 0 && index < static_cast<int>(buttons_.size()) ? buttons_[index] : nullptr;
}

MessageFilter CMessageListWindow::ReadFilter() const {
    MessageFilter filter;
    filter.callMask = TextMask(callMask_->text().toStdString());
    filter.contentsMask = TextMask(contentsMask_->text().toStdString());
    filter.regularExpression = regularExpressions_->isChecked();
    filter.view = static_cast<MessageView>(std::clamp(viewOnly_->currentIndex(), 0, 4));
    filter.myCall = settings_.MyCall;
    return filter;
}

MessageRows::Filter CMessageListWindow::FilterFunction() const {
    return [filter = ReadFilter()](const CMessage& m) { return filter.Passes(m); };
}

void CMessageListWindow::Reload() {
    maskTimer_.stop();
    fillTimer_.stop();
    std::vector<CMessage> messages = store_.Snapshot();
    total_ = messages.size();
    model_->StartFill(std::move(messages), FilterFunction());
    store_.ClearMessageWaiting();
    if (redrawMainView_)
        redrawMainView_();
    if (model_->rows().Loading())
        fillTimer_.start();
    UpdateStatus();
}

void CMessageListWindow::FillTick() {
    if (!FillListTick(*list_, *model_))
        fillTimer_.stop();
    UpdateStatus();
}

void CMessageListWindow::MessagesChanged(const std::vector<uint64_t>& keys, bool all) {
    if (all) {
        Reload();
        return;
    }
    for (const uint64_t key : keys)
        MessageChanged(key);
}

void CMessageListWindow::MessageChanged(uint64_t key) {
    model_->Change(key, store_.Find(key), FilterFunction());
    total_ = store_.Count();
    UpdateStatus();
}

void CMessageListWindow::AfterAction(std::optional<uint64_t> key) {
    if (key)
        MessageChanged(*key);
}

void CMessageListWindow::UpdateStatus() {
    status_->setText(QString::fromStdString(
        MessageStatusText(model_->rows().size(), total_, model_->rows().Loading())));
}

QString CMessageListWindow::statusText() const {
    return status_->text();
}

std::optional<uint64_t> CMessageListWindow::SelectedKey() const {
    return SelectedRowKey(*list_, *model_);
}

void CMessageListWindow::SelectKey(uint64_t key) {
    SelectRowKey(*list_, *model_, key);
}

void CMessageListWindow::SortByColumn(int column) {
    const std::string myCall = settings_.MyCall;
    SortListByColumn(*list_, *model_, sort_, column,
                     [this, &myCall](MessageRows& rows) { SortMessageRows(rows, sort_, myCall); });
}

}  // namespace plovane
