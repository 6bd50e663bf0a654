// SPDX-License-Identifier: GPL-3.0-or-later
// The station setup's typed fields over arbitrary bytes: NUL-separated pieces become the six
// position fields and the stored symbol. Accepted positions must land on the globe, and a
// position shown from any stored value must be accepted and read back the same (to a
// thousandth of a minute).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ui/logic/setup_station.h"

namespace {

std::vector<std::string> Pieces(std::string_view input, size_t count) {
    std::vector<std::string> pieces;
    while (pieces.size() + 1 < count) {
        const size_t split = input.find('\0');
        if (split == std::string_view::npos)
            break;
        pieces.emplace_back(input.substr(0, split));
        input.remove_prefix(split + 1);
    }
    pieces.emplace_back(input);
    pieces.resize(count);
    return pieces;
}

int32_t Int32At(std::string_view bytes) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data(), std::min<size_t>(bytes.size(), sizeof value));
    return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plovane;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> p = Pieces(input, 10);

    PositForm form;
    form.latitude = {p[0], p[1], p[2], static_cast<int>(p[6].size() % 3) - 1};
    form.longitude = {p[3], p[4], p[5], static_cast<int>(p[7].size() % 3) - 1};
    form.rate = static_cast<int>(p[8].size() % 10) - 1;
    CStationSettings settings;
    const bool accepted = StorePositForm(form, settings);
    if (accepted != PositFormErrors(form).empty())
        std::abort();
    if (accepted && (settings.Lat < 0 || settings.Lat > 64800000 || settings.Lon < 0 ||
                     settings.Lon > 129600000))
        std::abort();

    // Stored values of any kind are shown as fields that are accepted and mean the same.
    CStationSettings stored;
    stored.Lat = Int32At(p[0]);
    stored.Lon = Int32At(p[3]);
    float rate = 0;
    std::memcpy(&rate, p[8].data(), std::min<size_t>(p[8].size(), sizeof rate));
    stored.MobilePositRate = rate;
    stored.Ambiguity = static_cast<int16_t>(Int32At(p[9]));
    const PositForm shown = PositFormFrom(stored);
    CStationSettings back = stored;
    if (!StorePositForm(shown, back))
        std::abort();
    if (!shown.latitude.degrees.empty() && std::abs(back.Lat - stored.Lat) > 3)
        std::abort();
    if (!shown.longitude.degrees.empty() && std::abs(back.Lon - stored.Lon) > 3)
        std::abort();
    if (back.Ambiguity < 0 || back.Ambiguity > 5)
        std::abort();

    // A call the radio takes, the APRS-IS takes too.
    if (IsCallSign(p[1], true) && !IsCallSign(p[1], false))
        std::abort();

    std::string symbol = p[6];
    StoreIconForm(IconFormFrom(symbol), symbol);
    if (symbol.size() != 2)
        std::abort();
    return 0;
}
