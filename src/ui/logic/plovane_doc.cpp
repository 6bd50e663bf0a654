// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and closing the document's map.
#include "ui/logic/plovane_doc.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "maps/map_file.h"

namespace plovane {

CPlovaneDoc::FileRead CPlovaneDoc::Read(const std::string& path, MapProgress& progress) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        absolute = path;
    return {path, absolute.string(), ReadMapFile(absolute, progress)};
}

std::string CPlovaneDoc::Adopt(FileRead read) {
    if (!read.result.ok())
        return MapFailureText(read.result.error, read.path);
    map_ = std::move(read.result.map);
    path_ = std::move(read.absolute);
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
