// The gateway stand-in as the controller meets it: in process, every dialogue is answered line
// for line and every answer must pass the controller's own reply parser; as a program, its
// transports, control port, faults, script, standard input and transcript.
#include <gtest/gtest.h>
#include <termios.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ControlCommands.h"
#include "Gateway.h"
#include "Lineup.h"
#include "SimProcess.h"
#include "link/LineReader.h"
#include "link/ReceivedLineRing.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav::sim::test {
namespace {

namespace fs = std::filesystem;
using mav::test::ScratchDirectory;
const std::string z48(48, '0');

// A reply the stand-in invents that the controller cannot read fails.
bool parses_as_reply(std::string_view line) {
  ReceivedLineRing ring;
  LineReader reader(ring);
  ring.push(line);
  reader.read_step();
  return reader.reply().pending && !reader.reply().parse_error;
}

// One line to the gateway and every line it answers. A line that begins with "sim " is a control
// command: the lines it sends to the peers, then its response unless that is a plain "ok".
struct Exchange {
  std::string in;
  Lines out;
};

class GatewayTest : public ::testing::Test {
 protected:
  // Ports 0 TOV-5, 1 MEK-4, 2 LINE-7, 3 VOQ-3, 4 HK-6, 5 TOV-5, 6 VOQ-3, 7 LINE-7, 8 empty,
  // 9 HK-6, 10 MEK-4, the rest empty.
  explicit GatewayTest(int buses = 7, Lineup lineup = {1, 2, 3, 4, 5, 1, 4, 3, 0, 5, 2})
      : gateway_(GatewayModel(lineup, buses)) {}

  Lines exchange(const std::string& line) {
    const bool control = line.starts_with("sim ");
    ControlOutcome outcome;
    if (control) {
      outcome = run_control(std::string_view(line).substr(4), gateway_, faults_);
    } else {
      outcome.lines = gateway_.handle_line(line);
    }
    for (const std::string& reply : outcome.lines) EXPECT_TRUE(parses_as_reply(reply)) << reply;
    if (control && outcome.response != "ok") outcome.lines.push_back(outcome.response);
    return outcome.lines;
  }
  void tell(std::initializer_list<const char*> lines) {
    for (const char* line : lines) exchange(line);
  }
  void converse(std::initializer_list<Exchange> dialogue) {
    for (const Exchange& step : dialogue) EXPECT_EQ(exchange(step.in), step.out) << step.in;
  }

