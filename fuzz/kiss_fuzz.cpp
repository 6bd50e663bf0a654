// SPDX-License-Identifier: GPL-3.0-or-later
// A KISS byte stream through the de-framer and the AX.25 decoder: no crash, no frame over the
// size limit, and every frame that decodes re-encodes to the same monitor line.
#include <cstdint>
#include <cstdlib>

#include "comm/ax25.h"
#include "comm/kiss.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plovane;
    KissDeframer deframer;
    // Fed in two pieces, cut where the first byte says, as a socket may hand it over.
    const size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    const auto handler = [](uint8_t port, const uint8_t* frame, size_t length) {
        if (port > 15 || length == 0 || length > KissDeframer::kMaxFrameBytes)
            std::abort();
        Ax25Frame decoded;
        if (DecodeAx25(frame, length, decoded) != Ax25Error::kNone)
            return;
        const std::vector<uint8_t> bytes = EncodeAx25(decoded);
        Ax25Frame again;
        if (DecodeAx25(bytes.data(), bytes.size(), again) != Ax25Error::kNone ||
            Ax25MonitorLine(again) != Ax25MonitorLine(decoded))
            std::abort();
    };
    deframer.Feed(data, cut, handler);
    deframer.Feed(data + cut, size - cut, handler);
    return 0;
}
