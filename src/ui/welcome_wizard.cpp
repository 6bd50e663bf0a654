// SPDX-License-Identifier: GPL-3.0-or-later
// The first-start guide.
#include "ui/welcome_wizard.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTcpSocket>
#include <QTimer>
#include <QVBoxLayout>

#include "comm/gpsd_port.h"
#include "comm/passcode.h"
#include "core/geo.h"
#include "maps/render/symbol_icons.h"
#include "maps/tile_source.h"
#include "ui/display_text.h"
#include "ui/logic/setup_station.h"
#include "ui/setup_widgets.h"

namespace plovane {
namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString PositionText(const LatLon& p) {
    return QString("%1\u00b0 %2, %3\u00b0 %4")
        .arg(std::abs(p.lat), 0, 'f', 4)
        .arg(p.lat < 0 ? 'S' : 'N')
        .arg(std::abs(p.lon), 0, 'f', 4)
        .arg(p.lon < 0 ? 'W' : 'E');
}

bool IsRadio(WelcomeLink link) {
    return link == WelcomeLink::kKissTcp || link == WelcomeLink::kSerial;
}

}  // namespace

CWelcomeWizard::CWelcomeWizard(Profile& profile, const WelcomeProbes& probes,
                               const CSymbolIcons* icons, QWidget* parent)
    : QWizard(parent), profile_(profile), probes_(probes) {
    setObjectName("welcome");
    setWindowTitle("Welcome to Plovane");
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage);
    settings_.station.Load(profile_);
    settings_.tnc.Load(profile_);
    settings_.gps.Load(profile_);
    settings_.net.Load(profile_);
    settings_.map.Load(profile_);
    setPage(kCallPage, BuildCallPage());
    setPage(kPositionPage, BuildPositionPage());
    setPage(kLinkPage, BuildLinkPage());
    setPage(kMapPage, BuildMapPage());
    setPage(kSymbolPage, BuildSymbolPage(icons));
    resize(560, 440);
    StartProbes();
}

CWelcomeWizard::~CWelcomeWizard() = default;

// --- Call sign ---

QWizardPage* CWelcomeWizard::BuildCallPage() {
    callPage_ = new CWelcomePage(this);
    callPage_->setTitle("Your call sign");
    callPage_->setSubTitle("Each step may be skipped: what you leave empty stays as it is.");
    auto* layout = new QVBoxLayout(callPage_);
    layout->addWidget(WrappedLabel(
        "Type your call sign with its SSID if you use one (e.g. N0CALL-9 in a car, N0CALL-7 "
        "on a handheld).",
        callPage_));
    auto* fields = new QFormLayout;
    const std::string stored =
        settings_.station.IsConfigured() ? settings_.station.MyCall : std::string();
    fields->addRow("My &call sign:", call_ = NewSettingField(stored, callPage_));
    call_->setObjectName("call");
    layout->addLayout(fields);
    passcode_ = WrappedLabel({}, callPage_);
    passcode_->setObjectName("passcode");
    layout->addWidget(passcode_);
    layout->addStretch();
    callPage_->SetCheck([this] {
        const std::string call = call_->text().trimmed().toStdString();
        return call.empty() || IsCallSign(call, false);
    });
    connect(call_, &QLineEdit::textChanged, this, [this] { UpdateCall(); });
    UpdateCall();
    return callPage_;
}

void CWelcomeWizard::UpdateCall() {
    const std::string call = call_->text().trimmed().toUpper().toStdString();
    if (call.empty()) {
        passcode_->setText("No call sign: the program listens but sends nothing.");
    } else if (IsCallSign(call, false)) {
        passcode_->setText(QString("Your APRS-IS passcode: %1 (it lets the servers take "
                                   "packets from you; Plovane sends it for you).")
                               .arg(AprsPasscode(call)));
    } else {
        passcode_->setText(Text(FieldsNeedCorrection({"My Callsign"})).replace("\r\n", "\n") +
                           "Letters and digits, then an optional SSID such as -9.");
    }
    callPage_->Recheck();
}

// --- Position ---

