// SPDX-License-Identifier: GPL-3.0-or-later
// AX.25 UI frame encoding and decoding.
#include "comm/ax25.h"

namespace plovane {
namespace {

constexpr uint8_t kControlUi = 0x03;
constexpr uint8_t kPidNoLayer3 = 0xF0;
constexpr size_t kAddressBytes = 7;

bool IsCallChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool ValidCall(std::string_view call) {
    if (call.empty() || call.size() > 6)
        return false;
    for (const char c : call) {
        if (!IsCallChar(c))
            return false;
    }
    return true;
}

// Seven bytes: six call characters shifted left one bit (blank padded), then the SSID byte
// 0b011SSSS0 with H (has-been-repeated, or C on the two first addresses) in bit 7 and the
// extension bit (last address) in bit 0.
bool DecodeAddress(const uint8_t* bytes, Ax25Address& address) {
    std::string call;
    size_t i = 0;
    for (; i < 6; ++i) {
        if ((bytes[i] & 1) != 0)
            return false;  // an extension bit inside the call
        const char c = static_cast<char>(bytes[i] >> 1);
        if (c == ' ')
            break;
        call.push_back(c);
    }
    for (; i < 6; ++i) {
        if (bytes[i] != (' ' << 1))
            return false;  // characters after the padding
    }
    if (!ValidCall(call))
        return false;
    address.call = std::move(call);
    address.ssid = (bytes[6] >> 1) & 0x0F;
    address.repeated = (bytes[6] & 0x80) != 0;
    return true;
}

void EncodeAddress(const Ax25Address& address, uint8_t hBit, bool last, std::vector<uint8_t>& out) {
    for (size_t i = 0; i < 6; ++i) {
        const char c = i < address.call.size() ? address.call[i] : ' ';
        out.push_back(static_cast<uint8_t>(static_cast<uint8_t>(c) << 1));
    }
    out.push_back(
        static_cast<uint8_t>(0x60 | hBit | ((address.ssid & 0x0F) << 1) | (last ? 1 : 0)));
}

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

}  // namespace

const char* Ax25ErrorText(Ax25Error error) {
    switch (error) {
        case Ax25Error::kNone:
            return "ok";
        case Ax25Error::kTooShort:
            return "frame too short";
        case Ax25Error::kAddressNoEnd:
            return "address field does not end";
        case Ax25Error::kTooManyDigis:
            return "too many digipeaters";
        case Ax25Error::kBadCall:
            return "invalid call in address";
        case Ax25Error::kNotUi:
            return "not a UI frame";
    }
    return "?";
}

Ax25Error DecodeAx25(const uint8_t* data, size_t length, Ax25Frame& frame) {
    if (length < 2 * kAddressBytes + 2)
        return Ax25Error::kTooShort;
    // Find the end of the address field first: its last byte has bit 0 set.
    size_t addresses = 0;
    for (;;) {
        const size_t end = (addresses + 1) * kAddressBytes;
        if (end > length)
            return Ax25Error::kAddressNoEnd;
        ++addresses;
        if ((data[end - 1] & 1) != 0)
            break;
        if (addresses >= 2 + Ax25Frame::kMaxDigipeaters)
            return Ax25Error::kTooManyDigis;
    }
    if (addresses < 2)
        return Ax25Error::kAddressNoEnd;
    const size_t headerEnd = addresses * kAddressBytes;
    if (headerEnd + 2 > length)
        return Ax25Error::kTooShort;
    frame = {};
    for (size_t a = 0; a < addresses; ++a) {
        Ax25Address address;
        if (!DecodeAddress(data + a * kAddressBytes, address))
            return Ax25Error::kBadCall;
        if (a == 0) {
            address.repeated = false;  // the command/response bit
            frame.destination = std::move(address);
        } else if (a == 1) {
            address.repeated = false;
            frame.source = std::move(address);
        } else {
            frame.digipeaters.push_back(std::move(address));
        }
    }
    // Control: UI, the poll/final bit either way.
    if ((data[headerEnd] & 0xEF) != kControlUi || data[headerEnd + 1] != kPidNoLayer3)
        return Ax25Error::kNotUi;
    frame.info.assign(reinterpret_cast<const char*>(data + headerEnd + 2), length - headerEnd - 2);
    return Ax25Error::kNone;
}

std::vector<uint8_t> EncodeAx25(const Ax25Frame& frame) {
    std::vector<uint8_t> out;
    out.reserve((2 + frame.digipeaters.size()) * kAddressBytes + 2 + frame.info.size());
    // A command frame: C set in the destination, clear in the source.
    EncodeAddress(frame.destination, 0x80, false, out);
    EncodeAddress(frame.source, 0x00, frame.digipeaters.empty(), out);
    for (size_t i = 0; i < frame.digipeaters.size(); ++i) {
        const Ax25Address& digi = frame.digipeaters[i];
        EncodeAddress(digi, digi.repeated ? 0x80 : 0x00, i + 1 == frame.digipeaters.size(), out);
    }
    out.push_back(kControlUi);
    out.push_back(kPidNoLayer3);
    out.insert(out.end(), frame.info.begin(), frame.info.end());
    return out;
}

bool ParseAx25Address(std::string_view text, Ax25Address& address, bool allowRepeated) {
    bool repeated = false;
    if (allowRepeated && !text.empty() && text.back() == '*') {
        repeated = true;
        text.remove_suffix(1);
    }
    int ssid = 0;
    const size_t dash = text.find('-');
    if (dash != std::string_view::npos) {
        const std::string_view digits = text.substr(dash + 1);
        if (digits.empty() || digits.size() > 2)
            return false;
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return false;
            ssid = ssid * 10 + (c - '0');
        }
        if (ssid > 15)
            return false;
        text = text.substr(0, dash);
    }
    if (!ValidCall(text))
        return false;
    address.call = std::string(text);
    address.ssid = ssid;
    address.repeated = repeated;
    return true;
}

