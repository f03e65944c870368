// The application-side state the reply dispatcher works with. The application shell owns one
// instance for the whole run and hands it around by reference. The UI thread (menus, gestures,
// dialogs) and the worker thread (dispatcher) both read and write these fields, so each is an
// atomic of its own; no field depends on another being updated in the same instant. Any thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/WakeSignal.h"
#include "vocabulary/Vocabulary.h"

namespace mav {

// What the first click of a two-click gesture selected.
enum class Selection : int { None = 0, Port = 1, Net = 2 };

struct SessionState {
  // The worker thread's wake-up: whoever changes something the worker must act on rings it (the
  // channel for lines received, sent or queued and for opening and closing; a resynchronisation
  // request below).
  WakeSignal worker_wake;
  // Dispatcher housekeeping.
  std::atomic<std::uint32_t> last_line_ms{0};
  std::atomic<std::uint32_t> last_autosave_ms{0};
  // Figures for the service's metrics: the periodic saves written, and how long the last
  // configuration replay held the queue (clock ms).
  std::atomic<std::uint64_t> autosaves{0};
  std::atomic<std::uint32_t> replay_began_ms{0};
  std::atomic<std::uint32_t> last_replay_ms{0};
  // False while a stream of replies is being processed; gestures are refused meanwhile.
  std::atomic<bool> input_ready{true};
  // A configuration replay is sending through the held queue; the operator's gestures and the
  // menu commands wait until it has ended, so none of their lines lands in its middle.
  std::atomic<bool> replay_running{false};
  // A full synchronisation is wanted; the dispatcher runs it once the channel is open.
  std::atomic<bool> resync_requested{false};

  // Gateway-wide values reported by the gateway.
  std::atomic<int> mek_squelch_type{-1};  // value-word index; -1 when unknown or refused
  std::atomic<int> security_mode{0};      // 11 OFF, 12 EXCLUSIVE, 13 PRIORITY, 25 other word

  // Operator preferences the dispatcher follows (persisted by the shell's preferences file).
  std::atomic<bool> voice_prompts{true};
  std::atomic<bool> cor_reporting{true};
  std::atomic<bool> ptt_reporting{true};
  std::atomic<bool> sound_on{true};
  std::atomic<bool> network_mode{false};  // the channel in use is a network site

  // The gesture's pending selection (written by the gesture code, cancelled by the dispatcher).
  std::atomic<Selection> selection{Selection::None};
  std::atomic<int> selected_index{0};
  std::atomic<std::uint32_t> selection_time{0};  // clock ms of the selecting click

  // The port whose module settings dialog is open; -1 when none is.
  std::atomic<int> dialog_port{-1};

  void request_resync() {
    resync_requested.store(true);
    worker_wake.wake();
  }
  void cancel_selection() { selection.store(Selection::None); }
  bool selection_pending() const { return selection.load() != Selection::None; }
  // The operator's presses and keys are taken: no reply stream and no replay under way.
  bool accepts_gestures() const { return input_ready.load() && !replay_running.load(); }
};

}  // namespace mav