QWizardPage* CWelcomeWizard::BuildPositionPage() {
    positionPage_ = new CWelcomePage(this);
    positionPage_->setTitle("Your position");
    positionPage_->setSubTitle("Where your station is shown and what it sends.");
    auto* layout = new QVBoxLayout(positionPage_);
    gpsdStatus_ = WrappedLabel(Text(ProbeText(Probe::kGpsd, ProbeResult::kLooking,
                                              probes_.gpsdHost.toStdString(), probes_.gpsdPort)),
                               positionPage_);
    gpsdStatus_->setObjectName("gpsdStatus");
    layout->addWidget(gpsdStatus_);
    positionSources_ = new QButtonGroup(this);
    auto* grid = new QFormLayout;
    const auto addSource = [&](int id, const QString& text, QWidget* field) {
        auto* button = new QRadioButton(text, positionPage_);
        positionSources_->addButton(button, id);
        if (field)
            grid->addRow(button, field);
        else
            grid->addRow(button);
    };
    const bool stored = settings_.station.HasInitPosit && settings_.station.HasTypedPosition();
    addSource(kKeepPosition,
              stored ? "&Keep " + PositionText({LatitudeDegrees(settings_.station.Lat),
                                                LongitudeDegrees(settings_.station.Lon)})
                     : QString("&Not now"),
              nullptr);
    addSource(kGpsdPosition, "From &gpsd (follows the receiver)", nullptr);
    locator_ = new QLineEdit(positionPage_);
    locator_->setPlaceholderText("e.g. JO70fc");
    addSource(kLocatorPosition, "&Maidenhead locator:", locator_);
    typed_ = new QLineEdit(positionPage_);
    typed_->setPlaceholderText("degrees, e.g. 50.0755, 14.4378");
    addSource(kTypedPosition, "&Latitude, longitude:", typed_);
    auto* pick = new QPushButton("&Pick on the Map", positionPage_);
    pick_ = pick;
    pick->setToolTip("Then click your place on the main window's map.");
    addSource(kMapPosition, "A place on the map:", pick);
    layout->addLayout(grid);
    positionShown_ = WrappedLabel({}, positionPage_);
    layout->addWidget(positionShown_);
    auto* ambiguity = new QFormLayout;
    ambiguity_ = NewList({kAmbiguityTexts.begin(), kAmbiguityTexts.end()},
                         settings_.station.Ambiguity, positionPage_);
    ambiguity->addRow("Position &ambiguity to send:", ambiguity_);
    layout->addLayout(ambiguity);
    layout->addWidget(
        WrappedLabel("Ambiguity blanks the last digits of what is sent: 1 digit "
                     "hides the position within about 185 m, 4 digits within "
                     "about 110 km.",
                     positionPage_));
    layout->addStretch();

    positionSources_->button(kGpsdPosition)->setEnabled(false);
    positionSources_->button(kKeepPosition)->setChecked(true);
    positionPage_->SetCheck([this] {
        return positionSources_->checkedId() == kKeepPosition || ChosenPosition().has_value();
    });
    connect(positionSources_, &QButtonGroup::idClicked, this, [this] { UpdatePosition(); });
    const auto pickOnEdit = [this](QLineEdit* field, int id) {
        connect(field, &QLineEdit::textEdited, this, [this, id] {
            positionSources_->button(id)->setChecked(true);
            UpdatePosition();
        });
    };
    pickOnEdit(locator_, kLocatorPosition);
    pickOnEdit(typed_, kTypedPosition);
    connect(pick, &QPushButton::clicked, this, [this] {
        positionShown_->setText("Click your place on the map.");
        emit mapPickRequested();
    });
    UpdatePosition();
    return positionPage_;
}

std::optional<LatLon> CWelcomeWizard::ChosenPosition() const {
    switch (positionSources_->checkedId()) {
        case kGpsdPosition:
            return gpsdFix_;
        case kLocatorPosition:
            return LocatorPosition(locator_->text().toStdString());
        case kTypedPosition:
            return TypedPosition(typed_->text().toStdString());
        case kMapPosition:
            return mapPosition_;
        default:
            return std::nullopt;
    }
}

void CWelcomeWizard::SetMapPosition(const LatLon& position) {
    mapPosition_ = position;
    positionSources_->button(kMapPosition)->setChecked(true);
    UpdatePosition();
    raise();
    activateWindow();
}

void CWelcomeWizard::UpdatePosition() {
    const std::optional<LatLon> position = ChosenPosition();
    if (position)
        positionShown_->setText("Position: " + PositionText(*position));
    else if (positionSources_->checkedId() == kKeepPosition)
        positionShown_->clear();
    else
        positionShown_->setText("Not a position yet.");
    positionPage_->Recheck();
    UpdateFilter();
}

