// The protocol trace's hand-over from the threads that talk to the gateway to the trace window.
// Producers (the worker and the UI thread) append one row at a time under a lock held only for
// the copy of that row; the window takes everything recorded since its last look by swapping
// buffers under the same lock, so nobody ever waits on the window's own work. The buffer keeps
// the newest rows: once it holds `capacity` unseen rows each new one overwrites the oldest.
// Until recording starts a row costs one relaxed atomic load; the program records from its start.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <vector>

#include "trace/TraceRow.h"

namespace mav {

inline constexpr std::size_t kTraceRowsKept = 10000;

class ProtocolTrace {
 public:
  explicit ProtocolTrace(std::size_t capacity = kTraceRowsKept);
  ProtocolTrace(const ProtocolTrace&) = delete;
  ProtocolTrace& operator=(const ProtocolTrace&) = delete;

  // Starts recording; the buffers are allocated here, not before. The watching thread.
  void start();
  bool recording() const { return recording_.load(std::memory_order_relaxed); }

  // Records one row stamped with the calendar time; text beyond 255 characters is cut. Nothing
  // while recording is off. Any thread.
  void record(TraceDirection direction, TraceMark mark, bool queued, std::string_view text) {
    if (recording()) append(direction, mark, queued, text);
  }
  void sent(std::string_view line, bool queued) {
    record(TraceDirection::Sent, TraceMark::None, queued, line);
  }
  void received(std::string_view line) {
    record(TraceDirection::Received, TraceMark::None, false, line);
  }
  void mark(TraceMark mark, std::string_view text) {
    record(TraceDirection::Event, mark, false, text);
  }

  // Appends to `out`, oldest first, every row recorded since the last take, and returns how many
  // rows were overwritten unseen meanwhile. The watching thread only.
  std::uint64_t take(std::vector<TraceRow>& out);

  // Rows recorded since the start, taken or not: lines sent, lines received, reply time-outs.
  // Any thread.
  std::uint64_t sent_count() const { return sent_.load(std::memory_order_relaxed); }
  std::uint64_t received_count() const { return received_.load(std::memory_order_relaxed); }
  std::uint64_t timeout_count() const { return timeouts_.load(std::memory_order_relaxed); }

 private:
  struct Buffer {
    std::vector<TraceRow> rows;  // `capacity_` slots once recording, empty otherwise
    std::size_t first = 0;
    std::size_t count = 0;
    std::uint64_t overwritten = 0;
  };

  void append(TraceDirection direction, TraceMark mark, bool queued, std::string_view text);

  const std::size_t capacity_;
  std::atomic<bool> recording_{false};
  std::atomic<std::uint64_t> sent_{0};
  std::atomic<std::uint64_t> received_{0};
  std::atomic<std::uint64_t> timeouts_{0};
  std::mutex mutex_;
  Buffer filling_;  // guarded by mutex_
  Buffer taken_;    // the watcher's; swapped with filling_ under mutex_
};

}  // namespace mav
