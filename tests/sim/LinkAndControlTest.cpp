#include <gtest/gtest.h>

#include "ControlCommands.h"
#include "DemoMode.h"
#include "GatewayTestSupport.h"
#include "LineFramer.h"
#include "Lineup.h"
#include "Options.h"
#include "ScriptRunner.h"

namespace mav::sim::test {
namespace {

std::vector<std::string> texts(const std::vector<LineFramer::Line>& lines) {
  std::vector<std::string> out;
  for (const LineFramer::Line& line : lines) out.push_back(line.overlong ? "<long>" : line.text);
  return out;
}

TEST(LineFramer, LinesEndAtTheirTerminatorWhereverTheBytesSplit) {
  LineFramer framer('\r');
  std::vector<LineFramer::Line> lines;
  framer.feed("SYS", lines);
  EXPECT_TRUE(lines.empty());
  framer.feed("TEM\r\rTX_LEVEL 05 ?\r\nMON", lines);
  EXPECT_EQ(texts(lines), (Lines{"SYSTEM", "", "TX_LEVEL 05 ?"}));
  lines.clear();
  framer.feed(std::string(300, 'X') + "\rMON ALL ?\r", lines);
  EXPECT_EQ(texts(lines), (Lines{"<long>", "MON ALL ?"}));

  LineFramer control('\n');  // control lines end in a line feed
  lines.clear();
  control.feed("cor 5\r\nquit\n", lines);
  EXPECT_EQ(texts(lines), (Lines{"cor 5", "quit"}));
}

TEST(Lineup, TextGivesOneCharacterPerPort) {
  const std::optional<Lineup> lineup = parse_lineup("12 3-5\n# the rest are empty\n.4");
  ASSERT_TRUE(lineup);
  EXPECT_EQ((std::vector<int>(lineup->begin(), lineup->begin() + 8)),
            (std::vector<int>{1, 2, 3, 0, 5, 0, 4, 0}));
  EXPECT_FALSE(parse_lineup("1236"));
  EXPECT_FALSE(parse_lineup(std::string(27, '1')));
  EXPECT_TRUE(parse_lineup(std::string(26, '1')));
}

TEST(Options, ACommandLineNeedsSomethingToServe) {
  Options options;
  std::string error;
  EXPECT_FALSE(parse_options({}, options, error));
  EXPECT_TRUE(parse_options(
      {"--tcp", "127.0.0.1:0", "--preset", "half", "--buses", "2", "--control-port", "0", "--demo"},
      options, error));
  EXPECT_EQ(options.buses, 2);
  EXPECT_TRUE(options.demo);
  EXPECT_EQ(options.lineup, half_lineup());
  EXPECT_FALSE(parse_options({"--pty", "-", "--buses", "8"}, options, error));
  EXPECT_FALSE(parse_options({"--pty", "-", "--lineup", "9"}, options, error));
  EXPECT_FALSE(parse_options({"--pty"}, options, error));
}

TEST(ScriptRunner, StepsRunTheirDelayAfterTheOneBefore) {
  ScriptRunner script;
  std::string error;
  ASSERT_TRUE(script.load("# a comment\n100 cor 5\n\n  0 ptt 1\r\n250 restart\n", error)) << error;
  EXPECT_FALSE(script.next_due());
  script.start(1000);
  EXPECT_EQ(script.next_due(), 1100u);
  EXPECT_TRUE(script.take_due(1099).empty());
  EXPECT_EQ(script.take_due(1100), (Lines{"cor 5", "ptt 1"}));
  EXPECT_EQ(script.next_due(), 1350u);
  EXPECT_EQ(script.take_due(5000), (Lines{"restart"}));
  EXPECT_FALSE(script.next_due());
  EXPECT_FALSE(script.load("cor 5\n", error));
  EXPECT_NE(error.find("line 1"), std::string::npos);
  EXPECT_FALSE(script.load("10\n", error));
}

class ControlTest : public GatewayTest {
 protected:
  ControlOutcome run(const std::string& command) { return run_control(command, gateway_, faults_); }
};

// Every event the gateway raises by itself has a control command, and each event changes the
// state the gateway then reports.
TEST_F(ControlTest, EveryEventHasItsCommand) {
  converse({
      // Activity is reported only while its reporting is on; turning it on reports what is on.
      {"sim cor 38001", {}},
      {"COR_LED ON", {"%COR_LED ON E0", "%COR_LED 0003 8001 E0"}},
      {"PTT_LED ON", {"%PTT_LED ON E0"}},
      {"sim cor 0x5", {"%COR_LED 0000 0005 E0"}},
      {"sim ptt 20001", {"%PTT_LED 0002 0001 E0"}},
      {"sim connect 3 6 0", {"%CONNECT 03 06 E0", "error: port 0 refused with status 16"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S 03 06 E0"}},
      {"CONF 00 ON", {"%CONF 00 ON E0"}},
      {"CONF 03 ON", {"%CONF 03 ON E0"}},
      {"sim connect 3 6 0", {"%CONNECT 03 06 00 E0"}},
      {"sim disc 6", {"%DISC 06 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S 00 03 E0"}},
      {"sim disc all", {"%DISC ALL E0"}},
      {"sim pin 4 0 1234 17", {"%PIN_ACTIVITY 04 00 1234 E17"}},
      {"sim remove 5", {"%BOOT 05 E14"}},
      {"sim insert 5 4", {"%BOOT 05 E15"}},
      {"sim hook 9 off", {"%ON_HOOK 09 OFF E0"}},
      {"sim busy", {"%BUSY"}},
      {"sim send %VER 1.0 E0", {"%VER 1.0 E0"}},
      {"sim system", {"ok %SYSTEM 0001 0102 0203 0304 0405 0504 0604 0703 0905 1002 E0"}},
      {"sim ask RING_CADENCE ALL ?", {"ok %RING_CADENCE 04 US E0 | %RING_CADENCE 09 US E0"}},
  });
  for (const char* bad :
       {"cor", "cor xyz", "connect 3", "connect 3 99", "disc 8", "pin 1 2", "remove 8",
        "insert 0 1", "insert 8 7", "hook 0 on", "warp 9", "connect 0 8", "relay 1"}) {
    const ControlOutcome outcome = run(bad);
    EXPECT_EQ(outcome.response.rfind("error: ", 0), 0u) << bad << ": " << outcome.response;
    EXPECT_TRUE(outcome.lines.empty()) << bad;
  }
}

TEST_F(ControlTest, DemoActivityIsMadeOfValidCommandsEveryFewSeconds) {
  tell({"COR_LED ON", "PTT_LED ON", "RING_LED ON"});
  DemoMode demo(42, 0);
  EXPECT_TRUE(demo.take_due(1999, gateway_.model()).empty());
  std::uint64_t now = 0;
  int events = 0;
  for (int i = 0; i < 200; ++i) {
    now = demo.next_due();
    for (const std::string& command : demo.take_due(now, gateway_.model())) {
      const ControlOutcome outcome = run(command);
      EXPECT_EQ(outcome.response, "ok") << command;
      for (const std::string& line : outcome.lines) EXPECT_TRUE(parses_as_reply(line)) << line;
      events += static_cast<int>(outcome.lines.size());
    }
    EXPECT_GE(demo.next_due(), now + 2000);
    EXPECT_LE(demo.next_due(), now + 5000);
  }
  EXPECT_GT(events, 100);
}

}  // namespace
}  // namespace mav::sim::test
