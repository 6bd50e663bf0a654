// SPDX-License-Identifier: GPL-3.0-or-later
// What opening a port came to: running, switched off, or failed with the text to show.
#pragma once

#include <string>

namespace plovane {

struct OpenResult {
    bool open = false;  // the port runs (the network client: its threads are connecting)
    std::string error;  // why it failed; empty when open or switched off

    bool failed() const { return !error.empty(); }
};

}  // namespace plovane
