// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the own station's position and status reports, as handed to the TNC (the
// information field only; the TNC adds the header) or, behind our header, to the network.
#pragma once

#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/station_source.h"

namespace plovane {

// The most digits that can be blanked. APRS carries at most four blanks (one whole degree of
// uncertainty): blanking a degree digit as well ("4   .  N") is no longer a valid position,
// so the setup page's "5 Digits" sends the coarsest valid form, the same as four. A level
// below 1 blanks nothing.
inline constexpr int kMaxAmbiguity = 4;
int EffectiveAmbiguity(int level);

// "DDMM.mmN" with leading zeros, the last `ambiguity` digits (up to four) blanked.
std::string FormatLatitudeText(int32_t colatitude, int ambiguity);
// "DDDMM.mmW" likewise.
std::string FormatLongitudeText(int32_t longitude, int ambiguity);

// "PHGphgd" from watts, feet, dB and degrees; each digit is limited to 0..9 (a height below
// ten feet gives 0) rather than taking the first character of a larger number.
std::string FormatPhg(int powerWatts, int heightFeet, int gainDb, int directivityDegrees);

// The position report of a record, without the line end:
//   fixed:  =4903.50N/07201.75W-PHG5132/comment
//   moving: @092345z4903.50N/07201.75W>088/036   ("/" instead of "@" while the speed is 0)
// Course and speed go out for a moving record that is not our own (compared without regard
// to case) or when we are a mobile station; otherwise PHG when the record has it.
std::string FormatPositionReport(const PositionReportData& record, std::string_view myCall,
                                 bool mobile, const CDateTime& utcNow);

// ">DDHHMMz" + text, without the line end.
std::string FormatStatusReport(std::string_view text, const CDateTime& utcNow);

}  // namespace plovane
