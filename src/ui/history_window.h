// SPDX-License-Identifier: GPL-3.0-or-later
// "History" (Map > History...): finds stations in the history database by call or pattern,
// period and an area dragged on the map, lists them, and plays their tracks back on the map
// with a time slider over the period, at up to an hour a second. A click in the list moves
// the slider to when that station was there, centres the map on it and draws its track.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "history/history_store.h"
#include "ui/logic/history_playback.h"
#include "ui/plovane_view.h"

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTreeWidget;

namespace plovane {

// Thread-affine: the user-interface thread.
class CHistoryWindow : public QWidget {
    Q_OBJECT
  public:
    // Stations drawn at most in playback: the rest of a large find is listed only.
    static constexpr size_t kMaxPlayed = 500;
    static constexpr int kTickMs = 100;

    // The period offered first is the 24 hours up to `nowUtc`.
    CHistoryWindow(std::filesystem::path database, CPlovaneView& view, int64_t nowUtc,
                   QWidget* parent = nullptr);
    ~CHistoryWindow() override;

    void SetPattern(const QString& pattern);
    void SetPeriod(HistoryPeriod period);
    void SetArea(const std::optional<HistoryArea>& area);
    // The next drag on the map marks the area.
    void DrawArea();
    // Runs the search: the list, and the tracks that play back. False with the reason shown
    // when the database cannot be read.
    bool Find();
    // The station of a row of the list at the time it was there.
    void ShowHit(int row);
    // Moves playback to a slider position, and the map with it.
    void SetSliderPosition(int position);
    // One step of playback after `elapsedMs` of wall time (the timer's tick).
    void Tick(int64_t elapsedMs);
    void SetPlaying(bool on);
    void SetSpeed(int timesRealTime);

    const std::vector<HistoryHit>& hits() const { return hits_; }
    const std::vector<HistoryTrack>& tracks() const { return tracks_; }
    const PlaybackClock& clock() const { return clock_; }
    QSlider* slider() const { return slider_; }
    QTreeWidget* results() const { return results_; }
    QString timeText() const;
    QString statusText() const;
    bool playing() const { return timer_.isActive(); }

  private:
    HistoryPeriod ChosenPeriod() const;
    void ShowMoment();
    void ShowArea();

    std::filesystem::path database_;
    QPointer<CPlovaneView> view_;  // the main window's map; it may go first at exit
    QLineEdit* pattern_ = nullptr;
    QDateTimeEdit* from_ = nullptr;
    QDateTimeEdit* to_ = nullptr;
    QLabel* area_ = nullptr;
    QTreeWidget* results_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* play_ = nullptr;
    QComboBox* speeds_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* time_ = nullptr;
    std::optional<HistoryArea> chosenArea_;
    std::vector<HistoryHit> hits_;
    std::vector<HistoryTrack> tracks_;
    std::optional<size_t> shownTrack_;  // the track drawn whole (the row clicked)
    PlaybackClock clock_;
    int speed_ = 60;
    QTimer timer_;
    QElapsedTimer sinceTick_;
};

}  // namespace plovane
