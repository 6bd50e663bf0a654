// SPDX-License-Identifier: GPL-3.0-or-later
// Finding TNC command files and map files at start-up: a recursive search of a few folders,
// then a case-insensitive sort with duplicate names numbered "N", "N (2)", "N (3)".
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace plovane {

struct TncFileEntry {
    std::string path;
    std::string name;  // display name from the file's marker line
};

struct MapListEntry {
    std::string path;
    std::string title;  // menu title, "&" doubled
};

// Reports progress texts such as "Searching for maps in /home/x/maps/...".
using SearchStatus = std::function<void(const std::string&)>;
// Says whether a file is a map and gives its title.
using MapRecogniser = std::function<bool(const std::filesystem::path&, std::string& title)>;

inline constexpr const char* kTncFileMarker = "[PLOVANE-TNC-FILE:";

// The display name of a TNC command file, from its first 255 bytes; false when the marker
// (matched without regard to case, after leading white space) is not at the start.
bool ReadTncFileName(const std::filesystem::path& path, std::string& name);

// Appends every "*.tnc" file with a marker below the folder (any letter case of the
// extension). Symbolic links to folders are not followed, so a link loop cannot hang it.
void SearchTncFiles(const std::filesystem::path& folder, std::vector<TncFileEntry>& out,
                    const SearchStatus& status);
// Appends every "*.map" and "*.pdb" file that the recogniser accepts below the folder.
void SearchMaps(const std::filesystem::path& folder, const MapRecogniser& recognise,
                std::vector<MapListEntry>& out, const SearchStatus& status);

// Sorts by name without regard to case (stable, so equal names keep the order found) and
// numbers equal names.
void SortAndNumber(std::vector<TncFileEntry>& entries);
void SortAndNumber(std::vector<MapListEntry>& entries);

// "%ld map%s found..." / "%ld TNC file%s found...": no "s" for exactly one.
std::string FoundText(size_t count, const char* noun);

}  // namespace plovane
