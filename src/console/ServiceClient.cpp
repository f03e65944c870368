#include "console/ServiceClient.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "console/JsonMembers.h"
#include "console/ServiceSocket.h"
#include "platform/SocketReadiness.h"
#include "service/ClientAuth.h"

namespace mav {
namespace {

using nlohmann::json;

// The one timer: the connect's deadline, then the pause before the next try, or, while
// connected, the look at a connection that broke without a close to report.
constexpr int kTimer = 1;
constexpr std::uint32_t kConnectDeadlineMs = 5000;
constexpr std::uint32_t kCheckMs = 1000;
constexpr std::uint32_t kFirstRetryMs = 250;
constexpr std::uint32_t kLongestRetryMs = 4000;
// The service queues no more than this for a client; a longer line is no service's.
constexpr std::size_t kLongestLine = 4 << 20;
constexpr std::size_t kReadAtOnce = 1 << 20;

ServiceAnswer not_connected(const char* message) {
  return ServiceAnswer{ResponseStatus::Error, "not_connected", message, json()};
}

std::optional<ResponseStatus> status_named(const std::string& word) {
  if (word == "accepted") return ResponseStatus::Accepted;
  if (word == "applied") return ResponseStatus::Applied;
  if (word == "refused") return ResponseStatus::Refused;
  if (word == "error") return ResponseStatus::Error;
  return std::nullopt;
}

}  // namespace

ServiceClient::ServiceClient(SocketEventHost& host, std::string name, std::string token)
    : host_(host), name_(std::move(name)), token_(std::move(token)) {}

ServiceClient::~ServiceClient() {
  host_.kill_timer(kTimer);
  drop_socket();
}

void ServiceClient::open(std::string address) {
  close();
  address_ = std::move(address);
  retry_ms_ = 0;
  set_link(ServiceLink::Connecting);
  try_connect();
}

void ServiceClient::close() {
  host_.kill_timer(kTimer);
  drop_socket();
  answers_.clear();
  set_link(ServiceLink::Closed);
}

void ServiceClient::try_connect() {
  std::string error;
  fd_ = open_service_socket(address_, error);
  if (fd_ < 0) {
    lose(error);
    return;
  }
  host_.watch_socket(fd_);
  host_.start_timer(kTimer, kConnectDeadlineMs);
}

void ServiceClient::drop_socket() {
  if (fd_ < 0) return;
  host_.unwatch_socket();
  ::close(fd_);
  fd_ = -1;
  connected_ = false;
  identifying_ = false;
  ++connection_;
  in_.clear();
  out_.clear();
}

void ServiceClient::lose(const std::string& why) {
  drop_socket();
  answer_all_lost();
  set_link(ServiceLink::Lost, why);
  retry_ms_ = retry_ms_ == 0 ? kFirstRetryMs : std::min(retry_ms_ * 2, kLongestRetryMs);
  host_.start_timer(kTimer, retry_ms_);
}

void ServiceClient::answer_all_lost() {
  const auto waiting = std::exchange(answers_, {});
  for (const auto& [id, answer] : waiting)
    answer(not_connected("The connection to the service was lost"));
}

void ServiceClient::set_link(ServiceLink link, const std::string& why) {
  if (link == link_) return;
  link_ = link;
  if (link_listener_) link_listener_(link, why);
}

void ServiceClient::on_socket_connected() {
  connected_ = true;
  set_link(ServiceLink::Open);
  host_.start_timer(kTimer, kCheckMs);
}

void ServiceClient::on_connect_refused() {
  lose("The service refused the connection");
}

void ServiceClient::on_socket_closed() {
  lose("The service closed the connection");
}

void ServiceClient::on_connect_timeout() {
  if (fd_ < 0) {
    if (link_ == ServiceLink::Lost) try_connect();
    return;
  }
  if (!connected_) {
    lose("The service did not answer");
    return;
  }
  const ReadReadiness readiness = probe_readable(fd_);
  if (readiness == ReadReadiness::PeerClosed || readiness == ReadReadiness::Broken) {
    lose("The service closed the connection");
    return;
  }
  flush();
}

void ServiceClient::on_socket_read() {
  char chunk[65536];
  while (in_.size() < kReadAtOnce) {
    const ssize_t got = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
    if (got > 0) {
      in_.append(chunk, static_cast<std::size_t>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    lose(got == 0 ? "The service closed the connection" : std::strerror(errno));
    return;
  }
  // A handler may close or lose this connection: the rest of its lines are then dropped.
  const std::uint64_t connection = connection_;
  std::string data = std::exchange(in_, {});
  std::size_t at = 0;
  for (std::size_t end = data.find('\n'); end != std::string::npos && connection == connection_;
       end = data.find('\n', at)) {
    on_line(data.substr(at, end - at));
    at = end + 1;
  }
  if (connection != connection_) return;
  in_ = data.substr(at);
  if (in_.size() > kLongestLine) lose("The service sent a line too long");
}

void ServiceClient::on_line(const std::string& line) {
  const json message = json::parse(line, nullptr, false);
  const std::string type = string_member(message, "type");
  if (type == "hello") {
    challenge_ = string_member(message, "challenge");
    if (receiver_ != nullptr) receiver_->on_hello(message);
    resnapshot();
  } else if (type == "snapshot" && identifying_) {
    identifying_ = false;
    retry_ms_ = 0;
    if (receiver_ != nullptr) receiver_->on_snapshot(message);
    set_link(ServiceLink::Identified);
  } else if (type == "event" && link_ == ServiceLink::Identified) {
    if (receiver_ != nullptr) receiver_->on_event(message);
  } else if (type == "response") {
    on_response(message);
  }
}

void ServiceClient::on_response(const json& response) {
  const auto status = status_named(string_member(response, "status"));
  if (!status) return;
  ServiceAnswer answer{*status, string_member(response, "code"), string_member(response, "message"),
                       response};
  const json* id = member(response, "id");
  if (id == nullptr || id->is_null()) {
    // An identify has no id: its refusal ends the connection, and trying again would only
    // count against this address.
    if (!identifying_ || *status != ResponseStatus::Error) return;
    host_.kill_timer(kTimer);
    drop_socket();
    answer_all_lost();
    set_link(ServiceLink::Closed, answer.message);
    return;
  }
  if (!id->is_number_integer()) return;
  const auto found = answers_.find(id->get<std::int64_t>());
  if (found == answers_.end()) return;
  // The final answer leaves the table first: its callback may send the next request.
  Answer callback = found->second;
  if (*status != ResponseStatus::Accepted) answers_.erase(found);
  callback(answer);
}

void ServiceClient::resnapshot() {
  if (!connected_ || identifying_) return;
  identifying_ = true;
  const std::string response = token_.empty() ? std::string() : token_response(token_, challenge_);
  send_line(encode_identify(name_, response));
}

void ServiceClient::request(ControlOp op, const ControlArguments& arguments, Answer answer) {
  if (link_ != ServiceLink::Identified) {
    if (answer) answer(not_connected("Not connected to the service"));
    return;
  }
  const std::int64_t id = next_id_++;
  answers_[id] = answer ? std::move(answer) : [](const ServiceAnswer&) {};
  send_line(encode_request(id, op, arguments));
}

void ServiceClient::send_line(const std::string& line) {
  out_ += line;
  out_ += '\n';
  flush();
}

void ServiceClient::flush() {
  while (!out_.empty() && fd_ >= 0) {
    const ssize_t sent = ::send(fd_, out_.data(), out_.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      out_.erase(0, static_cast<std::size_t>(sent));
    } else if (sent < 0 && errno == EINTR) {
      continue;
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      return;  // the connection's check sends the rest
    } else {
      lose(std::strerror(errno));
      return;
    }
  }
}

}  // namespace mav
