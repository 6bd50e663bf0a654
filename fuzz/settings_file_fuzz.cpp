// SPDX-License-Identifier: GPL-3.0-or-later
// Settings file reader: any bytes as a settings file (users edit it by hand). It must load,
// keep every value it read through a change of another key, and read back what it wrote,
// also after the file is written and read again.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "app/qsettings_profile.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& got, const std::string& want) {
    std::fprintf(stderr, "%s: got '%s', want '%s'\n", what, got.c_str(), want.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    using plovane::QSettingsProfile;
    static const fs::path dir =
        fs::temp_directory_path() / ("plovane-settings-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "plovane.conf";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data),
                                                 static_cast<std::streamsize>(size));

    const std::array<std::pair<const char*, const char*>, 5> probes{{
        {"Station", "MyCall"},
        {"Station", "UIDigiPath"},
        {"Comm", "HostPort"},
        {"Maps", "TileSource"},
        {"General", "a"},
    }};
    std::array<std::string, probes.size()> before;
    const std::string written = "Gr\xC3\xBC\xC3\x9F" "e, \"a\\b\" =;#[x]\x01";
    {
        QSettingsProfile profile(file.string());
        for (size_t i = 0; i < probes.size(); ++i)
            before[i] = profile.GetString(probes[i].first, probes[i].second, "\x7F");
        profile.WriteString("Station", "Comment", written);
        for (size_t i = 0; i < probes.size(); ++i) {
            const std::string now = profile.GetString(probes[i].first, probes[i].second, "\x7F");
            if (now != before[i])
                Fail(probes[i].second, now, before[i]);
        }
        if (profile.GetString("Station", "Comment", "") != written)
            Fail("Comment", profile.GetString("Station", "Comment", ""), written);
    }
    QSettingsProfile again(file.string());
    for (size_t i = 0; i < probes.size(); ++i) {
        const std::string now = again.GetString(probes[i].first, probes[i].second, "\x7F");
        if (now != before[i])
            Fail(probes[i].second, now, before[i]);
    }
    if (again.GetString("Station", "Comment", "") != written)
        Fail("Comment after reading again", again.GetString("Station", "Comment", ""), written);
    fs::remove_all(dir);
    return 0;
}
