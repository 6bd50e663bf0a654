// SPDX-License-Identifier: GPL-3.0-or-later
// The alerts dialog ("S&ound..."): a WAV file for a new message, a new acknowledgement and a
// new station, each switched on by choosing a file and off by clearing it, and a check box
// for each of the other alerts (the desktop notification). Opening reads
// the "Sound" section; OK writes it back (the caller then hands the stores the sounds).
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "app/sound_settings.h"
#include "core/profile.h"
#include "ui/logic/setup_alerts.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace plovane {

// Thread-affine: the user-interface thread.
class CAlertsDialog : public QDialog {
    Q_OBJECT
  public:
    enum Row { kNewMessage = 0, kNewAck = 1, kNewStation = 2 };

    explicit CAlertsDialog(Profile& profile, QWidget* parent = nullptr);

    // The file chooser (title given; empty result: cancelled) and the Yes/No question of
    // the clear buttons (true: Yes). Dialogs unless replaced (tests).
    void SetFileChooser(std::function<QString(const QString& title)> choose) {
        chooseFile_ = std::move(choose);
    }
    void SetQuestion(std::function<bool(const QString& question)> ask) { ask_ = std::move(ask); }

    // The row's choose and clear buttons.
    void Choose(int row);
    void Clear(int row);
    // OK: the rows go to the "Sound" section.
    void Apply();

    const AlertRow& row(int row) const { return rows_[row]; }
    QLabel* nameLabel(int row) const { return names_[row]; }
    QPushButton* chooseButton(int row) const { return choose_[row]; }
    QPushButton* clearButton(int row) const { return clear_[row]; }
    const CSoundSettings& settings() const { return settings_; }
    // The check boxes of CSoundSettings::kSwitches, in its order.
    const std::vector<QCheckBox*>& switches() const { return switches_; }

  private:
    void ShowRow(int row);

    Profile& profile_;
    CSoundSettings settings_;
    std::array<AlertRow, 3> rows_;
    std::array<QLabel*, 3> names_{};
    std::array<QPushButton*, 3> choose_{};
    std::array<QPushButton*, 3> clear_{};
    std::vector<QCheckBox*> switches_;
    std::function<QString(const QString&)> chooseFile_;
    std::function<bool(const QString&)> ask_;
};

}  // namespace plovane
