#include "link/WorkerLoop.h"

namespace mav {

WorkerLoop::WorkerLoop(LinkChannel& channel, LineReader& reader, DispatchStep& dispatcher)
    : channel_(channel), reader_(reader), dispatcher_(dispatcher) {}

WorkerLoop::~WorkerLoop() {
  stop();
}

void WorkerLoop::start() {
  if (thread_.joinable()) return;
  run_ = true;
  thread_ = std::thread([this] { run(); });
}

void WorkerLoop::stop() {
  run_ = false;
  if (thread_.joinable()) thread_.join();
}

void WorkerLoop::run() {
  bool poll_pass = true;
  while (run_.load()) {
    poll_pass = !poll_pass;  // the first pass parses only; polling follows on every second one
    if (poll_pass) channel_.poll_receive();
    reader_.read_step();
    dispatcher_.dispatch_step();
  }
}

}  // namespace mav
