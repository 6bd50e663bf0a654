// SPDX-License-Identifier: GPL-3.0-or-later
// Received bytes as the program shows them: UTF-8 when the bytes are valid UTF-8, otherwise one
// character per byte (Latin-1). Shared by the renderer and the windows.
#pragma once

#include <QString>
#include <string_view>

namespace plovane {

QString DisplayText(std::string_view bytes);

}  // namespace plovane
