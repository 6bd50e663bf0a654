// SPDX-License-Identifier: GPL-3.0-or-later
// Picking a map file's family and running its reader.
#include "maps/map_file.h"

#include <array>
#include <exception>
#include <fstream>
#include <new>
#include <stdexcept>

#include "maps/binary_map_reader.h"
#include "maps/map_stream.h"
#include "maps/pdb_map_reader.h"
#include "maps/text_map_reader.h"

namespace plovane {
namespace {

// The known magics first, then the Palm type and creator, then a binary header without a
// known magic; whatever is left is tried as a text map.
const MapReader& ReaderFor(MapStream& in) {
    static const BinaryMapReader binary;
    static const PocketMapReader pocket;
    static const TextMapReader text;
    if (BinaryMapReader::HasKnownMagic(in))
        return binary;
    if (PocketMapReader::HasTypeAndCreator(in))
        return pocket;
    if (BinaryMapReader::LooksLikeBinaryMap(in))
        return binary;
    return text;
}

// Passes the reports on and remembers an indicator still shown, so that a read cut short by
// an exception still hides it.
class ClosingProgress final : public MapProgress {
  public:
    explicit ClosingProgress(MapProgress& out) : out_(out) {}
    ~ClosingProgress() override {
        if (shown_)
            out_.End();
    }
    void Notice(std::string_view text) override { out_.Notice(text); }
    void Begin(std::string_view title) override {
        out_.Begin(title);
        shown_ = true;
    }
    void Step(int percent) override { out_.Step(percent); }
    void End() override {
        out_.End();
        shown_ = false;
    }

  private:
    MapProgress& out_;
    bool shown_ = false;
};

}  // namespace

MapProbe ProbeMapFile(std::istream& file, std::string_view path) {
    MapStream in(file);
    try {
        return ReaderFor(in).Probe(in, path);
    } catch (const std::exception&) {
        return {};  // memory ran out: not a map we can show
    }
}

MapProbe ProbeMapFile(const std::filesystem::path& path) {
    std::array<char, 4096> buffer;
    std::ifstream file;
    file.rdbuf()->pubsetbuf(buffer.data(), buffer.size());
    file.open(path, std::ios::binary);
    if (!file)
        return {};
    return ProbeMapFile(file, path.string());
}

MapReadResult ReadMapFile(std::istream& file, std::string_view path, MapProgress& sink) {
    MapStream in(file);
    sink.Notice("Reading map header information...");
    ClosingProgress progress(sink);
    try {
        return ReaderFor(in).Read(in, path, progress);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    } catch (const std::exception&) {
        // MapStream turns read errors into short reads; anything else is a reader's fault,
        // and the user still gets a text rather than a crash.
        return {CMapData{}, std::string(kMapEndOfFileText)};
    }
    return {CMapData{}, std::string(kMapMemoryText)};
}

MapReadResult ReadMapFile(const std::filesystem::path& path, MapProgress& progress) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {CMapData{}, std::string(kMapOpenText)};
    return ReadMapFile(file, path.string(), progress);
}

std::string MapFailureText(std::string_view error, std::string_view path) {
    std::string text(error);
    text += "\nFile: ";
    text += path;
    return text;
}

}  // namespace plovane
