// SPDX-License-Identifier: GPL-3.0-or-later
// The communications setup sheet and its pages.
#include "ui/setup_comm_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/display_text.h"

namespace plovane {

// --- TNC page ---

CSetupCommTNCPage::CSetupCommTNCPage(CTncSettings& settings, const CommSetupSources& sources,
                                     const std::vector<std::string>& ports, QWidget* parent)
    : CTableSetupPage(settings, parent),
      refreshFiles_(sources.refreshTncFiles),
      ports_(ports),
      files_(sources.tncFiles) {
    auto* layout = new QVBoxLayout(this);
    controls_.Build(this, layout, CTncSettings::kFields, settings_, {&ports_, &files_},
                    [this] { UpdateEnabling(); });
    refresh_ = new QPushButton("&Refresh TNC List", this);
    layout->addWidget(refresh_, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(refresh_, &QPushButton::clicked, this, [this] { RefreshTncList(); });
    UpdateEnabling();
}

void CSetupCommTNCPage::UpdateEnabling() {
    const CTncSettings shown = Shown();
    controls_.Enable([&](FieldGate gate) { return TncFieldEnabled(shown, gate); });
    refresh_->setEnabled(TncFieldEnabled(shown, FieldGate::kSerial));
}

void CSetupCommTNCPage::RefreshTncList() {
    if (!refreshFiles_)
        return;
    std::vector<TncTypeChoice> fresh = refreshFiles_();
    QComboBox* list = typeList();
    const int index = TncTypeIndexAfterRefresh(files_, list->currentIndex(), fresh);
    files_ = std::move(fresh);
    FillList(list, TncTypeTexts(files_), index);
}

// --- GPS page ---

CSetupCommGPSPage::CSetupCommGPSPage(CGpsSettings& settings, const std::vector<std::string>& ports,
                                     QWidget* parent)
    : CTableSetupPage(settings, parent), ports_(ports) {
    auto* layout = new QVBoxLayout(this);
    controls_.Build(this, layout, CGpsSettings::kFields, settings_, {&ports_, nullptr},
                    [this] { UpdateEnabling(); });
    layout->addStretch();
    UpdateEnabling();
}

void CSetupCommGPSPage::UpdateEnabling() {
    const CGpsSettings shown = Shown();
    controls_.Enable([&](FieldGate gate) { return GpsFieldEnabled(shown, gate); });
}

// --- Net page ---

CSetupCommNetPage::CSetupCommNetPage(CNetSettings& settings, std::function<std::string()> status,
                                     QWidget* parent, int statusPeriodMs)
    : CTableSetupPage(settings, parent), statusText_(std::move(status)) {
    auto* layout = new QVBoxLayout(this);
    controls_.Build(this, layout, CNetSettings::kFields, settings_, {},
                    [this] { UpdateEnabling(); });
    status_ = NewPlainLabel({}, this);
    controls_.form()->addRow("Status:", status_);
    layout->addStretch();
    UpdateEnabling();
    UpdateStatus();
    // The connection changes state while the sheet is open; the line follows it.
    statusTimer_ = new QTimer(this);
    statusTimer_->setInterval(statusPeriodMs);
    connect(statusTimer_, &QTimer::timeout, this, [this] { UpdateStatus(); });
    statusTimer_->start();
}

void CSetupCommNetPage::UpdateEnabling() {
    const CNetSettings shown = Shown();
    controls_.Enable([&](FieldGate gate) { return NetFieldEnabled(shown, gate); });
}

void CSetupCommNetPage::UpdateStatus() {
    const std::string text =
        statusText_ ? statusText_() : std::string("Unknown - no net manager object.");
    status_->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

// --- Sheet ---

CSetupComm::CSetupComm(Profile& profile, const CommSetupSources& sources, QWidget* parent)
    : QDialog(parent), profile_(profile), sources_(sources) {
    setWindowTitle("Setup Communications");
    for (const CTncSettings& port : LoadTncPorts(profile_))
        tncs_.push_back(std::make_unique<CTncSettings>(port));
    gps_.Load(profile_);
    net_.Load(profile_);

    serialPorts_ = SerialPortChoices(sources.devRoot);
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    // The TNC tab: the list of ports beside their buttons, the selected port's page below.
    auto* tncTab = new QWidget(tabs_);
    auto* tncLayout = new QVBoxLayout(tncTab);
    auto* portRow = new QHBoxLayout;
    portList_ = new QListWidget(tncTab);
    portList_->setMaximumHeight(80);
    portRow->addWidget(portList_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(addPort_ = new QPushButton("Ne&w Port", tncTab));
    buttons->addWidget(removePort_ = new QPushButton("Remo&ve Port", tncTab));
    buttons->addStretch();
    portRow->addLayout(buttons);
    tncLayout->addLayout(portRow);
    portPages_ = new QStackedWidget(tncTab);
    tncLayout->addWidget(portPages_);
    for (auto& port : tncs_)
        tncPages_.push_back(NewTncPage(*port));
    NumberPorts();
    connect(portList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        portPages_->setCurrentIndex(row);
        removePort_->setEnabled(row > 0);  // the first port stays
    });
    portList_->setCurrentRow(0);
    removePort_->setEnabled(false);
    connect(addPort_, &QPushButton::clicked, this, [this] { AddPort(); });
    connect(removePort_, &QPushButton::clicked, this, [this] { RemovePort(); });

    gpsPage_ = new CSetupCommGPSPage(gps_, serialPorts_, tabs_);
    netPage_ = new CSetupCommNetPage(net_, sources.netStatus, tabs_);
    tabs_->addTab(tncTab, "TNC");
    tabs_->addTab(gpsPage_, "GPS");
    tabs_->addTab(netPage_, "Net");
    layout->addWidget(tabs_);
    AddOkCancel(this, layout, [this] {
        Apply();
        return true;
    });
}

CSetupCommTNCPage* CSetupComm::NewTncPage(CTncSettings& settings) {
    auto* page = new CSetupCommTNCPage(settings, sources_, serialPorts_, portPages_);
    portPages_->addWidget(page);
    return page;
}

void CSetupComm::NumberPorts() {
    const QSignalBlocker quiet(portList_);
    const int row = portList_->currentRow();
    portList_->clear();
    for (size_t i = 0; i < tncs_.size(); ++i)
        portList_->addItem(QString("TNC port %1").arg(i + 1));
    portList_->setCurrentRow(row);
}

void CSetupComm::AddPort() {
    tncs_.push_back(std::make_unique<CTncSettings>(AddedTncPort()));
    tncPages_.push_back(NewTncPage(*tncs_.back()));
    NumberPorts();
    portList_->setCurrentRow(static_cast<int>(tncs_.size()) - 1);
}

void CSetupComm::RemovePort() {
    const int row = portList_->currentRow();
    if (row <= 0 || row >= static_cast<int>(tncs_.size()))
        return;
    CSetupCommTNCPage* page = tncPages_[static_cast<size_t>(row)];
    portPages_->removeWidget(page);
    delete page;  // before its record goes
    tncPages_.erase(tncPages_.begin() + row);
    tncs_.erase(tncs_.begin() + row);
    NumberPorts();
    portList_->setCurrentRow(row - 1);
}

void CSetupComm::Apply() {
    for (CSetupCommTNCPage* page : tncPages_)
        page->Store();
    gpsPage_->Store();
    netPage_->Store();
    std::vector<CTncSettings> ports;
    for (const auto& port : tncs_)
        ports.push_back(*port);
    SaveTncPorts(profile_, ports);
    gps_.Save(profile_);
    net_.Save(profile_);
}

}  // namespace plovane
