// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes a port has received and nobody has yet cut into lines. The serial ports and the
// network client own one each; DrainLines hands their complete lines on.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace plovane {

// Thread-safe through `mutex`, which guards `bytes` and `fill`; hold it only while bytes are
// appended or lines are cut out.
struct ReceiveBuffer {
    static constexpr size_t kSerialCapacity = 25000;
    static constexpr size_t kNetworkCapacity = 50000;

    explicit ReceiveBuffer(size_t capacity, std::string label = {})
        : bytes(capacity), name(std::move(label)) {}

    std::vector<uint8_t> bytes;  // fixed capacity; the first `fill` bytes are valid
    size_t fill = 0;
    std::mutex mutex;
    std::string name;  // e.g. "PLOVANE_TNC_MUTEX", for diagnostics

    size_t capacity() const { return bytes.size(); }
};

// Cuts every complete line out of the buffer and hands each, with its line ends, to
// `handle`. All complete lines leave the buffer under one lock with one move of the rest,
// so a full 50 000-byte buffer of short lines costs linear, not quadratic, work; the lock is
// held only for the cut, never while a line is handled. An incomplete last line stays.
template <typename Handle>
void DrainLines(ReceiveBuffer& buffer, Handle&& handle) {
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
    std::string lines;
    for (;;) {
        {
            const std::lock_guard lock(buffer.mutex);
            const size_t fill = std::min(buffer.fill, buffer.bytes.size());
            size_t cut = fill;
            while (cut > 0 && !isLineEnd(static_cast<char>(buffer.bytes[cut - 1])))
                --cut;
            if (cut == 0)
                return;
            lines.assign(reinterpret_cast<const char*>(buffer.bytes.data()), cut);
            std::memmove(buffer.bytes.data(), buffer.bytes.data() + cut, fill - cut);
            buffer.fill = fill - cut;
        }
        size_t begin = 0;
        while (begin < lines.size()) {
            size_t end = begin;
            while (end < lines.size() && !isLineEnd(lines[end]))
                ++end;
            while (end < lines.size() && isLineEnd(lines[end]))
                ++end;
            handle(std::string_view(lines).substr(begin, end - begin));
            begin = end;
        }
    }
}

}  // namespace plovane
