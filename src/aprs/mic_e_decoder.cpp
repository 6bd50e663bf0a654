// SPDX-License-Identifier: GPL-3.0-or-later
// Mic-E: latitude digits and N/S, lon offset and E/W flags ride in the destination call;
// longitude, speed, course and symbol in the first bytes of the information field.
// e.g. N0CALL>S32U6T:'(#fpPO>/
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "aprs/decoders.h"
#include "core/device_ids.h"
#include "core/latin1.h"

namespace plovane::aprs {
namespace {

using latin1::U;

constexpr std::array<std::string_view, 8> kStandardMessages = {
    "Off Duty",  "En Route", "In Service", "Returning",
    "Committed", "Special",  "Priority",   "Emergency!",
};
constexpr std::array<std::string_view, 8> kCustomMessages = {
    "Custom-0", "Custom-1", "Custom-2", "Custom-3", "Custom-4", "Custom-5", "Custom-6", "Custom-7",
};

// Latitude digit of a destination character: "0".."9", "A".."J" and "P".."Y" give 0..9;
// "K", "L", "Z" (and any other character, which no device sends) mark a blanked digit.
int LatitudeDigit(unsigned char c) {
    int digit = -1;
    switch (c & 0xF0) {
        case 0x30:
        case 0x50:
            digit = c & 0x0F;
            break;
        case 0x40:
            digit = (c & 0x0F) - 1;
            break;
        default:
            break;
    }
    return digit >= 0 && digit <= 9 ? digit : -1;
}

// North, +100 degrees longitude, west, and the message bits: "A".."K" and "P".."Z" (bit
// 0x40 set), but not "L", which stands for a blanked 0 bit.
bool FlagSet(unsigned char c) {
    return (c & 0x40) != 0 && c != 'L';
}

bool IsCustomMessageChar(unsigned char c) {
    return c >= 'A' && c <= 'K';
}

// Base-91 altitude bytes; anything else means the "}" is ordinary comment text.
bool IsBase91(unsigned char c) {
    return c >= 33 && c <= 123;
}

// The altitude's "}" is looked for this far into the text after the type byte.
constexpr size_t kMaxAltitudeOffset = 6;

// The device mark ending the text after a type byte: ">" or "]" (Kenwood) and an optional
// one-byte suffix ("=" TM-D710/TH-D72, "^" TH-D74, ...), or "`" or "'" and a two-byte
// suffix ("_ " VX-8, "|3" TinyTrak3, ...). Takes the mark off `text` and returns the
// device's tag for the station store, or "Mic-E" when the mark names nothing we know.
std::string_view TakeDeviceMark(char type, std::string_view& text) {
    const device_ids::Device* device = nullptr;
    if (type == '>' || type == ']') {
        if (!text.empty() &&
            (device = device_ids::FindMicELegacy(type, text.substr(text.size() - 1))))
            text.remove_suffix(1);
        else
            device = device_ids::FindMicELegacy(type, "");
    } else if (type == '`' || type == '\'') {
        if (text.size() >= 2 &&
            (device = device_ids::FindMicESuffix(text.substr(text.size() - 2)))) {
            text.remove_suffix(2);
        } else if (text.ends_with('_') && (device = device_ids::FindMicESuffix("_ "))) {
            // The VX-8's "_ " loses its blank where lines are trimmed on the way.
            text.remove_suffix(1);
        }
    }
    return device != nullptr ? device->tag : "Mic-E";
}

// Telemetry right after the symbol: "'" and two hex bytes (channels 1 and 3), or "`" (also
// sent as the quote U+2018) and five. e.g. "'1020 text", "`102030FFff text".
bool TakeMicETelemetry(ReportWriter& out, std::string_view source, std::string_view& text) {
    size_t mark = 0;
    size_t count = 0;
    if (text.starts_with('\'')) {
        mark = 1;
        count = 2;
    } else if (text.starts_with('`')) {
        mark = 1;
        count = 5;
    } else if (text.starts_with("\xe2\x80\x98")) {
        mark = 3;
        count = 5;
    } else {
        return false;
    }
    const size_t end = mark + 2 * count;
    if (text.size() < end || (text.size() > end && text[end] != ' '))
        return false;
    TelemetryValues values;
    for (size_t i = 0; i < count; ++i) {
        const int high = latin1::HexDigit(text[mark + 2 * i]);
        const int low = latin1::HexDigit(text[mark + 2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        const size_t channel = count == 2 ? 2 * i : i;
        values.analog[channel] = high * 16 + low;
        values.analogPresent |= static_cast<uint8_t>(1u << channel);
    }
    out.StoreTelemetry(source, values);
    text.remove_prefix(std::min(text.size(), end + 1));
    return true;
}

void WriteTwoDigits(int value, char* out) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
}

}  // namespace

void DecodeMicE(ReportWriter& out, std::string_view source, std::string_view destination,
                std::string_view path, std::string_view information) {
    const auto notAPosition = [&] { out.SetDeviceAndPath(source, destination, path, information); };
    if (destination.size() < 6 || information.size() < 9)
        return notAPosition();

    const bool north = FlagSet(U(destination[3]));
    const bool offset = FlagSet(U(destination[4]));
    const bool west = FlagSet(U(destination[5]));

    // Longitude: degrees, minutes and hundredths as bytes offset by 28, folded back into
    // range. Bytes that fold to no valid value (below 28, or far above the encodable range)
    // make the report unusable rather than a text of non-digits.
    int degrees = U(information[1]) - 28 + (offset ? 100 : 0);
    if (degrees >= 180 && degrees <= 189) {
        degrees -= 80;
    } else if (degrees >= 190 && degrees <= 199) {
        degrees -= 190;
    }
    int minutes = U(information[2]) - 28;
    if (minutes >= 60)
        minutes -= 60;
    const int hundredths = U(information[3]) - 28;
    if (degrees < 0 || degrees > 179 || minutes < 0 || minutes > 59 || hundredths < 0 ||
        hundredths > 99) {
        return notAPosition();
    }

    // "DDMM.mmN" and "DDDMM.mmW"; a blanked latitude digit blanks the longitude digit one
    // place further right as well.
    std::array<char, 8> latitude = {'0', '0', '0', '0', '.', '0', '0', north ? 'N' : 'S'};
    std::array<char, 9> longitude;
    longitude[0] = static_cast<char>('0' + degrees / 100);
    WriteTwoDigits(degrees % 100, &longitude[1]);
    WriteTwoDigits(minutes, &longitude[3]);
    longitude[5] = '.';
    WriteTwoDigits(hundredths, &longitude[6]);
    longitude[8] = west ? 'W' : 'E';
    for (int i = 0; i < 6; ++i) {
        const int place = i < 4 ? i : i + 1;
        const int digit = LatitudeDigit(U(destination[static_cast<size_t>(i)]));
        if (digit < 0) {
            latitude[static_cast<size_t>(place)] = ' ';
            longitude[static_cast<size_t>(place + 1)] = ' ';
        } else {
            latitude[static_cast<size_t>(place)] = static_cast<char>('0' + digit);
        }
    }

    const std::array<char, 2> symbol = {information[8] == '/' ? '/' : '\\', information[7]};

    // A message set by bits of both kinds (standard "P".."Z", custom "A".."K") means nothing.
    int bits = 0;
    bool custom = false;
    bool standard = false;
    for (size_t i = 0; i < 3; ++i) {
        const unsigned char c = U(destination[i]);
        bits = bits * 2 + (FlagSet(c) ? 1 : 0);
        custom = custom || IsCustomMessageChar(c);
        standard = standard || (FlagSet(c) && !IsCustomMessageChar(c));
    }
    const std::string_view message =
        custom && standard ? "Unknown" : (custom ? kCustomMessages : kStandardMessages)[7 - bits];

    // A type byte may follow the symbol: the Kenwood radios mark themselves with ">" or "]",
    // other makers with "`" or "'"; a suffix at the end of the text names the model.
    std::string_view comment = information.substr(9);
    const bool telemetry = TakeMicETelemetry(out, source, comment);
    const char type = telemetry || comment.empty() ? '\0' : comment[0];
    if (type == '>' || type == ']' || type == '`' || type == '\'')
        comment.remove_prefix(1);

    // "xyz}": altitude in metres above -10000 as three base-91 digits, within the first
    // bytes of the text; the text around it stays.
    int32_t altitudeDm = -1;
    for (size_t brace = 3; brace < comment.size() && brace <= kMaxAltitudeOffset; ++brace) {
        if (comment[brace] != '}')
            continue;
        if (IsBase91(U(comment[brace - 3])) && IsBase91(U(comment[brace - 2])) &&
            IsBase91(U(comment[brace - 1]))) {
            const int32_t metres = (U(comment[brace - 3]) - 33) * 8281 +
                                   (U(comment[brace - 2]) - 33) * 91 +
                                   (U(comment[brace - 1]) - 33) - 10000;
            altitudeDm = metres * 10;
            if (brace == 3) {
                comment.remove_prefix(4);
            } else {
                comment =
                    out.packet().Join({comment.substr(0, brace - 3), comment.substr(brace + 1)});
            }
        }
        break;
    }
    const std::string_view shownText = comment;
    const std::string_view device = TakeDeviceMark(type, comment);

    out.UpdatePosition(source, std::string_view(symbol.data(), symbol.size()),
                       std::string_view(latitude.data(), latitude.size()),
                       std::string_view(longitude.data(), longitude.size()), "", comment,
                       altitudeDm);
    out.SetMicEMessage(source, message);
    out.SetDeviceAndPath(source, device, path, shownText);

    // Speed: hundreds and tens in byte 4, units in byte 5; course: hundreds in byte 5,
    // the rest in byte 6. Bytes below 28 encode nothing, so no motion is stored then.
    const int sp = U(information[4]) - 28;
    const int dc = U(information[5]) - 28;
    const int se = U(information[6]) - 28;
    if (sp < 0 || dc < 0 || se < 0)
        return;
    int speed = sp * 10 + dc / 10;
    for (int i = 0; i < 3 && speed >= 800; ++i)
        speed -= 800;
    int course = dc % 10 * 100 + se;
    for (int i = 0; i < 3 && course >= 400; ++i)
        course -= 400;
    out.SetCourseSpeed(source, speed, course);
}

}  // namespace plovane::aprs
