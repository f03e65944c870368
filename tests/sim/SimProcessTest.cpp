#include <gtest/gtest.h>
#include <termios.h>

#include <filesystem>
#include <fstream>

#include "ReplyGrammar.h"
#include "SimProcess.h"
#include "support/ScratchDirectory.h"

namespace mav::sim::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

using mav::test::ScratchDirectory;

// Reads lines up to and including the first that equals `last`.
Lines read_until(LineChannel& channel, const std::string& last) {
  Lines lines;
  while (std::optional<std::string> line = channel.read_line()) {
    lines.push_back(*line);
    if (*line == last) break;
  }
  return lines;
}

class NetworkSim : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--transcript",
                            (dir_ / "transcript.txt").string()}));
    sim_.close_stdin();  // started in the background: it must keep serving
    link_ = std::make_unique<LineChannel>(connect_loopback(sim_.tcp_port), '\r');
  }

  ScratchDirectory dir_;
  SimProcess sim_;
  std::unique_ptr<LineChannel> link_;
};

TEST_F(NetworkSim, AnswersTheControllersSynchronisationInTheReplyGrammar) {
  link_->send(
      " \r\r\rUSER_PGM OFF\rSYSTEM\rON_HOOK ALL ?\rCONNECT_S ALL ?\rMON ALL ?\r"
      "SECURITY_MODE ?\rPIN ?\rRING_LED ON\rCONF ALL ON\rCOR_LED ON\rPTT_LED OFF\r");
  const Lines lines = read_until(*link_, "%PTT_LED OFF E0");
  ASSERT_GT(lines.size(), 14u);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 4),
            (Lines{"% E0", "% E0", "% E0", "%USER_PGM OFF E0"}));
  EXPECT_TRUE(lines[4].starts_with("%SYSTEM 0001 0101 ")) << lines[4];
  for (const std::string& line : lines) EXPECT_TRUE(parses_as_reply(line)) << line;
  EXPECT_EQ(lines.back(), "%PTT_LED OFF E0");
}

TEST_F(NetworkSim, ControlCommandsRaiseEventsOnTheGatewayLink) {
  EXPECT_EQ(sim_.control("connect 3 6"), "ok");
  EXPECT_EQ(link_->read_line(), "%CONNECT 03 06 E0");
  EXPECT_EQ(sim_.control("remove 3"), "ok");
  EXPECT_EQ(link_->read_line(), "%BOOT 03 E14");
  link_->send("SYSTEM\r");
  const std::optional<std::string> system = link_->read_line();
  ASSERT_TRUE(system);
  EXPECT_EQ(system->find(" 0304 "), std::string::npos) << *system;
  EXPECT_EQ(sim_.control("insert 3 4"), "ok");
  EXPECT_EQ(link_->read_line(), "%BOOT 03 E15");
  EXPECT_EQ(sim_.control("pin 1 2 4444"), "ok");
  EXPECT_EQ(link_->read_line(), "%PIN_ACTIVITY 01 02 4444 E17");
  EXPECT_EQ(sim_.control("restart"), "ok");
  EXPECT_EQ(link_->read_line(), "%BOOT 00 E0");
  EXPECT_EQ(sim_.control("busy"), "ok");
  EXPECT_EQ(link_->read_line(), "%BUSY");
  EXPECT_EQ(sim_.control("disc all"), "ok");
  EXPECT_EQ(link_->read_line(), "%DISC ALL E0");
  EXPECT_EQ(sim_.control("bogus"), "error: unknown command (try help)");
}

TEST_F(NetworkSim, SilenceBusyAndSlownessAreFaultsOnRequest) {
  EXPECT_EQ(sim_.control("silent on"), "ok");
  link_->send("SYSTEM\r");
  EXPECT_EQ(sim_.control("silent off"), "ok");
  EXPECT_EQ(sim_.control("busy 1"), "ok");
  link_->send("VPMTS ?\rVPMTS ?\r");
  EXPECT_EQ(link_->read_line(), "%BUSY");
  EXPECT_EQ(link_->read_line(), "%VPMTS ON E0");

  EXPECT_EQ(sim_.control("slow 300"), "ok");
  const auto sent = std::chrono::steady_clock::now();
  link_->send("MOD_TYPE 00\r");
  EXPECT_EQ(link_->read_line(), "%MOD_TYPE 00 1 E0");
  EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(300));
}

TEST_F(NetworkSim, GarbageOverLongLinesAndFloodsOnRequest) {
  EXPECT_EQ(sim_.control("longline 5000"), "ok");
  const std::optional<std::string> line = link_->read_line();
  ASSERT_TRUE(line);
  EXPECT_EQ(line->size(), 5000u);
  EXPECT_EQ(sim_.control("flood 2000"), "ok");
  int count = 0;
  while (std::optional<std::string> flood = link_->read_line()) {
    ++count;
    EXPECT_TRUE(parses_as_reply(*flood)) << *flood;
    if (*flood == "%COR_LED 0000 0000 E0") break;
  }
  EXPECT_EQ(count, 2000);
  EXPECT_TRUE(sim_.control("flood 2000000").starts_with("error"));  // beyond what it will make
  EXPECT_EQ(sim_.control("garbage 300"), "ok");
  link_->send("\r");  // the prompt marks the end of the garbage
  std::string received;
  while (std::optional<std::string> bytes = link_->read_line()) {
    received += *bytes + "\r";
    if (bytes->ends_with("% E0")) break;
  }
  EXPECT_EQ(received.size(), 300u + 5u);
}

