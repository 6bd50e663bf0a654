// SPDX-License-Identifier: GPL-3.0-or-later
// The alerts dialog's rows.
#include "ui/logic/setup_alerts.h"

namespace plovane {

std::string SoundFileName(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.empty() ? std::string(kNoSoundFile) : std::string(name);
}

std::string AlertRow::shownName() const {
    return SoundFileName(file);
}

void AlertRow::Choose(std::string path) {
    if (path.empty())
        return;
    file = std::move(path);
    enabled = true;
}

void AlertRow::Clear() {
    enabled = false;
    file = kNoSoundFile;
}

}  // namespace plovane
