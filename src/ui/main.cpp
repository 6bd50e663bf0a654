// plovane: the APRS station with its map window.
//   plovane [--settings FILE.conf] [--map FILE] [--simulate FILE] [--screenshot FILE.png]
#include <QApplication>
#include <QString>
#include <cstdio>
#include <string>
#include <vector>

#include "core/version.h"
#include "ui/gui_app.h"
#include "ui/logic/command_line.h"
#include "ui/main_frame.h"
#include "ui/single_instance.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Drennic");
    QApplication::setApplicationName(plovane::kProgramName);
    QApplication::setApplicationVersion(plovane::kVersionText);

    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1))
        args.push_back(arg.toStdString());
    plovane::GuiOptions options;
    std::string error;
    if (!plovane::ParseGuiOptions(args, options, error)) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), plovane::kGuiUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(plovane::kGuiUsage, stdout);
        return 0;
    }
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
