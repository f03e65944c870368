// The controller's core as the program runs it, on real time: the link channel with its poll pump
// standing in for the UI thread, the line reader, the reply dispatcher and the worker thread, over
// a real TCP connection or pseudo-terminal to the gateway simulator. The screen and the
// application hooks only record. Build with make_unique; the channel is large.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "link/LineReader.h"
#include "link/LinkChannel.h"
#include "link/WorkerLoop.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "model/PendingTable.h"
#include "platform/Clock.h"
#include "platform/PollPump.h"
#include "protocol/DeviceCommands.h"
#include "protocol/RecordingHooks.h"
#include "protocol/ReplyDispatcher.h"
#include "security/PinTable.h"
#include "support/Eventually.h"
#include "support/RecordingFrontend.h"
#include "support/ScratchDirectory.h"

namespace mav::test {

class SilentContact final : public ContactReporter {
 public:
  void report_contact(bool lost) override { lost_ = lost; }

 private:
  std::atomic<bool> lost_{false};
};

struct ControllerRig {
  ControllerRig() { channel.attach_event_host(pump); }
  ~ControllerRig() {
    worker.stop();
    channel.close();
  }
  ControllerRig(const ControllerRig&) = delete;
  ControllerRig& operator=(const ControllerRig&) = delete;

  // The event log's messages, time stamps dropped, in file order.
  std::vector<std::string> log_messages() const {
    std::ifstream file(log.log_file_path());
    std::vector<std::string> messages;
    for (std::string line; std::getline(file, line);) {
      if (line.size() > 22) messages.push_back(line.substr(22));
    }
    return messages;
  }
  bool logged(const std::string& message) const {
    for (const std::string& m : log_messages()) {
      if (m == message) return true;
    }
    return false;
  }

  PortRecord port(int p) const {
    PortRecord record{};
    model.GetPort(p, record);
    return record;
  }

  // Starts the worker, connects to a gateway on a loopback TCP port and synchronises: done once
  // the sweep's last answer has been dispatched and nothing waits.
  bool synchronise_over_tcp(int tcp_port) {
    static constexpr std::uint8_t kLocalHost[4] = {127, 0, 0, 1};
    state.network_mode = true;
    worker.start();
    if (!channel.open_network(kLocalHost, static_cast<std::uint16_t>(tcp_port))) return false;
    commands.synchronise();
    return pump_until([&] {
      return state.mek_squelch_type.load() != -1 && channel.queued_lines() == 0 &&
             state.input_ready.load();
    });
  }

  // Pumps the socket notifications (the UI thread's part) until done() holds.
  template <typename Done>
  bool pump_until(Done done, std::chrono::milliseconds deadline = std::chrono::seconds(60)) {
    return eventually([this] { pump.run_once(5); }, done, deadline);
  }

  const ScratchDirectory scratch;
  SystemClock clock;
  DeviceModel model;
  EventLog log{scratch / "Logs", clock};
  PendingTable pending;
  PinTable pins;
  RecordingFrontend frontend;
  SessionState state;
  SilentContact contact;
  ProtocolTrace trace;
  LinkChannel channel{clock, model, log, frontend, contact, state.worker_wake, trace};
  PollPump pump{clock, channel};
  RecordingHooks hooks{&channel, &state.last_autosave_ms, &clock};
  LineReader reader{channel.received_lines()};
  ReplyDispatcher dispatcher{DispatcherParts{reader.reply(), model, pending, pins, log, channel,
                                             frontend, clock, state,
                                             SessionHooks{hooks, hooks, hooks, hooks}}};
  DeviceCommands commands{channel, state};
  WorkerLoop worker{clock, channel, reader, dispatcher};
};

}  // namespace mav::test
