// SPDX-License-Identifier: GPL-3.0-or-later
// Names the weather station's software and hardware from the short code that ends an APRS
// weather report: a software letter, then a unit code (e.g. "dDvs" -> "Davis (dosAPRS)").
#pragma once

#include <string>
#include <string_view>

namespace plovane {

std::string WeatherDescription(std::string_view comment);
// Whether a description names a unit and its software ("Davis (dosAPRS)"), rather than
// repeating the report's trailing text, which is a comment.
bool NamesWeatherStation(std::string_view description);

}  // namespace plovane
