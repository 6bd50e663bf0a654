// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures for the toolbar buttons (Refresh, Drag To Zoom, Drag To Move, Home, Zoom In,
// Zoom Out), drawn in code.
#pragma once

#include <QIcon>

#include "ui/logic/command_ids.h"

namespace plovane {

// The picture of a toolbar command; a null icon for any other id.
QIcon ToolbarIcon(Command command);

}  // namespace plovane
