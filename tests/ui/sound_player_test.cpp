// Alert sounds: what is played, and how many files stay loaded.
#include "ui/sound_player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#include "ui_test_support.h"

namespace plovane {
namespace {

// A short silent 8 kHz mono WAV file.
void WriteWav(const std::string& path) {
    const uint32_t samples = 800;
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&out](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&out](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + samples);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(8000);
    u16(1);
    u16(8);
    out.write("data", 4);
    u32(samples);
    for (uint32_t i = 0; i < samples; ++i)
        out.put(static_cast<char>(0x80));
}

TEST(SoundPlayer, PlaysExistingFilesOnlyAndKeepsFewLoaded) {
    testing::ScratchDir dir;
    SoundPlayer player;
    EXPECT_FALSE(player.Play(""));
    EXPECT_FALSE(player.Play("None"));
    EXPECT_FALSE(player.Play(QString::fromStdString(dir / "missing.wav")));
    EXPECT_EQ(player.loadedCount(), 0u);

    for (int i = 0; i < 12; ++i) {
        const std::string path = dir / ("alert" + std::to_string(i) + ".wav");
        WriteWav(path);
        EXPECT_TRUE(player.Play(QString::fromStdString(path)));
        EXPECT_TRUE(player.Play(QString::fromStdString(path)));  // again: the same effect
    }
    EXPECT_EQ(player.loadedCount(), SoundPlayer::kMaxLoaded);
}

}  // namespace
}  // namespace plovane
