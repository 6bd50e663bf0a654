// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded reading of a map file.
#include "maps/map_stream.h"

#include <exception>

namespace plovane {

MapStream::MapStream(std::istream& in) : buf_(in.rdbuf()) {
    if (buf_ == nullptr)
        return;
    try {
        const auto end = buf_->pubseekoff(0, std::ios::end, std::ios::in);
        const auto start = buf_->pubseekpos(0, std::ios::in);
        if (end != std::streampos(-1) && start != std::streampos(-1)) {
            size_ = static_cast<uint64_t>(std::streamoff(end));
            return;
        }
    } catch (const std::exception&) {
    }
    buf_ = nullptr;
}

bool MapStream::Seek(uint64_t offset) {
    if (buf_ == nullptr || offset > size_)
        return false;
    try {
        if (buf_->pubseekpos(static_cast<std::streamoff>(offset), std::ios::in) ==
            std::streampos(-1)) {
            return false;
        }
    } catch (const std::exception&) {
        buf_ = nullptr;
        return false;
    }
    pos_ = offset;
    return true;
}

bool MapStream::Read(void* out, size_t count) {
    if (buf_ == nullptr || count > Remaining())
        return false;
    std::streamsize got = 0;
    try {
        got = buf_->sgetn(static_cast<char*>(out), static_cast<std::streamsize>(count));
    } catch (const std::exception&) {
        buf_ = nullptr;
        return false;
    }
    if (got > 0)
        pos_ += static_cast<uint64_t>(got);
    return got == static_cast<std::streamsize>(count);
}

bool MapStream::ReadLine(std::string& line, size_t limit) {
    line.clear();
    if (buf_ == nullptr)
        return false;
    try {
        return ReadLineFromBuffer(line, limit);
    } catch (const std::exception&) {
        buf_ = nullptr;
        line.clear();
        return false;
    }
}

bool MapStream::ReadLineFromBuffer(std::string& line, size_t limit) {
    constexpr int kEof = std::char_traits<char>::eof();
    int c = buf_->sgetc();
    while (c == '\r' || c == '\n') {
        buf_->sbumpc();
        ++pos_;
        c = buf_->sgetc();
    }
    if (c == kEof || pos_ >= size_)
        return false;
    while (line.size() < limit && c != kEof && c != '\r' && c != '\n') {
        line.push_back(static_cast<char>(c));
        buf_->sbumpc();
        ++pos_;
        c = buf_->sgetc();
    }
    return true;
}

}  // namespace plovane
