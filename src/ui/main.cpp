// SPDX-License-Identifier: GPL-3.0-or-later
// plovane: the APRS station with its map window.
//   plovane [--settings FILE.conf] [--map FILE] [--tiles SOURCE] [--simulate FILE]
//           [--screenshot FILE.png]
#include <QApplication>
#include <QIcon>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/version.h"
#include "ui/gui_app.h"
#include "ui/logic/command_line.h"
#include "ui/main_frame.h"
#include "ui/single_instance.h"

namespace {

// --help and --version print and return true. Handled before Qt starts, so they work
// without a display.
bool PrintHelpOrVersion(const plovane::GuiOptions& options) {
    if (options.help) {
        std::fputs(plovane::kGuiHelp, stdout);
        return true;
    }
    if (options.version) {
        std::printf("plovane %s\n", plovane::kVersionText);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    {
        // Qt's own options are not known here; a command line with them is parsed again
        // once QApplication has taken them out.
        plovane::GuiOptions early;
        std::string error;
        if (plovane::ParseGuiOptions(std::vector<std::string>(argv + 1, argv + argc), early,
                                     error)) {
            if (PrintHelpOrVersion(early))
                return 0;
        } else if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
                   std::getenv("QT_QPA_PLATFORM") == nullptr) {
            // Qt would abort for want of a display before the command line is checked.
            std::fprintf(stderr, "%s\n%s", error.c_str(), plovane::kGuiUsage);
            return 2;
        }
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Drennic");
    QApplication::setApplicationName(plovane::kProgramName);
    QApplication::setApplicationVersion(plovane::kVersionText);
    // Ties the windows to the installed desktop entry (its name and icon on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.drennic.Plovane"));
    if (QIcon::hasThemeIcon(QStringLiteral("org.drennic.Plovane")))
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.drennic.Plovane")));

    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1))
        args.push_back(arg.toStdString());
    plovane::GuiOptions options;
    std::string error;
    if (!plovane::ParseGuiOptions(args, options, error)) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), plovane::kGuiUsage);
        return 2;
    }
    if (PrintHelpOrVersion(options))
        return 0;
    const bool screenshot = !options.screenshotPath.empty();

    // A second copy on the same settings brings the first one forward and quits.
    plovane::SingleInstance instance(
        plovane::SingleInstance::KeyFor(QString::fromStdString(options.settingsPath)));
    switch (instance.Claim()) {
        case plovane::SingleInstance::Result::kFirst:
            break;
        case plovane::SingleInstance::Result::kNotified:
            return 0;
        case plovane::SingleInstance::Result::kFailed:
            std::fprintf(stderr, "plovane: another copy is running with these settings\n");
            return 1;
    }

    plovane::GuiApp gui(options, !screenshot);
    QObject::connect(&instance, &plovane::SingleInstance::raiseRequested, &gui,
                     &plovane::GuiApp::RaiseWindow);
    QObject::connect(&gui, &plovane::GuiApp::quitRequested, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!gui.Start(!screenshot))
        return 1;

    if (screenshot) {
        const QString path = QString::fromStdString(options.screenshotPath);
        if (!gui.SaveScreenshot(path)) {
            std::fprintf(stderr, "plovane: cannot write %s\n", options.screenshotPath.c_str());
            return 1;
        }
        gui.frame().close();
        return 0;
    }
    return QApplication::exec();
}
