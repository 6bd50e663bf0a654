// SPDX-License-Identifier: GPL-3.0-or-later
// The History window: find in the history, and play tracks back on the map.
#include "ui/history_window.h"

#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <string>

#include "core/geo.h"
#include "ui/plovane_view.h"

namespace plovane {
namespace {

constexpr int64_t kDaySeconds = 86400;

QString UtcText(int64_t utc) {
    return QDateTime::fromSecsSinceEpoch(utc, Qt::UTC).toString("yyyy-MM-dd HH:mm:ss") + " UTC";
}

QString Degrees(double value, char positive, char negative) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f%c", value < 0 ? -value : value,
                  value < 0 ? negative : positive);
    return QString::fromLatin1(text);
}

QDateTimeEdit* UtcEdit(QWidget* parent) {
    auto* edit = new QDateTimeEdit(parent);
    edit->setTimeSpec(Qt::UTC);
    edit->setDisplayFormat("yyyy-MM-dd HH:mm 'UTC'");
    edit->setCalendarPopup(true);
    return edit;
}

}  // namespace

CHistoryWindow::CHistoryWindow(std::filesystem::path database, CPlovaneView& view, int64_t nowUtc,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), database_(std::move(database)), view_(&view) {
    setWindowTitle("History");
    auto* layout = new QVBoxLayout(this);

    auto* form = new QFormLayout;
    pattern_ = new QLineEdit("*", this);
    pattern_->setPlaceholderText(tr("a call, or a pattern such as W1* or DB0???"));
    form->addRow(tr("&Call or pattern:"), pattern_);
    from_ = UtcEdit(this);
    to_ = UtcEdit(this);
    auto* period = new QHBoxLayout;
    period->addWidget(from_);
    auto* toLabel = new QLabel(tr("&to"), this);
    toLabel->setBuddy(to_);
    period->addWidget(toLabel);
    period->addWidget(to_);
    auto* fromLabel = new QLabel(tr("&From:"), this);
    fromLabel->setBuddy(from_);
    form->addRow(fromLabel, period);
    auto* areaRow = new QHBoxLayout;
    area_ = new QLabel(this);
    auto* drawArea = new QPushButton(tr("&Draw Area on Map"), this);
    auto* anywhere = new QPushButton(tr("A&nywhere"), this);
    areaRow->addWidget(area_, 1);
    areaRow->addWidget(drawArea);
    areaRow->addWidget(anywhere);
    form->addRow(tr("Area:"), areaRow);
    layout->addLayout(form);
    auto* findButton = new QPushButton(tr("F&ind"), this);
    findButton->setDefault(true);
    layout->addWidget(findButton, 0, Qt::AlignRight);

    results_ = new QTreeWidget(this);
    results_->setHeaderLabels({tr("Call"), tr("First heard"), tr("Last position"), tr("Reports")});
    results_->setRootIsDecorated(false);
    results_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(results_, 1);
    status_ = new QLabel(this);
    layout->addWidget(status_);

    auto* playRow = new QHBoxLayout;
    play_ = new QPushButton(tr("&Play"), this);
    play_->setCheckable(true);
    speeds_ = new QComboBox(this);
    for (int speed : kPlaybackSpeeds)
        speeds_->addItem(QString("\u00D7%1").arg(speed), speed);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(0, PlaybackClock::kSteps);
    time_ = new QLabel(this);
    playRow->addWidget(play_);
    playRow->addWidget(speeds_);
    playRow->addWidget(slider_, 1);
    playRow->addWidget(time_);
    layout->addLayout(playRow);
    resize(640, 520);

    SetPeriod({nowUtc - kDaySeconds, nowUtc});
    clock_.SetPeriod(ChosenPeriod());
    time_->setText(UtcText(clock_.now()));
    SetSpeed(speed_);
    ShowArea();
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(sinceTick_.restart()); });
    connect(findButton, &QPushButton::clicked, this, [this] { Find(); });
    connect(pattern_, &QLineEdit::returnPressed, this, [this] { Find(); });
    connect(drawArea, &QPushButton::clicked, this, [this] { DrawArea(); });
    connect(anywhere, &QPushButton::clicked, this, [this] { SetArea(std::nullopt); });
    connect(results_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowHit(results_->indexOfTopLevelItem(item)); });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) { SetSliderPosition(value); });
    connect(play_, &QPushButton::toggled, this, [this](bool on) { SetPlaying(on); });
    connect(speeds_, &QComboBox::currentIndexChanged, this,
            [this](int index) { speed_ = speeds_->itemData(index).toInt(); });
}

CHistoryWindow::~CHistoryWindow() {
    if (view_) {
        view_->PickArea({});
        view_->SetHistoryOverlay({});
    }
}

void CHistoryWindow::SetPattern(const QString& pattern) {
    pattern_->setText(pattern);
}

void CHistoryWindow::SetPeriod(HistoryPeriod period) {
    from_->setDateTime(QDateTime::fromSecsSinceEpoch(period.fromUtc, Qt::UTC));
    to_->setDateTime(QDateTime::fromSecsSinceEpoch(period.toUtc, Qt::UTC));
}

