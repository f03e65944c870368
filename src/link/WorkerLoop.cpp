#include "link/WorkerLoop.h"

namespace mav {

WorkerLoop::WorkerLoop(const Clock& clock, LinkChannel& channel, LineReader& reader,
                       DispatchStep& dispatcher)
    : clock_(clock), channel_(channel), reader_(reader), dispatcher_(dispatcher) {}

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
  channel_.wake_worker();
  if (thread_.joinable()) thread_.join();
}

void WorkerLoop::run() {
  bool poll_pass = true;
  while (run_.load()) {
    poll_pass = !poll_pass;  // the first pass parses only; polling follows on every second one
    if (poll_pass) {
      wait_for_work();
      channel_.poll_receive();
    }
    reader_.read_step();
    dispatcher_.dispatch_step();
  }
}

void WorkerLoop::wait_for_work() {
  // Lines still to parse or a parsed one to dispatch: the passes go on without waiting.
  if (reader_.reply().pending || channel_.received_lines().unread() > 0) return;
  NextWake next(clock_.now_ms());
  channel_.add_deadlines(next);
  dispatcher_.add_deadlines(next);
  channel_.wait_for_input(next.wait_ms());
}

}  // namespace mav
