// The controller's core wired as the program wires it: the link channel with a poll pump standing
// in for the UI thread, line reader, reply dispatcher, worker, device commands and configuration
// files. Screen, operator and application hooks only record. On a fake clock against a loopback
// peer that sees the bytes, or on real time with the worker against the gateway simulator.
// Build with make_unique; the channel is large.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigurationFiles.h"
#include "link/LineReader.h"
#include "link/LinkChannel.h"
#include "link/WorkerLoop.h"
#include "platform/EventLoop.h"
#include "protocol/DeviceCommands.h"
#include "protocol/RecordingHooks.h"
#include "protocol/ReplyDispatcher.h"
#include "sim/SimProcess.h"
#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/LoopbackPeer.h"
#include "support/RecordingFrontend.h"
#include "support/ScratchDirectory.h"

namespace mav::test {

class SilentContact final : public ContactReporter {
 public:
  void report_contact(bool) override {}
};

// The operator's answers, given by script; what was asked and shown is kept.
class ScriptedPrompts final : public ConfigurationPrompts {
 public:
  std::optional<std::filesystem::path> choose_configuration_file(
      FileChoice choice, const std::filesystem::path& folder) override {
    choices.push_back(choice);
    chooser_folder = folder;
    return chosen;
  }
  void tell(const MessageBoxRequest& box) override { told.push_back(box.text); }
  bool ask_yes_no(const MessageBoxRequest& box) override {
    asked.push_back(box.text);
    return answer_yes;
  }
  bool ask_yes_no_showing_changes(const MessageBoxRequest& box, const Changes& changes,
                                  bool no_is_default) override {
    no_was_default = no_is_default;
    shown_changes = changes();
    return ask_yes_no(box);
  }
  std::optional<std::filesystem::path> choose_from_history(const std::vector<HistoryRow>&,
                                                           const ChangesOfFile&) override {
    return std::nullopt;
  }

  std::optional<std::filesystem::path> chosen;  // nothing: the operator cancels
  bool answer_yes = true;
  bool no_was_default = false;
  std::vector<FileChoice> choices;
  std::filesystem::path chooser_folder;
  std::vector<std::string> told, asked, shown_changes;
};

// Custom icons from files: a file that exists gets the next id from 551.
class FileIcons final : public CustomIcons {
 public:
  int LoadCustom(const char* path, int) override {
    return std::filesystem::exists(path) ? 551 + loaded++ : -1;
  }
  void FreeCustom() override { ++frees; }
  int loaded = 0;
  int frees = 0;
};

struct ControllerRig {
  static constexpr std::uint8_t kLocalHost[4] = {127, 0, 0, 1};

  explicit ControllerRig(bool real_time = true)
      : clock(real_time ? static_cast<Clock&>(system_clock) : fake_clock) {
    channel.attach_event_host(pump);
  }
  ~ControllerRig() {
    worker.stop();
    channel.close();
  }
  ControllerRig(const ControllerRig&) = delete;
  ControllerRig& operator=(const ControllerRig&) = delete;

  PortRecord port(int p) const {
    PortRecord record{};
    model.GetPort(p, record);
    return record;
  }

  // Pumps the socket notifications (the UI thread's part) until done() holds.
  template <typename Done>
  bool pump_until(Done done, std::chrono::milliseconds deadline = std::chrono::seconds(60)) {
    return eventually([this] { pump.run_once(5); }, done, deadline);
  }

  // Fake clock: the channel connected to the peer, which sees every byte sent.
  bool connect() {
    return channel.open_network(kLocalHost, peer.port()) && peer.accept_connection() &&
           pump_until([&] { return channel.is_ready(); }, kIoDeadline);
  }
  // Fake clock: everything sent so far, the queue drained at its paced rate.
  std::string wire() {
    while (channel.queued_lines() != 0) {
      fake_clock.advance_ms(kQueuePacingMs + 1);
      channel.poll_receive();
    }
    return peer.read(static_cast<std::size_t>(-1), std::chrono::milliseconds(300));
  }

  // Real time: starts the simulator on loopback TCP (its transcript in the scratch folder) and
  // has another client send it the setup lines; then starts the worker and the synchronisation.
  // True once its last answer is dispatched and nothing waits.
  bool start_gateway(sim::test::SimProcess& sim, const std::string& setup = "") {
    if (!sim.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--transcript",
                    (scratch / "transcript.txt").string()})) {
      return false;
    }
    sim.close_stdin();
    sim::test::LineChannel other(sim::test::connect_loopback(sim.tcp_port), '\r');
    other.send(setup + "MOD_TYPE 00\r");  // answered last
    while (!other.read_line().value_or("%MOD_TYPE").starts_with("%MOD_TYPE")) {
    }
    state.network_mode = true;
    worker.start();
    if (!channel.open_network(kLocalHost, static_cast<std::uint16_t>(sim.tcp_port))) return false;
    commands.synchronise();
    return pump_until([&] {
      return state.mek_squelch_type.load() != -1 && channel.queued_lines() == 0 &&
             state.input_ready.load();
    });
  }

  const ScratchDirectory scratch;
  LoopbackPeer peer;
  FakeClock fake_clock;
  SystemClock system_clock;
  Clock& clock;
  DeviceModel model;
  EventLog log{scratch / "Logs", clock};
  PendingTable pending;
  PinTable pins;
  RecordingFrontend frontend;
  SessionState state;
  SilentContact contact;
  ProtocolTrace trace;
  LinkChannel channel{clock, model, log, frontend, contact, state.worker_wake, trace};
  EventLoop pump{clock, &channel};
  RecordingHooks hooks{&channel, &state.last_autosave_ms, &clock};
  LineReader reader{channel.received_lines()};
  ReplyDispatcher dispatcher{DispatcherParts{reader.reply(), model, pending, pins, log, channel,
                                             frontend, clock, state,
                                             SessionHooks{hooks, hooks, hooks, hooks}}};
  DeviceCommands commands{channel, state};
  WorkerLoop worker{clock, channel, reader, dispatcher};
};

// The rig with the configuration files and their commands, this run saving into slot 1.
struct ConfigRig : ControllerRig {
  explicit ConfigRig(bool real_time = false) : ControllerRig(real_time) {
    files.register_commands(registry, prompts);
    files.set_save_slot(1);
  }
  ~ConfigRig() { worker.stop(); }  // the worker calls into the files

  FileIcons icons;
  ScriptedPrompts prompts;
  SettingsWriter settings{channel, state};
  CommandRegistry registry;
  std::vector<std::chrono::milliseconds> pauses;  // a replay's pause, recorded and passed at once
  ConfigurationFiles files{
      ConfigParts{model, pending, pins, channel, state, frontend, icons, settings}, scratch.path(),
      [this](std::chrono::milliseconds pause, std::function<void()> rest) {
        pauses.push_back(pause);
        rest();
      }};
};

inline std::unique_ptr<ConfigRig> make_connected_rig() {
  auto rig = std::make_unique<ConfigRig>();
  EXPECT_TRUE(rig->connect());
  return rig;
}

}  // namespace mav::test
