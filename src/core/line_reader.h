// SPDX-License-Identifier: GPL-3.0-or-later
// Cuts a byte stream into text lines the way simulation files and TNC command files are
// read. A line is the text up to the first CR or LF; every CR and LF that directly follows
// belongs to the same line, so CR LF, LF and CR ends all give one line per record, and blank
// lines between records only lengthen the line end before them.
//
// The result holds the text without its line-end bytes (the decoder turns them into blanks
// and trims them anyway). Line ends at the very start of the input carry no text and give no
// line. A last line without a line end is still a line.
//
// Bounded: the reader keeps one fixed 4096-byte buffer, and a line longer than the limit
// (64 KiB unless told otherwise) keeps its first `maxLineLength` bytes; the rest of it, up to
// its line end, is skipped and the line is marked truncated. Its tail is never handed on as a
// line of its own, which would decode a fragment as if it were a packet.
//
// Thread-compatible: one reader per thread.
#pragma once

#include <array>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace plovane {

class LineReader {
  public:
    static constexpr size_t kDefaultMaxLineLength = 64 * 1024;
    static constexpr size_t kBufferSize = 4096;

    // Reads from a stream (through its buffer, without touching the stream's state flags).
    explicit LineReader(std::istream& in, size_t maxLineLength = kDefaultMaxLineLength);
    // Reads from bytes already in memory; they must outlive the reader.
    explicit LineReader(std::string_view bytes, size_t maxLineLength = kDefaultMaxLineLength);

    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line's text into `line` (its capacity is reused); false at the end of input.
    // A read error ends the input; it never throws.
    bool Next(std::string& line);
    // The line last returned by Next was longer than the limit and was cut.
    bool truncated() const { return truncated_; }
    // A read error (a folder opened as a file, a removed card) ended the input early.
    bool failed() const { return failed_; }

  private:
    // Makes unread bytes available; false at the end of input.
    bool Fill();

    std::istream* in_ = nullptr;
    std::string_view pending_;  // unread bytes of the buffer (or of the caller's bytes)
    size_t maxLineLength_;
    bool truncated_ = false;
    bool failed_ = false;
    std::array<char, kBufferSize> buffer_{};
};

}  // namespace plovane
