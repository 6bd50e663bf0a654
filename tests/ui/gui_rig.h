// The whole GUI program on a settings file of its own, which a test may fill before the start.
#pragma once

#include <functional>
#include <memory>

#include "app/qsettings_profile.h"
#include "ui/gui_app.h"
#include "ui/qt_host.h"
#include "ui_test_support.h"

namespace plovane::testing {

struct GuiRig {
    // Builds the program and starts it (`interactive`: a shown window and waiting boxes);
    // `before` runs between the two.
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

}  // namespace plovane::testing