  Gateway gateway_;
  FaultState faults_;
};

TEST_F(GatewayTest, ConnectionsBusesDischGroupsAndMonitors) {
  converse({
      // Refusals: no module, the same port twice, no such port, a conference without CONF.
      {"CONNECT_S 00 08", {"%CONNECT_S 00 08 E4"}},
      {"CONNECT_S 03 03", {"% E2"}},
      {"CONNECT_S 00 26", {"% E2"}},
      {"DISC_S 08", {"%DISC_S 08 E4"}},
      {"CONNECT_S 00 02", {"%CONNECT_S 00 02 E0"}},
      {"CONF 03 ON", {"%CONF 03 ON E0"}},
      {"CONNECT_S 03 00", {"%CONNECT_S 03 00 E16"}},
      {"CONF 00 ON", {"%CONF 00 ON E0"}},
      {"CONNECT_S 03 00", {"%CONNECT_S 03 00 E0"}},
  });
  tell({"CONF ALL ON"});
  converse({
      {"CONNECT_S 05 06", {"%CONNECT_S 05 06 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S 00 02 03 E0", "%CONNECT_S 05 06 E0"}},
      // Per port ((net + 1) * 4 + link + 1) * 8 + group + 1, nets counting occupied buses from 1.
      {"sim relay ?", {"ok %RELAY 4000404000606000" + z48}},
      // CONNECT moves the partners onto the first port's bus; CONNECT_S links two buses.
      {"CONNECT 05 02", {"%CONNECT 05 02 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S 00 03 E0", "%CONNECT_S 02 05 06 E0"}},
      {"CONNECT_S 00 05", {"%CONNECT_S 00 05 E0"}},
      {"sim relay ?", {"ok %RELAY 4800684800686800" + z48}},
      // A port left alone on a linked bus stays; the list ends with the image while a link exists.
      {"DISC 03", {"%DISC 03 E0"}},
      {"CONNECT_S ALL ?",
       {"%CONNECT_S 00 E0", "%CONNECT_S 02 05 06 E0", "%RELAY 4800680000686800" + z48}},
      {"DISC ALL", {"%DISC ALL E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S ALL E4"}},
      // DISCH holds a port; two held ports joined make a group; a group left with one member is
      // dissolved and that member reported.
      {"CONNECT_S 00 01", {"%CONNECT_S 00 01 E0"}},
      {"CONNECT_S 03 05", {"%CONNECT_S 03 05 E0"}},
      {"DISCH 00", {"%DISCH 00 E0"}},
      {"DISCH 03", {"%DISCH 03 E0"}},
      {"CONNECT_S 03 00", {"%CONNECT_S 03 00 E0"}},
      {"CONNECT_S 02 00", {"%CONNECT_S 02 00 E0"}},
      {"sim relay ?", {"ok %RELAY 414001610060" + z48 + "0000"}},
      {"DISCH 03", {"%DISCH 03 E0"}},
      {"DISC_S 02", {"%DISC_S 02 E0", "%DISCH 00 E0"}},
      {"sim relay ?", {"ok %RELAY 404000600060" + z48 + "0000"}},
      {"DISCH 00", {"%DISCH 00 E0"}},
      {"DISCH 03", {"%DISCH 03 E0"}},
      {"CONNECT_S 00 03", {"%CONNECT_S 00 03 E0"}},
      {"sim disc 03", {"%DISC 03 E0", "%DISCH 00 E0"}},
      {"RELAY 0102" + z48 + "000000000000", {"% E0"}},  // the controller's report changes nothing
      {"DISCH ALL", {"%DISCH ALL E0"}},
      // A bus keeps its net while it carries ports; a new one takes the lowest free net.
  });
  tell({"CONNECT_S 00 01", "CONNECT_S 02 03", "CONNECT_S 04 05", "DISC_S 00"});
  converse({
      {"sim relay ?", {"ok %RELAY 000060608080" + z48 + "0000"}},
      {"CONNECT_S 06 07", {"%CONNECT_S 06 07 E0"}},
      {"sim relay ?", {"ok %RELAY 0000606080804040" + z48}},
      // Monitors: refused relations are answered as they stand.
      {"MON 04 07 ON", {"%MON 04 07 ON E0"}},
      {"MON 04 03 ON", {"%MON 04 03 ON E0"}},
      {"MON 09 00 ON", {"%MON 09 00 ON E0"}},
      {"MON ALL ?", {"%MON 04 07 03 ON E0", "%MON 09 00 ON E0"}},
      {"MON 04 07 OFF", {"%MON 04 07 OFF E0"}},
      {"MON 04 08 ON", {"%MON 04 08 OFF E4"}},
      {"MON 04 07 MAYBE", {"% E2"}},
  });
}

class ThreeBusGateway : public GatewayTest {
 protected:
  ThreeBusGateway() : GatewayTest(3) {}
};

TEST_F(ThreeBusGateway, EachPairTakesAFreeBusUntilNoneIsLeft) {
  tell({"CONNECT_S 00 01", "CONNECT_S 02 03", "CONNECT 04 05"});
  converse({{"FREE_BUS ?", {"%FREE_BUS 0 E0"}},
            {"CONNECT_S 06 07", {"%CONNECT_S 06 07 E8"}},
            {"CONNECT 06 07", {"%CONNECT 06 07 E8"}},
            {"DISC_S 02", {"%DISC_S 02 E0"}},
            {"CONNECT_S 06 07", {"%CONNECT_S 06 07 E0"}}});
}

// A refused value comes back with status 3: for the settings the controller stores whatever the
// status, with the value kept; for the others, with the value asked for.
TEST_F(GatewayTest, SettingsAreStoredEchoedAndRefused) {
  converse({
      {"ON_HOOK ALL ?",
       {"%ON_HOOK 02 ON E0", "%ON_HOOK 04 ON E0", "%ON_HOOK 07 ON E0", "%ON_HOOK 09 ON E0"}},
      {"TX_LEVEL 05 3", {"%TX_LEVEL 05 3 E0"}},
      {"TX_LEVEL 05 ?", {"%TX_LEVEL 05 3 E0"}},
      {"CALLING_TIME 09 CONT", {"%CALLING_TIME 09 CONT E0"}},
      {"LINE_TYPE 02 SATCOM", {"%LINE_TYPE 02 SATCOM E0"}},
      {"RX_SQUELCH ALL OFF", {"%RX_SQUELCH 03 OFF E0", "%RX_SQUELCH 06 OFF E0"}},
      {"EQ 03 8", {"%EQ 03 4 E3"}},
      {"LINE_TYPE 02 PULSE", {"%LINE_TYPE 02 SATCOM E3"}},
      {"TX_LEVEL 00 12", {"%TX_LEVEL 00 12 E3"}},
      {"USER_CONTROL 00 MAYBE", {"%USER_CONTROL 00 ON E3"}},
      {"TX_LEVEL 00 x7", {"%TX_LEVEL 00 6 E3"}},
      {"EQ 00 4", {"% E4"}},
      {"TX_LEVEL 26 ?", {"% E2"}},
      {"TX_LEVEL 05 3 4", {"% E2"}},
  });
}

// With one handset, the queries for ALL that find no port answer in a form the controller takes
// without changing anything. "ALL" reads as port 00 there, so a setting it stores whatever the
// status gets the bare status instead.
class HandsetGateway : public GatewayTest {
 protected:
  HandsetGateway() : GatewayTest(7, Lineup{2}) {}
};

TEST_F(HandsetGateway, QueriesForAllThatFindNothingAnswerInTheirOwnForm) {
  converse({{"MON ALL ?", {"%MON ALL OFF E4"}},
            {"ON_HOOK ALL ?", {"%ON_HOOK ALL OFF E4"}},
            {"TX_LEVEL ALL ?", {"%TX_LEVEL ALL 6 E4"}},
            {"SQUELCH_TYPE ALL ?", {"%SQUELCH_TYPE ALL VOX E4"}},
            {"USER_CONTROL ALL OFF", {"%USER_CONTROL ALL ON E4"}},
            {"EQ ALL ?", {"% E4"}}});
}

TEST_F(GatewayTest, SystemSwitchesPinsCallsAndRestart) {
  tell({"SECURITY_LEVEL 03 2", "SECURITY_LEVEL 05 5"});
  converse({
      {"", {"% E0"}},
      {"HELLO", {"% E1"}},
      {"tx_level 05 ?", {"% E1"}},
      {"SYSTEM 4", {"% E2"}},
      {"logout", {}},
      {"SYSTEM", {"%SYSTEM 0001 0102 0203 0304 0405 0501 0604 0703 0905 1002 E0"}},
      {"MOD_TYPE 03", {"%MOD_TYPE 03 4 E0"}},
      {"VPMTS OFF", {"%VPMTS OFF E0"}},
      {"SECURITY_MODE LOOSE", {"%SECURITY_MODE OFF E3"}},
      // PINs: four digits echoed so "0030" is not read as the value word "30".
      {"PIN ?", {"%PIN E4"}},
      {"PIN 1111 2", {"%PIN 1111 2 E0"}},
      {"PIN 2222 5", {"%PIN 2222 5 E0"}},
      {"PIN 10000 1", {"%PIN 10000 1 E3"}},
      {"DEL_PIN 30", {"%DEL_PIN 0030 E4"}},
      {"PIN ?", {"%PIN 1111 2 E0", "%PIN 2222 5 E0"}},
      // PIN use: OFF admits every known PIN, PRIORITY a level or higher on both ports,
      // EXCLUSIVE only the very level.
      {"sim pin 00 05 1111", {"%PIN_ACTIVITY 00 05 1111 E0"}},
      {"sim pin 00 05 4444", {"%PIN_ACTIVITY 00 05 4444 E17"}},
      {"SECURITY_MODE PRIORITY", {"%SECURITY_MODE PRIORITY E0"}},
      {"sim pin 00 05 1111", {"%PIN_ACTIVITY 00 05 1111 E18"}},
      {"sim pin 05 00 1111", {"%PIN_ACTIVITY 05 00 1111 E18"}},
      {"sim pin 00 03 2222", {"%PIN_ACTIVITY 00 03 2222 E0"}},
      {"SECURITY_MODE EXCLUSIVE", {"%SECURITY_MODE EXCLUSIVE E0"}},
      {"sim pin 00 03 2222", {"%PIN_ACTIVITY 00 03 2222 E18"}},
      {"sim pin 00 03 1111", {"%PIN_ACTIVITY 00 03 1111 E0"}},
      // Calls: "!" seizes the line, blanks dial nothing; an automatic answer takes a ringing
      // line off hook.
      {"DIAL 02 02 555 1234 1", {"%DIAL 02 025551234 E0"}},
      {"ON_HOOK 02 ?", {"%ON_HOOK 02 OFF E0"}},
      {"ON_HOOK 02", {"%ON_HOOK 02 ON E0"}},
      {"DIAL 07 ! 2", {"%DIAL 07 ! E0"}},
      {"DIAL 04 5551234 1", {"% E4"}},
      {"RING_LED ON", {"%RING_LED ON E0"}},
      {"AUTO_ANS 07 OFF", {"%AUTO_ANS 07 OFF E0"}},
      {"sim ring 84", {"%RING_LED 0000 0084 E0", "%ON_HOOK 02 OFF E0"}},
      // A restart ends what is live, ringing included, and keeps what is set up.
      {"CONNECT_S 00 01", {"%CONNECT_S 00 01 E0"}},
      {"MON 04 03 ON", {"%MON 04 03 ON E0"}},
      {"sim restart", {"%BOOT 00 E0", "%RING_LED 0000 0000 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S ALL E4"}},
      {"MON ALL ?", {"%MON ALL OFF E4"}},
      {"ON_HOOK 02 ?", {"%ON_HOOK 02 ON E0"}},
      {"VPMTS ?", {"%VPMTS OFF E0"}},
      {"SECURITY_MODE ?", {"%SECURITY_MODE EXCLUSIVE E0"}},
      {"PIN ?", {"%PIN 1111 2 E0", "%PIN 2222 5 E0"}},
  });
  for (int pin = 1002; pin < 1020; ++pin) exchange("PIN " + std::to_string(pin) + " 1");
  EXPECT_EQ(exchange("PIN 2000 1"), Lines{"%PIN 2000 1 E5"});  // twenty users at most
}

// Every event the gateway raises by itself has a control command that changes what it reports.
TEST_F(GatewayTest, ControlCommandsRaiseEvents) {
  tell({"CONF ALL ON", "MON 04 03 ON"});
  converse({
      {"sim cor 38001", {}},
      {"COR_LED ON", {"%COR_LED ON E0", "%COR_LED 0003 8001 E0"}},
      {"PTT_LED ON", {"%PTT_LED ON E0"}},
      {"sim ptt 20001", {"%PTT_LED 0002 0001 E0"}},
      {"sim connect 3 6 0", {"%CONNECT 03 06 00 E0"}},
      {"sim disc 6", {"%DISC 06 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S 00 03 E0"}},
      {"sim pin 4 0 1234 17", {"%PIN_ACTIVITY 04 00 1234 E17"}},
      {"sim remove 3", {"%BOOT 03 E14"}},
      {"SYSTEM", {"%SYSTEM 0001 0102 0203 0405 0501 0604 0703 0905 1002 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S ALL E4"}},
      {"MON ALL ?", {"%MON ALL OFF E4"}},
      {"sim insert 8 2", {"%BOOT 08 E15"}},
      {"MOD_TYPE 08", {"%MOD_TYPE 08 2 E0"}},
      {"sim hook 9 off", {"%ON_HOOK 09 OFF E0"}},
      {"sim busy", {"%BUSY"}},
      {"sim send %VER 1.0 E0", {"%VER 1.0 E0"}},
      {"sim ask RING_CADENCE ALL ?", {"ok %RING_CADENCE 04 US E0 | %RING_CADENCE 09 US E0"}},
  });
  for (const char* bad : {"cor xyz", "connect 3", "connect 3 99", "disc 11", "pin 1 2", "remove 12",
                          "insert 0 1", "insert 7 7", "hook 0 on", "warp 9"}) {
    const ControlOutcome outcome = run_control(bad, gateway_, faults_);
    EXPECT_TRUE(outcome.response.starts_with("error: ") && outcome.lines.empty()) << bad;
  }
}

class NetworkSim : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(started_);
    sim_.close_stdin();  // started in the background: it must keep serving
  }

  ScratchDirectory dir_;
  SimProcess sim_;
  bool started_ = sim_.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--transcript",
                              (dir_ / "transcript.txt").string()});
  LineChannel link_{connect_loopback(sim_.tcp_port), '\r'};
};

