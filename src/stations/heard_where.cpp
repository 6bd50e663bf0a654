// SPDX-License-Identifier: GPL-3.0-or-later
// Where a station was heard, and its text.
#include "stations/heard_where.h"

namespace plovane {

bool HeardWhere::Note(int port, std::string_view firstHop) {
    const HeardWhere before = *this;
    if (port == 0) {
        internet = true;
    } else if (port > 0 && port <= kMaxPort) {
        rfPorts |= uint32_t{1} << (port - 1);
        via = firstHop;
    }
    return !(before == *this);
}

std::string HeardText(const HeardWhere& heard) {
    std::string text;
    int ports = 0;
    for (int port = 1; port <= HeardWhere::kMaxPort; ++port) {
        if ((heard.rfPorts & (uint32_t{1} << (port - 1))) == 0)
            continue;
        text += ports++ == 0 ? "" : ", ";
        text += std::to_string(port);
    }
    if (ports > 0) {
        text = (ports == 1 ? "RF port " : "RF ports ") + text;
        if (!heard.via.empty())
            text += " via " + heard.via;
    }
    if (heard.internet)
        text += text.empty() ? "Internet" : ", Internet";
    return text;
}

std::string_view FirstUsedHop(std::string_view line) {
    const size_t colon = line.find(':');
    const size_t header = line.find('>');
    if (colon == std::string_view::npos || header == std::string_view::npos || header > colon)
        return {};
    std::string_view path = line.substr(header + 1, colon - header - 1);
    const size_t comma = path.find(',');
    if (comma == std::string_view::npos)
        return {};
    path.remove_prefix(comma + 1);
    // Every hop up to the last one marked "*" was used; the first of them heard the sender.
    if (path.find('*') == std::string_view::npos)
        return {};
    std::string_view first = path.substr(0, path.find(','));
    if (!first.empty() && first.back() == '*')
        first.remove_suffix(1);
    return first;
}

}  // namespace plovane
