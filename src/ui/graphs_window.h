// SPDX-License-Identifier: GPL-3.0-or-later
// "Graphs for CALL": a station's weather, telemetry and track over the last 24 hours, 7 days
// or 30 days, drawn from the history database with Qt Charts; a hover readout names the
// values at the pointer, and a page can be saved as a PNG picture. The series come from
// ui/logic/history_graphs.h.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/logic/history_graphs.h"

class QComboBox;
class QLabel;
class QTabWidget;

namespace plovane {

// Thread-affine: the user-interface thread.
class CGraphsWindow : public QWidget {
    Q_OBJECT
  public:
    struct Source {
        std::filesystem::path database;  // the history database, opened for reading
        std::string call;
        int unitsOfMeasure = 0;  // the setup's "UnitsOfMeasure"
        int64_t endUtc = 0;      // the graphs end here (now)
    };
    explicit CGraphsWindow(Source source, QWidget* parent = nullptr);

    // Shows the span (and the span list says so).
    void SetSpan(GraphSpan span);
    // The graphs shown, per page: "Weather", "Telemetry", "Track".
    const std::vector<Graph>& graphs(int page) const { return pageGraphs_.at(page); }
    QTabWidget* pages() const { return pages_; }
    // The hover readout of `graph` of the current page at a moment, as the pointer shows it.
    void ShowReadout(const Graph& graph, int64_t utc);
    QString readout() const;
    // Saves the current page, every graph on it, as a PNG picture; false when it could not.
    bool ExportPng(const QString& path);

  private:
    void Reload();
    QWidget* GraphPage(const std::vector<Graph>& graphs, const QString& none);

    Source source_;
    GraphSpan span_ = GraphSpan::kDay;
    QComboBox* spans_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QLabel* readout_ = nullptr;
    QLabel* problem_ = nullptr;
    std::vector<std::vector<Graph>> pageGraphs_{3};
};

// Opens the graphs of `call` in a window of their own, deleted when closed.
CGraphsWindow* ShowGraphs(CGraphsWindow::Source source, QWidget* parent);

}  // namespace plovane
