#include "link/LinkChannel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace mav {
namespace {

std::uint32_t next_slot(std::uint32_t slot) {
  return slot + 1 == kQueueSlots ? 0 : slot + 1;
}

constexpr std::string_view kLogout = "logout\r";
constexpr const char* kConnectFailedBox = "Network Connection attempt failed";

// A command as the trace shows it: without the carriage return that ends every one.
std::string_view without_terminator(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

LinkChannel::LinkChannel(const Clock& clock, DeviceModel& model, EventLog& log, Frontend& frontend,
                         ContactReporter& contact, WakeSignal& worker_wake, ProtocolTrace& trace)
    : clock_(clock),
      model_(model),
      log_(log),
      frontend_(frontend),
      contact_(contact),
      worker_wake_(worker_wake),
      trace_(trace) {}

void LinkChannel::attach_event_host(SocketEventHost& host) {
  host_ = &host;
}

bool LinkChannel::open_serial(std::string_view device_name, std::uint32_t baud_rate) {
  reply_timeout_ms_ = kSerialReplyTimeoutMs;
  baud_rate_ = baud_rate;
  connect_pending_ = false;
  awaiting_reply_ = false;
  is_open_ = false;
  {
    std::lock_guard lock(io_mutex_);
    device_name_.assign(device_name.substr(0, kLineSize - 1));
    if (!serial_.open(device_name_.c_str(), baud_rate)) return false;
    last_send_ms_ = 0;
  }
  hold_ = false;
  is_open_ = true;
  worker_wake_.wake();  // a new port to watch, and the queue may drain again
  frontend_.request_repaint();
  frontend_.link_state_changed();
  return true;
}

bool LinkChannel::open_network(const std::uint8_t (&address)[4], std::uint16_t port) {
  close();
  reply_timeout_ms_ = kNetworkReplyTimeoutMs;
  awaiting_reply_ = false;
  is_open_ = false;
  const char* failure = nullptr;
  int fd = -1;
  {
    std::lock_guard lock(io_mutex_);
    device_name_.clear();
    if (!socket_.create()) {
      failure = "Socket Creation Error";
    } else if (!socket_.bind_any()) {
      failure = "Socket Binding Error";
    } else if (socket_.start_connect(address, port) != TcpSocket::ConnectStart::UnderWay) {
      failure = "Connect Error";
    }
    if (failure) {
      socket_.shutdown_and_close();
    } else {
      // A new connection starts with an empty queue: only lines sent from now on go out on it.
      connect_pending_ = true;
      queue_in_ = queue_out_ = 0;
      queue_overflowed_ = false;
      send_refused_ = false;
      last_send_ms_ = 0;
      fd = socket_.fd();
    }
  }
  if (failure) {
    is_network_ = false;
    is_open_ = false;
    connect_pending_ = false;
    show_error_box(failure);
    return false;
  }
  socket_lines_.clear();
  char entry[64];
  std::snprintf(entry, sizeof entry, "Opened socket to %d.%d.%d.%d:%d", address[0], address[1],
                address[2], address[3], port);
  if (!quiet_) log_.write_log_entry(entry);
  if (host_) {
    if (connect_timer_ != 0) host_->kill_timer(connect_timer_);
    host_->watch_socket(fd);
    host_->start_timer(kConnectTimerId, kConnectTimeoutMs);
  }
  connect_timer_ = kConnectTimerId;
  is_network_ = true;
  hold_ = false;
  is_open_ = true;
  worker_wake_.wake();
  frontend_.request_repaint();
  frontend_.link_state_changed();
  return true;
}

void LinkChannel::close() {
  if (!is_open_) return;
  contact_.report_contact(false);
  awaiting_reply_ = false;
  if (connect_timer_ != 0 && host_) host_->kill_timer(connect_timer_);
  connect_timer_ = 0;
  if (is_network_) {
    if (!quiet_) log_.write_log_entry("Network connection closed");
    if (host_) host_->unwatch_socket();
    {
      std::lock_guard lock(io_mutex_);
      socket_.send(kLogout.data(), kLogout.size());
      socket_.shutdown_and_close();
    }
    is_network_ = false;
  } else {
    log_.write_log_entry("Serial port closed");
    std::lock_guard lock(io_mutex_);
    serial_.close();
    serial_tail_.clear();
  }
  is_open_ = false;
  {
    std::lock_guard lock(io_mutex_);
    device_name_.clear();
  }
  worker_wake_.wake();  // the port it may be watching is gone
  model_.Reset(false);  // nothing is known of a gateway we no longer talk to
  // The matrix must not go on showing the state of a gateway that is no longer connected.
  frontend_.request_repaint();
  frontend_.link_state_changed();
}

bool LinkChannel::is_ready() const {
  return is_open_ && !(is_network_ && connect_pending_);
}

int LinkChannel::serial_open_error() const {
  std::lock_guard lock(io_mutex_);
  return serial_.open_error();
}

std::optional<std::string> LinkChannel::device_name() const {
  std::lock_guard lock(io_mutex_);
  if (device_name_.empty()) return std::nullopt;
  return device_name_;
}

std::uint32_t LinkChannel::queued_lines() const {
  std::lock_guard lock(io_mutex_);
  return queue_in_ >= queue_out_ ? queue_in_ - queue_out_ : queue_in_ + kQueueSlots - queue_out_;
}

int LinkChannel::socket_fd() const {
  std::lock_guard lock(io_mutex_);
  return socket_.fd();
}

bool LinkChannel::send_line(std::string_view text, bool expects_reply) {
  // Either way the worker's deadlines change: a reply time-out starts, or a paced line waits.
  // It is woken once the change is made, or it could look too early and sleep past it.
  bool overflow_began = false;
  {
    std::unique_lock lock(io_mutex_);
    if (!hold_ && queue_in_ == queue_out_ && !connect_pending_ && serial_tail_.empty()) {
      last_send_ms_ = clock_.now_ms();
      if (expects_reply) awaiting_reply_ = true;
      const std::size_t written = write_locked(text.data(), text.size());
      trace_.sent(without_terminator(text), false);  // under the lock: the trace keeps wire order
      lock.unlock();
      worker_wake_.wake();
      return !is_network_ && written > 0;
    }
    const std::uint32_t after_in = next_slot(queue_in_);
    if (after_in == queue_out_) {
      // Never overwrite or reorder what waits: the newest line is the one refused.
      overflow_began = !queue_overflowed_;
      queue_overflowed_ = true;
      trace_.mark(TraceMark::QueueOverflow, without_terminator(text));
    } else {
      char* slot = queue_[queue_in_];
      const std::size_t length = std::min(text.size(), kQueueLineSize - 1);
      std::memcpy(slot, text.data(), length);
      slot[length] = '\0';
      queue_in_ = after_in;
    }
  }
  worker_wake_.wake();
  if (overflow_began) log_.write_log_entry("Outgoing command queue full, command dropped");
  return false;
}

void LinkChannel::poll_receive() {
  if (awaiting_reply_ && has_passed(clock_.now_ms(), last_send_ms_, reply_timeout_ms_)) {
    if (trace_.recording()) {
      char text[48];
      std::snprintf(text, sizeof text, "No reply within %u ms", reply_timeout_ms_.load());
      trace_.mark(TraceMark::ReplyTimeout, text);
    }
    contact_.report_contact(true);
    awaiting_reply_ = false;
  }
  if (!is_open_) return;
  if (!is_network_) {
    receive_serial_byte();
  } else if (connect_pending_) {
    return;
  }
  drain_queue();
}

void LinkChannel::receive_serial_byte() {
  char byte = 0;
  bool received = false;
  {
    std::lock_guard lock(io_mutex_);
    if (serial_.waiting_bytes() >= 1) received = serial_.read_byte(byte);
  }
  if (received && serial_lines_.add_byte(byte)) {
    contact_.report_contact(false);
    awaiting_reply_ = false;
  }
}

void LinkChannel::drain_queue() {
  bool send_failed = false;
  {
    std::lock_guard lock(io_mutex_);
    if (!serial_tail_.empty()) {
      const std::string tail = std::exchange(serial_tail_, {});
      write_locked(tail.data(), tail.size());
      if (!serial_tail_.empty()) return;
    }
    if (queue_in_ == queue_out_) {
      queue_in_ = queue_out_ = 0;
      queue_overflowed_ = false;
      return;
    }
    const std::uint32_t now = clock_.now_ms();
    if (!has_passed(now, last_send_ms_, kQueuePacingMs)) return;
    last_send_ms_ = now;
    awaiting_reply_ = true;  // a queued line is always taken to expect a reply
    const char* line = queue_[queue_out_];
    const std::size_t length = std::strlen(line);
    const std::size_t written = write_locked(line, length);
    trace_.sent(without_terminator({line, length}), true);
    // A socket closed under the queue loses the line quietly, as any write on a closed channel.
    // A socket that refuses bytes is reported once, until it takes a line again.
    const bool refused = is_network_ && socket_.is_open() && length > 0 && written == 0;
    send_failed = refused && !send_refused_;
    send_refused_ = refused;
    queue_out_ = next_slot(queue_out_);
  }
  if (send_failed) show_error_box("Send data error");
}

void LinkChannel::add_deadlines(NextWake& next) const {
  if (awaiting_reply_) next.after(last_send_ms_, reply_timeout_ms_);
  if (!is_open_ || (is_network_ && connect_pending_)) return;
  std::lock_guard lock(io_mutex_);
  if (!serial_tail_.empty()) next.in(kSerialRetryMs);
  if (queue_in_ != queue_out_) next.after(last_send_ms_, kQueuePacingMs);
}

bool LinkChannel::wait_for_input(std::optional<std::uint32_t> timeout_ms) {
  int fd = -1;
  {
    std::lock_guard lock(io_mutex_);
    if (is_open_ && !is_network_) fd = serial_.fd();
  }
  // A close meanwhile wakes the wait, and the next one asks for the descriptor again.
  return worker_wake_.wait(fd, timeout_ms);
}

std::size_t LinkChannel::write_locked(const char* data, std::size_t length) {
  if (is_network_) return socket_.send(data, length);
  const std::size_t written = serial_.write(data, length);
  if (written < length && serial_.is_open()) serial_tail_.assign(data + written, length - written);
  return written;
}

void LinkChannel::on_socket_read() {
  long received = 0;
  {
    std::lock_guard lock(io_mutex_);
    received = socket_.recv(socket_chunk_, sizeof socket_chunk_);
  }
  if (received < 1) return;
  awaiting_reply_ = false;
  const std::string_view chunk(socket_chunk_, static_cast<std::size_t>(received));
  if (socket_lines_.add_bytes(chunk) > 0) {
    worker_wake_.wake();
    contact_.report_contact(false);
  }
}

void LinkChannel::on_socket_connected() {
  connect_pending_ = false;
  worker_wake_.wake();  // the lines queued while connecting may leave now
  frontend_.update_title();
  frontend_.link_state_changed();
  frontend_.request_repaint();
  frontend_.withdraw_message_box(kConnectFailedBox);
  log_.write_log_entry("Network connection established");
}

void LinkChannel::on_socket_closed() {
  trace_.mark(TraceMark::LostContact, "Network connection closed externally");
  close();
  frontend_.show_message("Connection closed, retrying");
  log_.write_log_entry("Network connection closed externally");
}

void LinkChannel::on_connect_timeout() {
  if (host_ && connect_timer_ != 0) host_->kill_timer(connect_timer_);
  connect_timer_ = 0;
  if (!is_open_ || !connect_pending_) return;
  close();
  frontend_.update_title();
  frontend_.show_message_box(
      MessageBoxRequest{kConnectFailedBox, "MAV Controller", MessageIcon::Exclamation, true});
}

void LinkChannel::show_error_box(const char* text) {
  frontend_.show_message_box(MessageBoxRequest{text, "Error", MessageIcon::Exclamation, false});
}

}  // namespace mav
