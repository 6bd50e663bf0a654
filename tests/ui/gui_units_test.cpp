// SPDX-License-Identifier: GPL-3.0-or-later
// Small pieces of the GUI: options, the splash window, the text handed to the core.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QTest>
#include <tuple>

#include "ui/display_text.h"
#include "ui/logic/command_line.h"
#include "ui/night_palette.h"
#include "ui/splash_window.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

auto Fields(const GuiOptions& o) {
    return std::tie(o.settingsPath, o.mapPath, o.simulatePath, o.screenshotPath, o.help, o.version,
                    o.tilesSource);
}

TEST(GuiOptions, ParsesEveryOptionAndRejectsTheRest) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        GuiOptions expected;
    };
    const std::vector<Case> cases = {
        {{}, true, {}},
        {{"--settings", "a.conf", "--map", "w.map", "--simulate", "s.sim", "--screenshot", "x.png",
          "--tiles", "t.mbtiles"},
         true,
         {"a.conf", "w.map", "s.sim", "x.png", false, false, "t.mbtiles"}},
        {{"--help"}, true, {"", "", "", "", true, false, ""}},
        {{"--version"}, true, {"", "", "", "", false, true, ""}},
        {{"--tiles"}, false, {}},
        {{"--map"}, false, {}},
        {{"--bogus"}, false, {}},
        {{"w.map"}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.front());
        GuiOptions options;
        std::string error;
        EXPECT_EQ(ParseGuiOptions(c.args, options, error), c.ok);
        EXPECT_EQ(error.empty(), c.ok);
        if (c.ok) {
            EXPECT_EQ(Fields(options), Fields(c.expected));
        }
    }
}

using plovane::testing::WaitFor;

// Pixels of the warning's red in a picture of the window.
int RedPixels(CSplashWnd& splash) {
    const QImage image = splash.grab().toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    }
    return red;
}

TEST(SplashWindow, ShowsVersionAndStatusBlinksTheWarningAndGoesOnAClick) {
    CSplashWnd splash;
    splash.show();
    splash.SetStatus("Searching for maps in /usr/share/plovane/...");
    EXPECT_EQ(splash.status(), "Searching for maps in /usr/share/plovane/...");
    bool versionShown = false;
    for (const QLabel* label : splash.findChildren<QLabel*>()) {
        versionShown = versionShown || label->text() == "Version 1.02";
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
    EXPECT_TRUE(versionShown);

    ASSERT_TRUE(splash.warningVisible());
    EXPECT_GT(RedPixels(splash), 20);
    // The fourth tick of every four hides the line.
    ASSERT_TRUE(WaitFor([&] { return !splash.warningVisible(); }, 4000));
    EXPECT_EQ(RedPixels(splash), 0);
    EXPECT_FALSE(splash.finished());

    // A click or Escape hides it and marks it finished.
    QTest::mouseClick(&splash, Qt::LeftButton);
    EXPECT_TRUE(splash.finished());
    EXPECT_FALSE(splash.isVisible());

    CSplashWnd keyed;
    keyed.show();
    QTest::keyClick(&keyed, Qt::Key_Escape);
    EXPECT_TRUE(keyed.finished());
}

// The windows are dark at night and when the desktop's palette is dark; else the desktop's.
TEST(WindowPalette, DarkAtNightOrOnADarkDesktop) {
    QPalette light(QColor(240, 240, 240)), dark(QColor(40, 40, 40));
    light.setColor(QPalette::Window, QColor(236, 236, 236));
    dark.setColor(QPalette::Window, QColor(50, 50, 50));
    ASSERT_TRUE(IsDarkPalette(NightPalette()));
    EXPECT_EQ(WindowPalette(false, light), light);
    EXPECT_EQ(WindowPalette(true, light), NightPalette());
    EXPECT_EQ(WindowPalette(false, dark), NightPalette());
    EXPECT_GT(NightPalette().color(QPalette::Text).lightness(), 192);
}

TEST(DisplayText, CoreTextIsLatin1) {
    EXPECT_EQ(CoreText(QString::fromUtf8("caf\xc3\xa9")), "caf\xe9");
    EXPECT_EQ(CoreText(QString::fromUtf8("\xe2\x82\xac")), "?");
}

}  // namespace
}  // namespace plovane
