// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the few YAML shapes the index uses (top-level lists of flat "key: value" records,
// plain or double-quoted values, nested feature lists that are skipped) and writes the
// records as X-macro rows, sorted for the lookups in src/core/device_ids.cpp.
#include "device_ids_convert.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>
#include <vector>

namespace plovane::tools {
namespace {

using Record = std::map<std::string, std::string>;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A value as written: "..." with backslash escapes, or plain text.
bool Unquote(std::string_view raw, std::string& value) {
    value.clear();
    if (raw.empty() || raw.front() != '"') {
        value.assign(raw);
        return true;
    }
    for (size_t i = 1; i < raw.size(); ++i) {
        if (raw[i] == '"')
            return i + 1 == raw.size();
        if (raw[i] == '\\' && i + 1 < raw.size())
            ++i;
        value.push_back(raw[i]);
    }
    return false;
}

// A C++ string literal of `text`.
std::string Literal(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

// The name shown for a device: "Kenwood TH-D72"; a person's name, written with the call
// ("Jane Doe, N0CALL"), goes after the model in brackets; "Open Source" and "Unknown" are
// left out.
std::string ShownName(const Record& r) {
    const auto field = [&r](const char* key) {
        const auto it = r.find(key);
        return it == r.end() ? std::string() : it->second;
    };
    const std::string vendor = field("vendor");
    const std::string model = field("model");
    if (vendor.empty() || vendor == "Open Source" || vendor == "Unknown" || vendor == "unknown" ||
        model.starts_with(vendor)) {
        return model.empty() ? vendor : model;
    }
    if (model.empty())
        return vendor;
    if (vendor.find(',') != std::string::npos)
        return model + " (" + vendor + ")";
    return vendor + " " + model;
}

// Our own texts where they name the same device as the index.
const std::map<std::string, std::string, std::less<>> kOurTocallNames = {
    {"APRS", "APRS (unknown)"},
};
struct OurMicEName {
    std::string_view key, tag, name;
};
constexpr OurMicEName kOurLegacyNames[] = {
    {">", "TH-D7", "Kenwood TH-D7"},
};

std::string LiteralPrefix(std::string_view pattern) {
    const size_t wild = pattern.find_first_of("?n*");
    return std::string(pattern.substr(0, wild));
}

}  // namespace

std::string ConvertDeviceIds(std::istream& index, std::string& error) {
    std::map<std::string, std::vector<Record>> lists;
    std::string section;
    Record* current = nullptr;
    std::string line;
    int number = 0;
    while (std::getline(index, line)) {
        ++number;
        const std::string_view text = Trim(line);
        if (text.empty() || text.front() == '#' || text == "---")
            continue;
        const bool topLevel = line.front() != ' ' && line.front() != '-';
        if (topLevel) {
            const size_t colon = text.find(':');
            if (colon == std::string_view::npos || !Trim(text.substr(colon + 1)).empty()) {
                section.clear();  // a scalar at the top (e.g. a generation time)
                current = nullptr;
                continue;
            }
            section.assign(text.substr(0, colon));
            current = nullptr;
            continue;
        }
        std::string_view entry = text;
        const size_t indent = line.find_first_not_of(' ');
        if (entry.starts_with("- ")) {
            if (indent > 2)
                continue;  // an item of a nested list (features)
            if (section.empty()) {
                error = "line " + std::to_string(number) + ": a list item outside a list";
                return {};
            }
            current = &lists[section].emplace_back();
            entry = Trim(entry.substr(2));
        }
        const size_t colon = entry.find(':');
        if (current == nullptr || colon == std::string_view::npos) {
            error = "line " + std::to_string(number) + ": not a \"key: value\" line";
            return {};
        }
        const std::string key(Trim(entry.substr(0, colon)));
        std::string value;
        if (!Unquote(Trim(entry.substr(colon + 1)), value)) {
            error = "line " + std::to_string(number) + ": an unclosed quoted value";
            return {};
        }
        if (!value.empty())
            (*current)[key] = value;
    }

    std::string out;
    for (const Record& r : lists["classes"]) {
        if (r.contains("class") && r.contains("shown"))
            out += "DEVICE_CLASS(" + Literal(r.at("class")) + ", " + Literal(r.at("shown")) + ")\n";
    }
    std::set<std::string> tags;
    const auto micE = [&](const char* macro, std::string key, const Record& r) {
        std::string tag = r.contains("model") ? r.at("model") : std::string();
        std::string name = ShownName(r);
        for (const OurMicEName& ours : kOurLegacyNames) {
            if (std::string_view(macro) == "LEGACY_DEVICE" && key == ours.key) {
                tag = ours.tag;
                name = ours.name;
            }
        }
        if (tag.empty() || !tags.insert(tag).second) {
            error = "Mic-E device '" + key + "' has no model or one already used";
            return false;
        }
        const std::string deviceClass = r.contains("class") ? r.at("class") : "";
        out += std::string(macro) + "(" + Literal(key) + ", " + Literal(tag) + ", " +
               Literal(name) + ", " + Literal(deviceClass) + ")\n";
        return true;
    };
    for (const Record& r : lists["mice"]) {
        if (r.contains("suffix") && r.at("suffix").size() == 2 &&
            !micE("MICE_DEVICE", r.at("suffix"), r))
            return {};
    }
    for (const Record& r : lists["micelegacy"]) {
        if (!r.contains("prefix") || r.at("prefix").size() != 1)
            continue;
        const std::string suffix = r.contains("suffix") ? r.at("suffix") : "";
        if (suffix.size() <= 1 && !micE("LEGACY_DEVICE", r.at("prefix") + suffix, r))
            return {};
    }

    // Sorted by the text before the first wildcard, so a lookup finds every candidate of a
    // prefix together; within a prefix the pattern with more fixed characters comes first.
    struct Row {
        std::string prefix, pattern, name, deviceClass;
    };
    std::vector<Row> rows;
    for (const Record& r : lists["tocalls"]) {
        if (!r.contains("tocall"))
            continue;
        const std::string& pattern = r.at("tocall");
        const auto ours = kOurTocallNames.find(pattern);
        rows.push_back({LiteralPrefix(pattern), pattern,
                        ours != kOurTocallNames.end() ? ours->second : ShownName(r),
                        r.contains("class") ? r.at("class") : ""});
    }
    const auto fixed = [](const std::string& p) {
        return std::count_if(p.begin(), p.end(),
                             [](char c) { return c != '?' && c != 'n' && c != '*'; }) +
               (p.find('*') == std::string::npos ? 1 : 0);
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        return fixed(a.pattern) > fixed(b.pattern);
    });
    for (const Row& row : rows) {
        out += "TOCALL_DEVICE(" + Literal(row.prefix) + ", " + Literal(row.pattern) + ", " +
               Literal(row.name) + ", " + Literal(row.deviceClass) + ")\n";
    }
    if (rows.empty()) {
        error = "no destination calls in the index";
        return {};
    }
    return out;
}

}  // namespace plovane::tools
