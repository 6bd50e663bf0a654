// SPDX-License-Identifier: GPL-3.0-or-later
// A small whole-subject pattern matcher: literals, "\c", ".", "[set]", "[^set]", the
// quantifiers "*", "+", "?", and the anchors "^" (first) and "$" (last). No groups or
// alternation. Used for text-map number lines, the addressee check and the list masks the
// user types, so a match never takes more than (pattern length x subject length) steps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plovane {

// Thread-compatible: one object per thread.
class CRegularExpression {
public:
    CRegularExpression() = default;
    explicit CRegularExpression(std::string subject) : subject_(std::move(subject)) {}
    CRegularExpression(const CRegularExpression&) = default;
    CRegularExpression& operator=(const CRegularExpression&) = default;
    CRegularExpression& operator=(std::string subject) {
        subject_ = std::move(subject);
        return *this;
    }
    virtual ~CRegularExpression() = default;

    const std::string& subject() const { return subject_; }

    // True when the whole subject matches the pattern (case-sensitive). Unanchored ends are
    // free: "W5" matches "AW5B", "^W5$" only "W5".
    virtual bool Match(std::string_view pattern);

    // Table cells the last Match evaluated; bounded by (elements + 1) x (subject length + 1).
    uint64_t LastStepCount() const { return steps_; }

private:
    std::string subject_;
    uint64_t steps_ = 0;
};

}  // namespace plovane
