// mav-gatewayd against the simulator, driven by mavctl as a script would drive it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <map>
#include <regex>

#include "sim/SimProcess.h"
#include "support/CommandOutput.h"
#include "support/ControllerProcess.h"
#include "support/Eventually.h"
#include "support/FileText.h"
#include "support/GatewaydArguments.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

using namespace std::chrono_literals;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

class Gatewayd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "watch");
    ASSERT_TRUE(start_simulator("0"));
  }
  bool start_simulator(const std::string& port) {
    return sim_.start({"--tcp", "127.0.0.1:" + port, "--lineup", "1111000101", "--transcript",
                       (dir_ / ("wire" + port + ".txt")).string()});
  }
  Outcome mavctl(const std::string& arguments) const {
    const std::string socket =
        arguments.starts_with("--socket") ? "" : " --socket " + socket_.string();
    const CommandOutput run = run_command(std::string(MAVCTL_PATH) + socket + " " + arguments +
                                          " 2>" + (dir_ / "err.txt").string());
    return {run.status, run.out, file_text(dir_ / "err.txt")};
  }
  bool synchronised() const {
    return eventually(
        [] { std::this_thread::sleep_for(100ms); },
        [&] { return mavctl("status").out.find(", synchronised;") != std::string::npos; }, 60s);
  }
  // The lines the gateway received past the transcript's first `offset` bytes.
  std::string wire_after(std::size_t offset) const {
    const std::string wire = file_text(dir_ / "wire0.txt");
    std::string lines;
    for (auto at = wire.find("tcp <- ", offset); at != std::string::npos;
         at = wire.find("tcp <- ", at + 1)) {
      lines += wire.substr(at + 7, wire.find('\n', at) - at - 7) + "|";
    }
    return lines;
  }

  ScratchDirectory dir_;
  std::filesystem::path socket_ = dir_ / "run" / "control.sock";
  sim::test::SimProcess sim_;
};

TEST_F(Gatewayd, ServesTheGatewayToScriptsWatchersAndTheAuditAcrossAGatewayLoss) {
  const std::string port = std::to_string(sim_.tcp_port);
  ControllerProcess service(GATEWAYD_PATH, dir_.path(),
                            gatewayd_arguments(dir_.path(), sim_.tcp_port, socket_), dir_.path());
  ASSERT_TRUE(synchronised());
  EXPECT_NE(mavctl("ports --json")
                .out.find(R"({"bus":null,"cor":false,"hook":null,"lock":null,"module":"TOV-5")"),
            std::string::npos);
  ControllerProcess watcher(MAVCTL_PATH, dir_.path(),
                            {"--socket", socket_.string(), "--name", "watcher", "watch"},
                            dir_ / "watch");
  std::this_thread::sleep_for(300ms);  // the watcher's identify reaches the service first

  const std::string before = file_text(dir_ / "wire0.txt");
  EXPECT_EQ(mavctl("--name dispatch-1 connect 3 7").status, 0);
  EXPECT_EQ(
      wire_after(before.size()),
      "CONNECT_S 03 07|RELAY 0000004000000040000000000000000000000000000000000000000000000000|");
  EXPECT_TRUE(eventually([&] {
    return file_text(dir_ / "watch" / "stdout.txt").find(" dispatch-1: {\"port\":") !=
           std::string::npos;
  }));
  const std::pair<std::string, Outcome> refusals[] = {
      {"connect 3 5", {1, "", "mavctl: no_module: Port 05 has no module\n"}},
      {"connect 3 3", {1, "", "mavctl: same_port: Port 03 cannot be connected to itself\n"}},
      {"disconnect 3", {0, "", ""}},
      {"disconnect 3", {1, "", "mavctl: not_connected: Port 03 is not connected\n"}},
      {"monitor 3 7 maybe", {2, "", ""}},
  };
  for (const auto& [arguments, expected] : refusals) {
    const Outcome outcome = mavctl(arguments);
    EXPECT_EQ(outcome.status, expected.status) << arguments;
    if (expected.status != 2) {
      EXPECT_EQ(outcome.err, expected.err) << arguments;
    }
  }

  // The gateway goes away and comes back on its address: every client hears of it and the
  // service synchronises again as the controller does.
  sim_.terminate();
  EXPECT_TRUE(eventually([&] {
    return file_text(dir_ / "watch" / "stdout.txt").find("gateway: {\"link\":\"c") !=
           std::string::npos;
  }));
  ASSERT_TRUE(start_simulator(port));
  ASSERT_TRUE(synchronised());
  EXPECT_EQ(mavctl("connect 0 1").status, 0);

  const std::regex op_and_result(R"re("op":"(\w+)".*"result":"(\w+)"\}\n)re");
  EXPECT_EQ(std::regex_replace(file_text(dir_ / "prog" / "Logs" / "audit.jsonl"), op_and_result,
                               "$1 $2|", std::regex_constants::format_no_copy),
            "connect applied|disconnect applied|connect applied|");
  EXPECT_EQ(mavctl("--socket /nonexistent.sock status").status, 3);
}

