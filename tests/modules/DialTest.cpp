#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules/DialSession.h"
#include "modules/PhoneBook.h"
#include "protocol/RecordingSender.h"
#include "support/FakeClock.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using Lines = std::vector<std::string>;

PhoneBook book_of(int entries) {
  PhoneBook book;
  for (int i = 0; i < entries; ++i) {
    AddToPhoneBook(book, std::to_string(1000 + i), "entry " + std::to_string(i));
  }
  return book;
}

TEST(PhoneBook, AddCutsTextsAndRefusesTheFiftyFirst) {
  PhoneBook book;
  EXPECT_TRUE(AddToPhoneBook(book, "123456789012345678901234567890", "Dispatch"));
  EXPECT_EQ(book.back(), (DialEntry{"123456789012345678901", "Dispatch"}));
  book = book_of(50);
  EXPECT_FALSE(AddToPhoneBook(book, "5551234", "Fifty-first"));
  EXPECT_EQ(book.size(), 50u);
}

struct RemoveCase {
  const char* removed;
  bool found;
  std::vector<std::string> left;
};

class PhoneBookRemove : public testing::TestWithParam<RemoveCase> {};

TEST_P(PhoneBookRemove, LastEntryMovesIntoTheGap) {
  PhoneBook book = book_of(3);
  EXPECT_EQ(RemoveFromPhoneBook(book, GetParam().removed), GetParam().found);
  std::vector<std::string> left;
  for (const DialEntry& entry : book) left.push_back(entry.description + "=" + entry.number);
  EXPECT_EQ(left, GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, PhoneBookRemove,
    testing::Values(RemoveCase{"entry 0", true, {"entry 2=1002", "entry 1=1001"}},
                    RemoveCase{"entry 2", true, {"entry 0=1000", "entry 1=1001"}},
                    RemoveCase{"entry", false, {"entry 0=1000", "entry 1=1001", "entry 2=1002"}}));

struct DialRig {
  explicit DialRig(std::uint8_t on_hook, std::uint8_t two_w_four_w = 0) {
    PortRecord line{};
    line.mod_type = MOD_LINE7;
    line.settings.on_hook = on_hook;
    line.settings.two_w_four_w = two_w_four_w;
    model.SetPort(4, line);
  }
  std::uint32_t disch_step() {
    PortRecord record;
    model.GetPort(4, record);
    return record.disch_step;
  }

  test::ScratchDirectory dir;
  test::FakeClock clock;
  DeviceModel model;
  test::RecordingSender sender;
  EventLog log{dir / "Logs", clock};
  DialSession session{DialParts{model, sender, log, clock}, 4};
};

struct DialCase {
  std::uint8_t on_hook;
  const char* number;
  int line;
  bool no_number;
  DialOutcome outcome;
  Lines sent;
};

class Dialling : public testing::TestWithParam<DialCase> {};

TEST_P(Dialling, SendsTheDialLineOnlyForAnIdleLineWithANumber) {
  DialRig rig(GetParam().on_hook);
  EXPECT_EQ(rig.session.dial(GetParam().number, GetParam().line, GetParam().no_number),
            GetParam().outcome);
  EXPECT_EQ(rig.sender.lines(), GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Dialling,
    testing::Values(DialCase{1, "5551234", 1, false, DialOutcome::Sent, {"DIAL 04 5551234 1\r"}},
                    DialCase{1, "5551234", 2, false, DialOutcome::Sent, {"DIAL 04 5551234 2\r"}},
                    DialCase{1, "5551234", 2, true, DialOutcome::Sent, {"DIAL 04 ! 2\r"}},
                    DialCase{1, "", 1, true, DialOutcome::Sent, {"DIAL 04 ! 1\r"}},
                    DialCase{1, "", 1, false, DialOutcome::NumberMissing, {}},
                    DialCase{0, "5551234", 1, false, DialOutcome::LineBusy, {}}));

TEST(DialSession, DialIsLoggedAndCaptionNamesThePort) {
  DialRig rig(1);
  rig.session.dial("911", 2, false);
  EXPECT_NE(test::file_text(rig.dir / "Logs" / "MAVPCI1.log").find("  04 dialed 911 on line 2\n"),
            std::string::npos);
  EXPECT_EQ(rig.session.caption(), "LINE Dial on port 04");
}

struct GiveUpCase {
  std::uint8_t on_hook;
  std::uint8_t two_w_four_w;
  bool time_ran_out;
  bool warn;
  Lines sent;
  std::uint32_t disch_step;
};

class GivingUp : public testing::TestWithParam<GiveUpCase> {};

TEST_P(GivingUp, IdleTwoWireLineIsDisconnected) {
  DialRig rig(GetParam().on_hook, GetParam().two_w_four_w);
  EXPECT_EQ(rig.session.give_up(GetParam().time_ran_out), GetParam().warn);
  EXPECT_EQ(rig.sender.lines(), GetParam().sent);
  EXPECT_EQ(rig.disch_step(), GetParam().disch_step);
}

INSTANTIATE_TEST_SUITE_P(Lines, GivingUp,
                         testing::Values(GiveUpCase{1, 0, true, false, {"DISC_S 04\r"}, 9},
                                         GiveUpCase{1, 0, false, false, {"DISC_S 04\r"}, 9},
                                         GiveUpCase{1, 1, true, false, {}, 0},
                                         GiveUpCase{0, 0, true, true, {}, 0},
                                         GiveUpCase{0, 0, false, false, {}, 0}));

}  // namespace
}  // namespace mav
