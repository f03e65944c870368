// The headless host's one wait: poll() over the descriptors it watches and an eventfd that other
// threads use to hand it work, with one-shot and repeating timers on a Clock. Everything it calls
// runs on the thread that runs it. It also carries a network channel's socket notifications and
// connection timer, as the Qt shell's notifiers do in the controller.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "platform/SocketEvents.h"

namespace mav {

class EventLoop final : public SocketEventHost {
 public:
  using Callback = std::function<void()>;
  using FdCallback = std::function<void(short revents)>;

  // events: where a network channel's socket notifications and connection timer go.
  explicit EventLoop(const Clock& clock, SocketEvents* events = nullptr);
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;
  ~EventLoop() override;

  // Calls on_ready with poll()'s revents whenever fd is ready for events (POLLIN, POLLOUT), or
  // reports a hang-up or error. A second watch of the same fd replaces the first.
  void watch(int fd, short events, FdCallback on_ready);
  void set_events(int fd, short events);
  void unwatch(int fd);

  // A timer acts once more than interval_ms have passed since it was started (or last acted,
  // when it repeats). Returns its id for cancel_timer.
  int add_timer(std::uint32_t interval_ms, bool repeat, Callback on_due);
  void cancel_timer(int timer_id);

  // Any thread: fn runs on the loop's thread in the order posted, and the wait ends at once.
  void post(Callback fn);
  // Any thread: run() returns after the pass under way.
  void stop();

  // One pass: waits up to max_wait_ms (nothing: until something happens) or the next timer,
  // then runs the posted work, the ready descriptors and the due timers.
  void run_once(std::optional<std::uint32_t> max_wait_ms);
  void run();

  // What another event loop needs to run this one's passes (run_once(0)) for it: the
  // descriptor that other threads' posts make readable, the watched descriptors with their poll
  // events, and how long until the earliest timer acts (nothing: no timer).
  int wake_fd() const { return wake_fd_; }
  std::map<int, short> watched() const;
  std::optional<std::uint32_t> timer_wait() const;

  // Where the channel's socket notifications go; set before the channel watches its socket.
  void set_socket_events(SocketEvents* events) { socket_events_ = events; }
  // A channel's socket is watched (false once its connect failed or its peer closed it).
  bool watching() const { return socket_fd_ >= 0; }
  void watch_socket(int fd) override;
  void unwatch_socket() override;
  void start_timer(int timer_id, std::uint32_t interval_ms) override;
  void kill_timer(int timer_id) override;

 private:
  struct Watch {
    short events;
    std::uint64_t generation;
    std::shared_ptr<FdCallback> on_ready;
  };
  struct Timer {
    std::uint32_t since;
    std::uint32_t interval_ms;
    bool repeat;
    std::shared_ptr<Callback> on_due;
  };

  void run_posted();
  void run_due_timers();
  void on_channel_socket(short revents);

  const Clock& clock_;
  int wake_fd_;
  std::map<int, Watch> watches_;
  std::uint64_t next_generation_ = 1;
  std::map<int, Timer> timers_;
  int next_timer_id_ = 1;
  std::mutex posted_mutex_;
  std::vector<Callback> posted_;
  std::atomic<bool> stopping_{false};

  SocketEvents* socket_events_ = nullptr;
  int socket_fd_ = -1;
  bool awaiting_connect_ = false;
  std::map<int, int> channel_timers_;  // the channel's timer id -> this loop's
};

}  // namespace mav
