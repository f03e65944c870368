// A gateway with a known line-up, and a way to talk to it that also checks every reply against
// the controller's reply grammar.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "ControlCommands.h"
#include "Gateway.h"
#include "ReplyGrammar.h"

namespace mav::sim::test {

using Lines = std::vector<std::string>;

// One line to the gateway and every line it answers. A line that begins with "sim " is a control
// command instead: its answer is the lines it sends to the peers, then its response unless that
// is a plain "ok".
struct Exchange {
  std::string in;
  Lines out;
};

// Ports 0 TOV-5, 1 MEK-4, 2 LINE-7, 3 VOQ-3, 4 HK-6, 5 TOV-5, 6 VOQ-3, 7 LINE-7, 8 empty,
// 9 HK-6, 10 MEK-4, the rest empty.
inline Lineup small_lineup() {
  Lineup lineup{};
  const int types[] = {1, 2, 3, 4, 5, 1, 4, 3, 0, 5, 2};
  for (std::size_t p = 0; p < std::size(types); ++p) lineup[p] = types[p];
  return lineup;
}

class GatewayTest : public ::testing::Test {
 protected:
  explicit GatewayTest(int buses = 7) : gateway_(GatewayModel(small_lineup(), buses)) {}

  std::vector<std::string> ask(const std::string& line) {
    std::vector<std::string> replies = gateway_.handle_line(line);
    for (const std::string& reply : replies) {
      EXPECT_TRUE(parses_as_reply(reply)) << "reply to \"" << line << "\": " << reply;
    }
    return replies;
  }

  // Set-up lines: their answers only pass the reply grammar.
  void tell(std::initializer_list<const char*> lines) {
    for (const char* line : lines) ask(line);
  }

  Lines exchange(const std::string& line) {
    if (!line.starts_with("sim ")) return ask(line);
    ControlOutcome outcome = run_control(std::string_view(line).substr(4), gateway_, faults_);
    for (const std::string& reply : outcome.lines) {
      EXPECT_TRUE(parses_as_reply(reply)) << "event of \"" << line << "\": " << reply;
    }
    if (outcome.response != "ok") outcome.lines.push_back(outcome.response);
    return outcome.lines;
  }

  // Runs a dialogue in order; every line must be answered exactly as written.
  void converse(std::initializer_list<Exchange> dialogue) {
    for (const Exchange& step : dialogue) {
      SCOPED_TRACE(step.in);
      EXPECT_EQ(exchange(step.in), step.out);
    }
  }

  Gateway gateway_;
  FaultState faults_;
};

}  // namespace mav::sim::test
