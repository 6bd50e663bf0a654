// SPDX-License-Identifier: GPL-3.0-or-later
// The Log page of the station setup: whether the station log is kept, how many hours of it
// are replayed at start and how many days of day files are kept.
#pragma once

#include <QWidget>

#include "app/station_log.h"
#include "ui/setup_widgets.h"

class QCheckBox;
class QSpinBox;

namespace plovane {

// Thread-affine: the user-interface thread. Writes into the sheet's record on Store().
class CSetupStationLogPage : public CSetupPage<CLogSettings> {
    Q_OBJECT
  public:
    explicit CSetupStationLogPage(CLogSettings& settings, QWidget* parent = nullptr);
    void Store() override;

    QCheckBox* enabledBox() const { return enabled_; }
    QSpinBox* replayHoursSpin() const { return replayHours_; }
    QSpinBox* retentionDaysSpin() const { return retentionDays_; }

  private:
    QCheckBox* enabled_ = nullptr;
    QSpinBox* replayHours_ = nullptr;
    QSpinBox* retentionDays_ = nullptr;
};

}  // namespace plovane
