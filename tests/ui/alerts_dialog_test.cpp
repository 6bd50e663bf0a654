// The alerts dialog on an isolated settings file: the rows shown from the "Sound" keys,
// choosing and clearing files, and the keys written on OK.
#include "ui/alerts_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <memory>

#include "app/qsettings_profile.h"
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
    std::vector<QString> titles;
    std::vector<QString> questions;
    QString chosen;
    bool answer = false;
    dialog.SetFileChooser([&](const QString& title) {
        titles.push_back(title);
        return chosen;
    });
    dialog.SetQuestion([&](const QString& question) {
        questions.push_back(question);
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
    EXPECT_EQ(titles.size(), 2u);
    EXPECT_EQ(dialog.nameLabel(CAlertsDialog::kNewStation)->text(), "new station.wav");
    EXPECT_TRUE(dialog.clearButton(CAlertsDialog::kNewStation)->isEnabled());

    // Clear asks; No keeps the row, Yes empties it.
    dialog.clearButton(CAlertsDialog::kNewAck)->click();
    EXPECT_TRUE(dialog.row(CAlertsDialog::kNewAck).enabled);
    answer = true;
    dialog.clearButton(CAlertsDialog::kNewAck)->click();
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(dialog.nameLabel(CAlertsDialog::kNewAck)->text(), "None");
    EXPECT_FALSE(dialog.nameLabel(CAlertsDialog::kNewAck)->isEnabled());

    dialog.Apply();
    profile->Sync();
    profile = std::make_unique<QSettingsProfile>(dir / "plovane.conf");
    EXPECT_EQ(profile->GetInt("Sound", "NewStationEnabled", 0), 1);
    EXPECT_EQ(profile->GetString("Sound", "NewStation", ""), dir / "new station.wav");
    EXPECT_EQ(profile->GetInt("Sound", "NewAckEnabled", 1), 0);
    EXPECT_EQ(profile->GetString("Sound", "NewAck", ""), "None");
}

}  // namespace
}  // namespace plovane
