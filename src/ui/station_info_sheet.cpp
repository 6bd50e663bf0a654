// SPDX-License-Identifier: GPL-3.0-or-later
// The station information pages.
#include "ui/station_info_sheet.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "ui/display_text.h"
#include "ui/logic/station_info_format.h"

namespace plovane {
namespace {

// A read-only value: received text is shown as written, never as rich text.
QLabel* Value(const std::string& utf8, QWidget* parent) {
    QLabel* label = NewPlainLabel(QString::fromStdString(utf8), parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A page of labelled values; the label text may carry a mnemonic.
QWidget* FormPage(std::initializer_list<std::pair<QString, std::string>> fields) {
    auto* page = new QWidget;
    auto* layout = new QFormLayout(page);
    for (const auto& [label, value] : fields) {
        QLabel* shown = Value(value, page);
        layout->addRow(label, shown);
    }
    return page;
}

QPlainTextEdit* TextBox(const std::string& utf8, QWidget* parent) {
    auto* box = new QPlainTextEdit(QString::fromStdString(utf8), parent);
    box->setReadOnly(true);
    // As tall as a few lines of text rather than a page: the sheet is sized to its content.
    const int lines = std::clamp(static_cast<int>(box->toPlainText().size()) / 40 + 1, 2, 6);
    box->setMaximumHeight(box->fontMetrics().lineSpacing() * lines + 12);
    return box;
}

QWidget* GeneralPage(const GeneralPageText& t) {
    // The location lines keep their alignment in a fixed-pitch font.
    QWidget* page = FormPage({
        {QObject::tr("Station:"), t.station},
        {QObject::tr("Station Type:"), t.stationType},
        {QObject::tr("Location:"), t.latitude},
        {QString(), t.longitude},
        {QObject::tr("Altitude:"), t.altitude},
        {QObject::tr("Course:"), t.course},
        {QObject::tr("Speed:"), t.speed},
        {QObject::tr("Pwr/Hgt:"), t.powerHeight},
        {QObject::tr("Gain/Dir:"), t.gainDirectivity},
        {QObject::tr("Range:"), t.range},
        {QObject::tr("DF Brg/NRQ:"), t.dfBearing},
        {QObject::tr("Posit Time:"), t.positTime},
        {QObject::tr("Actual Time:"), t.actualTime},
        {QObject::tr("Heard:"), t.heard},
    });
    auto* layout = static_cast<QFormLayout*>(page->layout());
    for (int row : {2, 3}) {
        if (auto* item = layout->itemAt(row, QFormLayout::FieldRole); item && item->widget()) {
            QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            item->widget()->setFont(fixed);
        }
    }
    return page;
}

QWidget* StatusPage(const StatusPageText& t) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* commentsLabel = new QLabel(QObject::tr("&Comments:"), page);
    QPlainTextEdit* comments = TextBox(t.comments, page);
    commentsLabel->setBuddy(comments);
    auto* statusLabel = new QLabel(QObject::tr("&Status:"), page);
    QPlainTextEdit* status = TextBox(t.status, page);
    statusLabel->setBuddy(status);
    if (!t.micEMessage.empty()) {
        auto* message = new QFormLayout;
        message->addRow(QObject::tr("Mic-E Message:"), Value(t.micEMessage, page));
        layout->addLayout(message);
    }
    layout->addWidget(commentsLabel);
    layout->addWidget(comments);
    layout->addWidget(statusLabel);
    layout->addWidget(status);
    return page;
}

QWidget* WxPage(const WxPageText& t) {
    return FormPage({
        {QObject::tr("Wind/Gust:"), t.windGust},
        {QObject::tr("Temp/Humid:"), t.temperatureHumidity},
        {QObject::tr("Pressure:"), t.pressure},
        {QObject::tr("Rain Last Hr:"), t.rainLastHour},
        {QString::fromStdString(t.rainLabel), t.rain},
        {QObject::tr("Snow Last 24:"), t.snow},
        {QObject::tr("Luminosity:"), t.luminosity},
        {QObject::tr("Xmit Time:"), t.xmitTime},
        {QObject::tr("Recv Time:"), t.recvTime},
        {QObject::tr("Station Type:"), t.stationType},
    });
}

QWidget* TelemetryPage(const TelemetryPageText& t) {
    QWidget* page = FormPage({
        {QObject::tr("Project:"), t.project},
        {QObject::tr("Sequence:"), t.sequence},
        {QObject::tr("Recv Time:"), t.recvTime},
    });
    auto* layout = static_cast<QFormLayout*>(page->layout());
    for (const TelemetryPageText::Row& row : t.rows) {
        QLabel* name = Value(row.label + ":", page);
        layout->addRow(name, Value(row.value, page));
    }
    return page;
}

}  // namespace

CStationInfo::CStationInfo(const CStation& station, int unitsOfMeasure, int biasMinutes,
                           QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromStdString(StationInfoTitle(station)));
    pages_ = new QTabWidget(this);
    pages_->addTab(GeneralPage(FormatGeneralPage(station, unitsOfMeasure, biasMinutes)),
                   tr("General"));
    pages_->addTab(StatusPage(FormatStatusPage(station)), tr("Status"));
    if (HasWxPage(station))
        pages_->addTab(WxPage(FormatWxPage(station.weather, unitsOfMeasure)), tr("WX"));
    if (HasTelemetryPage(station))
        pages_->addTab(TelemetryPage(FormatTelemetryPage(*station.telemetry)), tr("Telemetry"));

    auto* buttons = buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    context_ = new QWidget(this);
    context_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(context_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // the size of what it shows
}

void CStationInfo::SetContext(const StationContextText& context) {
    delete context_->layout();
    auto* form = new QFormLayout(context_);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(tr("Path:"), Value(context.path, context_));
    form->addRow(tr("From us:"), Value(context.fromUs, context_));
    form->addRow(tr("Last report:"), Value(context.lastHeard, context_));
    context_->show();
}

void CStationInfo::OfferGraphs() {
    QPushButton* graphs = buttons_->addButton(tr("&Graphs..."), QDialogButtonBox::ActionRole);
    connect(graphs, &QPushButton::clicked, this, [this] {
        graphsWanted_ = true;
        accept();
    });
}

QString CStationInfo::contextText() const {
    QStringList lines;
    for (const QLabel* label : context_->findChildren<QLabel*>())
        lines << label->text();
    return lines.join('\n');
}

void ShowStationInfo(QWidget* parent, const CStation& station, int unitsOfMeasure, int biasMinutes,
                     const StationContextText* context, const std::function<void()>& openGraphs) {
    CStationInfo sheet(station, unitsOfMeasure, biasMinutes, parent);
    if (context != nullptr)
        sheet.SetContext(*context);
    if (openGraphs)
        sheet.OfferGraphs();
    sheet.exec();
    // The sheet is modal: the graphs window opens once it is gone, so it can be used.
    if (sheet.graphsWanted())
        openGraphs();
}

}  // namespace plovane
