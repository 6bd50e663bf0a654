// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up search for TNC command files and maps.
#include "app/file_search.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "core/latin1.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

bool HasExtension(const fs::path& path, const char* lowerExtension) {
    return latin1::ToLower(path.extension().string()) == lowerExtension;
}

// Visits files in the folder first, then descends into its sub-folders, never through a
// symbolic link to a folder. Unreadable folders are skipped.
void Walk(const fs::path& folder, const std::string& what, const SearchStatus& status,
          const std::function<void(const fs::path&)>& visitFile) {
    if (status) status("Searching for " + what + " in " + folder.string() + "/...");
    std::vector<fs::path> files;
    std::vector<fs::path> folders;
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    if (ec) return;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::directory_entry& entry = *it;
        std::error_code typeError;
        if (entry.is_symlink(typeError)) {
            if (entry.is_regular_file(typeError)) files.push_back(entry.path());
            continue;
        }
        if (entry.is_directory(typeError)) {
            folders.push_back(entry.path());
        } else if (entry.is_regular_file(typeError)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    for (const fs::path& file : files) visitFile(file);
    for (const fs::path& sub : folders) Walk(sub, what, status, visitFile);
}

std::string DoubleAmpersands(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

template <typename Entry, typename NameOf>
void SortAndNumberBy(std::vector<Entry>& entries, NameOf nameOf) {
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        return latin1::ToLower(nameOf(a)) < latin1::ToLower(nameOf(b));
    });
    for (size_t i = 0; i + 1 < entries.size(); ++i) {
        const std::string name = nameOf(entries[i]);
        if (nameOf(entries[i + 1]) != name) continue;
        long k = 2;
        for (size_t j = i + 1; j < entries.size(); ++j, ++k) {
            if (nameOf(entries[j]) == name) {
                nameOf(entries[j]) = name + " (" + std::to_string(k) + ")";
            }
        }
    }
}

}  // namespace

bool ReadTncFileName(const fs::path& path, std::string& name) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    char buffer[255];
    in.read(buffer, sizeof buffer);
    const std::string_view marker(kTncFileMarker);
    const size_t count = static_cast<size_t>(in.gcount());
    if (count < marker.size()) return false;
    const std::string_view text = latin1::Trim(std::string_view(buffer, count));
    if (text.size() < marker.size() ||
        latin1::ToUpper(text.substr(0, marker.size())) != marker) {
        return false;
    }
    std::string_view rest = text.substr(marker.size());
    rest = rest.substr(0, rest.find_first_of("]\r\n"));
    name = std::string(latin1::Trim(rest));
    return true;
}

void SearchTncFiles(const fs::path& folder, std::vector<TncFileEntry>& out,
                    const SearchStatus& status) {
    Walk(folder, "TNC files", status, [&](const fs::path& file) {
        std::string name;
        if (HasExtension(file, ".tnc") && ReadTncFileName(file, name)) {
            out.push_back({file.string(), name});
        }
    });
}

void SearchMaps(const fs::path& folder, const MapRecogniser& recognise,
                std::vector<MapListEntry>& out, const SearchStatus& status) {
    Walk(folder, "maps", status, [&](const fs::path& file) {
        if (!HasExtension(file, ".map") && !HasExtension(file, ".pdb")) return;
        std::string title;
        if (recognise && recognise(file, title)) {
            out.push_back({file.string(), DoubleAmpersands(std::string(latin1::Trim(title)))});
        }
    });
}

void SortAndNumber(std::vector<TncFileEntry>& entries) {
    SortAndNumberBy(entries, [](auto& e) -> auto& { return e.name; });
}

void SortAndNumber(std::vector<MapListEntry>& entries) {
    SortAndNumberBy(entries, [](auto& e) -> auto& { return e.title; });
}

std::string FoundText(size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s") + " found...";
}

}  // namespace plovane
