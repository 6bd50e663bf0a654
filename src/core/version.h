// SPDX-License-Identifier: GPL-3.0-or-later
// The program's version as shown to the user and as carried in its own destination call.
#pragma once

namespace plovane {

inline constexpr const char* kProgramName = "Plovane";
inline constexpr const char* kVersionText = "1.02";
inline constexpr const char* kVersionCode = "102";
// The destination call of every packet this program sends: "APQ" + version code.
inline constexpr const char* kOwnDestination = "APQ102";

}  // namespace plovane
