// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli map-info FILE: runs the map recogniser and reader on a file and prints what
// they found as one JSON object, or the reader's error text and the file on stderr.
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli.h"
#include "core/geo.h"
#include "maps/map_data.h"
#include "maps/map_file.h"
#include "record_json.h"

namespace plovane::cli {
namespace {

nlohmann::ordered_json DateJson(const CDateTime& date) {
    const std::string text = date.ToIso8601();
    return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text);
}

}  // namespace

int MapInfo(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: plovane-cli map-info FILE\n";
        return 2;
    }
    const std::string& path = args.front();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        err << "plovane-cli: cannot open " << path << '\n';
        return 1;
    }
    const MapProbe probe = ProbeMapFile(file, path);
    MapProgress silent;
    const MapReadResult result = ReadMapFile(file, path, silent);
    if (!result.ok()) {
        err << MapFailureText(result.error, path) << '\n';
        return 1;
    }
    const CMapData& map = result.map;

    nlohmann::ordered_json box;
    box["left"] = map.left;
    box["right"] = map.right;
    box["top"] = map.top;
    box["bottom"] = map.bottom;
    box["west"] = LongitudeDegrees(map.left);
    box["east"] = LongitudeDegrees(map.right);
    box["north"] = LatitudeDegrees(map.top);
    box["south"] = LatitudeDegrees(map.bottom);

    nlohmann::ordered_json info;
    info["isMap"] = probe.isMap;
    info["title"] = Latin1ToUtf8(probe.title);
    info["format"] = Latin1ToUtf8(map.formatText);
    info["version"] = Latin1ToUtf8(map.versionText);
    info["name"] = Latin1ToUtf8(map.name);
    info["header"] = Latin1ToUtf8(map.headerText);
    info["created"] = DateJson(map.created);
    info["modified"] = DateJson(map.modified);
    info["box"] = box;
    info["points"] = map.points.size();
    info["labels"] = map.labels.size();
    out << info.dump() << '\n';
    return 0;
}

}  // namespace plovane::cli
