#include "ui/logic/setup_alerts.h"

#include <gtest/gtest.h>

namespace plovane {
namespace {

TEST(AlertRow, ChoosingSwitchesOnAndClearingSwitchesOff) {
    AlertRow row;
    EXPECT_FALSE(row.nameEnabled());
    EXPECT_EQ(row.shownName(), "None");
    row.Choose("");  // the chooser was cancelled
    EXPECT_FALSE(row.enabled);
    row.Choose("/home/me/beep.wav");
    EXPECT_TRUE(row.enabled);
    EXPECT_EQ(row.file, "/home/me/beep.wav");
    EXPECT_EQ(row.shownName(), "beep.wav");
    row.Clear();
    EXPECT_FALSE(row.enabled);
    EXPECT_EQ(row.file, "None");
}

}  // namespace
}  // namespace plovane
