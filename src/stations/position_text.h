// SPDX-License-Identifier: GPL-3.0-or-later
// Positions typed as degrees, minutes and hundredths (the station setup page).
#pragma once

#include <cstdint>
#include <string_view>

namespace plovane {

// Colatitude in angle units from the typed pieces: the leading digits of `degrees` (0..90),
// the leading digits of `minutes` (0..59), the trailing digits of `fraction` read as a
// decimal fraction of a minute, and the hemisphere ("S" south, anything else north).
int32_t ColatitudeFromText(std::string_view degrees, std::string_view minutes,
                           std::string_view fraction, std::string_view hemisphere);
// Longitude in angle units; degrees 0..180, hemisphere "E" east, anything else west.
int32_t LongitudeFromText(std::string_view degrees, std::string_view minutes,
                          std::string_view fraction, std::string_view hemisphere);

}  // namespace plovane
