// SPDX-License-Identifier: GPL-3.0-or-later
// The whole GUI program on a settings file of its own, which a test may fill before the start.
#pragma once

#include <QImage>
#include <QProcess>
#include <functional>
#include <memory>

#include "app/qsettings_profile.h"
#include "ui/gui_app.h"
#include "ui/qt_host.h"
#include "ui_test_support.h"

namespace plovane::testing {

struct GuiRig {
    // Builds and starts the program (`interactive`: shown, boxes wait); `before` runs between.
    GuiApp& Start(bool interactive = false, const std::function<void(GuiApp&)>& before = {}) {
        settings.reset();  // written out before the program reads the file
        gui = std::make_unique<GuiApp>(options, interactive);
        if (before)
            before(*gui);
        EXPECT_TRUE(gui->Start(interactive));
        return *gui;
    }

    ScratchDir dir;
    std::unique_ptr<QSettingsProfile> settings =
        std::make_unique<QSettingsProfile>(dir / "plovane.conf");
    GuiOptions options = [this] {
        GuiOptions o;
        o.settingsPath = dir / "plovane.conf";
        return o;
    }();
    std::unique_ptr<GuiApp> gui;
};

// The program's --screenshot picture, run offscreen on `dir` while serving this event loop.
inline QImage Screenshot(const ScratchDir& dir, QStringList args) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CACHE_HOME", QString::fromStdString(dir / "cache"));
    program.setProcessEnvironment(environment);
    const QString png = QString::fromStdString(dir / "shot.png");
    args << "--settings" << QString::fromStdString(dir / "plovane.conf") << "--screenshot" << png;
    program.start(PLOVANE_GUI_PATH, args);
    EXPECT_TRUE(WaitFor([&] { return program.state() == QProcess::NotRunning; }, 60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    return QImage(png);
}

}  // namespace plovane::testing
