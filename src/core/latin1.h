// SPDX-License-Identifier: GPL-3.0-or-later
// Character classes of received text. Packets are bytes; a byte is the Latin-1 character
// of the same code, so 0xC0-0xFF (but for 0xD7 and 0xF7) count as letters.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace plovane::latin1 {

// A received byte as its character code (char is signed here).
constexpr unsigned char U(char c) {
    return static_cast<unsigned char>(c);
}

constexpr bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// The value of a hexadecimal digit, or -1.
constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

constexpr bool IsUpper(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

// 0xDF (sharp s) and 0xFF (y diaeresis) are lower-case letters without an upper-case form here.
constexpr bool IsLower(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 0xDF && c != 0xF7);
}

constexpr bool IsAlpha(unsigned char c) {
    return IsUpper(c) || IsLower(c);
}
constexpr bool IsAlnum(unsigned char c) {
    return IsAlpha(c) || IsDigit(c);
}

// Space, tab, LF, VT, FF, CR, and the Latin-1 blanks NEL (0x85) and NBSP (0xA0).
constexpr bool IsSpace(unsigned char c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0;
}

constexpr unsigned char ToUpper(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    return c;
}

constexpr unsigned char ToLower(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    return c;
}

inline std::string ToUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(ToUpper(static_cast<unsigned char>(c)));
    return out;
}

inline std::string ToLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(ToLower(static_cast<unsigned char>(c)));
    return out;
}

// Equal texts but for the case of letters.
constexpr bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ToUpper(U(a[i])) != ToUpper(U(b[i])))
            return false;
    }
    return true;
}

constexpr bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// Removes leading and trailing white space.
inline std::string_view Trim(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && IsSpace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && IsSpace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

// A double written in full ("42", "-1", ".12", "50.12"); an empty text is no value.
inline bool ParseDouble(std::string_view text, double& value) {
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

}  // namespace plovane::latin1
