#include "ui/logic/send_message_logic.h"

#include <gtest/gtest.h>

#include <string>

#include "messages/message_test_support.h"

namespace plovane {
namespace {

TEST(Addressee, TrimmedUpperCasedAndCheckedCharacterByCharacter) {
    struct Case {
        const char* typed;
        const char* error;      // nullptr: accepted
        const char* addressee;  // when accepted
    } cases[] = {
        {"  n0call-9 ", nullptr, "N0CALL-9"},
        {"", kEmptyAddresseeText, ""},
        {"    ", kEmptyAddresseeText, ""},
        {"ABCDEFGHIJ", kLongAddresseeText, ""},
        {" ABCDEFGHI ", nullptr, "ABCDEFGHI"},  // blanks do not count
        {"N0CALL/9", kInvalidAddresseeText, ""},
        {"K5 AB", kInvalidAddresseeText, ""},
        {"\xC3\xA9T\xC3\xA9", kInvalidAddresseeText, ""},  // "été": three characters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(AddresseeError(c.typed), c.error);
        if (c.error == nullptr) {
            EXPECT_EQ(NormalizeAddressee(c.typed), c.addressee);
        }
    }
}

TEST(MessageText, EmptyOrBlankTextIsRefusedAndTheCountShowsTheRoomLeft) {
    EXPECT_EQ(MessageTextError(""), kEmptyMessageText);
    EXPECT_EQ(MessageTextError("   "), kEmptyMessageText);
    EXPECT_EQ(MessageTextError(" hi "), nullptr);
    EXPECT_EQ(MessageTextCount(""), "67 of 67 bytes left");
    EXPECT_EQ(MessageTextCount("статус"), "55 of 67 bytes left");
    EXPECT_EQ(MessageTextCount(std::string(70, 'x')), "0 of 67 bytes left");
    // 33 two-byte letters and one more: the 34th would straddle the limit and goes whole.
    std::string letters;
    for (int i = 0; i < 34; ++i)
        letters += "\xc3\xa4";
    EXPECT_EQ(FitMessageText(letters), letters.substr(0, 66));
    EXPECT_EQ(FitMessageText("plain"), "plain");
}

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
    for (const char* expected :
         {"BLN1", "BLN2", "BLN3", "BLN4", "BLN5", "BLN6", "BLN7", "BLN8", "BLN9", "BLN1"}) {
        SCOPED_TRACE(expected);
        SendMessageForm form = Open();
        form.SetType(MessageType::kBulletin);
        EXPECT_EQ(form.toText(), expected);
        const auto result = form.Accept();
        ASSERT_TRUE(result.accepted());
        EXPECT_EQ(result.addressee, expected);
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

TEST_F(SendForm, SwitchingBackToMessageRestoresTheTypedCall) {
    SendMessageForm form = Open();
    EXPECT_FALSE(form.focusOnText());
    form.EditTo("w1aw");
    form.SetType(MessageType::kBulletin);
    EXPECT_EQ(form.toText(), "BLN1");
    form.SetType(MessageType::kAnnouncement);
    EXPECT_EQ(form.toText(), "BLNA");
    form.SetType(MessageType::kMessage);
    EXPECT_TRUE(form.toEnabled());
    EXPECT_EQ(form.toText(), "w1aw");
    const auto result = form.Accept();
    ASSERT_TRUE(result.accepted());
    EXPECT_EQ(result.addressee, "W1AW");
    // A message does not move the bulletin counter.
    EXPECT_EQ(me.list.NextBulletinId(false), "BLN1");
}

TEST_F(SendForm, PresetAddresseeIsRememberedAndRefusalsKeepTheDialogState) {
    SendMessageForm form = Open("K5XYZ-15");
    EXPECT_TRUE(form.focusOnText());
    EXPECT_EQ(form.toText(), "K5XYZ-15");
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
