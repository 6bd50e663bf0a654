// Small pieces of the GUI: options, the splash window and its clock, display text, link states.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QTest>
#include <tuple>

#include "ui/display_text.h"
#include "ui/logic/command_line.h"
#include "ui/logic/splash_state.h"
#include "ui/logic/status_icons.h"
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

TEST(SplashState, WarningBlinksThreeTicksInFourAndTheWindowGoesAfterThirty) {
    SplashState splash;
    std::string pattern;
    int hiddenAt = 0;
    for (int tick = 1; tick <= 40 && hiddenAt == 0; ++tick) {
        if (splash.Tick())
            hiddenAt = tick;
        pattern += splash.warningVisible() ? 'X' : '.';
    }
    EXPECT_EQ(pattern.substr(0, 8), "XX.XXX.X");
    EXPECT_EQ(hiddenAt, 31);
    EXPECT_TRUE(splash.finished());
    EXPECT_FALSE(splash.Tick());  // finished: nothing more happens
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

TEST(SplashWindow, ShowsVersionAndStatusAndBlinksTheWarning) {
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
}

TEST(SplashWindow, AClickHidesItAndMarksItFinished) {
    CSplashWnd splash;
    splash.show();
    QTest::mouseClick(&splash, Qt::LeftButton);
    EXPECT_TRUE(splash.finished());
    EXPECT_FALSE(splash.isVisible());

    CSplashWnd keyed;
    keyed.show();
    QTest::keyClick(&keyed, Qt::Key_Escape);
    EXPECT_TRUE(keyed.finished());
}

TEST(DisplayText, Utf8WhenValidOtherwiseLatin1) {
    struct Case {
        std::string bytes;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"plain", "plain"},
        {"caf\xc3\xa9", QString::fromUtf8("caf\xc3\xa9")},
        {"caf\xe9", QString::fromLatin1("caf\xe9")},
        {"\xc3", QString::fromLatin1("\xc3")},  // cut short
        {std::string("a\0b", 3), QString::fromLatin1("a\0b", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(DisplayText(c.bytes), c.expected);
    }
}

TEST(DisplayText, CoreTextIsLatin1) {
    EXPECT_EQ(CoreText(QString::fromUtf8("caf\xc3\xa9")), "caf\xe9");
    EXPECT_EQ(CoreText(QString::fromUtf8("\xe2\x82\xac")), "?");
}

TEST(StatusIcons, LinkStateFromThePortFlags) {
    struct Case {
        LinkFacts facts;
        LinkState expected;
    };
    const std::vector<Case> cases = {
        {{false, false, false, false}, LinkState::kOff},
        {{false, true, false, true}, LinkState::kOff},  // disabled wins
        {{true, true, false, false}, LinkState::kOpen},
        {{true, false, true, false}, LinkState::kPending},
        {{true, true, false, true}, LinkState::kError},
        {{true, false, false, false}, LinkState::kError},  // enabled but not open
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(LinkStateOf(cases[i].facts), cases[i].expected);
    }
}

}  // namespace
}  // namespace plovane
