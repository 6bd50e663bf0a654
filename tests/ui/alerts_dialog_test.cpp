// SPDX-License-Identifier: GPL-3.0-or-later
// The alerts dialog on an isolated settings file, and the player of alert sounds.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "app/qsettings_profile.h"
#include "ui/alerts_dialog.h"
#include "ui/sound_player.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

using plovane::testing::ScratchDir;

TEST(AlertsDialog, RowsFromTheSoundKeysChooseClearAndStore) {
    ScratchDir dir;
    auto profile = std::make_unique<QSettingsProfile>(dir / "plovane.conf");
    profile->WriteInt("Sound", "NewAckEnabled", 1);
    profile->WriteString("Sound", "NewAck", "/usr/share/sounds/ack.wav");

    CAlertsDialog dialog(*profile);
    QString chosen;
    bool answer = false;
    int questions = 0;
    dialog.SetFileChooser([&](const QString&) { return chosen; });
    dialog.SetQuestion([&](const QString&) {
        ++questions;
        return answer;
    });

    EXPECT_FALSE(dialog.clearButton(CAlertsDialog::kNewMessage)->isEnabled());
    EXPECT_EQ(dialog.nameLabel(CAlertsDialog::kNewAck)->text(), "ack.wav");
    EXPECT_TRUE(dialog.clearButton(CAlertsDialog::kNewAck)->isEnabled());

    // A cancelled chooser changes nothing; a chosen file switches its row on.
    dialog.chooseButton(CAlertsDialog::kNewStation)->click();
    EXPECT_FALSE(dialog.row(CAlertsDialog::kNewStation).enabled);
    chosen = dir.path().c_str() + QString("/new station.wav");
    dialog.chooseButton(CAlertsDialog::kNewStation)->click();
    EXPECT_EQ(dialog.nameLabel(CAlertsDialog::kNewStation)->text(), "new station.wav");
    EXPECT_TRUE(dialog.clearButton(CAlertsDialog::kNewStation)->isEnabled());

    // Clear asks; No keeps the row, Yes empties it.
    dialog.clearButton(CAlertsDialog::kNewAck)->click();
    EXPECT_TRUE(dialog.row(CAlertsDialog::kNewAck).enabled);
    answer = true;
    dialog.clearButton(CAlertsDialog::kNewAck)->click();
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(dialog.nameLabel(CAlertsDialog::kNewAck)->text(), "None");
    EXPECT_FALSE(dialog.nameLabel(CAlertsDialog::kNewAck)->isEnabled());

    // The desktop notification is on where the file has no say, and is stored as ticked.
    ASSERT_EQ(dialog.switches().size(), 1u);
    EXPECT_TRUE(dialog.switches()[0]->isChecked());
    dialog.switches()[0]->setChecked(false);

    dialog.Apply();
    profile->Sync();
    profile = std::make_unique<QSettingsProfile>(dir / "plovane.conf");
    EXPECT_EQ(profile->GetInt("Sound", "NewStationEnabled", 0), 1);
    EXPECT_EQ(profile->GetString("Sound", "NewStation", ""), dir / "new station.wav");
    EXPECT_EQ(profile->GetInt("Sound", "NewAckEnabled", 1), 0);
    EXPECT_EQ(profile->GetString("Sound", "NewAck", ""), "None");
    EXPECT_EQ(profile->GetInt("Sound", "DesktopNotification", 1), 0);
}

TEST(SoundPlayer, PlaysExistingFilesOnlyAndKeepsFewLoaded) {
    testing::ScratchDir dir;
    SoundPlayer player;
    EXPECT_FALSE(player.Play(""));
    EXPECT_FALSE(player.Play("None"));
    EXPECT_FALSE(player.Play(QString::fromStdString(dir / "missing.wav")));
    EXPECT_EQ(player.loadedCount(), 0u);

    for (int i = 0; i < 12; ++i) {
        const std::string path = dir / ("alert" + std::to_string(i) + ".wav");
        testing::WriteSilentWav(path);
        EXPECT_TRUE(player.Play(QString::fromStdString(path)));
        EXPECT_TRUE(player.Play(QString::fromStdString(path)));  // again: the same effect
    }
    EXPECT_EQ(player.loadedCount(), SoundPlayer::kMaxLoaded);
}

}  // namespace
}  // namespace plovane
