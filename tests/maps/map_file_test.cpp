// Map files on disk: folders and missing files give the usual failure text, never an exception.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "maps/map_data.h"
#include "maps/map_file.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

TEST(MapFile, FoldersAndMissingFilesAreRefusedWithTheirText) {
    const testing::ScratchDir scratch;
    const std::filesystem::path& dir = scratch.path();
    MapProgress silent;

    EXPECT_FALSE(ProbeMapFile(dir).isMap);
    const MapReadResult folder = ReadMapFile(dir, silent);
    EXPECT_EQ(folder.error, kMapUnsupportedText);
    EXPECT_FALSE(folder.map.loaded);
    // The same through a stream the caller opened (the buffer throws on reading).
    std::ifstream stream(dir, std::ios::binary);
    EXPECT_FALSE(ProbeMapFile(stream, dir.string()).isMap);
    EXPECT_EQ(ReadMapFile(stream, dir.string(), silent).error, kMapUnsupportedText);

    EXPECT_EQ(ReadMapFile(dir / "missing.map", silent).error, kMapOpenText);
    EXPECT_EQ(MapFailureText(kMapUnsupportedText, "/tmp"), "Unsupported map format.\nFile: /tmp");
}

}  // namespace
}  // namespace plovane
