// SPDX-License-Identifier: GPL-3.0-or-later
// The software TNC and gpsd listen on every interface: the suite runs in a network namespace of
// its own (only its loopback), so nothing reaches a real network; not root: every test skips.
#include <gtest/gtest.h>
#include <sched.h>

#include <cstdlib>

#include "radio_fixture.h"

namespace {
bool namespaceReady = false;
}

bool plovane::testing::RadioNamespaceReady() {
    return namespaceReady;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    namespaceReady = unshare(CLONE_NEWNET) == 0 && std::system("ip link set lo up") == 0;
    return RUN_ALL_TESTS();
}