void CWelcomeWizard::UpdateFilter() {
    if (filterLine_ == nullptr)
        return;  // the link page is not built yet
    const std::optional<LatLon> position = ChosenPosition();
    filterLine_->setText(position ? Text("filter " + RangeFilter(*position, radius_->value()))
                                  : QString("(no filter without a position)"));
}

QRadioButton* CWelcomeWizard::positionButton(int which) const {
    return qobject_cast<QRadioButton*>(positionSources_->button(which));
}

// --- How to connect ---

QWizardPage* CWelcomeWizard::BuildLinkPage() {
    linkPage_ = new CWelcomePage(this);
    linkPage_->setTitle("How to connect");
    linkPage_->setSubTitle("A radio on this machine is offered first when one answers.");
    auto* layout = new QVBoxLayout(linkPage_);
    kissStatus_ = WrappedLabel(Text(ProbeText(Probe::kKissTnc, ProbeResult::kLooking,
                                              probes_.kissHost.toStdString(), probes_.kissPort)),
                               linkPage_);
    kissStatus_->setObjectName("kissStatus");
    layout->addWidget(kissStatus_);
    links_ = new QButtonGroup(this);
    const auto addLink = [&](WelcomeLink link, const QString& text) {
        auto* button = new QRadioButton(text, linkPage_);
        links_->addButton(button, static_cast<int>(link));
        layout->addWidget(button);
        return button;
    };
    addLink(WelcomeLink::kKissTcp,
            QString("&KISS TNC (Direwolf) on %1:%2").arg(probes_.kissHost).arg(probes_.kissPort))
        ->setEnabled(false);
    addLink(WelcomeLink::kAprsIs, QString("&Internet: APRS-IS (%1:%2), stations round you")
                                      .arg(probes_.netHost, probes_.netPort));
    auto* radiusRow = new QHBoxLayout;
    radiusRow->addSpacing(24);
    auto* radiusLabel = new QLabel("&Radius (km):", linkPage_);
    radiusRow->addWidget(radiusLabel);
    radius_ = new QSpinBox(linkPage_);
    radius_->setRange(1, 5000);
    radius_->setValue(kDefaultRangeKm);
    radiusLabel->setBuddy(radius_);
    radiusRow->addWidget(radius_);
    filterLine_ = new QLabel(linkPage_);
    radiusRow->addWidget(filterLine_, 1);
    layout->addLayout(radiusRow);
    addLink(WelcomeLink::kSerial, "&Serial TNC on:");
    auto* serialRow = new QHBoxLayout;
    serialRow->addSpacing(24);
    serial_ = new QComboBox(linkPage_);
    serialPorts_ = SerialPortsById(probes_.devRoot);
    for (const SerialChoice& port : serialPorts_)
        serial_->addItem(QString::fromStdString(port.name), QString::fromStdString(port.path));
    if (serialPorts_.empty()) {
        serial_->addItem("No serial adapter found in /dev/serial/by-id");
        serial_->setEnabled(false);
        links_->button(static_cast<int>(WelcomeLink::kSerial))->setEnabled(false);
    }
    serialRow->addWidget(serial_, 1);
    // As Setup > Communications offers: KISS, or text mode with the model's command file.
    serialMode_ = new QComboBox(linkPage_);
    serialMode_->addItem("KISS");
    for (const TncTypeChoice& file : probes_.tncFiles)
        serialMode_->addItem("Text mode: " + QString::fromStdString(file.name));
    if (probes_.tncFiles.empty())
        serialMode_->addItem("Text mode (no TNC command file found)");
    serialMode_->setEnabled(serial_->isEnabled());
    serialRow->addWidget(serialMode_);
    layout->addLayout(serialRow);
    addLink(WelcomeLink::kNone, "&Not now (listen to nothing)");
    radioCallWarning_ = WrappedLabel(
        "On the radio the call sign is 1 to 6 letters and digits with an SSID from -0 to -15: "
        "go back and correct it, or connect over the Internet.",
        linkPage_);
    radioCallWarning_->setVisible(false);
    layout->addWidget(radioCallWarning_);
    layout->addStretch();
    links_->button(static_cast<int>(WelcomeLink::kAprsIs))->setChecked(true);

    connect(radius_, &QSpinBox::valueChanged, this, [this] { UpdateFilter(); });
    UpdateFilter();
    linkPage_->SetCheck([this] {
        const auto link = static_cast<WelcomeLink>(links_->checkedId());
        const std::string call = call_->text().trimmed().toStdString();
        const bool wrong = IsRadio(link) && !call.empty() && !IsCallSign(call, true);
        radioCallWarning_->setVisible(wrong);
        return !wrong;
    });
    connect(links_, &QButtonGroup::idClicked, linkPage_, &CWelcomePage::Recheck);
    return linkPage_;
}

