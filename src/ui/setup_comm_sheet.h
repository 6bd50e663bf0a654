// SPDX-License-Identifier: GPL-3.0-or-later
// "Setup Communications": the TNC, GPS and Net pages. Opening reads the "Comm" keys; OK
// writes them back (the caller then restarts the connections).
#pragma once

#include <QDialog>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "comm/gps_port.h"
#include "comm/net_settings.h"
#include "comm/tnc_port.h"
#include "core/profile.h"
#include "ui/logic/setup_comm.h"
#include "ui/setup_widgets.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace plovane {

// What the sheet needs from the program around it.
struct CommSetupSources {
    // The TNC command files found, in list order.
    std::vector<TncTypeChoice> tncFiles;
    // "&Refresh TNC List": searches again and gives the new list (may be empty: the button
    // then keeps the list as it is).
    std::function<std::vector<TncTypeChoice>()> refreshTncFiles;
    // The Net page's "Status:" line (may be empty: no network client).
    std::function<std::string()> netStatus;
    // Where the serial devices are looked for.
    std::filesystem::path devRoot = "/dev";
};

class CSetupCommTNCPage : public CSetupPage<CTncSettings> {
    Q_OBJECT
  public:
    CSetupCommTNCPage(CTncSettings& settings, const CommSetupSources& sources,
                      const std::vector<std::string>& ports, QWidget* parent = nullptr);
    void Store() override;
    // Rebuilds the "TNC T&ype:" list, keeping the chosen file when it is found again.
    void RefreshTncList();

    QCheckBox* enabledBox() const { return enabled_; }
    const SerialControls& serial() const { return serial_; }
    QComboBox* typeList() const { return type_; }
    QPushButton* refreshButton() const { return refresh_; }
    // What goes out on this port: beacons, messages, IGate, digipeater.
    QCheckBox* transmitBox(int index) const { return transmit_[index]; }

  private:
    TncForm Read() const;
    void UpdateEnabling();

    std::function<std::vector<TncTypeChoice>()> refreshFiles_;
    std::vector<TncTypeChoice> files_;
    QCheckBox* enabled_ = nullptr;
    QComboBox* mode_ = nullptr;
    QLineEdit* kissHost_ = nullptr;
    QLineEdit* kissPort_ = nullptr;
    QLineEdit* txDelay_ = nullptr;
    QLineEdit* persistence_ = nullptr;
    QLineEdit* slotTime_ = nullptr;
    QCheckBox* fullDuplex_ = nullptr;
    SerialControls serial_;
    QComboBox* type_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QCheckBox* transmit_[4] = {};
};

class CSetupCommGPSPage : public CSetupPage<CGpsSettings> {
    Q_OBJECT
  public:
    CSetupCommGPSPage(CGpsSettings& settings, const std::vector<std::string>& ports,
                      QWidget* parent = nullptr);
    void Store() override;

    QCheckBox* enabledBox() const { return enabled_; }
    // The source buttons, GpsSource order.
    QRadioButton* sourceButton(int source) const;
    const SerialControls& serial() const { return serial_; }

  private:
    GpsForm Read() const;
    void UpdateEnabling();

    QCheckBox* enabled_ = nullptr;
    QButtonGroup* sources_ = nullptr;
    SerialControls serial_;
    QLineEdit* gpsdHost_ = nullptr;
    QLineEdit* gpsdPort_ = nullptr;
};

class CSetupCommNetPage : public CSetupPage<CNetSettings> {
    Q_OBJECT
  public:
    // The status line is read again every `statusPeriodMs` while the page exists.
    CSetupCommNetPage(CNetSettings& settings, std::function<std::string()> status,
                      QWidget* parent = nullptr, int statusPeriodMs = 1000);
    void Store() override;
    void UpdateStatus();

    QCheckBox* enabledBox() const { return enabled_; }
    QLineEdit* hostField() const { return host_; }
    QLineEdit* portField() const { return port_; }
    QLineEdit* filterField() const { return filter_; }
    QLabel* statusLine() const { return status_; }

  private:
    void UpdateEnabling();

    std::function<std::string()> statusText_;
    QCheckBox* enabled_ = nullptr;
    QCheckBox* autoReconnect_ = nullptr;
    QLineEdit* host_ = nullptr;
    QLineEdit* port_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* statusTimer_ = nullptr;
};

class CSetupComm : public QDialog {
    Q_OBJECT
  public:
    CSetupComm(Profile& profile, const CommSetupSources& sources, QWidget* parent = nullptr);

    // OK: every page writes its record, the records go to the "Comm" section (further TNC
    // ports to [TNC2], [TNC3] ...).
    void Apply();

    // The TNC ports: "&New Port" adds one after the others (its transmit choices off),
    // "Remo&ve Port" drops the selected one (the first stays); later ones move up.
    void AddPort();
    void RemovePort();
    int portCount() const { return static_cast<int>(tncs_.size()); }
    // Port 1's page, and any port's (0-based).
    CSetupCommTNCPage* tncPage() const { return tncPages_.front(); }
    CSetupCommTNCPage* tncPage(int index) const { return tncPages_[static_cast<size_t>(index)]; }
    QListWidget* portList() const { return portList_; }
    QPushButton* addPortButton() const { return addPort_; }
    QPushButton* removePortButton() const { return removePort_; }
    CSetupCommGPSPage* gpsPage() const { return gpsPage_; }
    CSetupCommNetPage* netPage() const { return netPage_; }
    QTabWidget* tabs() const { return tabs_; }
    const CTncSettings& tncSettings() const { return *tncs_.front(); }
    const CGpsSettings& gpsSettings() const { return gps_; }
    const CNetSettings& netSettings() const { return net_; }

  private:
    CSetupCommTNCPage* NewTncPage(CTncSettings& settings);
    void NumberPorts();

    Profile& profile_;
    CommSetupSources sources_;
    std::vector<std::string> serialPorts_;
    // Each page edits its record in place, so the records never move.
    std::vector<std::unique_ptr<CTncSettings>> tncs_;
    std::vector<CSetupCommTNCPage*> tncPages_;
    QListWidget* portList_ = nullptr;
    QStackedWidget* portPages_ = nullptr;
    QPushButton* addPort_ = nullptr;
    QPushButton* removePort_ = nullptr;
    CGpsSettings gps_;
    CNetSettings net_;
    QTabWidget* tabs_ = nullptr;
    CSetupCommGPSPage* gpsPage_ = nullptr;
    CSetupCommNetPage* netPage_ = nullptr;
};

}  // namespace plovane
