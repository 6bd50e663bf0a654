// SPDX-License-Identifier: GPL-3.0-or-later
// The communications setup sheet and its pages.
#include "ui/setup_comm_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/display_text.h"

namespace plovane {

// --- TNC page ---

CSetupCommTNCPage::CSetupCommTNCPage(CTncSettings& settings, const CommSetupSources& sources,
                                     const std::vector<std::string>& ports, QWidget* parent)
    : CSetupPage(settings, parent),
      refreshFiles_(sources.refreshTncFiles),
      files_(sources.tncFiles) {
    const TncForm form = TncFormFrom(settings_, files_);
    auto* layout = new QVBoxLayout(this);
    enabled_ = NewCheckBox("TNC &Enabled", form.enabled, this);
    layout->addWidget(enabled_);
    auto* fields = new QFormLayout;
    mode_ = NewList({std::begin(kTncModeTexts), std::end(kTncModeTexts)}, form.mode, this);
    fields->addRow("TNC &Mode:", mode_);
    serial_.Build(fields, this, ports);
    serial_.Show(form.serial);
    fields->addRow("TNC T&ype:", type_ = NewList(TncTypeTexts(files_), form.type, this));
    // A software TNC serves KISS on a TCP port (8001 by convention).
    fields->addRow("KISS &Host:", kissHost_ = NewSettingField(form.kissHost, this));
    fields->addRow("KISS P&ort:", kissPort_ = NewSettingField(form.kissPort, this));
    // Empty KISS parameters leave the TNC's own values.
    const auto kissField = [this, fields](const char* label, const std::string& value) {
        QLineEdit* field = NewSettingField(value, this);
        field->setPlaceholderText("TNC default");
        fields->addRow(label, field);
        return field;
    };
    txDelay_ = kissField("TX&DELAY (10 ms):", form.txDelay);
    persistence_ = kissField("&Persistence (0-255):", form.persistence);
    slotTime_ = kissField("S&lot Time (10 ms):", form.slotTime);
    fields->addRow("", fullDuplex_ = NewCheckBox("&Full Duplex", form.fullDuplex, this));
    layout->addLayout(fields);
    // What this port sends.
    auto* transmit = new QHBoxLayout;
    const bool choices[] = {settings_.txBeacons, settings_.txMessages, settings_.igate,
                            settings_.digipeater};
    const char* labels[] = {"Send bea&cons", "Send messa&ges", "&IGate", "Digipe&ater"};
    for (int i = 0; i < 4; ++i)
        transmit->addWidget(transmit_[i] = NewCheckBox(labels[i], choices[i], this));
    transmit->addStretch();
    layout->addLayout(transmit);
    refresh_ = new QPushButton("&Refresh TNC List", this);
    layout->addWidget(refresh_, 0, Qt::AlignLeft);
    layout->addStretch();

    connect(enabled_, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
    connect(mode_, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabling(); });
    connect(refresh_, &QPushButton::clicked, this, [this] { RefreshTncList(); });
    UpdateEnabling();
}

void CSetupCommTNCPage::UpdateEnabling() {
    const TncForm form = Read();
    mode_->setEnabled(form.controlsEnabled());
    serial_.SetEnabled(form.serialEnabled());
    type_->setEnabled(form.serialEnabled());
    refresh_->setEnabled(form.serialEnabled());
    kissHost_->setEnabled(form.tcpEnabled());
    kissPort_->setEnabled(form.tcpEnabled());
    for (QWidget* w :
         std::initializer_list<QWidget*>{txDelay_, persistence_, slotTime_, fullDuplex_})
        w->setEnabled(form.kissEnabled());
}

void CSetupCommTNCPage::RefreshTncList() {
    if (!refreshFiles_)
        return;
    std::vector<TncTypeChoice> fresh = refreshFiles_();
    const int index = TncTypeIndexAfterRefresh(files_, type_->currentIndex(), fresh);
    files_ = std::move(fresh);
    FillList(type_, TncTypeTexts(files_), index);
}

TncForm CSetupCommTNCPage::Read() const {
    TncForm form;
    form.enabled = enabled_->isChecked();
    form.mode = mode_->currentIndex();
    form.serial = serial_.Read();
    form.type = type_->currentIndex();
    form.kissHost = SettingBytes(kissHost_->text(), settings_.kissHost);
    form.kissPort = SettingBytes(kissPort_->text(), settings_.kissPort);
    form.txDelay = txDelay_->text().toStdString();
    form.persistence = persistence_->text().toStdString();
    form.slotTime = slotTime_->text().toStdString();
    form.fullDuplex = fullDuplex_->isChecked();
    return form;
}

void CSetupCommTNCPage::Store() {
    StoreTncForm(Read(), files_, settings_);
    settings_.txBeacons = transmit_[0]->isChecked();
    settings_.txMessages = transmit_[1]->isChecked();
    settings_.igate = transmit_[2]->isChecked();
    settings_.digipeater = transmit_[3]->isChecked();
}

// --- GPS page ---

CSetupCommGPSPage::CSetupCommGPSPage(CGpsSettings& settings, const std::vector<std::string>& ports,
                                     QWidget* parent)
    : CSetupPage(settings, parent) {
    const GpsForm form = GpsFormFrom(settings_);
    auto* layout = new QVBoxLayout(this);
    enabled_ = NewCheckBox("&GPS Enabled", form.enabled, this);
    layout->addWidget(enabled_);
    sources_ = new QButtonGroup(this);
    for (int source = kGpsFromTncMonitor; source <= kGpsGpsd; ++source) {
        auto* button = new QRadioButton(kGpsSourceTexts[source], this);
        sources_->addButton(button, source);
        layout->addWidget(button);
    }
    if (QAbstractButton* chosen = sources_->button(form.source))
        chosen->setChecked(true);
    auto* fields = new QFormLayout;
    serial_.Build(fields, this, ports);
    serial_.Show(form.serial);
    fields->addRow("gpsd Ho&st:", gpsdHost_ = NewSettingField(form.gpsdHost, this));
    fields->addRow("gpsd Por&t:", gpsdPort_ = NewSettingField(form.gpsdPort, this));
    layout->addLayout(fields);
    layout->addStretch();

    connect(enabled_, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
    connect(sources_, &QButtonGroup::idToggled, this, [this] { UpdateEnabling(); });
    UpdateEnabling();
}

QRadioButton* CSetupCommGPSPage::sourceButton(int source) const {
    return qobject_cast<QRadioButton*>(sources_->button(source));
}

GpsForm CSetupCommGPSPage::Read() const {
    GpsForm form;
    form.enabled = enabled_->isChecked();
    form.source = sources_->checkedId();  // -1 when none is checked
    form.serial = serial_.Read();
    form.gpsdHost = SettingBytes(gpsdHost_->text(), settings_.gpsdHost);
    form.gpsdPort = SettingBytes(gpsdPort_->text(), settings_.gpsdPort);
    return form;
}

void CSetupCommGPSPage::UpdateEnabling() {
    const GpsForm form = Read();
    for (QAbstractButton* button : sources_->buttons()) {
        button->setEnabled(form.sourcesEnabled());
    }
    serial_.SetEnabled(form.serialEnabled());
    gpsdHost_->setEnabled(form.gpsdEnabled());
    gpsdPort_->setEnabled(form.gpsdEnabled());
}

void CSetupCommGPSPage::Store() {
    StoreGpsForm(Read(), settings_);
}

// --- Net page ---

CSetupCommNetPage::CSetupCommNetPage(CNetSettings& settings, std::function<std::string()> status,
                                     QWidget* parent, int statusPeriodMs)
    : CSetupPage(settings, parent), statusText_(std::move(status)) {
    const NetForm form = NetFormFrom(settings_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enabled_ = NewCheckBox("&Enabled", form.enabled, this));
    layout->addWidget(autoReconnect_ = NewCheckBox("Auto &Reconnect", form.autoReconnect, this));
    auto* fields = new QFormLayout;
    fields->addRow("Host &Address:", host_ = NewSettingField(form.hostAddress, this));
    fields->addRow("Port &Number:", port_ = NewSettingField(form.hostPort, this));
    // A server-side filter such as "r/50.1/14.4/100" (servers take one on port 14580).
    fields->addRow("Server &Filter:", filter_ = NewSettingField(form.netFilter, this));
    status_ = NewPlainLabel({}, this);
    fields->addRow("Status:", status_);
    layout->addLayout(fields);
    layout->addStretch();

    connect(enabled_, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
    UpdateEnabling();
    UpdateStatus();
    // The connection changes state while the sheet is open; the line follows it.
    statusTimer_ = new QTimer(this);
    statusTimer_->setInterval(statusPeriodMs);
    connect(statusTimer_, &QTimer::timeout, this, [this] { UpdateStatus(); });
    statusTimer_->start();
}

void CSetupCommNetPage::UpdateEnabling() {
    for (QWidget* w : std::initializer_list<QWidget*>{autoReconnect_, host_, port_, filter_})
        w->setEnabled(enabled_->isChecked());
}

void CSetupCommNetPage::UpdateStatus() {
    const std::string text =
        statusText_ ? statusText_() : std::string("Unknown - no net manager object.");
    status_->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void CSetupCommNetPage::Store() {
    NetForm form;
    form.enabled = enabled_->isChecked();
    form.autoReconnect = autoReconnect_->isChecked();
    form.hostAddress = SettingBytes(host_->text(), settings_.hostAddress);
    form.hostPort = SettingBytes(port_->text(), settings_.hostPort);
    form.netFilter = SettingBytes(filter_->text(), settings_.netFilter);
    StoreNetForm(form, settings_);
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
    buttons->addWidget(addPort_ = new QPushButton("&New Port", tncTab));
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
