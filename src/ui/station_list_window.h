// SPDX-License-Identifier: GPL-3.0-or-later
// The modeless "Stations" window: the station list with symbol icons, calls and
// "[Comments] Status", filtered by two masks, filled in batches, kept current by
// StationChanged, with "Station &Info..." and "Send &Message..." for the selected row.
// Created once and only hidden when closed. Rows hold copies keyed by call, never a record;
// a row whose record the station limit removed is dropped. The rules live in ui/logic
// (station_filter.h, station_actions.h); this class only wires the widgets.
#pragma once

#include <QIcon>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/app_host.h"
#include "stations/station_list.h"
#include "ui/list_table_model.h"
#include "ui/logic/station_actions.h"
#include "ui/logic/station_filter.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace plovane {

class CSymbolIcons;

using StationListModel = ListTableModel<StationRows, StationRowData, std::string>;

// Thread-affine: the user-interface thread.
class CStationListWindow : public ListWindowBase<StationListModel> {
    Q_OBJECT
  public:
    // While hidden, changes wait; more distinct calls than this make a refill on showing.
    static constexpr size_t kMaxWaitingChanges = 20000;
    // Rows are checked against the store this long after a change that may have added a
    // record (and so may have made the limit remove one).
    static constexpr int kPruneDelayMs = 300;
    // The fill adds rows in slices of this many, each tick running until its time is up,
    // so ten thousand stations show at once while a larger store still leaves the window
    // responsive. A mask change refills after this pause in typing.
    static constexpr size_t kFillSlice = 2000;
    static constexpr int kFillTickBudgetMs = 40;
    static constexpr int kStationMaskDelayMs = 120;

    // `icons` may be null (no icon column pictures).
    CStationListWindow(CStationList& stations, AppHost& host, const CSymbolIcons* icons,
                       StationListActions::ShowInfo showInfo, StationListActions::SendNew sendNew,
                       QWidget* parent = nullptr);
    ~CStationListWindow() override;

    // Shows the window (and raises it); the rows stay as they are.
    void ShowStationList();
    // Starts a new fill.
    void RefillStationList();
    // Change notifications from the host: the calls changed, or `all`.
    void StationsChanged(const std::vector<std::string>& calls, bool all);
    void StationListChanged(const std::string& call);
    // Drops the rows whose record is gone; returns how many.
    size_t DropRemovedRows();

    QString countText() const;
    QLineEdit* commentsMask() const { return commentsMask_; }
    QPushButton* infoButton() const { return infoButton_; }
    QPushButton* messageButton() const { return messageButton_; }
    std::optional<std::string> SelectedCall() const;
    void SelectCall(const std::string& call);
    // "&Center on Station" in the rows' context menu.
    void SetCenterOn(std::function<void(const std::string&)> centerOn) {
        centerOn_ = std::move(centerOn);
    }
    // Runs the fill to its end (tests, benchmarks).
    void FinishFill();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    StationFilter ReadFilter() const;
    void FillTick();
    void UpdateCount();
    void SortByColumn(int column);
    void ApplyWaitingChanges();
    void OnButton(bool info);
    void UpdateMessageButton();
    void ShowRowMenu(const QPoint& pos);

    CStationList& stations_;
    const CSymbolIcons* icons_;
    std::vector<QIcon> symbolIcons_;  // kStationListIcons of them, or none
    StationListActions actions_;
    StationFilter filter_;                     // as read when the fill started
    std::unordered_set<std::string> waiting_;  // changed while hidden
    bool waitingAll_ = false;

    QLineEdit* commentsMask_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* infoButton_ = nullptr;
    QPushButton* messageButton_ = nullptr;
    QTimer pruneTimer_;
    std::function<void(const std::string&)> centerOn_;
};

}  // namespace plovane
