// The phone book and the dial session of a LINE-7 port.
#include <gtest/gtest.h>

#include <string>

#include "modules/DialSession.h"
#include "modules/PhoneBook.h"
#include "support/FakeClock.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

TEST(PhoneBook, AddCutsTheNumberRefusesTheFiftyFirstAndRemoveMovesTheLastIntoTheGap) {
  PhoneBook book;
  EXPECT_TRUE(AddToPhoneBook(book, "123456789012345678901234567890", "Dispatch"));
  EXPECT_EQ(book.back(), (DialEntry{"123456789012345678901", "Dispatch"}));
  for (int i = 1; i < 50; ++i) AddToPhoneBook(book, "1", "entry " + std::to_string(i));
  EXPECT_FALSE(AddToPhoneBook(book, "5551234", "Fifty-first"));
  EXPECT_FALSE(RemoveFromPhoneBook(book, "entry"));
  EXPECT_TRUE(RemoveFromPhoneBook(book, "Dispatch"));
  EXPECT_TRUE(RemoveFromPhoneBook(book, "entry 48"));  // the last, just moved: nothing moves
  ASSERT_EQ(book.size(), 48u);
  EXPECT_EQ(book.front().description + "," + book[1].description + "," + book.back().description,
            "entry 49,entry 1,entry 47");

  // A description beyond ASCII is cut whole and found again.
  book.clear();
  ASSERT_TRUE(AddToPhoneBook(book, "1", "Zentrale Müllerstraße 5"));
  EXPECT_EQ(book[0].description, "Zentrale Müllerstra");
  EXPECT_EQ(FindDescription(book, book[0].description), 0u);
  EXPECT_TRUE(RemoveFromPhoneBook(book, "Zentrale Müllerstra"));
}

// The lines sent, each with the port's DISCH step when it left: the worker may read the gateway's
// answer before the sending thread runs on, so the step must be stored first.
class StepAtSend final : public LineSender {
 public:
  explicit StepAtSend(const DeviceModel& model) : model_(model) {}
  bool send_line(std::string_view text, bool) override {
    PortRecord record;
    model_.GetPort(4, record);
    sent += std::string(text) + (record.disch_step ? "@" + std::to_string(record.disch_step) : "");
    return true;
  }
  std::string sent;

 private:
  const DeviceModel& model_;
};

// A LINE-7 in port 04, on hook or off, two-wire or four-wire.
struct DialRig {
  DialRig(std::uint8_t on_hook, std::uint8_t two_w_four_w) {
    PortRecord line{};
    line.mod_type = MOD_LINE7;
    line.settings.on_hook = on_hook;
    line.settings.two_w_four_w = two_w_four_w;
    model.SetPort(4, line);
  }
  std::string sent() const { return sender.sent; }

  test::ScratchDirectory dir;
  test::FakeClock clock;
  DeviceModel model;
  StepAtSend sender{model};
  EventLog log{dir / "Logs", clock};
  DialSession session{DialParts{model, sender, log, clock}, 4};
};

TEST(DialSession, SendsTheDialLineOnlyForAnIdleLineWithANumberAndLogsIt) {
  const auto dial = [](std::uint8_t on_hook, const char* number, int line, bool no_number) {
    DialRig rig(on_hook, 0);
    const DialOutcome outcome = rig.session.dial(number, line, no_number);
    if (outcome == DialOutcome::LineBusy) return "busy " + rig.sent();
    return (outcome == DialOutcome::NumberMissing ? "no number " : "") + rig.sent();
  };
  EXPECT_EQ(dial(1, "5551234", 1, false) + dial(1, "5551234", 2, false) +
                dial(1, "5551234", 2, true) + dial(1, "", 1, true) + "|" + dial(1, "", 1, false) +
                "|" + dial(0, "5551234", 1, false),
            "DIAL 04 5551234 1\rDIAL 04 5551234 2\rDIAL 04 ! 2\rDIAL 04 ! 1\r|no number |busy ");

  DialRig rig(1, 0);
  rig.session.dial("911", 2, false);
  EXPECT_NE(test::file_text(rig.dir / "Logs" / "MAVPCI1.log").find("  04 dialed 911 on line 2\n"),
            std::string::npos);
  EXPECT_EQ(rig.session.caption(), "LINE Dial on port 04");
}

TEST(DialSession, GivingUpDisconnectsAnIdleTwoWireLineAndWarnsOfABusyOneOnTimeOut) {
  const auto give_up = [](std::uint8_t on_hook, std::uint8_t two_w_four_w, bool time_ran_out) {
    DialRig rig(on_hook, two_w_four_w);
    const bool warn = rig.session.give_up(time_ran_out);
    PortRecord record;
    rig.model.GetPort(4, record);
    return (warn ? "warn " : "") + rig.sent() + std::to_string(record.disch_step);
  };
  EXPECT_EQ(give_up(1, 0, true) + "|" + give_up(1, 0, false) + "|" + give_up(1, 1, true) + "|" +
                give_up(0, 0, true) + "|" + give_up(0, 0, false),
            "DISC_S 04\r@99|DISC_S 04\r@99|0|warn 0|0");
}

}  // namespace
}  // namespace mav
