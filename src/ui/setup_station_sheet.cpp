// SPDX-License-Identifier: GPL-3.0-or-later
// The station setup sheet with its Station and Icon pages (the other pages are in
// setup_station_pages.cpp).
#include "ui/setup_station_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "comm/net_settings.h"
#include "comm/tnc_port.h"
#include "maps/render/symbol_icons.h"
#include "ui/logic/setup_symbol_names.h"
#include "ui/setup_log_page.h"
#include "ui/setup_widgets.h"

namespace plovane {

// --- Station page ---

CSetupStationStationPage::CSetupStationStationPage(CStationSettings& settings, QWidget* parent)
    : CSetupStationPage(settings, parent) {
    const StationForm form = StationFormFrom(settings_);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    fields->addRow("My &Callsign:", call_ = NewSettingField(form.myCall, this));
    units_ = NewList({kUnitsTexts.begin(), kUnitsTexts.end()}, form.units, this);
    fields->addRow("Preferred &Units of Measure:", units_);
    layout->addLayout(fields);
    phg_ = NewCheckBox("&Send PHG Information", form.sendPhg, this);
    layout->addWidget(phg_);
    auto* phg = new QFormLayout;
    phg->addRow("Station &Power:", power_ = NewList(PowerTexts(), form.power, this));
    phg->addRow("Antenna &Height:", height_ = NewList(HeightTexts(form.units), form.height, this));
    phg->addRow("Antenna &Gain:", gain_ = NewList(GainTexts(), form.gain, this));
    directivity_ = NewList(DirectivityTexts(), form.directivity, this);
    phg->addRow("Antenna &Directivity:", directivity_);
    layout->addLayout(phg);
    layout->addStretch();

    // Feet or meters: the entries are renamed, the chosen height code stays.
    connect(units_, &QComboBox::currentIndexChanged, this, [this](int units) {
        FillList(height_, HeightTexts(units), height_->currentIndex());
        emit unitsChanged(units);
    });
}

int CSetupStationStationPage::units() const {
    return units_->currentIndex();
}

StationForm CSetupStationStationPage::Read() const {
    StationForm form;
    form.myCall = SettingBytes(call_->text(), settings_.MyCall);
    form.units = units_->currentIndex();
    form.sendPhg = phg_->isChecked();
    form.power = power_->currentIndex();
    form.height = height_->currentIndex();
    form.gain = gain_->currentIndex();
    form.directivity = directivity_->currentIndex();
    return form;
}

void CSetupStationStationPage::Store() {
    StoreStationForm(Read(), settings_);
}

// --- Icon page ---

CSetupStationIconPage::CSetupStationIconPage(CStationSettings& settings, const CSymbolIcons* icons,
                                             QWidget* parent)
    : CSetupStationPage(settings, parent), symbolIcons_(icons) {
    const IconForm form = IconFormFrom(settings_.Symbol);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    table_ = NewList({kIconListTexts.begin(), kIconListTexts.end()}, form.table, this);
    fields->addRow("&Choose an icon list:", table_);
    overlay_ = NewList(OverlayTexts(), form.overlay, this);
    fields->addRow("Choose an optional icon &overlay:", overlay_);
    layout->addLayout(fields);
    auto* label = new QLabel("Choose an &icon:", this);
    layout->addWidget(label);
    icons_ = new QTreeWidget(this);
    icons_->setColumnCount(1);
    icons_->setHeaderLabels({"Description"});
    icons_->setRootIsDecorated(false);
    icons_->setUniformRowHeights(true);
    icons_->setIconSize(QSize(16, 16));
    icons_->header()->setStretchLastSection(false);
    icons_->setColumnWidth(0, 180);
    label->setBuddy(icons_);
    layout->addWidget(icons_, 1);
    FillIcons(form.table, form.icon);
    overlay_->setEnabled(form.overlayEnabled());

    connect(table_, &QComboBox::currentIndexChanged, this, [this](int table) {
        FillIcons(table, icons_->currentIndex().isValid() ? icons_->currentIndex().row() : -1);
        overlay_->setEnabled(Read().overlayEnabled());
    });
}

void CSetupStationIconPage::FillIcons(int table, int selected) {
    const IconStrip strip = table == 1 ? IconStrip::kAlternate : IconStrip::kPrimary;
    icons_->clear();
    const std::vector<std::string> texts = IconTexts(table);
    for (size_t n = 0; n < texts.size(); ++n) {
        auto* item = new QTreeWidgetItem(icons_);
        item->setText(0,
                      QString::fromUtf8(texts[n].data(), static_cast<qsizetype>(texts[n].size())));
        if (symbolIcons_ != nullptr) {
            const QImage& icon = symbolIcons_->Icon(strip, static_cast<int>(n));
            if (!icon.isNull())
                item->setIcon(0, QPixmap::fromImage(icon));
        }
    }
    if (selected >= 0 && selected < icons_->topLevelItemCount()) {
        QTreeWidgetItem* item = icons_->topLevelItem(selected);
        icons_->setCurrentItem(item);
        icons_->scrollToItem(item);
    }
}

IconForm CSetupStationIconPage::Read() const {
    IconForm form;
    form.table = table_->currentIndex();
    form.overlay = overlay_->currentIndex();
    const QModelIndex current = icons_->currentIndex();
    form.icon = current.isValid() ? current.row() : -1;
    return form;
}

void CSetupStationIconPage::Store() {
    StoreIconForm(Read(), settings_.Symbol);
}

// --- Sheet ---

CSetupStation::CSetupStation(Profile& profile, const CSymbolIcons* icons, QWidget* parent)
    : QDialog(parent), profile_(profile) {
    setWindowTitle("Setup Station");
    settings_.Load(profile_);
    logSettings_.Load(profile_);
    showMessage_ = [this](const std::string& text) {
        // The message's line ends are CR LF; the box wants LF.
        QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
        shown.replace("\r\n", "\n");
        QMessageBox::warning(this, "Plovane", shown);
    };

    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    stationPage_ = new CSetupStationStationPage(settings_, tabs_);
    iconPage_ = new CSetupStationIconPage(settings_, icons, tabs_);
    positPage_ = new CSetupStationPositPage(settings_, tabs_);
    opsPage_ = new CSetupStationOpsPage(settings_, tabs_);
    trackPage_ = new CSetupStationTrackPage(settings_, tabs_);
    limitsPage_ = new CSetupStationLimitsPage(settings_, tabs_);
    tabs_->addTab(stationPage_, "Station");
    tabs_->addTab(iconPage_, "Icon");
    tabs_->addTab(positPage_, "Position");
    tabs_->addTab(opsPage_, "Ops");
    tabs_->addTab(trackPage_, "Track");
    tabs_->addTab(limitsPage_, "Limits");
    logPage_ = new CSetupStationLogPage(logSettings_, tabs_);
    tabs_->addTab(logPage_, "Log");
    layout->addWidget(tabs_);
    // The track distances are in the unit chosen on the Station page.
    connect(stationPage_, &CSetupStationStationPage::unitsChanged, trackPage_,
            &CSetupStationTrackPage::SetUnits);

    AddOkCancel(this, layout, [this] { return Apply(); });
}

bool CSetupStation::Apply() {
    // The call is held to the radio's rule unless only the APRS-IS is in use.
    const bool radio = profile_.GetInt(CTncSettings::kSection, "TNCEnabled", 0) != 0 ||
                       profile_.GetInt(CNetSettings::kSection, "NetEnabled", 0) == 0;
    std::vector<std::string> problems = StationFormProblems(stationPage_->Read(), radio);
    const bool stationPageWrong = !problems.empty();
    for (std::string& name : PositFormProblems(positPage_->Read()))
        problems.push_back(std::move(name));
    if (!problems.empty()) {
        tabs_->setCurrentWidget(stationPageWrong ? static_cast<QWidget*>(stationPage_)
                                                 : static_cast<QWidget*>(positPage_));
        if (showMessage_)
            showMessage_(FieldsNeedCorrection(problems));
        return false;
    }
    for (CSetupPageBase* page : std::initializer_list<CSetupPageBase*>{
             stationPage_, iconPage_, positPage_, opsPage_, trackPage_, limitsPage_, logPage_}) {
        page->Store();
    }
    settings_.Save(profile_);
    logSettings_.Save(profile_);
    return true;
}

}  // namespace plovane
