// SPDX-License-Identifier: GPL-3.0-or-later
// Line reader for simulation files and TNC command files.
#include "core/line_reader.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <istream>

namespace plovane {
namespace {

constexpr bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Offset of the first CR or LF in the bytes, or their length (two vectorised scans rather
// than one test per byte: simulation files are read in one go).
size_t FindLineEnd(std::string_view bytes) {
    const void* lf = std::memchr(bytes.data(), '\n', bytes.size());
    const size_t limit = lf != nullptr
                             ? static_cast<size_t>(static_cast<const char*>(lf) - bytes.data())
                             : bytes.size();
    const void* cr = std::memchr(bytes.data(), '\r', limit);
    return cr != nullptr ? static_cast<size_t>(static_cast<const char*>(cr) - bytes.data()) : limit;
}

}  // namespace

LineReader::LineReader(std::istream& in, size_t maxLineLength)
    : in_(&in), maxLineLength_(std::max<size_t>(maxLineLength, 1)) {}

LineReader::LineReader(std::string_view bytes, size_t maxLineLength)
    : pending_(bytes), maxLineLength_(std::max<size_t>(maxLineLength, 1)) {}

bool LineReader::Fill() {
    if (!pending_.empty())
        return true;
    if (in_ == nullptr || in_->rdbuf() == nullptr)
        return false;
    // A file buffer throws on a read error (EISDIR, EIO) whatever the stream's exception
    // mask says; that error ends the input here, never the program.
    std::streamsize got = 0;
    try {
        got = in_->rdbuf()->sgetn(buffer_.data(), kBufferSize);
    } catch (const std::exception&) {
        failed_ = true;
        got = 0;
    }
    if (got <= 0) {
        in_ = nullptr;  // end of input, or the read error noted above
        return false;
    }
    pending_ = std::string_view(buffer_.data(), static_cast<size_t>(got));
    return true;
}

bool LineReader::Next(std::string& line) {
    line.clear();
    truncated_ = false;
    for (;;) {
        // The text, up to the first CR or LF.
        bool sawLineEnd = false;
        while (!sawLineEnd && Fill()) {
            const size_t length = FindLineEnd(pending_);
            const size_t room = maxLineLength_ - line.size();
            if (length > room)
                truncated_ = true;
            line.append(pending_.data(), std::min(length, room));
            pending_.remove_prefix(length);
            sawLineEnd = !pending_.empty();
        }
        // Every CR and LF that follows belongs to this line.
        while (sawLineEnd && Fill()) {
            const auto end = std::find_if_not(pending_.begin(), pending_.end(), IsLineEnd);
            pending_.remove_prefix(static_cast<size_t>(end - pending_.begin()));
            if (!pending_.empty())
                break;
        }
        if (!line.empty())
            return true;
        if (!sawLineEnd)
            return false;  // end of input
        // Line ends at the start of the input: nothing to hand on.
    }
}

}  // namespace plovane