std::string Ax25AddressText(const Ax25Address& address) {
    if (address.ssid == 0)
        return address.call;
    return address.call + "-" + std::to_string(address.ssid);
}

std::string Ax25MonitorLine(const Ax25Frame& frame) {
    std::string line = Ax25AddressText(frame.source) + ">" + Ax25AddressText(frame.destination);
    size_t lastUsed = frame.digipeaters.size();
    for (size_t i = 0; i < frame.digipeaters.size(); ++i) {
        if (frame.digipeaters[i].repeated)
            lastUsed = i;
    }
    for (size_t i = 0; i < frame.digipeaters.size(); ++i) {
        line += ',';
        line += Ax25AddressText(frame.digipeaters[i]);
        if (i == lastUsed)
            line += "*";
    }
    line += ":";
    line += frame.info;
    return line;
}

bool ParseMonitorLine(std::string_view line, Ax25Frame& frame) {
    frame = {};
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const size_t colon = line.find(':');
    const size_t gt = line.find('>');
    if (colon == std::string_view::npos || gt == std::string_view::npos || gt > colon)
        return false;
    if (!ParseAx25Address(line.substr(0, gt), frame.source))
        return false;
    std::string_view rest = line.substr(gt + 1, colon - gt - 1);
    size_t comma = rest.find(',');
    if (!ParseAx25Address(rest.substr(0, comma), frame.destination))
        return false;
    size_t lastRepeated = 0;  // one past the last digipeater marked "*"
    while (comma != std::string_view::npos) {
        rest.remove_prefix(comma + 1);
        comma = rest.find(',');
        Ax25Address digi;
        if (frame.digipeaters.size() == Ax25Frame::kMaxDigipeaters ||
            !ParseAx25Address(rest.substr(0, comma), digi, true))
            return false;
        frame.digipeaters.push_back(std::move(digi));
        if (frame.digipeaters.back().repeated)
            lastRepeated = frame.digipeaters.size();
    }
    for (size_t i = 0; i < lastRepeated; ++i)
        frame.digipeaters[i].repeated = true;
    frame.info = std::string(line.substr(colon + 1));
    return true;
}

bool BuildUiFrame(std::string_view myCall, std::string_view destination, std::string_view pathText,
                  std::string_view info, Ax25Frame& frame) {
    frame = {};
    // Calls typed in lower case are meant in upper case, as a text-mode TNC takes them.
    const std::string path = UpperAscii(pathText);
    if (!ParseAx25Address(UpperAscii(myCall), frame.source) ||
        !ParseAx25Address(UpperAscii(destination), frame.destination))
        return false;
    size_t begin = 0;
    while (begin <= path.size()) {
        size_t end = path.find(',', begin);
        if (end == std::string_view::npos)
            end = path.size();
        std::string_view entry = std::string_view(path).substr(begin, end - begin);
        while (!entry.empty() && (entry.front() == ' ' || entry.front() == '\t'))
            entry.remove_prefix(1);
        while (!entry.empty() && (entry.back() == ' ' || entry.back() == '\t'))
            entry.remove_suffix(1);
        if (!entry.empty()) {
            Ax25Address digi;
            if (frame.digipeaters.size() >= Ax25Frame::kMaxDigipeaters ||
                !ParseAx25Address(entry, digi))
                return false;
            frame.digipeaters.push_back(std::move(digi));
        }
        begin = end + 1;
    }
    frame.info = std::string(info);
    return true;
}

}  // namespace plovane
