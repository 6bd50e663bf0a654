// SPDX-License-Identifier: GPL-3.0-or-later
// Pattern matching by dynamic programming over (pattern element, subject position), which
// gives the same answers as trying every repetition count but in linear steps per cell.
#include "core/regular_expression.h"

#include <array>
#include <vector>

namespace plovane {
namespace {

enum class Kind { kLiteral, kAny, kSet };
enum class Repeat { kOnce, kStar, kOptional };

struct Element {
    Kind kind = Kind::kLiteral;
    Repeat repeat = Repeat::kOnce;
    unsigned char literal = 0;
    std::array<bool, 256> set{};  // members of a set element, negation already applied
};

// Reads "[...]" from just after the "[" up to the first unescaped "]" (or the pattern's end).
size_t ParseSet(std::string_view p, size_t i, Element& e) {
    e.kind = Kind::kSet;
    bool negate = false;
    if (i < p.size() && p[i] == '^') {
        negate = true;
        ++i;
    }
    // Collect the set's characters first, remembering which were escaped, so that a range
    // endpoint may be escaped and an escaped "-" is never a range.
    std::vector<std::pair<unsigned char, bool>> chars;
    while (i < p.size() && p[i] != ']') {
        if (p[i] == '\\' && i + 1 < p.size()) {
            chars.emplace_back(static_cast<unsigned char>(p[i + 1]), true);
            i += 2;
        } else {
            chars.emplace_back(static_cast<unsigned char>(p[i]), false);
            ++i;
        }
    }
    if (i < p.size()) ++i;  // the closing "]"

    bool any = false;
    for (size_t k = 0; k < chars.size(); ++k) {
        unsigned char lo = chars[k].first;
        unsigned char hi = lo;
        // x-y is a range; a minus without a character after it is a plain minus.
        if (k + 2 < chars.size() && chars[k + 1].first == '-' && !chars[k + 1].second) {
            hi = chars[k + 2].first;
            k += 2;
        }
        if (lo > hi) std::swap(lo, hi);
        for (unsigned c = lo; c <= hi; ++c) e.set[c] = true;
        any = true;
    }
    // An empty set never matches, negated or not.
    if (any && negate) {
        for (bool& member : e.set) member = !member;
    }
    return i;
}

std::vector<Element> Parse(std::string_view p) {
    std::vector<Element> elements;
    size_t i = 0;
    while (i < p.size()) {
        Element e;
        if (p[i] == '.') {
            e.kind = Kind::kAny;
            ++i;
        } else if (p[i] == '[') {
            i = ParseSet(p, i + 1, e);
        } else if (p[i] == '\\' && i + 1 < p.size()) {
            e.literal = static_cast<unsigned char>(p[i + 1]);
            i += 2;
        } else {
            // Any other character, a trailing lone backslash included, stands for itself.
            e.literal = static_cast<unsigned char>(p[i]);
            ++i;
        }
        char quantifier = i < p.size() ? p[i] : '\0';
        if (quantifier == '*' || quantifier == '+' || quantifier == '?') ++i;
        if (quantifier == '*') {
            e.repeat = Repeat::kStar;
        } else if (quantifier == '?') {
            e.repeat = Repeat::kOptional;
        } else if (quantifier == '+') {
            // X+ is X followed by X*.
            elements.push_back(e);
            e.repeat = Repeat::kStar;
        }
        elements.push_back(e);
    }
    return elements;
}

bool Accepts(const Element& e, unsigned char c) {
    switch (e.kind) {
        case Kind::kAny:
            return true;
        case Kind::kSet:
            return e.set[c];
        case Kind::kLiteral:
            break;
    }
    return e.literal == c;
}

}  // namespace

bool CRegularExpression::Match(std::string_view pattern) {
    // Unanchored ends become ".*".
    std::string full;
    if (!pattern.empty() && pattern.front() == '^') {
        pattern.remove_prefix(1);
    } else {
        full = ".*";
    }
    const bool anchoredEnd = !pattern.empty() && pattern.back() == '$';
    if (anchoredEnd) pattern.remove_suffix(1);
    full.append(pattern);
    if (!anchoredEnd) full += ".*";

    const std::vector<Element> elements = Parse(full);
    const size_t n = subject_.size();

    // next[pos]: the elements after the current one match subject[pos..] exactly.
    std::vector<char> next(n + 1, 0);
    std::vector<char> current(n + 1, 0);
    next[n] = 1;
    steps_ = n + 1;
    for (size_t k = elements.size(); k-- > 0;) {
        const Element& e = elements[k];
        for (size_t pos = n + 1; pos-- > 0;) {
            const bool here = pos < n && Accepts(e, static_cast<unsigned char>(subject_[pos]));
            bool ok = false;
            switch (e.repeat) {
                case Repeat::kOnce:
                    ok = here && next[pos + 1];
                    break;
                case Repeat::kStar:
                    ok = next[pos] || (here && current[pos + 1]);
                    break;
                case Repeat::kOptional:
                    ok = next[pos] || (here && next[pos + 1]);
                    break;
            }
            current[pos] = ok;
        }
        steps_ += n + 1;
        next.swap(current);
    }
    return next[0] != 0;
}

}  // namespace plovane
