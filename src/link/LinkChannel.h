// The one channel to the gateway, on a serial port or a TCP connection: opening and closing,
// sending lines at once or through the paced outgoing queue, assembling received bytes into the
// received-line ring, and the reply time-out. The UI thread opens, closes and receives socket
// notifications; the worker thread polls and waits; both send. Every change the worker must act
// on (a line received, sent or queued, a connect completed, the channel opened or closed) wakes
// it. One lock covers the port or socket, the queue and its writes, so lines leave in the order
// send_line accepted them; it is never held while calling out.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "frontend/Frontend.h"
#include "link/ContactReporter.h"
#include "link/LineAssembler.h"
#include "link/LineSender.h"
#include "link/ReceivedLineRing.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "platform/Clock.h"
#include "platform/NextWake.h"
#include "platform/SerialPort.h"
#include "platform/SocketEvents.h"
#include "platform/TcpSocket.h"
#include "platform/WakeSignal.h"
#include "trace/ProtocolTrace.h"

namespace mav {

inline constexpr int kConnectTimerId = 7117;
inline constexpr std::uint32_t kConnectTimeoutMs = 15500;
inline constexpr std::uint32_t kQueueSlots = 1000;  // one slot stays free: 999 lines wait at most
inline constexpr std::size_t kQueueLineSize = 128;  // 127 characters and the NUL
inline constexpr std::uint32_t kQueuePacingMs = 200;
// How soon the worker tries again to write the rest of a line a full serial device refused.
inline constexpr std::uint32_t kSerialRetryMs = 10;
inline constexpr std::uint32_t kSerialReplyTimeoutMs = 4000;
inline constexpr std::uint32_t kNetworkReplyTimeoutMs = 15000;

class LinkChannel final : public LineSender, public SocketEvents {
 public:
  // worker_wake is the worker thread's wake-up, which the channel rings; every line sent or
  // received, and every reply time-out and refused line, goes to trace.
  LinkChannel(const Clock& clock, DeviceModel& model, EventLog& log, Frontend& frontend,
              ContactReporter& contact, WakeSignal& worker_wake, ProtocolTrace& trace);
  LinkChannel(const LinkChannel&) = delete;
  LinkChannel& operator=(const LinkChannel&) = delete;

  // The UI thread's event machinery that watches the network socket and runs the connection
  // timer; attach it before the first open_network. UI thread.
  void attach_event_host(SocketEventHost& host);

  // Opens the serial device with 8N1 at baud_rate. Does not close an open channel (callers close
  // first) and keeps the queued lines. False, reporting nothing, when the device cannot be
  // opened. UI thread.
  bool open_serial(std::string_view device_name, std::uint32_t baud_rate);
  // Why the last open_serial failed: the system's error number (0 after one that succeeded).
  int serial_open_error() const;
  // Closes whatever is open, then starts connecting to address:port (address bytes in the order
  // given). True when the connect is under way; failures are reported with a message box. UI
  // thread.
  bool open_network(const std::uint8_t (&address)[4], std::uint16_t port);
  // Closes whichever channel is open ("logout\r" first on a network channel); nothing when none
  // is. The queue keeps its lines. UI thread.
  void close();

  // Any thread.
  bool is_open() const { return is_open_.load(); }
  // Open, and for a network channel connected: senders that must not queue into a half-open
  // connection test this one.
  bool is_ready() const;
  bool is_network() const { return is_network_.load(); }
  std::optional<std::string> device_name() const;  // nothing when no serial device is named
  std::uint32_t baud_rate() const { return baud_rate_.load(); }
  void set_hold(bool hold) { hold_.store(hold); }
  // While set, opening and closing a network channel write no log entries: the retries after a
  // drop would fill the log with them.
  void set_quiet(bool quiet) { quiet_.store(quiet); }
  std::uint32_t queued_lines() const;
  // A line went out and its reply has not come yet.
  bool awaiting_reply() const { return awaiting_reply_.load(); }
  // The network socket for the UI thread's notifier; -1 when none. UI thread.
  int socket_fd() const;

  // Written at once when nothing waits, the queue is not held and no connect is pending;
  // otherwise queued (a line longer than 127 characters loses its end). A full queue refuses the
  // line, and the first refusal of an episode is logged. True only when a serial line was
  // written at once. Any thread.
  bool send_line(std::string_view text, bool expects_reply) override;
  // One step of the worker: the reply time-out, one serial byte, and at most one queued line
  // once more than 200 ms have passed since the last. Worker thread.
  void poll_receive();
  // The channel's pending timers as of next.now(): the reply time-out, and the next paced line
  // while lines wait on a channel that can send them. Worker thread.
  void add_deadlines(NextWake& next) const;
  // Blocks until a serial byte waits, the worker is woken, or timeout_ms (nothing: no limit)
  // pass; false when the time ran out. Worker thread.
  bool wait_for_input(std::optional<std::uint32_t> timeout_ms);
  // Ends the worker's wait at once, or its next one when it is busy. Any thread.
  void wake_worker() { worker_wake_.wake(); }

  // Socket notifications. UI thread.
  void on_socket_read() override;
  void on_socket_connected() override;
  // The channel's part of a close by the peer: closes and says so; reconnecting is the
  // application's.
  void on_socket_closed() override;
  void on_connect_timeout() override;

  // The received-line ring: the receive paths push, the worker's LineReader takes.
  bool push_line(std::string_view line) { return ring_.push(line); }
  bool next_line(ReceivedLine& out) { return ring_.next_line(out); }
  ReceivedLineRing& received_lines() { return ring_; }
  ProtocolTrace& trace() { return trace_; }
  // The millisecond clock the channel paces and times out on.
  const Clock& clock() const { return clock_; }

 private:
  std::size_t write_locked(const char* data, std::size_t length);
  void receive_serial_byte();
  void drain_queue();
  void show_error_box(const char* text);

  const Clock& clock_;
  DeviceModel& model_;
  EventLog& log_;
  Frontend& frontend_;
  ContactReporter& contact_;
  WakeSignal& worker_wake_;
  ProtocolTrace& trace_;
  SocketEventHost* host_ = nullptr;

  std::atomic<std::uint32_t> last_send_ms_{0};
  std::atomic<bool> awaiting_reply_{false};
  std::atomic<bool> hold_{false};
  std::atomic<bool> quiet_{false};
  std::atomic<bool> is_open_{false};
  std::atomic<bool> is_network_{false};
  std::atomic<bool> connect_pending_{false};
  std::atomic<std::uint32_t> reply_timeout_ms_{kSerialReplyTimeoutMs};
  std::atomic<std::uint32_t> baud_rate_{9600};
  int connect_timer_ = 0;  // UI thread

  mutable std::mutex io_mutex_;  // the port, the socket, the queue and the device name
  SerialPort serial_;
  TcpSocket socket_;
  std::string device_name_;
  std::uint32_t queue_in_ = 0;
  std::uint32_t queue_out_ = 0;
  bool queue_overflowed_ = false;  // a refusal was logged; cleared when the queue drains
  bool send_refused_ = false;      // "Send data error" was shown; cleared by a line that leaves
  char queue_[kQueueSlots][kQueueLineSize] = {};
  // The rest of a line the serial device had no room for: the worker writes it when the device
  // takes bytes again, before any other line, so no caller ever waits on the line.
  std::string serial_tail_;

  ReceivedLineRing ring_;
  LineAssembler serial_lines_{ring_, trace_};  // worker thread
  LineAssembler socket_lines_{ring_, trace_};  // UI thread
  char socket_chunk_[2048] = {};               // UI thread
};

}  // namespace mav
