// SPDX-License-Identifier: GPL-3.0-or-later
// map-writer: builds a Win/MacAPRS binary map from a plain-text source, for the bundled maps.
//
// Source lines (degrees: longitude east positive, latitude north positive):
//   # comment
//   magic APRS | version 1.00 | name TEXT | header TEXT | date SECONDS_SINCE_1904
//   box WEST EAST NORTH SOUTH
//   line COLOUR ATTRIBUTES        starts a polyline; "lon lat" vertex lines follow
//   label CODE LEVEL LON LAT TEXT
//
// Usage: map-writer SOURCE.txt OUTPUT.map
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/geo.h"
#include "maps/map_writer.h"

namespace {

int32_t X(double lon) {
    return static_cast<int32_t>(std::lround((lon + 180.0) * 360000.0));
}
int32_t Y(double lat) {
    return static_cast<int32_t>(std::lround((90.0 - lat) * 360000.0));
}

std::string Rest(std::istringstream& in) {
    std::string rest;
    std::getline(in >> std::ws, rest);
    return rest;
}

bool ReadSource(std::istream& source, plovane::BinaryMapImage& image) {
    std::string line;
    int number = 0;
    uint8_t colour = 0;
    bool inLine = false;
    while (std::getline(source, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream in(line);
        std::string word;
        in >> word;
        bool ok = true;
        if (word == "magic") {
            image.magic = Rest(in);
        } else if (word == "version") {
            image.version = Rest(in);
        } else if (word == "name") {
            image.name = Rest(in);
        } else if (word == "header") {
            image.header = Rest(in);
        } else if (word == "date") {
            ok = static_cast<bool>(in >> image.date);
        } else if (word == "box") {
            double west = 0, east = 0, north = 0, south = 0;
            ok = static_cast<bool>(in >> west >> east >> north >> south);
            image.left = X(west);
            image.right = X(east);
            image.top = Y(north);
            image.bottom = Y(south);
        } else if (word == "line") {
            unsigned c = 0, attributes = 0;
            ok = static_cast<bool>(in >> c >> attributes) && c < 255 && attributes < 256;
            colour = static_cast<uint8_t>(c);
            inLine = false;
            image.points.push_back({plovane::kMoveCode, static_cast<uint8_t>(attributes), 0, 0, 0});
        } else if (word == "label") {
            unsigned code = 0, level = 0;
            double lon = 0, lat = 0;
            ok =
                static_cast<bool>(in >> code >> level >> lon >> lat) && code < 256 && level < 65536;
            plovane::MapLabel label;
            label.code = static_cast<uint8_t>(code);
            label.level = static_cast<uint16_t>(level);
            label.x = X(lon);
            label.y = Y(lat);
            label.text = Rest(in).substr(0, 32);
            image.labels.push_back(label);
        } else {
            // A vertex: the first one fills the move record that "line" put down.
            double lon = 0, lat = 0;
            std::istringstream vertex(line);
            ok = !image.points.empty() && static_cast<bool>(vertex >> lon >> lat);
            if (ok && !inLine) {
                image.points.back().x = X(lon);
                image.points.back().y = Y(lat);
                inLine = true;
            } else if (ok) {
                image.points.push_back({colour, image.points.back().attributes, 0, X(lon), Y(lat)});
            }
        }
        if (!ok) {
            std::cerr << "map-writer: line " << number << ": cannot read \"" << line << "\"\n";
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: map-writer SOURCE.txt OUTPUT.map\n";
        return 2;
    }
    std::ifstream source(argv[1]);
    if (!source) {
        std::cerr << "map-writer: cannot open " << argv[1] << '\n';
        return 1;
    }
    plovane::BinaryMapImage image;
    if (!ReadSource(source, image))
        return 1;
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    if (!out || !plovane::WriteBinaryMap(image, out) || !out.flush()) {
        std::cerr << "map-writer: cannot write " << argv[2] << '\n';
        return 1;
    }
    std::cerr << "map-writer: " << image.points.size() << " points, " << image.labels.size()
              << " labels\n";
    return 0;
}
