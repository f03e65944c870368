// The worker thread's body: on every second pass the channel's receive and queue step, on every
// pass one parse step and one dispatcher step, for as long as the run flag is set. Before each
// receive step the loop sleeps while there is nothing to parse or dispatch: until a serial byte
// arrives, another thread wakes it, or the earliest timer of the channel or the dispatcher is due.
#pragma once

#include <atomic>
#include <thread>

#include "link/DispatchStep.h"
#include "link/LineReader.h"
#include "link/LinkChannel.h"
#include "platform/Clock.h"

namespace mav {

class WorkerLoop {
 public:
  WorkerLoop(const Clock& clock, LinkChannel& channel, LineReader& reader,
             DispatchStep& dispatcher);
  WorkerLoop(const WorkerLoop&) = delete;
  WorkerLoop& operator=(const WorkerLoop&) = delete;
  ~WorkerLoop();  // stops the thread

  // Starts the thread; nothing when it runs already. UI thread.
  void start();
  // Clears the run flag, wakes the worker and waits for the current pass to finish. UI thread.
  void stop();
  bool running() const { return run_.load(); }

 private:
  void run();
  void wait_for_work();

  const Clock& clock_;
  LinkChannel& channel_;
  LineReader& reader_;
  DispatchStep& dispatcher_;
  std::atomic<bool> run_{false};
  std::thread thread_;
};

}  // namespace mav
