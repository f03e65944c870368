// Dispatcher hooks that only record what the dispatcher asked for. Counters are atomic and the
// lists locked, so the test thread may watch a running worker.
#pragma once

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "link/LinkChannel.h"
#include "protocol/SessionHooks.h"

namespace mav::test {

class RecordingHooks final : public ShellHooks,
                             public AutoSaveHooks,
                             public PortViewHooks,
                             public DialHooks {
 public:
  // With a channel, the channel says whether it is open; without one, `open` does. With a save
  // time, a save stores the clock's time there, as the real files do.
  explicit RecordingHooks(const LinkChannel* channel = nullptr,
                          std::atomic<std::uint32_t>* save_time = nullptr,
                          const Clock* clock = nullptr)
      : channel_(channel), save_time_(save_time), clock_(clock) {}

  bool channel_open() const override { return channel_ ? channel_->is_open() : open.load(); }
  void AutoSave() override {
    if (save_time_) save_time_->store(clock_->now_ms());
    ++auto_saves;
    if (forward_saves) forward_saves->AutoSave();
  }
  // Counted once the restore has run, so a test that sees the count sees its lines queued.
  bool RestoreAfterGatewayRestart() override {
    const bool restored =
        forward_saves ? forward_saves->RestoreAfterGatewayRestart() : restore_succeeds.load();
    ++restores;
    return restored;
  }
  void save_preferences() override { ++preference_saves; }
  void load_site_port_names() override { ++site_name_loads; }
  void release_port_icon(int port, int icon_id) override {
    std::lock_guard lock(mutex_);
    released_icons_.emplace_back(port, icon_id);
  }
  void open_dial_dialog(int port) override {
    std::lock_guard lock(mutex_);
    dial_ports_.push_back(port);
  }
  std::vector<std::pair<int, int>> released_icons() const {  // port, icon id
    std::lock_guard lock(mutex_);
    return released_icons_;
  }
  std::vector<int> dial_ports() const {
    std::lock_guard lock(mutex_);
    return dial_ports_;
  }

  // Set before the worker starts: the automatic saves go on to real configuration files.
  AutoSaveHooks* forward_saves = nullptr;
  std::atomic<bool> open{true};
  std::atomic<bool> restore_succeeds{true};
  std::atomic<int> auto_saves{0}, restores{0}, preference_saves{0}, site_name_loads{0};

 private:
  const LinkChannel* channel_;
  std::atomic<std::uint32_t>* save_time_;
  const Clock* clock_;
  mutable std::mutex mutex_;
  std::vector<std::pair<int, int>> released_icons_;
  std::vector<int> dial_ports_;
};

}  // namespace mav::test
