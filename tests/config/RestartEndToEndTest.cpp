// A restart of the gateway simulator while the controller's core runs on its real threads over
// loopback TCP: the controller saves, sends its prelude and replays the saved nets, and the
// gateway's buses, links, DISCH groups and monitors come back as they were.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/ConfigRig.h"
#include "protocol/ControllerRig.h"
#include "sim/SimProcess.h"

namespace mav {
namespace {

using test::ControllerRig;

struct TranscriptLine {
  std::string channel;    // "control" for the test's own commands
  std::string direction;  // "<-" received by the gateway, "->" sent by it
  std::string text;
};

std::vector<TranscriptLine> read_transcript(const std::filesystem::path& file) {
  std::vector<TranscriptLine> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    // "hh:mm:ss.mmm CHANNEL DIRECTION TEXT"
    const std::size_t channel = line.find(' ');
    const std::size_t direction = line.find(' ', channel + 1);
    if (direction == std::string::npos || line.size() < direction + 4) continue;
    lines.push_back({line.substr(channel + 1, direction - channel - 1),
                     line.substr(direction + 1, 2), line.substr(direction + 4)});
  }
  return lines;
}

std::vector<std::string> relay_images(const std::filesystem::path& transcript) {
  std::vector<std::string> images;
  for (const TranscriptLine& line : read_transcript(transcript)) {
    if (line.direction == "->" && line.text.rfind("%RELAY ", 0) == 0) {
      images.push_back(line.text.substr(7));
    }
  }
  return images;
}

// The gateway's own view of every port's bus, link and DISCH group, from a fresh "%RELAY" line,
// with every group named after its lowest port so that renumbered buses compare equal.
std::vector<int> gateway_groups(sim::test::SimProcess& sim, ControllerRig& rig,
                                const std::filesystem::path& transcript) {
  const std::size_t seen = relay_images(transcript).size();
  EXPECT_EQ(sim.control("relay"), "ok");
  rig.pump_until([&] { return relay_images(transcript).size() > seen; });
  const std::vector<std::string> images = relay_images(transcript);
  const std::string hex = images.size() > seen ? images.back() : std::string();
  std::vector<int> groups;
  if (hex.size() < 2 * kPortCount) return groups;
  std::map<int, int> first_port[3];
  for (int port = 0; port < kPortCount; ++port) {
    const int byte = std::stoi(hex.substr(2 * static_cast<std::size_t>(port), 2), nullptr, 16);
    // ((bus + 1) x 4 + link + 1) x 8 + group + 1
    const int values[3] = {byte / 32 - 1, byte / 8 % 4 - 1, byte % 8 - 1};
    for (int kind = 0; kind < 3; ++kind) {
      groups.push_back(
          values[kind] < 0 ? -1 : first_port[kind].try_emplace(values[kind], port).first->second);
    }
  }
  return groups;
}

// Another client of the gateway joins 00, 01 and 06 in one net and 11 and 17 in another and
// lets 04 monitor 06, before the controller connects and synchronises.
void build_nets(int tcp_port) {
  sim::test::LineChannel gateway(sim::test::connect_loopback(tcp_port), '\r');
  gateway.send(
      "CONF ALL ON\rCONNECT_S 00 01\rCONNECT_S 06 00\rCONNECT_S 11 17\r"
      "MON 04 06 ON\r");
  while (std::optional<std::string> line = gateway.read_line()) {
    if (line->rfind("%MON", 0) == 0) break;
  }
}

TEST(RestartEndToEnd, TheGatewayGetsItsNetsBackWithoutTheOperator) {
  sim::test::SimProcess sim;
  auto rig = std::make_unique<ControllerRig>();
  const std::filesystem::path transcript = rig->scratch / "transcript.txt";
  ASSERT_TRUE(sim.start(
      {"--tcp", "127.0.0.1:0", "--control-port", "0", "--transcript", transcript.string()}));
  sim.close_stdin();
  test::FileIcons icons;
  SettingsWriter settings(rig->channel, rig->state);
  ConfigurationFiles files(ConfigParts{rig->model, rig->pending, rig->pins, rig->channel,
                                       rig->state, rig->frontend, icons, settings},
                           rig->scratch.path(),
                           [](std::chrono::milliseconds, std::function<void()> rest) { rest(); });
  // The worker calls into the files: it stops before they go.
  const struct WorkerStop {
    ControllerRig& rig;
    ~WorkerStop() { rig.worker.stop(); }
  } worker_stop{*rig};
  files.set_save_slot(1);
  rig->hooks.forward_saves = &files;
  build_nets(sim.tcp_port);
  ASSERT_TRUE(rig->synchronise_over_tcp(sim.tcp_port));

  ASSERT_TRUE(rig->pump_until([&] {
    return rig->port(6).net == rig->port(0).net && rig->port(17).net == rig->port(11).net &&
           rig->port(0).net != GROUP_NONE && rig->model.IsMonitoring(4, 6);
  }));
  const std::vector<int> before = gateway_groups(sim, *rig, transcript);
  ASSERT_FALSE(before.empty());
  const std::size_t restart_at = read_transcript(transcript).size();

  EXPECT_EQ(sim.control("restart"), "ok");
  ASSERT_TRUE(rig->pump_until([&] {
    return rig->hooks.restores.load() == 1 && !rig->state.replay_running.load() &&
           rig->channel.queued_lines() == 0 && rig->port(17).net != GROUP_NONE &&
           rig->state.input_ready.load();
  }));
  EXPECT_TRUE(std::filesystem::exists(files.folder() / "AutoS2.mav"));

  // What the gateway received after the restart, the controller's own RELAY lines left out.
  std::vector<std::string> received;
  const std::vector<TranscriptLine> lines = read_transcript(transcript);
  for (std::size_t i = restart_at; i < lines.size(); ++i) {
    if (lines[i].channel != "control" && lines[i].direction == "<-" &&
        lines[i].text.rfind("RELAY", 0) != 0) {
      received.push_back(lines[i].text);
    }
  }
  const bool prompts = rig->state.voice_prompts.load();
  std::vector<std::string> expected = {"USER_PGM OFF"};
  if (prompts) expected.push_back("VPMTS OFF");
  expected.push_back("DISCH ALL");
  if (prompts) expected.push_back("VPMTS ON");
  for (const char* line : {"COR_LED ON", "PTT_LED ON", "DISC_S ALL", "MON 04 06 ON",
                           "CONNECT_S 01 00", "CONNECT_S 06 00", "CONNECT_S 17 11"}) {
    expected.push_back(line);
  }
  ASSERT_GE(received.size(), expected.size());
  EXPECT_EQ(std::vector(received.begin(), received.begin() + static_cast<long>(expected.size())),
            expected);

  EXPECT_EQ(gateway_groups(sim, *rig, transcript), before);

  rig->channel.send_line("MON ALL ?\r", true);
  ASSERT_TRUE(rig->pump_until([&] {
    for (const TranscriptLine& line : read_transcript(transcript)) {
      if (line.direction == "->" && line.text == "%MON 04 06 ON E0") return true;
    }
    return false;
  }));
}

}  // namespace
}  // namespace mav
