// SPDX-License-Identifier: GPL-3.0-or-later
// "Setup Station": the Station, Icon, Position, Ops, Track and Limits pages, all editing the
// own-station settings. Opening reads the "Station" section; OK checks the typed position,
// then writes the section back (the caller then applies it).
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <string>

#include "app/station_log.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "ui/logic/setup_station.h"
#include "ui/setup_widgets.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace plovane {

class CSymbolIcons;
class CSetupStationLogPage;

// The pages below all edit the sheet's one settings record.
using CSetupStationPage = CSetupPage<CStationSettings>;

class CSetupStationStationPage : public CSetupStationPage {
    Q_OBJECT
  public:
    explicit CSetupStationStationPage(CStationSettings& settings, QWidget* parent = nullptr);
    StationForm Read() const;
    void Store() override;
    // The units chosen now (-1: none).
    int units() const;

    QLineEdit* callField() const { return call_; }
    QComboBox* unitsList() const { return units_; }
    QComboBox* heightList() const { return height_; }
    QComboBox* directivityList() const { return directivity_; }

  signals:
    void unitsChanged(int units);

  private:
    QLineEdit* call_ = nullptr;
    QComboBox* units_ = nullptr;
    QCheckBox* phg_ = nullptr;
    QComboBox* power_ = nullptr;
    QComboBox* height_ = nullptr;
    QComboBox* gain_ = nullptr;
    QComboBox* directivity_ = nullptr;
};

class CSetupStationIconPage : public CSetupStationPage {
    Q_OBJECT
  public:
    // `icons` may be null: the list then shows names only.
    CSetupStationIconPage(CStationSettings& settings, const CSymbolIcons* icons,
                          QWidget* parent = nullptr);
    void Store() override;

    QComboBox* tableList() const { return table_; }
    QComboBox* overlayList() const { return overlay_; }
    QTreeWidget* iconList() const { return icons_; }

  private:
    void FillIcons(int table, int selected);
    IconForm Read() const;

    const CSymbolIcons* symbolIcons_;
    QComboBox* table_ = nullptr;
    QComboBox* overlay_ = nullptr;
    QTreeWidget* icons_ = nullptr;
};

class CSetupStationPositPage : public CSetupStationPage {
    Q_OBJECT
  public:
    explicit CSetupStationPositPage(CStationSettings& settings, QWidget* parent = nullptr);
    PositForm Read() const;
    // Nothing is stored while the typed position has fields to correct.
    void Store() override;

    QRadioButton* fixedButton() const { return fixed_; }
    QRadioButton* mobileButton() const { return mobile_; }
    QComboBox* rateList() const { return rate_; }
    QComboBox* ambiguityList() const { return ambiguity_; }
    // Degrees, minutes, fractional minutes.
    QLineEdit* latitudeField(int part) const { return latitude_[part]; }
    QLineEdit* longitudeField(int part) const { return longitude_[part]; }
    QComboBox* longitudeHemisphere() const { return lonHemisphere_; }

  private:
    void UpdateEnabling();

    QCheckBox* transmit_ = nullptr;
    QRadioButton* fixed_ = nullptr;
    QRadioButton* mobile_ = nullptr;
    QComboBox* rate_ = nullptr;
    QComboBox* ambiguity_ = nullptr;
    QLineEdit* latitude_[3] = {};
    QLineEdit* longitude_[3] = {};
    QComboBox* latHemisphere_ = nullptr;
    QComboBox* lonHemisphere_ = nullptr;
};

class CSetupStationOpsPage : public CSetupStationPage {
    Q_OBJECT
  public:
    explicit CSetupStationOpsPage(CStationSettings& settings, QWidget* parent = nullptr);
    void Store() override;

    QLineEdit* commentsField() const { return comments_; }
    QLineEdit* statusField() const { return status_; }
    QLineEdit* autoReplyField() const { return autoReplyText_; }

  private:
    QLineEdit* alias_ = nullptr;
    QLineEdit* path_ = nullptr;
    QLineEdit* comments_ = nullptr;
    QLineEdit* status_ = nullptr;
    QCheckBox* transmitStatus_ = nullptr;
    QCheckBox* autoReply_ = nullptr;
    QLineEdit* autoReplyText_ = nullptr;
};

class CSetupStationTrackPage : public CSetupStationPage {
    Q_OBJECT
  public:
    explicit CSetupStationTrackPage(CStationSettings& settings, QWidget* parent = nullptr);
    void Store() override;
    // The distance lists name the unit of distance of these units.
    void SetUnits(int units);

    // One set of controls per track rule: 0 the own station, 1 the others.
    struct Rule {
        QCheckBox* on = nullptr;
        QSpinBox* maxPoints = nullptr;
        QCheckBox* timeOn = nullptr;
        QComboBox* time = nullptr;
        QCheckBox* distanceOn = nullptr;
        QComboBox* distance = nullptr;
    };
    const Rule& rule(int which) const { return rules_[which]; }

  private:
    Rule rules_[2];
};

class CSetupStationLimitsPage : public CSetupStationPage {
    Q_OBJECT
  public:
    explicit CSetupStationLimitsPage(CStationSettings& settings, QWidget* parent = nullptr);
    void Store() override;

    QCheckBox* limitStationsBox() const { return limitStations_; }
    QSpinBox* stationsSpin() const { return stations_; }
    QComboBox* hoursList() const { return hours_; }

  private:
    QCheckBox* limitStations_ = nullptr;
    QSpinBox* stations_ = nullptr;
    QCheckBox* deletedAfter_ = nullptr;
    QComboBox* hours_ = nullptr;
    QCheckBox* limitMessages_ = nullptr;
    QSpinBox* messages_ = nullptr;
    QCheckBox* myMessagesOnly_ = nullptr;
};

class CSetupStation : public QDialog {
    Q_OBJECT
  public:
    // `icons` may be null (names only on the Icon page).
    CSetupStation(Profile& profile, const CSymbolIcons* icons, QWidget* parent = nullptr);

    // OK: a call sign or typed position that does not check out shows the message naming
    // the fields and keeps the sheet open (false); otherwise every page writes the record and the
    // record goes to the "Station" section.
    bool Apply();

    // Shows the position page's message; a message box unless replaced (tests).
    void SetMessageShower(std::function<void(const std::string&)> show) {
        showMessage_ = std::move(show);
    }

    const CStationSettings& settings() const { return settings_; }
    QTabWidget* tabs() const { return tabs_; }
    CSetupStationStationPage* stationPage() const { return stationPage_; }
    CSetupStationIconPage* iconPage() const { return iconPage_; }
    CSetupStationPositPage* positPage() const { return positPage_; }
    CSetupStationOpsPage* opsPage() const { return opsPage_; }
    CSetupStationTrackPage* trackPage() const { return trackPage_; }
    CSetupStationLimitsPage* limitsPage() const { return limitsPage_; }
    CSetupStationLogPage* logPage() const { return logPage_; }

  private:
    Profile& profile_;
    CStationSettings settings_;
    std::function<void(const std::string&)> showMessage_;
    QTabWidget* tabs_ = nullptr;
    CSetupStationStationPage* stationPage_ = nullptr;
    CSetupStationIconPage* iconPage_ = nullptr;
    CSetupStationPositPage* positPage_ = nullptr;
    CSetupStationOpsPage* opsPage_ = nullptr;
    CSetupStationTrackPage* trackPage_ = nullptr;
    CSetupStationLimitsPage* limitsPage_ = nullptr;
    CLogSettings logSettings_;  // the station log's settings (Log page)
    CSetupStationLogPage* logPage_ = nullptr;
};

}  // namespace plovane
