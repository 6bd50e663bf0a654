// SPDX-License-Identifier: GPL-3.0-or-later
// One copy per settings store: a second start reaches the first and asks it to come forward.
#include "ui/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QUuid>

#include "ui_test_support.h"

namespace plovane {
namespace {

using plovane::testing::WaitFor;

// Once the first has gone the lock is free again; other settings files have their own lock.
TEST(SingleInstance, ASecondStartRaisesTheFirstAndDoesNotRun) {
    const QString key =
        "plovane-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces).left(12);
    {
        SingleInstance first(key);
        ASSERT_EQ(first.Claim(), SingleInstance::Result::kFirst);
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);

        SingleInstance second(key);
        EXPECT_EQ(second.Claim(), SingleInstance::Result::kNotified);
        ASSERT_TRUE(WaitFor([&] { return raised.count() == 1; }));

        // Any client of the socket counts, as a second program would connect.
        QLocalSocket socket;
        socket.connectToServer(key);
        ASSERT_TRUE(socket.waitForConnected(2000));
        ASSERT_TRUE(WaitFor([&] { return raised.count() == 2; }));
    }
    SingleInstance next(key);
    EXPECT_EQ(next.Claim(), SingleInstance::Result::kFirst);
    EXPECT_NE(SingleInstance::KeyFor("/tmp/a.conf"), SingleInstance::KeyFor("/tmp/b.conf"));
    EXPECT_EQ(SingleInstance::KeyFor("/tmp/a.conf"), SingleInstance::KeyFor("/tmp/../tmp/a.conf"));
}

}  // namespace
}  // namespace plovane
