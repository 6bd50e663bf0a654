// SPDX-License-Identifier: GPL-3.0-or-later
// AX.25 UI frames and KISS framing against frames assembled by hand byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "comm/ax25.h"
#include "comm/kiss.h"

namespace plovane {
namespace {

using Bytes = std::vector<uint8_t>;

// One address field entry: call shifted left, blank padded, then the SSID byte.
Bytes Address(const std::string& call, int ssid = 0, bool hBit = false, bool last = false) {
    Bytes out;
    for (size_t i = 0; i < 6; ++i)
        out.push_back(static_cast<uint8_t>((i < call.size() ? call[i] : ' ') << 1));
    out.push_back(static_cast<uint8_t>(0x60 | (hBit ? 0x80 : 0) | (ssid << 1) | (last ? 1 : 0)));
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes kUi = {0x03, 0xF0};

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

TEST(Ax25, RefusesMalformedFrames) {
    Bytes tenDigis = Join({Address("APRS"), Address("K1ABC")});
    for (int i = 0; i < 9; ++i) {
        const Bytes d = Address("WIDE", 1, false, i == 8);
        tenDigis.insert(tenDigis.end(), d.begin(), d.end());
    }
    tenDigis.insert(tenDigis.end(), kUi.begin(), kUi.end());
    struct Case {
        const char* name;
        Bytes frame;
        Ax25Error error;
    };
    const Case cases[] = {
        {"empty", {}, Ax25Error::kTooShort},
        {"address never ends", Join({Address("APRS"), Address("K1ABC"), Text("BBBBBBBBBBB")}),
         Ax25Error::kAddressNoEnd},
        {"nine digipeaters", tenDigis, Ax25Error::kTooManyDigis},
        {"lower-case call", Join({Address("APRS"), Address("k1abc", 0, false, true), kUi}),
         Ax25Error::kBadCall},
        {"character after padding", Join({Address("AP RS"), Address("K1ABC", 0, false, true), kUi}),
         Ax25Error::kBadCall},
        {"I frame", Join({Address("APRS"), Address("K1ABC", 0, false, true), {0x00, 0xF0}}),
         Ax25Error::kNotUi},
        {"PID not F0", Join({Address("APRS"), Address("K1ABC", 0, false, true), {0x03, 0xCF}}),
         Ax25Error::kNotUi},
        {"no control after addresses",
         Join({Address("APRS"), Address("K1ABC"), Address("WIDE", 0, false, true)}),
         Ax25Error::kTooShort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ax25Frame frame;
        EXPECT_EQ(DecodeAx25(c.frame.data(), c.frame.size(), frame), c.error);
        EXPECT_STRNE(Ax25ErrorText(c.error), "?");  // the dropped frame's notice names a reason
    }
}

TEST(Ax25, BuildsOwnFramesAndRefusesBadPaths) {
    struct Case {
        const char* path;
        bool ok;
        std::string line;  // after a round trip through bytes
    };
    const Case cases[] = {
        {"WIDE1-1,WIDE2-1", true, "N0CALL-9>APQ102,WIDE1-1,WIDE2-1:hello"},
        {" wide1-1 , ,WIDE2-2", true, "N0CALL-9>APQ102,WIDE1-1,WIDE2-2:hello"},
        {"", true, "N0CALL-9>APQ102:hello"},
        {"WIDE1-16", false, ""},
        {"TOOLONGCALL", false, ""},
        {"A,B,C,D,E,F,G,H,I", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Ax25Frame frame;
        ASSERT_EQ(BuildUiFrame("n0call-9", "APQ102", c.path, "hello", frame), c.ok);
        if (!c.ok)
            continue;
        const Bytes bytes = EncodeAx25(frame);
        Ax25Frame back;
        ASSERT_EQ(DecodeAx25(bytes.data(), bytes.size(), back), Ax25Error::kNone);
        EXPECT_EQ(back, frame);
        EXPECT_EQ(Ax25MonitorLine(back), c.line);
    }
    // The encoder's bytes are exactly what a TNC expects.
    Ax25Frame frame;
    ASSERT_TRUE(BuildUiFrame("K1ABC", "APRS", "WIDE1-1", "!", frame));
    EXPECT_EQ(EncodeAx25(frame), Join({Address("APRS", 0, true, false), Address("K1ABC"),
                                       Address("WIDE1", 1, false, true), kUi, Text("!")}));
    // The star follows the last repeated digipeater only; the poll bit and binary bytes pass.
    const Bytes heard = Join({Address("APRS"),
                              Address("K1ABC", 15, false, false),
                              Address("DIGI1", 0, true, false),
                              Address("DIGI2", 3, true, true),
                              {0x13, 0xF0},
                              Bytes{'`', 0xC0, 0x00, 0xFF}});
    ASSERT_EQ(DecodeAx25(heard.data(), heard.size(), frame), Ax25Error::kNone);
    EXPECT_EQ(Ax25MonitorLine(frame),
              std::string("K1ABC-15>APRS,DIGI1,DIGI2-3*:`\xC0\x00\xFF", 33));
}

// A relayed packet's line to bytes and back: every digipeater up to the last "*" gets its H
// bit, and the line comes back as it was.
TEST(Ax25, MonitorLinesTurnStarsIntoRepeatedBitsAndBack) {
    struct Case {
        const char* line;
        std::vector<bool> repeated;  // per digipeater; empty when the line is refused
    };
    const Case cases[] = {
        {"K1ABC>APRS,N0DIG,WIDE1*,WIDE2-1:!pos", {true, true, false}},
        {"K1ABC>APRS,N0DIG*,WIDE2-1:!pos", {true, false}},
        {"K1ABC-15>APRS,WIDE1-1:x\r\n", {false}},
        {"K1ABC>APRS,A*,B,C*,D:x", {true, true, true, false}},
        {"K1ABC>APRS,TCPIP*,qAC,T2TEST:x", {}},
        {"K1ABC>APRS,A,B,C,D,E,F,G,H,I:x", {}},
        {"K1ABC*>APRS:x", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Ax25Frame frame;
        ASSERT_EQ(ParseMonitorLine(c.line, frame), !c.repeated.empty());
        if (c.repeated.empty())
            continue;
        const Bytes bytes = EncodeAx25(frame);
        Ax25Frame back;
        ASSERT_EQ(DecodeAx25(bytes.data(), bytes.size(), back), Ax25Error::kNone);
        ASSERT_EQ(back.digipeaters.size(), c.repeated.size());
        for (size_t i = 0; i < c.repeated.size(); ++i) {
            const uint8_t ssidByte = bytes[(3 + i) * 7 - 1];
            EXPECT_EQ((ssidByte & 0x80) != 0, c.repeated[i]) << "digipeater " << i;
        }
        std::string line = c.line;
        if (line.ends_with("\r\n"))
            line.resize(line.size() - 2);
        if (line == "K1ABC>APRS,A*,B,C*,D:x")
            line = "K1ABC>APRS,A,B,C*,D:x";  // the star marks the last repeated one only
        EXPECT_EQ(Ax25MonitorLine(back), line);
    }
}

struct Received {
    uint8_t port;
    Bytes frame;
    bool operator==(const Received&) const = default;
};

std::vector<Received> FeedInPieces(const Bytes& stream, size_t piece, KissDeframer& deframer) {
    std::vector<Received> out;
    const auto handler = [&](uint8_t port, const uint8_t* data, size_t length) {
        out.push_back({port, Bytes(data, data + length)});
    };
    for (size_t i = 0; i < stream.size(); i += piece)
        deframer.Feed(stream.data() + i, std::min(piece, stream.size() - i), handler);
    return out;
}

TEST(Kiss, EscapesAndReassemblesAStreamCutAnywhere) {
    const Bytes payload = {'a', 0xC0, 'b', 0xDB, 0xDC, 0xDD, 'c'};
    const Bytes framed = KissDataFrame(2, payload);
    EXPECT_EQ(framed, (Bytes{0xC0, 0x20, 'a', 0xDB, 0xDC, 'b', 0xDB, 0xDD, 0xDC, 0xDD, 'c', 0xC0}));

    // Noise before the first frame, a parameter frame, an empty frame, then two data frames.
    Bytes stream = {'n', 'o', 'i', 's', 'e', 0xDB};
    const Bytes param = KissFrame(0, kiss::kTxDelay, Bytes{30}.data(), 1);
    const Bytes second = KissDataFrame(0, Text("second"));
    for (const Bytes* part : {&param, &framed, &second})
        stream.insert(stream.end(), part->begin(), part->end());
    stream.insert(stream.end() - 1, 0xC0);  // an empty frame inside: FEND FEND
    const std::vector<Received> expected = {{2, payload}, {0, Text("second")}};
    for (size_t piece = 1; piece <= stream.size(); ++piece) {
        SCOPED_TRACE(piece);
        KissDeframer deframer;
        EXPECT_EQ(FeedInPieces(stream, piece, deframer), expected);
    }
}

TEST(Kiss, DropsOverlongAndBadlyEscapedFrames) {
    KissDeframer deframer;
    const Bytes longest(KissDeframer::kMaxFrameBytes, 'x');
    const Bytes overlong(KissDeframer::kMaxFrameBytes + 1, 'y');
    Bytes stream = KissDataFrame(0, overlong);
    const Bytes badEscape = {0xC0, 0x00, 'a', 0xDB, 'q', 'b', 0xC0};
    const Bytes ok = KissDataFrame(0, longest);
    stream.insert(stream.end(), badEscape.begin(), badEscape.end());
    stream.insert(stream.end(), ok.begin(), ok.end());
    const std::vector<Received> got = FeedInPieces(stream, 100, deframer);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].frame, longest);
    EXPECT_EQ(deframer.framesDropped(), 2u);
}

}  // namespace
}  // namespace plovane