TEST_F(NetworkSim, GarbageFromThePeerNeverStopsIt) {
  std::string junk;
  for (int i = 0; i < 20000; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
  link_->send(junk + std::string(1000, 'A') + "\r\rSYSTEM\r");
  while (std::optional<std::string> line = link_->read_line()) {
    EXPECT_TRUE(parses_as_reply(*line)) << *line;
    if (line->rfind("%SYSTEM", 0) == 0) break;
  }
  EXPECT_TRUE(sim_.running());
}

TEST_F(NetworkSim, ANewClientReplacesTheOldAndCloseDropsIt) {
  LineChannel second(connect_loopback(sim_.tcp_port), '\r');
  EXPECT_TRUE(link_->closed_by_peer());
  second.send("MOD_TYPE 01\r");
  EXPECT_EQ(second.read_line(), "%MOD_TYPE 01 1 E0");
  EXPECT_EQ(sim_.control("close"), "ok");
  EXPECT_TRUE(second.closed_by_peer());
  LineChannel third(connect_loopback(sim_.tcp_port), '\r');
  third.send("\r");
  EXPECT_EQ(third.read_line(), "% E0");
}

TEST_F(NetworkSim, TheTranscriptHasEveryLineWithMillisecondStamps) {
  link_->send("SYSTEM\r");
  ASSERT_TRUE(link_->read_line());
  EXPECT_EQ(sim_.terminate(), 0);
  std::ifstream file(dir_ / "transcript.txt");
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find(" tcp <- SYSTEM\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" tcp -> %SYSTEM 0001"), std::string::npos) << text;
  const std::size_t at = text.find(" tcp <- SYSTEM");
  ASSERT_GE(at, 12u);
  const std::string stamp = text.substr(at - 12, 12);  // HH:MM:SS.mmm
  EXPECT_EQ(stamp[2], ':');
  EXPECT_EQ(stamp[5], ':');
  EXPECT_EQ(stamp[8], '.');
}

TEST(SimProgram, ServesASessionOverItsPseudoTerminalAndRemovesTheLinkOnTermination) {
  ScratchDirectory dir;
  const std::string link = (dir / "ttyMAV").string();
  SimProcess sim;
  ASSERT_TRUE(sim.start({"--pty", link, "--preset", "half", "--control-port", "0", "--transcript",
                         (dir / "transcript.txt").string()}));
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link).string(), sim.pty_device);
  const int fd = open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  termios raw{};
  tcgetattr(fd, &raw);
  cfmakeraw(&raw);
  tcsetattr(fd, TCSANOW, &raw);
  LineChannel serial(fd, '\r');
  serial.send("SYSTEM\r");
  EXPECT_EQ(serial.read_line(),
            "%SYSTEM 0001 0101 0203 0304 0402 0601 0705 0803 0904 1101 1202 E0");
  serial.send("TX_LEVEL 00 4\r");
  EXPECT_EQ(serial.read_line(), "%TX_LEVEL 00 4 E0");
  EXPECT_EQ(sim.control("hook 2 off"), "ok");
  EXPECT_EQ(serial.read_line(), "%ON_HOOK 02 OFF E0");
  EXPECT_EQ(sim.terminate(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimProgram, AScriptFileRaisesItsEventsOnceAClientConnects) {
  ScratchDirectory dir;
  const fs::path script = dir / "events.txt";
  std::ofstream(script) << "# activity\n0 relay\n50 connect 4 0\n50 remove 7\n0 busy\n";
  SimProcess sim;
  ASSERT_TRUE(sim.start({"--tcp", "127.0.0.1:0", "--script", script.string(), "--transcript",
                         (dir / "transcript.txt").string()}));
  LineChannel link(connect_loopback(sim.tcp_port), '\r');
  const std::optional<std::string> relay = link.read_line();
  ASSERT_TRUE(relay);
  EXPECT_EQ(*relay, "%RELAY " + std::string(64, '0'));
  EXPECT_EQ(link.read_line(), "%CONNECT 04 00 E0");
  EXPECT_EQ(link.read_line(), "%BOOT 07 E14");
  EXPECT_EQ(link.read_line(), "%BUSY");
}

TEST(SimProgram, TakesControlCommandsOnStdinAndRefusesBadOptions) {
  ScratchDirectory dir;
  SimProcess sim;
  ASSERT_TRUE(
      sim.start({"--tcp", "127.0.0.1:0", "--transcript", (dir / "transcript.txt").string()}));
  sim.write_stdin("cor 5\nring zz\n");
  EXPECT_EQ(sim.stdout_lines().read_line(), "ok");
  EXPECT_EQ(sim.stdout_lines().read_line(), "error: usage: cor|ptt|ring HEXMASK");
  sim.write_stdin("quit\n");
  EXPECT_TRUE(sim.stdout_lines().closed_by_peer());

  SimProcess bad;
  EXPECT_FALSE(bad.start({"--tcp", "nowhere"}));
}

}  // namespace
}  // namespace mav::sim::test
