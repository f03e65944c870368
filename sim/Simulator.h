// The simulator's loop: one thread polling the gateway peers (network client and
// pseudo-terminal), the control channels (stdin and the control port), the signals and the
// timers of the script, demo mode and slow answers, and routing lines between them and the
// Gateway. Everything runs on the thread that calls run().
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ControlCommands.h"
#include "DemoMode.h"
#include "Faults.h"
#include "Gateway.h"
#include "LineFramer.h"
#include "Options.h"
#include "PeerStream.h"
#include "ScriptRunner.h"
#include "Transcript.h"
#include "Transports.h"

namespace mav::sim {

class Simulator {
 public:
  explicit Simulator(const Options& options);
  ~Simulator();

  // Opens the transcript, the script, the listeners and the pseudo-terminal and prints where
  // they are ("tcp HOST:PORT", "pty DEVICE", "control HOST:PORT", then "ready") on stdout.
  // False with `error` set when one of them cannot be opened.
  bool start(std::string& error);

  // Serves until "quit", SIGINT or SIGTERM; returns the exit status.
  int run();

 private:
  struct ControlClient {
    int fd;
    LineFramer framer{'\n'};
  };

  std::uint64_t now_ms() const;
  void poll_once();
  void on_gateway_lines(PeerStream& peer, const std::vector<LineFramer::Line>& lines);
  void send(PeerStream& peer, const Lines& lines);
  void send_raw(PeerStream& peer, const std::string& bytes);
  void run_control_line(const std::string& command, int reply_fd);
  void accept_gateway_client();
  void drop_gateway_client(const char* why);
  void run_timers();
  std::vector<PeerStream*> peers();

  Options options_;
  Gateway gateway_;
  FaultState faults_;
  Transcript transcript_;
  ScriptRunner script_;
  bool has_script_ = false;
  std::unique_ptr<DemoMode> demo_;
  Pty pty_device_;
  std::unique_ptr<PeerStream> tcp_peer_;
  std::unique_ptr<PeerStream> pty_peer_;
  // Declared after the peers, so the listeners close before the peers hang up: a gateway going
  // down takes no new connection while it hangs up on the one it has.
  TcpListener gateway_listener_;
  TcpListener control_listener_;
  std::vector<ControlClient> control_clients_;
  LineFramer stdin_framer_{'\n'};
  bool stdin_open_ = true;
  int signal_fd_ = -1;
  bool quit_ = false;
};

}  // namespace mav::sim
