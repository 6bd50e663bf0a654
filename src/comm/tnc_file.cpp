// SPDX-License-Identifier: GPL-3.0-or-later
// Reading TNC command files.
#include "comm/tnc_file.h"

#include <fstream>

#include "core/latin1.h"
#include "core/line_reader.h"

namespace plovane {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (latin1::ToUpper(static_cast<unsigned char>(a[i])) !=
            latin1::ToUpper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string Blanked(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (latin1::IsSpace(static_cast<unsigned char>(c)))
            c = ' ';
    }
    return out;
}

}  // namespace

std::string TncSectionHeader(std::string_view section) {
    std::string header(latin1::Trim(section));
    if (header.empty() || header.front() != '[')
        header.insert(header.begin(), '[');
    if (header.back() != ']')
        header.push_back(']');
    return header;
}

bool TncFileSectionLines(std::istream& in, std::string_view section,
                         std::vector<std::string>& lines) {
    const std::string header = TncSectionHeader(section);
    lines.clear();
    bool inside = false;
    LineReader reader(in, kTncFileMaxLine);
    std::string raw;
    while (reader.Next(raw)) {
        // Commands keep their inner tabs; headers are compared with every blank a space.
        const std::string text(latin1::Trim(raw));
        if (inside && text.starts_with('['))
            inside = false;
        if (!inside) {
            inside = EqualIgnoringCase(latin1::Trim(Blanked(raw)), header);
            continue;
        }
        if (text.starts_with('#'))
            continue;
        const bool escaped = text.starts_with("\\[") || text.starts_with("\\\\");
        lines.push_back((escaped ? text.substr(1) : text) + "\r");
    }
    if (reader.failed()) {
        lines.clear();
        return false;
    }
    return true;
}

std::vector<std::string> TncCommandFileLines(const std::string& path, std::string_view section,
                                             NoticeSink& notices) {
    std::vector<std::string> lines;
    if (path.empty() || path == "None")
        return lines;
    std::ifstream in(path, std::ios::binary);
    if (!in || !TncFileSectionLines(in, section, lines))
        notices.ShowNotice("Unable to read TNC command file " + path);
    return lines;
}

}  // namespace plovane
