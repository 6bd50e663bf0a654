// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/send_message_logic.h"

#include <gtest/gtest.h>

#include <string>

#include "messages/message_test_support.h"

namespace plovane {
namespace {

class SendForm : public ::testing::Test {
  protected:
    FakeClock clock;
    testing::RecordingHost host;
    testing::TestStation me{"K1ABC", clock, host};

    SendMessageForm Open(std::string preset = {}) {
        return SendMessageForm([this](bool advance) { return me.list.NextBulletinId(advance); },
                               [this](bool advance) { return me.list.NextAnnouncementId(advance); },
                               std::move(preset));
    }
};

TEST_F(SendForm, BulletinIdentifierAdvancesOnlyOnOk) {
    for (int opened = 0; opened < 2; ++opened) {  // shown, then cancelled
        SendMessageForm form = Open();
        form.SetType(MessageType::kBulletin);
        EXPECT_EQ(form.toText(), "BLN1");
        EXPECT_FALSE(form.toEnabled());
    }
    for (int n = 1; n <= 10; ++n) {  // after BLN9 comes BLN1 again
        const std::string expected = "BLN" + std::to_string(n == 10 ? 1 : n);
        SendMessageForm form = Open();
        form.SetType(MessageType::kBulletin);
        EXPECT_EQ(form.toText(), expected);
        EXPECT_EQ(form.Accept().addressee, expected);
    }
    // Announcements count on their own.
    SendMessageForm form = Open();
    form.SetType(MessageType::kAnnouncement);
    EXPECT_EQ(form.toText(), "BLNA");
    EXPECT_EQ(form.Accept().addressee, "BLNA");
    form = Open();
    form.SetType(MessageType::kAnnouncement);
    EXPECT_EQ(form.toText(), "BLNB");
}

// The preset or typed call comes back when the type returns to a message.
TEST_F(SendForm, TypedOrPresetCallIsRememberedAndRefusalsKeepTheDialogState) {
    SendMessageForm typed = Open();
    EXPECT_FALSE(typed.focusOnText());
    typed.EditTo("w1aw");
    typed.SetType(MessageType::kAnnouncement);
    EXPECT_EQ(typed.toText(), "BLNA");
    typed.SetType(MessageType::kMessage);
    EXPECT_TRUE(typed.toEnabled());
    EXPECT_EQ(typed.Accept().addressee, "W1AW");
    EXPECT_EQ(me.list.NextBulletinId(false), "BLN1");  // a message does not move the counter

    SendMessageForm form = Open("K5XYZ-15");
    EXPECT_TRUE(form.focusOnText());
    form.SetType(MessageType::kBulletin);
    form.SetType(MessageType::kMessage);
    EXPECT_EQ(form.toText(), "K5XYZ-15");

    form.EditTo("K5XYZ/P");
    auto result = form.Accept();
    EXPECT_EQ(result.error, kInvalidAddresseeText);
    EXPECT_EQ(form.toText(), "K5XYZ/P");
    form.EditTo("");
    EXPECT_EQ(form.Accept().error, kEmptyAddresseeText);
    form.EditTo("K5XYZ");
    EXPECT_TRUE(form.Accept().accepted());
}

}  // namespace
}  // namespace plovane
