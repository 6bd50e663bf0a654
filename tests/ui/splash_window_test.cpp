// The splash window: version and status lines, the red warning that blinks, and hiding.
#include "ui/splash_window.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QTest>

#include "ui_test_support.h"

namespace plovane {
namespace {

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

}  // namespace
}  // namespace plovane