QRadioButton* CWelcomeWizard::linkButton(WelcomeLink link) const {
    return qobject_cast<QRadioButton*>(links_->button(static_cast<int>(link)));
}

// --- Map ---

QWizardPage* CWelcomeWizard::BuildMapPage() {
    auto* page = new QWizardPage(this);
    page->setTitle("The map");
    page->setSubTitle("What is drawn under the stations.");
    auto* layout = new QVBoxLayout(page);
    osm_ = new QRadioButton("&OpenStreetMap (online)", page);
    layout->addWidget(osm_);
    auto* credit = WrappedLabel(
        QString("Map data %1, shown under the Open Database Licence. Tiles come from "
                "tile.openstreetmap.org, a volunteer-run service: Plovane keeps them in a "
                "cache and credits them on the map; bulk downloading is not allowed by its "
                "tile usage policy.")
            .arg(QString::fromUtf8(kOsmAttribution)),
        page);
    credit->setContentsMargins(24, 0, 0, 8);
    layout->addWidget(credit);
    base_ = new QRadioButton("&Base layer (offline, comes with Plovane)", page);
    layout->addWidget(base_);
    auto* offline = WrappedLabel("Works without a network; coarser as you zoom in.", page);
    offline->setContentsMargins(24, 0, 0, 0);
    layout->addWidget(offline);
    layout->addStretch();
    auto* group = new QButtonGroup(page);
    group->addButton(osm_);
    group->addButton(base_);
    TileSourceChoice stored;
    std::string error;
    ParseTileSource(settings_.map.TileSource, stored, error);
    base_->setEnabled(!probes_.baseLayer.isEmpty());
    if (stored.kind == TileSourceKind::kUrl && IsOsmTileUrl(stored.location))
        osm_->setChecked(true);
    else if (base_->isEnabled())
        base_->setChecked(true);
    return page;
}

// --- Symbol ---

QWizardPage* CWelcomeWizard::BuildSymbolPage(const CSymbolIcons* icons) {
    auto* page = new QWizardPage(this);
    page->setTitle("Your symbol");
    page->setSubTitle("How your station looks on the maps of others.");
    auto* layout = new QVBoxLayout(page);
    symbols_ = new QListWidget(page);
    symbols_->setViewMode(QListView::IconMode);
    symbols_->setIconSize(QSize(32, 32));
    symbols_->setGridSize(QSize(120, 64));
    symbols_->setMovement(QListView::Static);
    symbols_->setResizeMode(QListView::Adjust);
    symbols_->setWordWrap(true);
    for (const CommonSymbol& symbol : kCommonSymbols) {
        auto* item = new QListWidgetItem(symbol.name, symbols_);
        item->setData(Qt::UserRole, QString::fromLatin1(symbol.symbol));
        if (icons != nullptr) {
            const QImage& image = icons->Icon(IconStrip::kPrimary, symbol.symbol[1] - 32);
            if (!image.isNull())
                item->setIcon(QPixmap::fromImage(
                    image.scaled(32, 32, Qt::KeepAspectRatio, Qt::FastTransformation)));
        }
        if (settings_.station.Symbol == symbol.symbol)
            symbols_->setCurrentItem(item);
    }
    layout->addWidget(symbols_, 1);
    layout->addWidget(WrappedLabel("Setup > Station offers every symbol and overlay.", page));
    return page;
}

// --- Probes ---

void CWelcomeWizard::StartProbes() {
    kissSocket_ = new QTcpSocket(this);
    connect(kissSocket_, &QTcpSocket::connected, this,
            [this] { KissAnswered(ProbeResult::kAnswered); });
    connect(kissSocket_, &QTcpSocket::errorOccurred, this,
            [this] { KissAnswered(ProbeResult::kNone); });
    kissSocket_->connectToHost(probes_.kissHost, probes_.kissPort);

    gpsdSocket_ = new QTcpSocket(this);
    connect(gpsdSocket_, &QTcpSocket::connected, this, [this] {
        gpsdSocket_->write(kGpsdWatch.data(), static_cast<qint64>(kGpsdWatch.size()));
    });
    connect(gpsdSocket_, &QTcpSocket::readyRead, this, &CWelcomeWizard::GpsdRead);
    connect(gpsdSocket_, &QTcpSocket::errorOccurred, this,
            [this] { GpsdAnswered(ProbeResult::kNone); });
    gpsdSocket_->connectToHost(probes_.gpsdHost, probes_.gpsdPort);

    probeTimer_ = new QTimer(this);
    probeTimer_->setSingleShot(true);
    connect(probeTimer_, &QTimer::timeout, this, [this] {
        KissAnswered(ProbeResult::kNone);
        GpsdAnswered(gpsdSocket_->state() == QAbstractSocket::ConnectedState
                         ? ProbeResult::kAnswered
                         : ProbeResult::kNone);
    });
    probeTimer_->start(probes_.timeoutMs);
}

