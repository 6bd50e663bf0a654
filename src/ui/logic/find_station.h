// SPDX-License-Identifier: GPL-3.0-or-later
// Finding stations by call: what the user typed in Find Station and in the list masks,
// with "*" for any run of characters and "?" for one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plovane {

bool HasWildcard(std::string_view pattern);

// Whether the whole text matches the pattern ("*7OL*" matches "KK7OL-3"). Bytes compare
// exactly; callers upper-case both. Linear in the text for each star, never exponential.
bool WildcardMatch(std::string_view pattern, std::string_view text);

// The calls that match what was typed (blanks dropped, letters upper-cased): a pattern with
// a wildcard must match the whole call; plain text is a prefix of the call. The exact call
// comes first, then the others in natural order; at most `limit` of them.
std::vector<std::string> FindStationMatches(const std::vector<std::string>& calls,
                                            std::string_view typed, size_t limit = 200);

}  // namespace plovane
