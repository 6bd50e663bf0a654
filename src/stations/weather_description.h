// Names the weather station's software and hardware from the short code that ends an APRS
// weather report: a software letter, then a unit code (e.g. "dDvs" -> "Davis (dosAPRS)");
// "Unknown" for anything else.
#pragma once

#include <string>
#include <string_view>

namespace plovane {

std::string WeatherDescription(std::string_view comment);

}  // namespace plovane
