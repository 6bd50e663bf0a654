// SPDX-License-Identifier: GPL-3.0-or-later
// The message store fed arbitrary traffic: each input line "from|to|text" is received, a line
// starting with "!" runs SendPending with the rest as filter, one starting with "#" sends a
// new message to the rest. The limit, the ack cap and unique keys must hold throughout.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "core/null_host.h"
#include "core/clock.h"
#include "messages/message_list.h"
#include "core/output_port.h"

namespace {

using namespace plovane;

class CountingPort final : public OutputPort {
  public:
    bool IsOpen() const override { return true; }
    void QueueText(const std::string& text, int, int) override {
        if (text.empty() || text.back() != '\r')
            std::abort();
        ++queued;
    }
    size_t queued = 0;
};

constexpr int32_t kLimit = 50;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    FakeClock clock;
    plovane::NullHost host;
    CountingPort tnc;
    CountingPort network;
    CStationSettings settings;
    settings.MyCall = "K1ABC";
    settings.AutoReply = true;
    settings.LimitMessages = kLimit;
    CMessageList list(settings, clock, host, host, [] { return std::string("K1ABC"); });
    list.SetPorts(&tnc, &network);

    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string_view::npos)
            end = input.size();
        const std::string_view line = input.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[0] == '!') {
            list.SendPending(line.substr(1));
        } else if (!line.empty() && line[0] == '#') {
            list.SendNewMessage(line.substr(1), "fuzz");
        } else {
            const size_t bar1 = line.find('|');
            const size_t bar2 = bar1 == std::string_view::npos ? bar1 : line.find('|', bar1 + 1);
            if (bar2 == std::string_view::npos)
                continue;
            list.ReceiveMessage(line.substr(0, bar1), line.substr(bar1 + 1, bar2 - bar1 - 1),
                                line.substr(bar2 + 1));
        }
    }

    const auto all = list.Snapshot();
    if (all.size() > static_cast<size_t>(kLimit))
        std::abort();
    std::set<uint64_t> keys;
    for (const CMessage& m : all) {
        if (m.ackCount > CMessageList::kMaxAcks || m.number.size() > 5)
            std::abort();
        if (!keys.insert(m.key).second)
            std::abort();
    }
    return 0;
}
