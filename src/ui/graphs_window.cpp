// SPDX-License-Identifier: GPL-3.0-or-later
// The Graphs window.
#include "ui/graphs_window.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPixmap>
#include <QPushButton>
#include <QScatterSeries>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <limits>

#include "history/history_store.h"

namespace plovane {
namespace {

constexpr int kGraphHeight = 230;
// Points drawn per series at most; the readout still reads every report.
constexpr size_t kMaxDrawnPoints = 4000;

QString AxisTitle(const Graph& graph) {
    const QString title = QString::fromStdString(graph.title);
    return graph.unit.empty() ? title : title + " (" + QString::fromStdString(graph.unit) + ")";
}

}  // namespace

CGraphsWindow::CGraphsWindow(Source source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(std::move(source)) {
    setWindowTitle("Graphs for " + QString::fromStdString(source_.call));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* spanLabel = new QLabel(tr("&Period:"), this);
    spans_ = new QComboBox(this);
    spans_->addItems({tr("Last 24 hours"), tr("Last 7 days"), tr("Last 30 days")});
    spanLabel->setBuddy(spans_);
    auto* exportButton = new QPushButton(tr("&Export PNG..."), this);
    bar->addWidget(spanLabel);
    bar->addWidget(spans_);
    bar->addStretch();
    bar->addWidget(exportButton);
    layout->addLayout(bar);
    problem_ = new QLabel(this);
    problem_->hide();
    layout->addWidget(problem_);
    pages_ = new QTabWidget(this);
    layout->addWidget(pages_, 1);
    readout_ = new QLabel(this);
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(readout_);
    resize(760, 620);

    connect(spans_, &QComboBox::currentIndexChanged, this,
            [this](int index) { SetSpan(static_cast<GraphSpan>(index)); });
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, tr("Export Graphs"),
                                         QString::fromStdString(source_.call) + "-" +
                                             pages_->tabText(pages_->currentIndex()) + ".png",
                                         tr("PNG Pictures (*.png)"));
        if (!path.isEmpty() && !ExportPng(path))
            readout_->setText(tr("Could not write %1.").arg(path));
    });
    Reload();
}

void CGraphsWindow::SetSpan(GraphSpan span) {
    span_ = span;
    const QSignalBlocker quiet(spans_);
    spans_->setCurrentIndex(static_cast<int>(span));
    Reload();
}

void CGraphsWindow::Reload() {
    const HistoryPeriod period = SpanEnding(source_.endUtc, span_);
    HistoryStore store;
    std::string why;
    const bool open = std::filesystem::exists(source_.database) &&
                      store.Open(
                          source_.database, [&](const std::string& text) { why = text; }, true) !=
                          HistoryStore::OpenState::kFailed;
    for (std::vector<Graph>& graphs : pageGraphs_)
        graphs.clear();
    if (open) {
        pageGraphs_[0] = WeatherGraphs(store.Weather(source_.call, period), source_.unitsOfMeasure);
        pageGraphs_[1] = TelemetryGraphs(store.Telemetry(source_.call, period),
                                         store.TelemetryDefinitions(source_.call, period.toUtc));
        pageGraphs_[2] = TrackGraphs(store.Positions(source_.call, period), source_.unitsOfMeasure);
    }
    problem_->setVisible(!open);
    problem_->setText(why.empty() ? tr("No history has been kept yet.")
                                  : QString::fromStdString(why));

    const int current = pages_->currentIndex();
    while (pages_->count() > 0) {
        QWidget* page = pages_->widget(0);
        pages_->removeTab(0);
        page->deleteLater();
    }
    pages_->addTab(GraphPage(pageGraphs_[0], tr("No weather reports in this period.")),
                   tr("Weather"));
    pages_->addTab(GraphPage(pageGraphs_[1], tr("No telemetry in this period.")), tr("Telemetry"));
    pages_->addTab(GraphPage(pageGraphs_[2], tr("No positions in this period.")), tr("Track"));
    // Open on the first page with something to show, else stay where the user was.
    int first = current;
    if (first < 0) {
        const auto filled = std::find_if(pageGraphs_.begin(), pageGraphs_.end(),
                                         [](const auto& g) { return !g.empty(); });
        first = filled == pageGraphs_.end() ? 0 : static_cast<int>(filled - pageGraphs_.begin());
    }
    pages_->setCurrentIndex(first);
    readout_->clear();
}

