// The Setup menu: each command opens its sheet or dialog, and after OK the application takes
// the new settings without a restart.
#pragma once

namespace plovane {

class GuiApp;

// "&Station...": on OK the units reach the map view and the station-setup follow-up is
// posted (the stores reload and trim to their limits, a changed call reaches the TNC).
void RunStationSetup(GuiApp& gui);
// "&Communications...": on OK the views are redrawn and the restart of the TNC, the GPS and
// the network client is posted.
void RunCommSetup(GuiApp& gui);
// "S&ound...": on OK the stores play the new sounds and the views are redrawn.
void RunSoundSetup(GuiApp& gui);

}  // namespace plovane
