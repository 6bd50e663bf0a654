// SPDX-License-Identifier: GPL-3.0-or-later
// "Setup Communications": the TNC, GPS and Net pages. Opening reads the "Comm" keys; OK
// writes them back (the caller then restarts the connections).
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
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
#include "ui/setup_fields.h"
#include "ui/setup_widgets.h"

class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
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

// Each page is built from its record's table: every field a control named by its key
// (field<QCheckBox>("TNCEnabled")), enabled by its gate.
class CSetupCommTNCPage : public CTableSetupPage<CTncSettings> {
    Q_OBJECT
  public:
    CSetupCommTNCPage(CTncSettings& settings, const CommSetupSources& sources,
                      const std::vector<std::string>& ports, QWidget* parent = nullptr);
    // Rebuilds the "TNC T&ype:" list, keeping the chosen file when it is found again.
    void RefreshTncList();

    QCheckBox* enabledBox() const { return field<QCheckBox>("TNCEnabled"); }
    QComboBox* typeList() const { return controls_.commandFileList(); }
    QPushButton* refreshButton() const { return refresh_; }

  private:
    void UpdateEnabling();

    std::function<std::vector<TncTypeChoice>()> refreshFiles_;
    std::vector<std::string> ports_;
    std::vector<TncTypeChoice> files_;
    QPushButton* refresh_ = nullptr;
};

class CSetupCommGPSPage : public CTableSetupPage<CGpsSettings> {
    Q_OBJECT
  public:
    CSetupCommGPSPage(CGpsSettings& settings, const std::vector<std::string>& ports,
                      QWidget* parent = nullptr);

  private:
    void UpdateEnabling();

    std::vector<std::string> ports_;
};

class CSetupCommNetPage : public CTableSetupPage<CNetSettings> {
    Q_OBJECT
  public:
    // The status line is read again every `statusPeriodMs` while the page exists.
    CSetupCommNetPage(CNetSettings& settings, std::function<std::string()> status,
                      QWidget* parent = nullptr, int statusPeriodMs = 1000);
    void UpdateStatus();

    QLineEdit* portField() const { return field<QLineEdit>("HostPort"); }
    QLineEdit* filterField() const { return field<QLineEdit>("NetFilter"); }
    QLabel* statusLine() const { return status_; }

  private:
    void UpdateEnabling();

    std::function<std::string()> statusText_;
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

    // The TNC ports: "Ne&w Port" adds one after the others (its transmit choices off),
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
