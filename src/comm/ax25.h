// SPDX-License-Identifier: GPL-3.0-or-later
// AX.25 UI frames as a KISS TNC hands them over: the address field (destination, source, up
// to eight digipeaters), control 0x03, PID 0xF0 and the information field. Received frames
// become monitor lines, the form the packet decoder reads:
//   N0CALL>APRS,WIDE1-1*,WIDE2-1:!4903.50N/07201.75W-
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plovane {

struct Ax25Address {
    std::string call;       // 1-6 upper-case letters or digits
    int ssid = 0;           // 0-15
    bool repeated = false;  // the has-been-repeated bit (digipeaters only)

    bool operator==(const Ax25Address&) const = default;
};

struct Ax25Frame {
    static constexpr size_t kMaxDigipeaters = 8;

    Ax25Address destination;
    Ax25Address source;
    std::vector<Ax25Address> digipeaters;
    std::string info;  // the information field, byte for byte

    bool operator==(const Ax25Frame&) const = default;
};

// Why a received frame was refused.
enum class Ax25Error {
    kNone,
    kTooShort,      // fewer bytes than two addresses, control and PID
    kAddressNoEnd,  // the address field never ends (no extension bit)
    kTooManyDigis,  // more than eight digipeaters
    kBadCall,       // a call that is not 1-6 upper-case letters or digits
    kNotUi,         // control is not 0x03 (UI) or PID is not 0xF0 (no layer 3)
};
const char* Ax25ErrorText(Ax25Error error);

// Decodes one frame (no flags, no FCS: what KISS carries). Thread-safe: a pure function.
Ax25Error DecodeAx25(const uint8_t* data, size_t length, Ax25Frame& frame);
// The frame's bytes; the caller has checked the addresses (ParseAx25Address).
std::vector<uint8_t> EncodeAx25(const Ax25Frame& frame);

// "CALL" or "CALL-SSID" (SSID 0-15; "-0" is allowed), with a trailing "*" marking a used
// digipeater when allowRepeated. False for anything else.
bool ParseAx25Address(std::string_view text, Ax25Address& address, bool allowRepeated = false);
// "CALL-SSID", without "-0".
std::string Ax25AddressText(const Ax25Address& address);

// "SOURCE>DESTINATION,DIGI,...:info" with "*" after the last digipeater that has repeated it.
std::string Ax25MonitorLine(const Ax25Frame& frame);

// The frame of a monitor line to send (a relayed packet): every digipeater up to the last one
// marked "*" has repeated it (its H bit set), as Ax25MonitorLine writes it. A line end is not
// part of the information. False when a call is not valid or there are more than eight
// digipeaters.
bool ParseMonitorLine(std::string_view line, Ax25Frame& frame);

// Our own UI frame: from myCall to destination over a comma-separated digipeater path
// ("WIDE1-1,WIDE2-1"; blanks and empty entries ignored). False when a call is not valid or
// the path has more than eight entries.
bool BuildUiFrame(std::string_view myCall, std::string_view destination, std::string_view path,
                  std::string_view info, Ax25Frame& frame);

}  // namespace plovane