TEST_F(NetworkSim, ControlCommandsRaiseEventsAndTheTranscriptKeepsEveryLine) {
  EXPECT_EQ(sim_.control("connect 3 6"), "ok");
  EXPECT_EQ(link_.read_line(), "%CONNECT 03 06 E0");
  EXPECT_EQ(sim_.control("bogus"), "error: unknown command (try help)");
  link_.send("SYSTEM\r");
  ASSERT_TRUE(link_.read_line());
  EXPECT_EQ(sim_.terminate(), 0);
  const std::string text = mav::test::file_text(dir_ / "transcript.txt");
  const std::size_t at = text.find(" tcp <- SYSTEM\n");
  ASSERT_GE(at, 12u) << text;
  EXPECT_EQ(text.substr(at - 12, 12).find_first_not_of("0123456789:."), std::string::npos);
  EXPECT_NE(text.find(" tcp -> %SYSTEM 0001"), std::string::npos) << text;
}

// Each fault shows by what the peer receives, never by how long it took.
TEST_F(NetworkSim, FaultsOnRequest) {
  EXPECT_EQ(sim_.control("silent on"), "ok");
  link_.send("SYSTEM\r");
  EXPECT_EQ(sim_.control("silent off"), "ok");
  EXPECT_EQ(sim_.control("busy 1"), "ok");
  link_.send("logout\rVPMTS ?\rVPMTS ?\r");  // the sign-off is never answered, not even busy
  EXPECT_EQ(link_.read_line(), "%BUSY");     // and the SYSTEM never was
  EXPECT_EQ(link_.read_line(), "%VPMTS ON E0");

  EXPECT_EQ(sim_.control("longline 5000"), "ok");
  EXPECT_EQ(link_.read_line().value_or("").size(), 5000u);
  EXPECT_EQ(sim_.control("flood 3"), "ok");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(parses_as_reply(link_.read_line().value_or("")));
  EXPECT_TRUE(sim_.control("flood 2000000").starts_with("error"));

  // Slowed a minute, the answer is not there a second later.
  EXPECT_EQ(sim_.control("slow 60000"), "ok");
  link_.send("MOD_TYPE 00\r");
  EXPECT_EQ(link_.read_line(std::chrono::seconds(1)), std::nullopt);
}

