// A complete, real link for tests: the device model, an event log in a fresh temporary folder,
// the contact supervision, the channel and a poll pump carrying its socket notifications, all on
// a fake clock, with a recording frontend to observe the screen. Build it with make_unique; the
// channel is large.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "engine/ContactSupervisor.h"
#include "link/LinkChannel.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "platform/EventLoop.h"
#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/FileText.h"
#include "support/LoopbackPeer.h"
#include "support/RecordingFrontend.h"
#include "support/ScratchDirectory.h"

namespace mav::test {

struct LinkRig {
  static constexpr std::uint8_t kLoopback[4] = {127, 0, 0, 1};

  LinkRig() { channel.attach_event_host(pump); }
  LinkRig(const LinkRig&) = delete;
  LinkRig& operator=(const LinkRig&) = delete;

  // How many log lines end with the message.
  int log_count(const std::string& message) const {
    std::istringstream lines(file_text(log.log_file_path()));
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
      if (line.size() >= message.size() &&
          line.compare(line.size() - message.size(), message.size(), message) == 0) {
        ++count;
      }
    }
    return count;
  }

  // Calls step() until `count` received lines are in, then takes every line the ring holds.
  template <typename Step>
  std::vector<std::string> receive_lines(std::size_t count, Step step) {
    std::vector<std::string> lines;
    ReceivedLine line;
    eventually(step, [&] {
      while (channel.next_line(line)) lines.emplace_back(line.view());
      return lines.size() >= count;
    });
    return lines;
  }

  // Pumps the channel's notifications until done() holds.
  template <typename Done>
  bool pump_until(Done done) {
    return eventually([&] { pump.run_once(10); }, done);
  }
  // Opens the channel to a peer on 127.0.0.1 and pumps until the connect is reported.
  bool connect_to(LoopbackPeer& peer) {
    return channel.open_network(kLoopback, peer.port()) && peer.accept_connection() &&
           pump_until([&] { return channel.is_ready(); });
  }

  // Puts a module into a port so the model knows at least one.
  void insert_module(int port) {
    PortRecord record{};
    model.GetPort(port, record);
    record.mod_type = 1;
    model.SetPort(port, record);
  }

  const ScratchDirectory scratch;
  FakeClock clock;
  DeviceModel model;
  EventLog log{scratch / "Logs", clock};
  RecordingFrontend frontend;
  ProtocolTrace trace;
  ContactSupervisor contact{clock, model, log, frontend, trace};
  WakeSignal worker_wake;
  LinkChannel channel{clock, model, log, frontend, contact, worker_wake, trace};
  EventLoop pump{clock, &channel};
};

}  // namespace mav::test
