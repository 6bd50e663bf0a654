// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded reading of a map file: exact-length reads, big-endian numbers, fixed text fields
// and text lines, always knowing the file's size so that counts a file declares can be
// checked against what it can hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace plovane {

// Thread-compatible. Works on the stream buffer directly, so the stream's state flags are
// never consulted; a stream that cannot seek is taken as empty. A read error (a folder given
// as a file, a removed card: the buffer throws) ends the stream: every later read is short.
class MapStream {
  public:
    explicit MapStream(std::istream& in);

    uint64_t size() const { return size_; }
    uint64_t Tell() const { return pos_; }
    uint64_t Remaining() const { return size_ > pos_ ? size_ - pos_ : 0; }

    // False when the offset lies beyond the end of the file.
    bool Seek(uint64_t offset);
    // Exactly `count` bytes or false (the position is then unspecified).
    bool Read(void* out, size_t count);

    // One text line of at most `limit` characters: a run of CR and LF is skipped first, a
    // longer line leaves its rest for the next call. False at the end of the file.
    bool ReadLine(std::string& line, size_t limit);

  private:
    bool ReadLineFromBuffer(std::string& line, size_t limit);

    std::streambuf* buf_;
    uint64_t size_ = 0;
    uint64_t pos_ = 0;
};

// Big-endian numbers out of a byte buffer.
inline uint16_t BigEndian16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
inline uint32_t BigEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}
inline int32_t BigEndianI32(const uint8_t* p) {
    return static_cast<int32_t>(BigEndian32(p));
}

// A NUL-padded text field: its bytes up to the first NUL.
inline std::string FieldText(const uint8_t* p, size_t size) {
    size_t n = 0;
    while (n < size && p[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace plovane
