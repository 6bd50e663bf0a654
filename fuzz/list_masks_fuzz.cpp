// SPDX-License-Identifier: GPL-3.0-or-later
// The list windows' masks and texts over received bytes: the bytes before the first NUL are
// the typed mask, the rest a received text. The shown text must always be valid UTF-8, and
// neither mask mode nor the addressee check may fail on any input.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/logic/display_utf8.h"
#include "ui/logic/find_station.h"
#include "ui/logic/send_message_logic.h"
#include "ui/logic/station_filter.h"
#include "ui/logic/text_mask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view typed = input.substr(0, split);
    const std::string_view text =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    const std::string shown = plovane::DisplayUtf8(text);
    if (!plovane::IsValidUtf8(shown))
        std::abort();
    if (plovane::IsValidUtf8(text) && shown != text)
        std::abort();

    const plovane::TextMask mask{plovane::DisplayUtf8(typed)};
    const std::string matchText = plovane::MatchText(text);
    mask.FoundIn(matchText, false);
    mask.FoundIn(matchText, true);
    // Find Station: the typed text against the received text taken as a call.
    plovane::FindStationMatches({std::string(text)}, typed, 1);

    plovane::StationFilter filter{mask, mask, true};
    filter.Passes({std::string(text), std::string(text), std::string(text), '/', '>'});
    plovane::AddresseeError(typed);
    return 0;
}
