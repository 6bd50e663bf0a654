// SPDX-License-Identifier: GPL-3.0-or-later
// The APRS-IS passcode: the number a server checks against the login call before it lets
// a client send packets.
#pragma once

#include <string_view>

namespace plovane {

// The standard 15-bit hash (0 to 32767) of the call without its SSID, upper-cased: calls
// that differ only in case or SSID share one passcode. Like the servers that verify it, only
// the first nine characters of the base call count.
int AprsPasscode(std::string_view call);

}  // namespace plovane
