// The bytes a port has received and the decoder has not yet cut into lines. The serial
// ports and the network client own one each; the decoder's intake drains them.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace plovane {

// Thread-safe through `mutex`, which guards `bytes` and `fill`; hold it only while bytes are
// appended or one line is cut out.
struct ReceiveBuffer {
    static constexpr size_t kSerialCapacity = 25000;
    static constexpr size_t kNetworkCapacity = 50000;

    explicit ReceiveBuffer(size_t capacity, std::string label = {})
        : bytes(capacity), name(std::move(label)) {}

    std::vector<uint8_t> bytes;  // fixed capacity; the first `fill` bytes are valid
    size_t fill = 0;
    std::timed_mutex mutex;
    std::string name;  // e.g. "PLOVANE_TNC_MUTEX", for diagnostics

    size_t capacity() const { return bytes.size(); }
};

}  // namespace plovane
