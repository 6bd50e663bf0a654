// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 checks on received and typed bytes.
#include "core/utf8.h"

#include <cstdint>

namespace plovane {

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t extra = 0;
        uint32_t code = 0;
        uint32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07;
            minimum = 0x10000;
        } else {
            return false;  // a continuation byte, 0xC0/0xC1 (always overlong) or 0xF5..0xFF
        }
        if (n - i - 1 < extra)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

size_t Utf8FitBytes(std::string_view utf8, size_t limit) {
    if (utf8.size() <= limit)
        return utf8.size();
    size_t end = limit;
    // Back off over continuation bytes to the start of the character that would be cut.
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
        --end;
    return end;
}

}  // namespace plovane
