// The console's connection to a gateway service, driven by the socket events of its host (the
// event loop when headless, Qt's notifiers in the controller) and never waiting on the socket:
// it reads the hello, identifies (with the token's answer to the hello's challenge when it has
// a token), hands the snapshot and events to its receiver and each response to the request's
// callback. When the service goes away it says so, tries again with a growing pause, and
// identifies again once back. Host thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/SocketEvents.h"
#include "service/ControlMessages.h"

namespace mav {

enum class ServiceLink {
  Closed,      // not opened, closed, or the identification was refused: no retries
  Connecting,  // the first connect is under way
  Open,        // connected, the identify under way
  Identified,  // the snapshot came: events and requests flow
  Lost,        // the connection failed or went away: retrying
};

// A response to one request. code and message come with a refusal or error; reply is the whole
// line, with the data of a request that reads ("settings", "history", ...).
struct ServiceAnswer {
  ResponseStatus status = ResponseStatus::Error;
  std::string code;
  std::string message;
  nlohmann::json reply;
};

// Where the service's greeting, snapshots and events go.
class ServiceReceiver {
 public:
  virtual ~ServiceReceiver() = default;
  virtual void on_hello(const nlohmann::json& hello) = 0;
  virtual void on_snapshot(const nlohmann::json& snapshot) = 0;
  virtual void on_event(const nlohmann::json& event) = 0;
};

class ServiceClient final : public SocketEvents {
 public:
  using Answer = std::function<void(const ServiceAnswer&)>;
  // why: the reason of a loss or of a refused identification; empty otherwise.
  using LinkListener = std::function<void(ServiceLink, const std::string& why)>;

  // name: how the service knows this console unless the token names it.
  ServiceClient(SocketEventHost& host, std::string name, std::string token = {});
  ServiceClient(const ServiceClient&) = delete;
  ServiceClient& operator=(const ServiceClient&) = delete;
  ~ServiceClient() override;

  void set_receiver(ServiceReceiver* receiver) { receiver_ = receiver; }
  void set_link_listener(LinkListener listener) { link_listener_ = std::move(listener); }

  // A Unix socket path or HOST:PORT; keeps trying until close().
  void open(std::string address);
  // Ends the connection; requests under way get no answer.
  void close();
  ServiceLink link() const { return link_; }
  const std::string& address() const { return address_; }

  // Identifies again: the snapshot that follows replaces whatever the receiver holds.
  void resnapshot();
  // Sends the request; answer (which may be empty) hears "accepted" and then the final outcome.
  // Before the console is identified, or when the connection goes, it hears an error
  // "not_connected".
  void request(ControlOp op, const ControlArguments& arguments, Answer answer);

  // SocketEvents
  void on_socket_read() override;
  void on_socket_connected() override;
  void on_socket_closed() override;
  void on_connect_timeout() override;
  void on_connect_refused() override;

 private:
  void try_connect();
  void lose(const std::string& why);
  void drop_socket();
  void set_link(ServiceLink link, const std::string& why = {});
  void send_line(const std::string& line);
  void flush();
  void on_line(const std::string& line);
  void on_response(const nlohmann::json& response);
  void answer_all_lost();

  SocketEventHost& host_;
  std::string name_;
  std::string token_;
  std::string address_;
  ServiceReceiver* receiver_ = nullptr;
  LinkListener link_listener_;
  ServiceLink link_ = ServiceLink::Closed;
  int fd_ = -1;
  std::uint64_t connection_ = 0;  // counts the sockets dropped
  bool connected_ = false;        // the connect completed
  bool identifying_ = false;      // an identify waits for its snapshot
  std::string challenge_;         // the hello's, for the token's answer
  std::uint32_t retry_ms_ = 0;
  std::string in_;
  std::string out_;
  std::int64_t next_id_ = 1;
  std::map<std::int64_t, Answer> answers_;
};

}  // namespace mav