QWidget* CGraphsWindow::GraphPage(const std::vector<Graph>& graphs, const QString& none) {
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    if (graphs.empty())
        layout->addWidget(new QLabel(none, column));
    const HistoryPeriod period = SpanEnding(source_.endUtc, span_);
    const char* format = span_ == GraphSpan::kDay ? "HH:mm" : "MM-dd HH:mm";
    for (const Graph& graph : graphs) {
        auto* chart = new QChart;
        chart->setTitle(QString::fromStdString(graph.title));
        chart->legend()->setVisible(graph.series.size() > 1);
        chart->setMargins(QMargins(4, 4, 4, 4));
        auto* time = new QDateTimeAxis;
        time->setFormat(format);
        time->setTitleText(tr("Time (local)"));
        time->setRange(QDateTime::fromSecsSinceEpoch(period.fromUtc),
                       QDateTime::fromSecsSinceEpoch(period.toUtc));
        auto* values = new QValueAxis;
        values->setTitleText(AxisTitle(graph));
        chart->addAxis(time, Qt::AlignBottom);
        chart->addAxis(values, Qt::AlignLeft);
        double low = std::numeric_limits<double>::max();
        double high = std::numeric_limits<double>::lowest();
        // Directions are points, not a line: a turn from 350° to 10° is no swing across.
        const bool scatter = graph.title == "Wind Direction";
        for (const GraphSeries& s : graph.series) {
            QXYSeries* series = scatter ? static_cast<QXYSeries*>(new QScatterSeries)
                                        : static_cast<QXYSeries*>(new QLineSeries);
            series->setName(QString::fromStdString(s.name));
            if (scatter)
                static_cast<QScatterSeries*>(series)->setMarkerSize(6);
            else
                series->setPointsVisible(s.points.size() < 200);
            for (const GraphPoint& p : ThinForDrawing(s.points, kMaxDrawnPoints)) {
                series->append(static_cast<double>(p.utc) * 1000.0, p.value);
                low = std::min(low, p.value);
                high = std::max(high, p.value);
            }
            chart->addSeries(series);
            series->attachAxis(time);
            series->attachAxis(values);
            connect(series, &QXYSeries::hovered, this,
                    [this, graph](const QPointF& point, bool entered) {
                        if (entered)
                            ShowReadout(graph, static_cast<int64_t>(point.x() / 1000.0));
                    });
        }
        if (scatter) {
            // A compass: 0 to 360 with the four points marked.
            values->setRange(0, 360);
            values->setTickCount(5);
            values->setLabelFormat("%d");
        } else {
            const double pad = high > low ? (high - low) * 0.08 : 1.0;
            values->setRange(low - pad, high + pad);
            values->applyNiceNumbers();
        }
        auto* view = new QChartView(chart, column);
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(kGraphHeight);
        layout->addWidget(view);
    }
    layout->addStretch();
    scroll->setWidget(column);
    return scroll;
}

void CGraphsWindow::ShowReadout(const Graph& graph, int64_t utc) {
    readout_->setText(QString::fromStdString(GraphReadout(graph, utc)));
}

QString CGraphsWindow::readout() const {
    return readout_->text();
}

bool CGraphsWindow::ExportPng(const QString& path) {
    auto* scroll = qobject_cast<QScrollArea*>(pages_->currentWidget());
    if (scroll == nullptr || scroll->widget() == nullptr)
        return false;
    // The whole column of graphs, also what is scrolled out of sight.
    QWidget* column = scroll->widget();
    column->resize(column->sizeHint().expandedTo(scroll->viewport()->size()));
    return column->grab().save(path, "PNG");
}

CGraphsWindow* ShowGraphs(CGraphsWindow::Source source, QWidget* parent) {
    auto* window = new CGraphsWindow(std::move(source), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    return window;
}

}  // namespace plovane
