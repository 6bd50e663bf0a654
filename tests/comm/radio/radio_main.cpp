// The radio tests start a software TNC and gpsd, which listen on every interface. The suite
// moves into a network namespace of its own (only its loopback, brought up here) before any
// thread starts, so nothing reaches a real network and runs may overlap. Without the right to
// do so (not root) every test is skipped.
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
