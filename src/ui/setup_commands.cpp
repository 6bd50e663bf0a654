// SPDX-License-Identifier: GPL-3.0-or-later
// The Setup menu's commands.
#include "ui/setup_commands.h"

#include <QString>

#include "app/plovane_app.h"
#include "app/qsettings_profile.h"
#include "app/search_folders.h"
#include "comm/net_manager.h"
#include "maps/render/symbol_icons.h"
#include "ui/alerts_dialog.h"
#include "ui/data_paths.h"
#include "ui/relay_setup_dialog.h"
#include "ui/setup_comm_sheet.h"
#include "ui/setup_station_sheet.h"
#include "ui/setup_widgets.h"

namespace plovane {
namespace {

std::vector<TncTypeChoice> TncChoices(const std::vector<TncFileEntry>& files) {
    std::vector<TncTypeChoice> choices;
    choices.reserve(files.size());
    for (const TncFileEntry& file : files) {
        choices.push_back({file.path, file.name});
    }
    return choices;
}

}  // namespace

std::optional<CStationSettings> RunStationSetup(QSettingsProfile& profile, QWidget* parent) {
    const QString dataDir = BundledDataDir();
    const CSymbolIcons icons =
        dataDir.isEmpty() ? CSymbolIcons() : CSymbolIcons(FilePathBytes(dataDir + "/icons"));
    CSetupStation sheet(profile, &icons, parent);
    if (sheet.exec() != QDialog::Accepted)
        return std::nullopt;
    return sheet.settings();
}

bool RunCommSetup(QSettingsProfile& profile, CPlovaneApp& app, QWidget* parent,
                  const std::function<void(const std::string&)>& notice) {
    CommSetupSources sources;
    sources.tncFiles = TncChoices(app.tncFiles());
    sources.refreshTncFiles = [&] {
        const auto folders = SearchFolders(profile, FilePathBytes(BundledDataDir()));
        app.RefreshTncFiles(folders, notice);
        return TncChoices(app.tncFiles());
    };
    sources.netStatus = [&app] { return NetStatusText(app.net()); };
    CSetupComm sheet(profile, sources, parent);
    return sheet.exec() == QDialog::Accepted;
}

bool RunSoundSetup(QSettingsProfile& profile, QWidget* parent) {
    CAlertsDialog dialog(profile, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool RunRelaySetup(QSettingsProfile& profile, QWidget* parent) {
    RelaySetupDialog dialog(profile, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace plovane
