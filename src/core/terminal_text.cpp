// SPDX-License-Identifier: GPL-3.0-or-later
// Escaping of terminal controls in received text.
#include "core/terminal_text.h"

#include <cstdint>

#include "core/latin1.h"

namespace plovane {
namespace {

// The length of the well-formed UTF-8 character at `at` and its code point; 0 when the
// bytes there are not one.
size_t Utf8CharAt(std::string_view bytes, size_t at, uint32_t& code) {
    const auto lead = static_cast<uint8_t>(bytes[at]);
    size_t length = 0;
    uint32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1Fu, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0Fu, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07u, min = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - at < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(bytes[at + i]);
        if ((next & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// How many bytes at `at` form one unit, and whether that unit is a terminal control.
size_t UnitAt(std::string_view bytes, size_t at, bool& control) {
    const auto byte = static_cast<uint8_t>(bytes[at]);
    if (byte < 0x80) {
        control = byte < 0x20 || byte == 0x7F;
        return 1;
    }
    uint32_t code = 0;
    if (const size_t length = Utf8CharAt(bytes, at, code); length > 0) {
        control = code >= 0x80 && code <= 0x9F;
        return length;
    }
    control = byte <= 0x9F;  // a raw C1 byte; a raw Latin-1 letter is harmless
    return 1;
}

void PutHex(std::string& out, uint8_t byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

}  // namespace

bool HasTerminalControls(std::string_view bytes) {
    for (size_t at = 0; at < bytes.size();) {
        bool control = false;
        at += UnitAt(bytes, at, control);
        if (control)
            return true;
    }
    return false;
}

std::string EscapeTerminalText(std::string_view bytes, bool reversible) {
    std::string out;
    out.reserve(bytes.size() + 8);
    for (size_t at = 0; at < bytes.size();) {
        bool control = false;
        const size_t length = UnitAt(bytes, at, control);
        for (size_t i = at; i < at + length; ++i) {
            if (control || (reversible && bytes[i] == '\\')) {
                PutHex(out, static_cast<uint8_t>(bytes[i]));
            } else {
                out += bytes[i];
            }
        }
        at += length;
    }
    return out;
}

std::string UnescapeTerminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\\' && text.size() - at >= 4 && text[at + 1] == 'x') {
            const int high = latin1::HexDigit(text[at + 2]);
            const int low = latin1::HexDigit(text[at + 3]);
            const int byte = high * 16 + low;
            if (high >= 0 && low >= 0 && byte != '\r' && byte != '\n') {
                out += static_cast<char>(byte);
                at += 3;
                continue;
            }
        }
        out += text[at];
    }
    return out;
}

}  // namespace plovane
