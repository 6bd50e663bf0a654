// SPDX-License-Identifier: GPL-3.0-or-later
// The pattern matcher with both pattern and subject from the input: the bytes before the
// first NUL are the pattern, the rest the subject. A time-out counts as a failure.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/regular_expression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view pattern = input.substr(0, split);
    const std::string subject(split == std::string_view::npos ? std::string_view()
                                                              : input.substr(split + 1));
    plovane::CRegularExpression matcher(subject);
    matcher.Match(pattern);
    // Every element (a "+" counts twice) plus the two ".*" ends fits this bound.
    const uint64_t bound = (2 * pattern.size() + 5) * (subject.size() + 1);
    if (matcher.LastStepCount() > bound) std::abort();
    return 0;
}
