// The worker thread's body: on every second pass the channel's receive and queue step, on every
// pass one parse step and one dispatcher step, for as long as the run flag is set. The loop has
// no sleep of its own; the dispatcher step throttles it when the link is quiet.
#pragma once

#include <atomic>
#include <thread>

#include "link/DispatchStep.h"
#include "link/LineReader.h"
#include "link/LinkChannel.h"

namespace mav {

class WorkerLoop {
 public:
  WorkerLoop(LinkChannel& channel, LineReader& reader, DispatchStep& dispatcher);
  WorkerLoop(const WorkerLoop&) = delete;
  WorkerLoop& operator=(const WorkerLoop&) = delete;
  ~WorkerLoop();  // stops the thread

  // Starts the thread; nothing when it runs already. UI thread.
  void start();
  // Clears the run flag and waits for the current pass to finish. UI thread.
  void stop();
  bool running() const { return run_.load(); }

 private:
  void run();

  LinkChannel& channel_;
  LineReader& reader_;
  DispatchStep& dispatcher_;
  std::atomic<bool> run_{false};
  std::thread thread_;
};

}  // namespace mav
