#include "trace/ProtocolTrace.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

namespace mav {
namespace {

std::int64_t calendar_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

ProtocolTrace::ProtocolTrace(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)) {}

void ProtocolTrace::start() {
  if (recording()) return;
  // Both buffers are sized before recording starts, so the producers never allocate.
  taken_ = Buffer{};
  taken_.rows.resize(capacity_);
  {
    std::lock_guard lock(mutex_);
    filling_ = Buffer{};
    filling_.rows.resize(capacity_);
  }
  recording_.store(true, std::memory_order_relaxed);
}

void ProtocolTrace::append(TraceDirection direction, TraceMark mark, bool queued,
                           std::string_view text) {
  const std::int64_t now = calendar_ms();
  const std::size_t length = std::min(text.size(), kTraceTextSize - 1);
  if (direction == TraceDirection::Sent) sent_.fetch_add(1, std::memory_order_relaxed);
  if (direction == TraceDirection::Received) received_.fetch_add(1, std::memory_order_relaxed);
  if (mark == TraceMark::ReplyTimeout) timeouts_.fetch_add(1, std::memory_order_relaxed);
  std::lock_guard lock(mutex_);
  Buffer& buffer = filling_;
  std::size_t slot = 0;
  if (buffer.count == capacity_) {
    slot = buffer.first;
    buffer.first = (buffer.first + 1) % capacity_;
    ++buffer.overwritten;
  } else {
    slot = (buffer.first + buffer.count) % capacity_;
    ++buffer.count;
  }
  TraceRow& row = buffer.rows[slot];
  row.time_ms = now;
  row.direction = direction;
  row.mark = mark;
  row.queued = queued;
  row.length = static_cast<std::uint16_t>(length);
  std::memcpy(row.text, text.data(), length);
  row.text[length] = '\0';
}

std::uint64_t ProtocolTrace::take(std::vector<TraceRow>& out) {
  if (!recording()) return 0;
  {
    std::lock_guard lock(mutex_);
    std::swap(filling_, taken_);
  }
  for (std::size_t i = 0; i < taken_.count; ++i) {
    out.push_back(taken_.rows[(taken_.first + i) % capacity_]);
  }
  const std::uint64_t overwritten = taken_.overwritten;
  taken_.first = taken_.count = 0;
  taken_.overwritten = 0;
  return overwritten;
}

}  // namespace mav
