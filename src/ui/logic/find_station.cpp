// SPDX-License-Identifier: GPL-3.0-or-later
// Call matching for Find Station and the list masks.
#include "ui/logic/find_station.h"

#include <algorithm>

#include "ui/logic/natural_sort.h"

namespace plovane {
namespace {

std::string Normalised(std::string_view typed) {
    std::string out;
    for (const char c : typed) {
        if (c == ' ' || (c >= '\t' && c <= '\r'))
            continue;
        out += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

bool HasWildcard(std::string_view pattern) {
    return pattern.find_first_of("*?") != std::string_view::npos;
}

bool WildcardMatch(std::string_view pattern, std::string_view text) {
    // Greedy matching with one backtrack point: the last star seen and where its run ended.
    size_t p = 0, t = 0;
    size_t star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> FindStationMatches(const std::vector<std::string>& calls,
                                            std::string_view typed, size_t limit) {
    const std::string pattern = Normalised(typed);
    std::vector<std::string> found;
    if (pattern.empty())
        return found;
    const bool wildcard = HasWildcard(pattern);
    for (const std::string& call : calls) {
        const std::string upper = Upper(call);
        const bool match = wildcard ? WildcardMatch(pattern, upper) : upper.starts_with(pattern);
        if (match)
            found.push_back(call);
    }
    std::sort(found.begin(), found.end(), [&pattern](const std::string& a, const std::string& b) {
        const bool exactA = Upper(a) == pattern, exactB = Upper(b) == pattern;
        if (exactA != exactB)
            return exactA;
        return NaturalLess(a, b);
    });
    if (found.size() > limit)
        found.resize(limit);
    return found;
}

}  // namespace plovane
