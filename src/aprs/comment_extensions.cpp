// SPDX-License-Identifier: GPL-3.0-or-later
// Extensions found inside comments and telemetry texts: the DAO precision extension
// ("!W12!", "!w>f!"), base-91 comment telemetry ("|ss1122|"), the altitude ("/A=001234")
// and "T#" telemetry reports.
#include <charconv>

#include "aprs/decoders.h"
#include "core/latin1.h"

namespace plovane::aprs {
namespace {

bool IsBase91(char c) {
    return c >= 33 && c <= 123;
}

int Base91Pair(const char* p) {
    return (p[0] - 33) * 91 + (p[1] - 33);
}

// The text with [at, at + length) taken out. A cut at either end is a view; one in the
// middle is joined in the packet's room.
std::string_view Cut(std::string_view text, size_t at, size_t length, DecodedPacket& packet) {
    if (at == 0)
        return text.substr(length);
    if (at + length == text.size())
        return text.substr(0, at);
    return packet.Join({text.substr(0, at), text.substr(at + length)});
}

}  // namespace

bool TakeBase91Telemetry(std::string_view& comment, DecodedPacket& packet,
                         TelemetryValues& values) {
    // "|" + sequence + one to five channels + optional bits, two base-91 characters each.
    for (size_t open = comment.find('|'); open != std::string_view::npos;
         open = comment.find('|', open + 1)) {
        const size_t close = comment.find('|', open + 1);
        if (close == std::string_view::npos)
            return false;
        const size_t length = close - open - 1;
        if (length < 4 || length > 14 || length % 2 != 0)
            continue;
        const std::string_view body = comment.substr(open + 1, length);
        bool valid = true;
        for (const char c : body)
            valid = valid && IsBase91(c);
        if (!valid)
            continue;
        values = TelemetryValues();
        values.sequence = Base91Pair(body.data());
        const size_t pairs = length / 2 - 1;
        for (size_t i = 0; i < pairs && i < TelemetryValues::kAnalogChannels; ++i) {
            values.analog[i] = Base91Pair(body.data() + 2 + 2 * i);
            values.analogPresent |= static_cast<uint8_t>(1u << i);
        }
        if (pairs > TelemetryValues::kAnalogChannels)
            values.bits = static_cast<int16_t>(Base91Pair(body.data() + 12) & 0xFF);
        comment = Cut(comment, open, length + 2, packet);
        return true;
    }
    return false;
}

bool TakeDao(std::string_view& comment, DecodedPacket& packet, DaoExtension& dao) {
    // The last "!" + datum + two characters + "!" in the comment.
    for (size_t at = comment.size(); at >= 5; --at) {
        const size_t i = at - 5;
        if (comment[i] != '!' || comment[i + 4] != '!')
            continue;
        const char datum = comment[i + 1];
        const char a = comment[i + 2];
        const char b = comment[i + 3];
        DaoExtension found;
        if (datum >= 'A' && datum <= 'Z') {
            // Human-readable: a third decimal of the minutes each, or a blank.
            const auto digit = [](char c) { return c == ' ' || (c >= '0' && c <= '9'); };
            if (!digit(a) || !digit(b))
                continue;
            found.latitudeUnits = a == ' ' ? 0 : (a - '0') * kUnitsPerThousandthMinute;
            found.longitudeUnits = b == ' ' ? 0 : (b - '0') * kUnitsPerThousandthMinute;
        } else if (datum >= 'a' && datum <= 'z') {
            // Base-91: 0..90 spread over one hundredth of a minute (60 units), rounded.
            if (!IsBase91(a) || !IsBase91(b))
                continue;
            found.latitudeUnits = ((a - 33) * 60 + 45) / 91;
            found.longitudeUnits = ((b - 33) * 60 + 45) / 91;
        } else {
            continue;
        }
        found.found = true;
        found.datum = static_cast<char>(datum & ~0x20);
        dao = found;
        comment = Cut(comment, i, 5, packet);
        return true;
    }
    return false;
}

bool TakeAltitude(std::string_view& comment, DecodedPacket& packet, int32_t& altitudeDm) {
    for (size_t at = comment.find("/A="); at != std::string_view::npos;
         at = comment.find("/A=", at + 1)) {
        if (comment.size() - at < 9)
            return false;
        const bool below = comment[at + 3] == '-';
        int32_t feet = 0;
        bool digits = true;
        for (size_t i = at + (below ? 4 : 3); i < at + 9 && digits; ++i) {
            digits = latin1::IsDigit(latin1::U(comment[i]));
            feet = feet * 10 + (comment[i] - '0');
        }
        if (!digits)
            continue;
        altitudeDm = static_cast<int32_t>((below ? -feet : feet) * 3.04801);
        comment = Cut(comment, at, 9, packet);
        return true;
    }
    return false;
}

bool ParseTelemetryReport(std::string_view text, TelemetryValues& values) {
    // e.g. "T#005,199,000,255,073,123,01101111": sequence, five values, eight bits.
    if (!text.starts_with("T#"))
        return false;
    text.remove_prefix(2);
    values = TelemetryValues();
    const size_t comma = text.find(',');
    const std::string_view sequence = text.substr(0, comma);
    int sequenceValue = 0;
    const char* end = sequence.data() + sequence.size();
    const auto [stop, error] = std::from_chars(sequence.data(), end, sequenceValue);
    if (error == std::errc() && stop == end && sequenceValue >= 0)
        values.sequence = sequenceValue;
    if (comma == std::string_view::npos)
        return true;
    text.remove_prefix(comma + 1);
    // Values until one that is not a number; an empty field is a channel not sent.
    for (size_t i = 0; i < TelemetryValues::kAnalogChannels; ++i) {
        const size_t next = text.find(',');
        const std::string_view field = text.substr(0, next);
        if (!field.empty()) {
            if (!latin1::ParseDouble(field, values.analog[i]))
                return true;
            values.analogPresent |= static_cast<uint8_t>(1u << i);
        }
        if (next == std::string_view::npos)
            return true;
        text.remove_prefix(next + 1);
    }
    if (text.size() >= 8) {
        int16_t bits = 0;
        for (size_t i = 0; i < 8; ++i) {
            if (text[i] != '0' && text[i] != '1')
                return true;
            bits = static_cast<int16_t>(bits | (text[i] == '1' ? 1 << i : 0));
        }
        values.bits = bits;
    }
    return true;
}

}  // namespace plovane::aprs
