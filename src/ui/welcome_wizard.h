// SPDX-License-Identifier: GPL-3.0-or-later
// "Welcome to Plovane": the guide a first start shows (and Setup > Welcome...). Step by step,
// each one skippable: the call sign and its APRS-IS passcode, the position (gpsd when one
// answers, a locator or typed degrees) and its ambiguity, how to connect (a KISS TNC found
// on this machine first, APRS-IS with a range filter, a serial TNC, or none), the map tiles
// and the own symbol. Finish writes the settings; the caller makes the program take them.
#pragma once

#include <QString>
#include <QWizard>
#include <QWizardPage>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/profile.h"
#include "ui/logic/setup_comm.h"
#include "ui/logic/welcome.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QTcpSocket;
class QTimer;

namespace plovane {

class CSymbolIcons;

// Where the guide looks for what this machine offers.
struct WelcomeProbes {
    QString kissHost = QStringLiteral("localhost");
    quint16 kissPort = 8001;
    QString gpsdHost = QStringLiteral("localhost");
    quint16 gpsdPort = 2947;
    QString netHost = kWelcomeNetHost;  // the APRS-IS server offered
    QString netPort = kWelcomeNetPort;
    int timeoutMs = 5000;  // each probe gives up after this
    std::filesystem::path devRoot = "/dev";
    QString baseLayer;                    // the offline base layer's file; empty when not installed
    std::vector<TncTypeChoice> tncFiles;  // the TNC command files found, for text mode
};

// A page whose Next waits for a check.
class CWelcomePage : public QWizardPage {
    Q_OBJECT
  public:
    using QWizardPage::QWizardPage;
    void SetCheck(std::function<bool()> check) { check_ = std::move(check); }
    bool isComplete() const override { return !check_ || check_(); }
    void Recheck() { emit completeChanged(); }

  private:
    std::function<bool()> check_;
};

// Thread-affine: the user-interface thread. The probes run on Qt's asynchronous sockets.
class CWelcomeWizard : public QWizard {
    Q_OBJECT
  public:
    enum PageId { kCallPage, kPositionPage, kLinkPage, kMapPage, kSymbolPage };

    // `icons` may be null (the symbol list then shows names only).
    CWelcomeWizard(Profile& profile, const WelcomeProbes& probes, const CSymbolIcons* icons,
                   QWidget* parent = nullptr);
    ~CWelcomeWizard() override;

    // What the pages hold now.
    WelcomeChoices Choices() const;
    // Finish: applies the choices to the stored records and writes them; the records saved.
    const WelcomeSettings& Save();
    const WelcomeSettings& saved() const { return settings_; }

    QLineEdit* callField() const { return call_; }
    QLabel* passcodeLine() const { return passcode_; }
    QLabel* gpsdLine() const { return gpsdStatus_; }
    QLabel* kissLine() const { return kissStatus_; }
    QRadioButton* positionButton(int which) const;  // PositionSource order
    QLineEdit* locatorField() const { return locator_; }
    QLineEdit* typedField() const { return typed_; }
    QComboBox* ambiguityList() const { return ambiguity_; }
    QRadioButton* linkButton(WelcomeLink link) const;
    QSpinBox* radiusSpin() const { return radius_; }
    QComboBox* serialList() const { return serial_; }
    // KISS first, then text mode with each TNC command file (or with none when none is found).
    QComboBox* serialModeList() const { return serialMode_; }
    QRadioButton* osmButton() const { return osm_; }
    QRadioButton* baseButton() const { return base_; }
    QListWidget* symbolList() const { return symbols_; }
    // True once both probes have come to an answer.
    bool probesDone() const { return kissDone_ && gpsdDone_; }

    enum PositionSource {
        kKeepPosition,
        kGpsdPosition,
        kLocatorPosition,
        kTypedPosition,
        kMapPosition
    };
    // A place clicked on the map becomes the position.
    void SetMapPosition(const LatLon& position);
    QAbstractButton* pickButton() const { return pick_; }

  signals:
    // "Pick on the map": the next click on the map is wanted.
    void mapPickRequested();

  private:
    QWizardPage* BuildCallPage();
    QWizardPage* BuildPositionPage();
    QWizardPage* BuildLinkPage();
    QWizardPage* BuildMapPage();
    QWizardPage* BuildSymbolPage(const CSymbolIcons* icons);
    void StartProbes();
    void KissAnswered(ProbeResult result);
    void GpsdAnswered(ProbeResult result);
    void GpsdRead();
    std::optional<LatLon> ChosenPosition() const;
    void UpdateCall();
    void UpdatePosition();
    void UpdateFilter();

    Profile& profile_;
    WelcomeProbes probes_;
    WelcomeSettings settings_;
    std::optional<LatLon> gpsdFix_;
    bool kissDone_ = false;
    bool gpsdDone_ = false;
    QTcpSocket* kissSocket_ = nullptr;
    QTcpSocket* gpsdSocket_ = nullptr;
    QTimer* probeTimer_ = nullptr;
    std::vector<SerialChoice> serialPorts_;

    CWelcomePage* callPage_ = nullptr;
    QLineEdit* call_ = nullptr;
    QLabel* passcode_ = nullptr;
    CWelcomePage* positionPage_ = nullptr;
    QLabel* gpsdStatus_ = nullptr;
    QButtonGroup* positionSources_ = nullptr;
    QLineEdit* locator_ = nullptr;
    QLineEdit* typed_ = nullptr;
    QAbstractButton* pick_ = nullptr;
    std::optional<LatLon> mapPosition_;
    QLabel* positionShown_ = nullptr;
    QComboBox* ambiguity_ = nullptr;
    CWelcomePage* linkPage_ = nullptr;
    QLabel* kissStatus_ = nullptr;
    QButtonGroup* links_ = nullptr;
    QSpinBox* radius_ = nullptr;
    QLabel* filterLine_ = nullptr;
    QComboBox* serial_ = nullptr;
    QComboBox* serialMode_ = nullptr;
    QLabel* radioCallWarning_ = nullptr;
    QRadioButton* osm_ = nullptr;
    QRadioButton* base_ = nullptr;
    QListWidget* symbols_ = nullptr;
};

}  // namespace plovane
