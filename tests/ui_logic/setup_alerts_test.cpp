#include "ui/logic/setup_alerts.h"

#include <gtest/gtest.h>

namespace plovane {
namespace {

TEST(AlertRow, ShownNameIsThePartAfterTheLastSeparator) {
    struct Case {
        const char* path;
        const char* shown;
    } cases[] = {
        {"/usr/share/sounds/ding.wav", "ding.wav"},
        {"\\Windows\\Alarm1.wav", "Alarm1.wav"},
        {"", "None"},
        {"/sounds/", "None"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(SoundFileName(c.path), c.shown);
    }
}

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