TEST_F(NetworkSim, ANewClientReplacesTheOld) {
  LineChannel second(connect_loopback(sim_.tcp_port), '\r');
  EXPECT_TRUE(link_.closed_by_peer());
  second.send("MOD_TYPE 01\r");
  EXPECT_EQ(second.read_line(), "%MOD_TYPE 01 1 E0");
  EXPECT_EQ(sim_.control("close"), "ok");
  EXPECT_TRUE(second.closed_by_peer());
}

TEST(SimProgram, PseudoTerminalScriptAndStandardInput) {
  ScratchDirectory dir;
  const std::string link = (dir / "ttyMAV").string();
  std::ofstream(dir / "events.txt") << "# activity\n0 relay\n50 connect 4 0\n";
  SimProcess sim;
  ASSERT_TRUE(sim.start({"--pty", link, "--preset", "half", "--script",
                         (dir / "events.txt").string(), "--transcript", "/dev/null"}));
  EXPECT_EQ(fs::read_symlink(link).string(), sim.pty_device);
  const int fd = open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  termios raw{};
  tcgetattr(fd, &raw);
  cfmakeraw(&raw);
  tcsetattr(fd, TCSANOW, &raw);
  LineChannel serial(fd, '\r');
  EXPECT_EQ(serial.read_line(), "%RELAY " + std::string(64, '0'));
  EXPECT_EQ(serial.read_line(), "%CONNECT 04 00 E0");
  serial.send("SYSTEM\r");
  EXPECT_EQ(serial.read_line(),
            "%SYSTEM 0001 0101 0203 0304 0402 0601 0705 0803 0904 1101 1202 E0");
  sim.write_stdin("hook 2 off\nring zz\n");
  EXPECT_EQ(sim.stdout_lines().read_line(), "ok");
  EXPECT_EQ(serial.read_line(), "%ON_HOOK 02 OFF E0");
  EXPECT_EQ(sim.stdout_lines().read_line(), "error: usage: cor|ptt|ring HEXMASK");
  sim.write_stdin("quit\n");
  EXPECT_TRUE(sim.stdout_lines().closed_by_peer());
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  EXPECT_FALSE(SimProcess().start({"--tcp", "nowhere"}));
}

}  // namespace
}  // namespace mav::sim::test