void CWelcomeWizard::KissAnswered(ProbeResult result) {
    if (kissDone_)
        return;
    kissDone_ = true;
    kissSocket_->abort();
    kissStatus_->setText(
        Text(ProbeText(Probe::kKissTnc, result, probes_.kissHost.toStdString(), probes_.kissPort)));
    if (result == ProbeResult::kAnswered) {
        QAbstractButton* kiss = links_->button(static_cast<int>(WelcomeLink::kKissTcp));
        kiss->setEnabled(true);
        kiss->setChecked(true);
        linkPage_->Recheck();
    }
}

void CWelcomeWizard::GpsdRead() {
    // gpsd sends one JSON object a line; a TPV with a fix ends the probe. A line longer than
    // any report gpsd writes is not kept.
    while (gpsdSocket_->canReadLine()) {
        const QByteArray line = gpsdSocket_->readLine(4096);
        if (const std::optional<LatLon> fix = GpsdFix(line.toStdString())) {
            gpsdFix_ = fix;
            GpsdAnswered(ProbeResult::kFix);
            return;
        }
    }
    if (gpsdSocket_->bytesAvailable() > 65536)
        gpsdSocket_->readAll();
}

void CWelcomeWizard::GpsdAnswered(ProbeResult result) {
    if (gpsdDone_)
        return;
    gpsdDone_ = true;
    gpsdSocket_->abort();
    if (kissDone_)
        probeTimer_->stop();
    QString text =
        Text(ProbeText(Probe::kGpsd, result, probes_.gpsdHost.toStdString(), probes_.gpsdPort));
    if (gpsdFix_)
        text += "\n" + PositionText(*gpsdFix_);
    gpsdStatus_->setText(text);
    if (result == ProbeResult::kFix) {
        QAbstractButton* gpsd = positionSources_->button(kGpsdPosition);
        gpsd->setEnabled(true);
        if (positionSources_->checkedId() == kKeepPosition)
            gpsd->setChecked(true);
        UpdatePosition();
    }
}

// --- Finish ---

WelcomeChoices CWelcomeWizard::Choices() const {
    WelcomeChoices c;
    c.call = call_->text().trimmed().toUpper().toStdString();
    c.position = ChosenPosition();
    c.gpsd = positionSources_->checkedId() == kGpsdPosition && gpsdFix_.has_value();
    c.gpsdHost = probes_.gpsdHost.toStdString();
    c.gpsdPort = std::to_string(probes_.gpsdPort);
    c.ambiguity = ambiguity_->currentIndex();
    c.link = static_cast<WelcomeLink>(links_->checkedId());
    c.kissHost = probes_.kissHost.toStdString();
    c.kissPort = std::to_string(probes_.kissPort);
    c.radiusKm = radius_->value();
    c.netHost = probes_.netHost.toStdString();
    c.netPort = probes_.netPort.toStdString();
    c.serialPort = serial_->currentData().toString().toStdString();
    c.serialTextMode = serialMode_->currentIndex() > 0;
    if (c.serialTextMode && !probes_.tncFiles.empty())
        c.tncCommandFile = probes_.tncFiles[size_t(serialMode_->currentIndex() - 1)].path;
    if (osm_->isChecked())
        c.tileSource = std::string(kOsmTileUrl);
    else if (base_->isChecked())
        c.tileSource = probes_.baseLayer.toStdString();
    if (const QListWidgetItem* item = symbols_->currentItem())
        c.symbol = item->data(Qt::UserRole).toString().toStdString();
    return c;
}

const WelcomeSettings& CWelcomeWizard::Save() {
    ApplyWelcome(Choices(), settings_);
    settings_.station.Save(profile_);
    settings_.tnc.Save(profile_);
    settings_.gps.Save(profile_);
    settings_.net.Save(profile_);
    settings_.map.Save(profile_);
    return settings_;
}

}  // namespace plovane
