// SPDX-License-Identifier: GPL-3.0-or-later
// The Position, Ops, Track and Limits pages of the station setup sheet.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/setup_station_sheet.h"
#include "ui/setup_widgets.h"

namespace plovane {
namespace {

template <typename Array>
std::vector<std::string> Texts(const Array& array) {
    return {array.begin(), array.end()};
}

QSpinBox* CountSpin(int maximum, int value, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(1, maximum);
    spin->setValue(value);
    return spin;
}

}  // namespace

// --- Position page ---

CSetupStationPositPage::CSetupStationPositPage(CStationSettings& settings, QWidget* parent)
    : CSetupStationPage(settings, parent) {
    const PositForm form = PositFormFrom(settings_);
    auto* layout = new QVBoxLayout(this);
    transmit_ = NewCheckBox("&Transmit Position Reports", form.transmit, this);
    layout->addWidget(transmit_);

    fixed_ = new QRadioButton("Use &Fixed Position Reporting Rate", this);
    mobile_ = new QRadioButton("Use &Mobile Position Reporting Rate", this);
    auto* mode = new QButtonGroup(this);
    mode->addButton(fixed_);
    mode->addButton(mobile_);
    (form.mobile ? mobile_ : fixed_)->setChecked(true);
    layout->addWidget(fixed_);
    auto* rateRow = new QHBoxLayout;
    rateRow->addWidget(mobile_);
    auto* every = new QLabel("of &every:", this);
    rateRow->addWidget(every);
    rate_ = NewList(Texts(kRateTexts), form.rate, this);
    every->setBuddy(rate_);
    rateRow->addWidget(rate_);
    rateRow->addWidget(new QLabel("minutes", this));
    rateRow->addStretch();
    layout->addLayout(rateRow);

    auto* fields = new QFormLayout;
    ambiguity_ = NewList(Texts(kAmbiguityTexts), form.ambiguity, this);
    fields->addRow("&Ambiguity:", ambiguity_);
    const auto angleRow = [this](const TypedAngle& angle, QLineEdit*(&parts)[3],
                                 QComboBox*& hemisphere, const std::vector<std::string>& sides) {
        auto* row = new QHBoxLayout;
        const QString texts[3] = {SettingText(angle.degrees), SettingText(angle.minutes),
                                  SettingText(angle.fraction)};
        const char* marks[3] = {"\u00B0", ".", "'"};
        for (int i = 0; i < 3; ++i) {
            parts[i] = new QLineEdit(texts[i], this);
            parts[i]->setMaximumWidth(i == 2 ? 64 : 48);
            row->addWidget(parts[i]);
            row->addWidget(new QLabel(QString::fromUtf8(marks[i]), this));
        }
        hemisphere = NewList(sides, angle.hemisphere, this);
        row->addWidget(hemisphere);
        row->addStretch();
        return row;
    };
    auto* latitudeLabel = new QLabel("&Latitude:", this);
    fields->addRow(latitudeLabel,
                   angleRow(form.latitude, latitude_, latHemisphere_, Texts(kLatitudeHemispheres)));
    latitudeLabel->setBuddy(latitude_[0]);
    auto* longitudeLabel = new QLabel("L&ongitude:", this);
    fields->addRow(longitudeLabel, angleRow(form.longitude, longitude_, lonHemisphere_,
                                            Texts(kLongitudeHemispheres)));
    longitudeLabel->setBuddy(longitude_[0]);
    layout->addLayout(fields);
    layout->addStretch();

    connect(mobile_, &QRadioButton::toggled, this, [this] { UpdateEnabling(); });
    UpdateEnabling();
}

PositForm CSetupStationPositPage::Read() const {
    PositForm form;
    form.transmit = transmit_->isChecked();
    form.mobile = mobile_->isChecked();
    form.rate = rate_->currentIndex();
    form.ambiguity = ambiguity_->currentIndex();
    const auto angle = [](QLineEdit* const(&parts)[3], const QComboBox* hemisphere) {
        // Fields that are not Latin-1 fail the digit check whatever they become.
        TypedAngle typed;
        typed.degrees = SettingBytes(parts[0]->text(), {});
        typed.minutes = SettingBytes(parts[1]->text(), {});
        typed.fraction = SettingBytes(parts[2]->text(), {});
        typed.hemisphere = hemisphere->currentIndex();
        return typed;
    };
    form.latitude = angle(latitude_, latHemisphere_);
    form.longitude = angle(longitude_, lonHemisphere_);
    return form;
}

void CSetupStationPositPage::UpdateEnabling() {
    const PositForm form = Read();
    rate_->setEnabled(form.rateEnabled());
    for (QLineEdit* field :
         {latitude_[0], latitude_[1], latitude_[2], longitude_[0], longitude_[1], longitude_[2]}) {
        field->setEnabled(form.positionEnabled());
    }
    latHemisphere_->setEnabled(form.positionEnabled());
    lonHemisphere_->setEnabled(form.positionEnabled());
}

void CSetupStationPositPage::Store() {
    StorePositForm(Read(), settings_);
}

// --- Ops page ---

CSetupStationOpsPage::CSetupStationOpsPage(CStationSettings& settings, QWidget* parent)
    : CSetupStationPage(settings, parent) {
    const OpsForm form = OpsFormFrom(settings_);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    fields->addRow("My &Alias:", alias_ = NewSettingField(form.alias, this));
    fields->addRow("&Digipeater Path:", path_ = NewSettingField(form.digipeaterPath, this));
    fields->addRow("&Comments:", comments_ = NewSettingField(form.comments, this));
    fields->addRow("&Status:", status_ = NewSettingField(form.status, this));
    layout->addLayout(fields);
    transmitStatus_ = NewCheckBox("Trans&mit Status Reports", form.transmitStatus, this);
    layout->addWidget(transmitStatus_);
    auto* reply = new QHBoxLayout;
    autoReply_ = NewCheckBox("Message Auto &Reply:", form.autoReply, this);
    reply->addWidget(autoReply_);
    autoReplyText_ = NewSettingField(form.autoReplyText, this);
    autoReplyText_->setEnabled(form.autoReplyTextEnabled());
    reply->addWidget(autoReplyText_, 1);
    layout->addLayout(reply);
    layout->addStretch();
    connect(autoReply_, &QCheckBox::toggled, autoReplyText_, &QLineEdit::setEnabled);
}

void CSetupStationOpsPage::Store() {
    OpsForm form;
    form.alias = SettingBytes(alias_->text(), settings_.Alias);
    form.digipeaterPath = SettingBytes(path_->text(), settings_.UIDigiPath);
    form.comments = SettingBytes(comments_->text(), settings_.Comments);
    form.status = SettingBytes(status_->text(), settings_.Status);
    form.transmitStatus = transmitStatus_->isChecked();
    form.autoReply = autoReply_->isChecked();
    form.autoReplyText = SettingBytes(autoReplyText_->text(), settings_.AutoReplyText);
    StoreOpsForm(form, settings_);
}

// --- Track page ---

CSetupStationTrackPage::CSetupStationTrackPage(CStationSettings& settings, QWidget* parent)
    : CSetupStationPage(settings, parent) {
    const TrackForm form = TrackFormFrom(settings_);
    auto* layout = new QVBoxLayout(this);
    const TrackRuleForm* forms[2] = {&form.mine, &form.others};
    const char* titles[2] = {"Keep a Track Log for &My Station",
                             "Keep a Track Log for &Other Stations"};
    const int limits[2] = {kMaxOwnTrackPoints, kMaxOtherTrackPoints};
    for (int which = 0; which < 2; ++which) {
        const TrackRuleForm& f = *forms[which];
        Rule& rule = rules_[which];
        auto* grid = new QGridLayout;
        rule.on = NewCheckBox(titles[which], f.on, this);
        grid->addWidget(rule.on, 0, 0, 1, 3);
        grid->addWidget(new QLabel("Keep at most", this), 1, 0);
        rule.maxPoints = CountSpin(limits[which], f.maxPoints, this);
        grid->addWidget(rule.maxPoints, 1, 1);
        grid->addWidget(new QLabel("positions", this), 1, 2);
        rule.timeOn = NewCheckBox("&Every", f.timeOn, this);
        grid->addWidget(rule.timeOn, 2, 0);
        rule.time = NewList(Texts(kTrackTimeTexts), f.time, this);
        grid->addWidget(rule.time, 2, 1);
        rule.distanceOn = NewCheckBox("E&very", f.distanceOn, this);
        grid->addWidget(rule.distanceOn, 3, 0);
        rule.distance = NewList(TrackDistanceTexts(settings_.UnitsOfMeasure), f.distance, this);
        grid->addWidget(rule.distance, 3, 1);
        grid->setColumnStretch(3, 1);
        layout->addLayout(grid);
    }
    layout->addStretch();
}

void CSetupStationTrackPage::SetUnits(int units) {
    for (Rule& rule : rules_) {
        FillList(rule.distance, TrackDistanceTexts(units), rule.distance->currentIndex());
    }
}

void CSetupStationTrackPage::Store() {
    TrackForm form;
    TrackRuleForm* forms[2] = {&form.mine, &form.others};
    for (int which = 0; which < 2; ++which) {
        const Rule& rule = rules_[which];
        TrackRuleForm& f = *forms[which];
        f.on = rule.on->isChecked();
        f.maxPoints = rule.maxPoints->value();
        f.timeOn = rule.timeOn->isChecked();
        f.time = rule.time->currentIndex();
        f.distanceOn = rule.distanceOn->isChecked();
        f.distance = rule.distance->currentIndex();
    }
    StoreTrackForm(form, settings_);
}

// --- Limits page ---

CSetupStationLimitsPage::CSetupStationLimitsPage(CStationSettings& settings, QWidget* parent)
    : CSetupStationPage(settings, parent) {
    const LimitsForm form = LimitsFormFrom(settings_);
    auto* grid = new QGridLayout(this);
    // One row: check box, the amount it limits, the unit.
    const auto limitRow = [this, grid](int row, QCheckBox* on, QWidget* amount, const char* unit) {
        grid->addWidget(on, row, 0);
        grid->addWidget(amount, row, 1);
        grid->addWidget(new QLabel(unit, this), row, 2);
    };
    limitStations_ = NewCheckBox("Store at most", form.limitStations, this);
    stations_ = CountSpin(kMaxStoredRecords, form.stations, this);
    limitRow(0, limitStations_, stations_, "stations");
    deletedAfter_ = NewCheckBox("Stations are deleted after", form.deletedAfter, this);
    hours_ = NewList(DeletedAfterTexts(), form.hours, this);
    limitRow(1, deletedAfter_, hours_, "hours");
    limitMessages_ = NewCheckBox("Store at most", form.limitMessages, this);
    messages_ = CountSpin(kMaxStoredRecords, form.messages, this);
    limitRow(2, limitMessages_, messages_, "messages");
    myMessagesOnly_ = NewCheckBox("Store only my messages", form.myMessagesOnly, this);
    grid->addWidget(myMessagesOnly_, 3, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(4, 1);
}

void CSetupStationLimitsPage::Store() {
    LimitsForm form;
    form.limitStations = limitStations_->isChecked();
    form.stations = stations_->value();
    form.deletedAfter = deletedAfter_->isChecked();
    form.hours = hours_->currentIndex();
    form.limitMessages = limitMessages_->isChecked();
    form.messages = messages_->value();
    form.myMessagesOnly = myMessagesOnly_->isChecked();
    StoreLimitsForm(form, settings_);
}

}  // namespace plovane
