// The simulator program itself: its transports, control port, faults on request, script,
// standard input and transcript.
#include <gtest/gtest.h>
#include <termios.h>

#include <filesystem>
#include <fstream>

#include "ReplyGrammar.h"
#include "SimProcess.h"
#include "support/FileText.h"
#include "support/ScratchDirectory.h"

namespace mav::sim::test {
namespace {

namespace fs = std::filesystem;
using mav::test::ScratchDirectory;

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

TEST_F(NetworkSim, ControlCommandsRaiseEventsAndTheTranscriptKeepsEveryLine) {
  EXPECT_EQ(sim_.control("connect 3 6"), "ok");  // each event itself is checked in process
  EXPECT_EQ(link_->read_line(), "%CONNECT 03 06 E0");
  EXPECT_EQ(sim_.control("bogus"), "error: unknown command (try help)");
  link_->send("SYSTEM\r");
  ASSERT_TRUE(link_->read_line());
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
  link_->send("SYSTEM\r");
  EXPECT_EQ(sim_.control("silent off"), "ok");
  EXPECT_EQ(sim_.control("busy 1"), "ok");
  link_->send("VPMTS ?\rVPMTS ?\r");
  EXPECT_EQ(link_->read_line(), "%BUSY");  // the SYSTEM was never answered
  EXPECT_EQ(link_->read_line(), "%VPMTS ON E0");

  EXPECT_EQ(sim_.control("longline 5000"), "ok");
  EXPECT_EQ(link_->read_line().value_or("").size(), 5000u);
  EXPECT_EQ(sim_.control("flood 3"), "ok");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(parses_as_reply(link_->read_line().value_or("")));
  EXPECT_TRUE(sim_.control("flood 2000000").starts_with("error"));

  // Slowed a minute, the answer is not there a second later.
  EXPECT_EQ(sim_.control("slow 60000"), "ok");
  link_->send("MOD_TYPE 00\r");
  EXPECT_EQ(link_->read_line(std::chrono::seconds(1)), std::nullopt);
}

TEST_F(NetworkSim, ANewClientReplacesTheOld) {
  LineChannel second(connect_loopback(sim_.tcp_port), '\r');
  EXPECT_TRUE(link_->closed_by_peer());
  second.send("MOD_TYPE 01\r");
  EXPECT_EQ(second.read_line(), "%MOD_TYPE 01 1 E0");
  EXPECT_EQ(sim_.control("close"), "ok");
  EXPECT_TRUE(second.closed_by_peer());
}

TEST(SimProgram, PseudoTerminalScriptAndStandardInput) {
  ScratchDirectory dir;
  const std::string link = (dir / "ttyMAV").string();
  const fs::path script = dir / "events.txt";
  std::ofstream(script) << "# activity\n0 relay\n50 connect 4 0\n";
  SimProcess sim;
  ASSERT_TRUE(sim.start({"--pty", link, "--preset", "half", "--script", script.string(),
                         "--transcript", (dir / "transcript.txt").string()}));
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

  SimProcess bad;
  EXPECT_FALSE(bad.start({"--tcp", "nowhere"}));
}

}  // namespace
}  // namespace mav::sim::test
