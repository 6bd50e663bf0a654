// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and closing the document's map.
#include "ui/logic/plovane_doc.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "maps/map_file.h"

namespace plovane {

std::string CPlovaneDoc::Open(const std::string& path, MapProgress& progress) {
    // Stored absolute, so that a map named relative to one folder opens from any other.
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        absolute = path;
    // The file is read beside the map shown, which stays unless the new one loads.
    MapReadResult result = ReadMapFile(absolute, progress);
    if (!result.ok())
        return MapFailureText(result.error, path);
    map_ = std::move(result.map);
    path_ = absolute.string();
    return {};
}

void CPlovaneDoc::Close() {
    map_.Clear(clock_.Now());
    path_.clear();
}

std::string CPlovaneDoc::Title() const {
    if (!map_.loaded)
        return "Untitled";
    return map_.name.empty() ? path_ : map_.name;
}

}  // namespace plovane
