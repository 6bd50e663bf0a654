// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli run: the headless station. The application core with a console host that
// prints every notice and echo line, until SIGINT or SIGTERM, then an orderly shut-down.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <thread>

#include "app/console_host.h"
#include "app/data_dir.h"
#include "app/plovane_app.h"
#include "app/search_folders.h"
#include "cli.h"
#include "core/clock.h"
#include "core/profile.h"
#ifdef PLOVANE_HAVE_QT
#include "app/qsettings_profile.h"
#endif

namespace plovane::cli {
int RunStation(const RunOptions& options, ConsoleHost& host, const std::atomic<bool>& stop,
               std::ostream& err) {
    std::unique_ptr<Profile> profile;
#ifdef PLOVANE_HAVE_QT
    if (options.settingsPath.empty()) {
        profile = std::make_unique<QSettingsProfile>();
    } else {
        profile = std::make_unique<QSettingsProfile>(options.settingsPath);
    }
#else
    if (!options.settingsPath.empty()) {
        err << "plovane-cli: this build has no settings store; using the defaults\n";
    }
    profile = std::make_unique<MemoryProfile>();
#endif
    SystemClock clock;
    CPlovaneApp app(*profile, host, clock);
    AppStartOptions start;
    start.searchFolders = SearchFolders(*profile, BundledDataPath());
    start.status = [&host](const std::string& text) { host.ShowNotice(text); };
    if (!app.Start(start))
        return 1;

    if (!options.simulatePath.empty() && app.PlaySimulation(options.simulatePath) < 0) {
        err << "plovane-cli: cannot read " << options.simulatePath << '\n';
    }

    // The user-interface thread of the headless station: posted messages and the timer.
    using namespace std::chrono;
    auto nextTick = steady_clock::now() + milliseconds(CPlovaneApp::kTimerPeriodMs);
    while (!stop.load()) {
        const auto wait = duration_cast<milliseconds>(nextTick - steady_clock::now());
        if (auto posted = host.WaitForPost(std::max(wait, milliseconds(0)))) {
            app.OnThreadMessage(posted->first, posted->second);
        }
        if (steady_clock::now() >= nextTick) {
            app.OnTimer();
            nextTick += milliseconds(CPlovaneApp::kTimerPeriodMs);
        }
    }
    app.Shutdown();
    return 0;
}

int RunCommand(const Args& args, std::ostream& err) {
    RunOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--settings" && i + 1 < args.size()) {
            options.settingsPath = args[++i];
        } else if (args[i] == "--simulate" && i + 1 < args.size()) {
            options.simulatePath = args[++i];
        } else {
            err << "plovane-cli run: unexpected argument '" << args[i] << "'\n";
            return 2;
        }
    }

    // SIGINT and SIGTERM are taken by a watcher thread only; every other thread blocks them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    ConsoleHost host;
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::thread watcher([&] {
        const timespec pollInterval{0, 200 * 1000 * 1000};
        while (!finished.load()) {
            if (sigtimedwait(&signals, nullptr, &pollInterval) > 0) {
                stop = true;
                host.Wake();
                return;
            }
        }
    });
    const int status = RunStation(options, host, stop, err);
    finished = true;
    watcher.join();
    return status;
}

}  // namespace plovane::cli
