// The Setup menu's commands.
#include "ui/setup_commands.h"

#include <QString>

#include "app/qsettings_profile.h"
#include "app/search_folders.h"
#include "comm/net_manager.h"
#include "maps/render/symbol_icons.h"
#include "ui/alerts_dialog.h"
#include "ui/data_paths.h"
#include "ui/gui_app.h"
#include "ui/main_frame.h"
#include "ui/plovane_view.h"
#include "ui/qt_host.h"
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

void RunStationSetup(GuiApp& gui) {
    const QString dataDir = BundledDataDir();
    const CSymbolIcons icons =
        dataDir.isEmpty() ? CSymbolIcons() : CSymbolIcons(FilePathBytes(dataDir + "/icons"));
    CSetupStation sheet(gui.profile(), &icons, &gui.frame());
    if (sheet.exec() != QDialog::Accepted)
        return;
    gui.view().SetUnitsOfMeasure(sheet.settings().UnitsOfMeasure);
    gui.app().StationSetupDone(sheet.settings());
}

void RunCommSetup(GuiApp& gui) {
    CommSetupSources sources;
    sources.tncFiles = TncChoices(gui.app().tncFiles());
    sources.refreshTncFiles = [&gui] {
        const auto folders = SearchFolders(gui.profile(), FilePathBytes(BundledDataDir()));
        gui.app().RefreshTncFiles(folders, [&gui](const std::string& text) {
            gui.frame().ShowNotice(SettingText(text));
        });
        return TncChoices(gui.app().tncFiles());
    };
    sources.netStatus = [&gui] { return NetStatusText(gui.app().net()); };
    CSetupComm sheet(gui.profile(), sources, &gui.frame());
    if (sheet.exec() != QDialog::Accepted)
        return;
    gui.RefreshViews(true);
    gui.host().Post(ThreadMessage::kCommSetupDone);
}

void RunSoundSetup(GuiApp& gui) {
    CAlertsDialog dialog(gui.profile(), &gui.frame());
    if (dialog.exec() != QDialog::Accepted)
        return;
    gui.app().SoundSetupDone();
}

}  // namespace plovane
