// SPDX-License-Identifier: GPL-3.0-or-later
// "Station Info for ...": the modal sheet with the "General", "Status", (for a station
// with weather) "WX" and (for a station that sent telemetry) "Telemetry" pages, read-only, from a
// copy of one station record. The texts come from ui/logic/station_info_format.h.
#pragma once

#include <QDialog>
#include <functional>

#include "stations/station.h"
#include "ui/logic/station_context.h"

class QDialogButtonBox;
class QTabWidget;

namespace plovane {

// Thread-affine: the user-interface thread.
class CStationInfo : public QDialog {
    Q_OBJECT
  public:
    // `unitsOfMeasure` is the "UnitsOfMeasure" setting; `biasMinutes` the standard time-zone
    // bias that moves UTC report times to local time.
    CStationInfo(const CStation& station, int unitsOfMeasure, int biasMinutes,
                 QWidget* parent = nullptr);

    QTabWidget* pages() const { return pages_; }
    // The path, distance and bearing from us, and age lines below the pages.
    void SetContext(const StationContextText& context);
    QString contextText() const;
    // A "Graphs..." button that closes the sheet; graphsWanted() then says it was pressed.
    void OfferGraphs();
    bool graphsWanted() const { return graphsWanted_; }

  private:
    QDialogButtonBox* buttons_ = nullptr;
    bool graphsWanted_ = false;
    QTabWidget* pages_ = nullptr;
    QWidget* context_ = nullptr;
};

// Shows the sheet modally; returns when the user closes it. With `openGraphs`, the sheet
// offers "Graphs..." and runs it once the sheet is closed that way.
void ShowStationInfo(QWidget* parent, const CStation& station, int unitsOfMeasure, int biasMinutes,
                     const StationContextText* context = nullptr,
                     const std::function<void()>& openGraphs = {});

}  // namespace plovane