HistoryPeriod CHistoryWindow::ChosenPeriod() const {
    return {from_->dateTime().toSecsSinceEpoch(), to_->dateTime().toSecsSinceEpoch()};
}

void CHistoryWindow::SetArea(const std::optional<HistoryArea>& area) {
    chosenArea_ = area;
    ShowArea();
}

void CHistoryWindow::ShowArea() {
    if (!chosenArea_) {
        area_->setText(tr("anywhere"));
        return;
    }
    const HistoryArea& a = *chosenArea_;
    area_->setText(Degrees(LatitudeDegrees(a.northColatitude), 'N', 'S') + " " +
                   Degrees(LongitudeDegrees(a.westLongitude), 'E', 'W') + " to " +
                   Degrees(LatitudeDegrees(a.southColatitude), 'N', 'S') + " " +
                   Degrees(LongitudeDegrees(a.eastLongitude), 'E', 'W'));
}

void CHistoryWindow::DrawArea() {
    area_->setText(tr("drag a rectangle on the map..."));
    if (view_)
        view_->PickArea([this](const HistoryArea& area) { SetArea(area); });
}

bool CHistoryWindow::Find() {
    SetPlaying(false);
    hits_.clear();
    tracks_.clear();
    shownTrack_.reset();
    results_->clear();
    HistoryStore store;
    std::string why;
    const HistoryPeriod period = ChosenPeriod();
    clock_.SetPeriod(period);
    if (!std::filesystem::exists(database_) ||
        store.Open(
            database_, [&](const std::string& text) { why = text; }, true) ==
            HistoryStore::OpenState::kFailed) {
        status_->setText(why.empty() ? tr("No history has been kept yet.")
                                     : QString::fromStdString(why));
        ShowMoment();
        return false;
    }
    hits_ = store.Find(pattern_->text().trimmed().toStdString(), period, chosenArea_);
    for (const HistoryHit& hit : hits_) {
        auto* item = new QTreeWidgetItem(results_);
        item->setText(0, QString::fromStdString(hit.call));
        item->setText(1, UtcText(hit.firstUtc));
        item->setText(2, UtcText(hit.last.utc));
        item->setText(3, QString::number(hit.positions));
        // Playback follows a station all through the period, also outside the area.
        if (tracks_.size() < kMaxPlayed)
            tracks_.push_back({hit.call, store.Positions(hit.call, period)});
    }
    status_->setText(hits_.size() > kMaxPlayed
                         ? tr("%1 stations found; the first %2 are played back.")
                               .arg(hits_.size())
                               .arg(kMaxPlayed)
                     : hits_.size() == 1 ? tr("1 station found.")
                                         : tr("%1 stations found.").arg(hits_.size()));
    ShowMoment();
    return true;
}

void CHistoryWindow::ShowHit(int row) {
    if (row < 0 || static_cast<size_t>(row) >= hits_.size())
        return;
    const HistoryHit& hit = hits_[static_cast<size_t>(row)];
    if (static_cast<size_t>(row) < tracks_.size())
        shownTrack_ = static_cast<size_t>(row);
    clock_.JumpTo(hit.last.utc);
    if (view_)
        view_->CenterOnPosition(hit.last.colatitude, hit.last.longitude);
    ShowMoment();
}

void CHistoryWindow::SetSliderPosition(int position) {
    if (position == clock_.SliderPosition())
        return;  // our own move of the slider, or no move
    clock_.JumpTo(clock_.TimeAtSlider(position));
    ShowMoment();
}

void CHistoryWindow::Tick(int64_t elapsedMs) {
    if (!clock_.Advance(elapsedMs, speed_))
        SetPlaying(false);
    ShowMoment();
}

void CHistoryWindow::SetPlaying(bool on) {
    if (on && clock_.now() >= clock_.period().toUtc)
        clock_.JumpTo(clock_.period().fromUtc);  // played to the end: start again
    if (on && !timer_.isActive()) {
        sinceTick_.start();
        timer_.start();
    } else if (!on) {
        timer_.stop();
    }
    const QSignalBlocker quiet(play_);
    play_->setChecked(on);
    play_->setText(on ? tr("&Pause") : tr("&Play"));
}

void CHistoryWindow::SetSpeed(int timesRealTime) {
    const int index = speeds_->findData(timesRealTime);
    if (index >= 0)
        speeds_->setCurrentIndex(index);
    speed_ = timesRealTime;
}

void CHistoryWindow::ShowMoment() {
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(clock_.SliderPosition());
    }
    time_->setText(UtcText(clock_.now()));
    HistoryOverlay overlay;
    overlay.marks = PositionsAt(tracks_, clock_.now());
    if (shownTrack_)
        overlay.tracks.push_back(tracks_[*shownTrack_]);
    if (view_)
        view_->SetHistoryOverlay(std::move(overlay));
}

QString CHistoryWindow::timeText() const {
    return time_->text();
}

QString CHistoryWindow::statusText() const {
    return status_->text();
}

}  // namespace plovane