TEST_F(Gatewayd, RolesPortsAndLocksDecideWhoActsAndTheTokensStayPrivate) {
  ControllerProcess service(
      GATEWAYD_PATH, dir_.path(),
      gatewayd_arguments(dir_.path(), sim_.tcp_port, socket_, {"--lock-grace", "1"}), dir_.path());
  ASSERT_TRUE(synchronised());
  // The service's own user manages the tokens from this machine; each secret is shown once.
  std::map<std::string, std::string> token;
  for (const char* added : {"viewer-1 viewer", "desk-2 operator 0-7", "chief supervisor"}) {
    const Outcome outcome = mavctl(std::string("token add ") + added);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    token[std::string(added).substr(0, std::string(added).find(' '))] =
        outcome.out.substr(8, outcome.out.size() - 9);
  }
  EXPECT_EQ(std::filesystem::status(dir_ / "prog" / "Tokens.cfg").permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  const std::string before = file_text(dir_ / "wire0.txt");
  const std::pair<std::string, Outcome> steps[] = {
      {"--token " + token["viewer-1"] + " connect 3 7",
       {1, "", "mavctl: role: viewer-1 is a viewer: it may watch, not act\n"}},
      {"--token " + token["desk-2"] + " connect 3 9",
       {1, "", "mavctl: ports: desk-2 may not touch Port 09\n"}},
      {"--token " + token["desk-2"] + " connect 3 7", {0, "", ""}},
      {"--name A lock 3", {0, "", ""}},
      {"--name B disconnect 3", {1, "", "mavctl: locked: Port 03 is locked by A\n"}},
      {"--token " + token["chief"] + " unlock 3",
       {1, "", "mavctl: locked: Port 03 is locked by A\n"}},
      {"--token " + token["chief"] + " unlock 3 --force", {0, "", ""}},
      {"--name B disconnect 3", {0, "", ""}},
      {"--name A lock 7", {0, "", ""}},
      {"--name B connect 3 7", {1, "", "mavctl: locked: Port 07 is locked by A\n"}},
  };
  for (const auto& [arguments, expected] : steps) {
    const Outcome outcome = mavctl(arguments);
    EXPECT_EQ(outcome.status, expected.status) << arguments;
    EXPECT_EQ(outcome.err, expected.err) << arguments;
  }
  EXPECT_EQ(wire_after(before.size()).substr(0, 33), "CONNECT_S 03 07|RELAY 00000040000");
  // A's one-shot client has gone; its lock lasts the grace period, then B may act.
  EXPECT_TRUE(eventually([&] { return mavctl("--name B connect 3 7").status == 0; }));
  EXPECT_NE(
      file_text(dir_ / "prog" / "Logs" / "audit.jsonl")
          .find(
              R"("actor":"chief","origin":"unix","op":"unlock","arguments":{"port":3,"force":true})"),
      std::string::npos);

  // A wrong answer is refused, and after five a minute the address is not heard at all.
  for (int attempt = 0; attempt < 5; ++attempt) {
    EXPECT_EQ(mavctl("--token 0badc0de status").err,
              "mavctl: unauthorized: The token is not known\n");
  }
  EXPECT_EQ(mavctl("--token " + token["chief"] + " status").err,
            "mavctl: rate_limited: Too many failed identifications; wait a minute\n");
}

// Milliseconds since midnight of the first "HH:MM:SS.mmm" in text.
long time_of_day_ms(const std::string& text) {
  std::smatch m;
  if (!std::regex_search(text, m, std::regex(R"((\d\d):(\d\d):(\d\d)\.(\d\d\d))"))) return -1;
  return ((std::stol(m[1]) * 60 + std::stol(m[2])) * 60 + std::stol(m[3])) * 1000 + std::stol(m[4]);
}

TEST_F(Gatewayd, SalvosRecreateTheirNetsRefuseAroundLocksAndKeepTheirTime) {
  ControllerProcess service(GATEWAYD_PATH, dir_.path(),
                            gatewayd_arguments(dir_.path(), sim_.tcp_port, socket_), dir_.path());
  ASSERT_TRUE(synchronised());
  for (const char* arguments : {"connect 3 7", "connect 9 3", "salvo save Drill 3,7,9",
                                "disconnect-all", "--name A lock 7"}) {
    ASSERT_EQ(mavctl(arguments).status, 0) << arguments;
  }
  std::size_t marker = file_text(dir_ / "wire0.txt").size();
  EXPECT_EQ(mavctl("--name B salvo take Drill").err,
            "mavctl: salvo_refused: Port 07 is locked by A.\n");
  EXPECT_EQ(wire_after(marker), "");

  ASSERT_EQ(mavctl("--name A unlock 7").status, 0);
  // A rehearsal shows a private simulator's answers, its 3-port net needing conferencing on as
  // the gateway has it, and leaves the gateway alone.
  EXPECT_EQ(mavctl("salvo rehearse Drill").out,
            R"({"lines":["CONNECT_S 03 07"],"other":7,"port":3,"replies":["%CONNECT_S 03 07 E0"],)"
            R"("result":"applied","step":"connect"})"
            "\n"
            R"({"lines":["CONNECT_S 09 03"],"other":3,"port":9,"replies":["%CONNECT_S 09 03 E0"],)"
            R"("result":"applied","step":"join"})"
            "\n");
  EXPECT_EQ(wire_after(marker), "");
  EXPECT_EQ(
      mavctl("--name B salvo take Drill").out,
      R"({"lines":["CONNECT_S 03 07"],"other":7,"port":3,"result":"applied","step":"connect"})"
      "\n"
      R"({"lines":["CONNECT_S 09 03"],"other":3,"port":9,"result":"applied","step":"join"})"
      "\n");
  EXPECT_EQ(
      wire_after(marker),
      "CONNECT_S 03 07|RELAY 0000004000000040000000000000000000000000000000000000000000000000|"
      "CONNECT_S 09 03|RELAY 0000004000000040004000000000000000000000000000000000000000000000|");

  // A take two seconds ahead reaches the gateway at its time, as the scheduling client's.
  ASSERT_EQ(mavctl("disconnect-all").status, 0);
  marker = file_text(dir_ / "wire0.txt").size();
  const Outcome scheduled = mavctl("--name planner salvo take Drill --in 2s");
  EXPECT_NE(mavctl("salvo scheduled").out.find(R"("by":"planner","salvo":"Drill","take":1})"),
            std::string::npos);
  ASSERT_TRUE(
      eventually([] { std::this_thread::sleep_for(50ms); },
                 [&] { return wire_after(marker).find("CONNECT_S 09 03") != std::string::npos; }));
  const std::string wire = file_text(dir_ / "wire0.txt");
  constexpr long kDayMs = 24L * 3600 * 1000;  // a take may fall just past midnight
  const long late = (time_of_day_ms(wire.substr(wire.find("tcp <- CONNECT_S 03 07", marker) - 13)) -
                     time_of_day_ms(scheduled.out) + kDayMs) %
                    kDayMs;
  EXPECT_TRUE(late >= 0 && late <= 250) << late << " ms after " << scheduled.out;
  EXPECT_TRUE(eventually([&] {
    return file_text(dir_ / "prog" / "Logs" / "audit.jsonl")
               .find(R"("actor":"planner","origin":"schedule","op":"salvo.take",)"
                     R"("arguments":{"name":"Drill"},"result":"applied")") != std::string::npos;
  }));
}

}  // namespace
}  // namespace mav::test
