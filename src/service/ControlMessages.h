// The control protocol's messages: one JSON object per line. Reading a client's line never throws
// and never fails silently: whatever is wrong with it becomes an error with a code and a sentence
// that goes back to the client. The encoders write the service's lines with their members in a
// fixed order, so a client (or a test) sees the same bytes for the same state.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/DeviceModel.h"

namespace mav {

inline constexpr int kControlProtocol = 1;

enum class ControlOp {
  Connect,        // port with other_port, or port into net
  Disconnect,     // port
  DisconnectNet,  // net
  Monitor,        // port starts (on) or stops monitoring other_port
  ConnectAll,
  DisconnectAll,
  Permanent,    // port: toggles the permanent mark
  SettingsGet,  // port
  SettingsSet,  // port, settings
  ConfigSave,   // file
  ConfigLoad,   // file, preview
  HistoryList,
  Resync,
  TraceTail,  // count (0: the service's default)
  Dial,       // port, number, line
  Lock,       // port
  Unlock,     // port, force
  TokenAdd,   // name, role, ports
  TokenList,
  TokenRevoke,  // name
  SalvoSave,    // name, ports
  SalvoList,
  SalvoPreview,  // name
  SalvoTake,     // name; at or in: scheduled instead
  SalvoScheduled,
  SalvoCancel,        // take
  SalvoDelete,        // name
  SalvoRehearse,      // name
  ConfigRestoreLast,  // preview
  ConfigRevert,
  HistoryRestore,  // file, preview
};

// A request's arguments; an argument the op does not take keeps its empty value.
struct ControlArguments {
  int port = -1;
  int other_port = -1;
  int net = -1;
  bool on = false;
  bool preview = false;
  bool force = false;
  int line = 0;  // telephone line 1 or 2; 0: not given
  int count = 0;
  std::string number;
  std::string file;
  std::string name;
  std::string role;
  std::string ports;                                           // like "0-7,9"; empty: every port
  std::string at;                                              // "HH:MM"
  std::string in;                                              // a delay like "90s"
  int take = 0;                                                // a scheduled take's number
  std::vector<std::pair<std::string, std::int64_t>> settings;  // field name, value
};

struct ControlRequest {
  nlohmann::json id;
  ControlOp op = ControlOp::Resync;
  ControlArguments arguments;
};

struct ControlError {
  nlohmann::json id;  // null when the line carried none that could be read
  std::string code;
  std::string message;
};

struct ControlMessage {
  enum class Kind { Identify, Request, Invalid };
  Kind kind = Kind::Invalid;
  std::string name;      // Identify
  std::string response;  // Identify: the token's answer to the hello's challenge, if any
  ControlRequest request;
  ControlError error;
};

ControlMessage read_control_message(std::string_view line);

std::string_view control_op_name(ControlOp op);
std::optional<ControlOp> control_op_named(std::string_view name);
// The arguments as they are written in a request (the audit log's record of them).
nlohmann::ordered_json control_arguments_json(ControlOp op, const ControlArguments& arguments);

// Each encoder returns one line without its "\n".
enum class LinkState { Connected, Connecting, Closed };
// "connected", "connecting" or "closed", as the hello and the link events say it.
std::string_view link_word(LinkState link);
std::string encode_hello(std::string_view site, LinkState link, bool synchronised,
                         std::string_view challenge);
std::string encode_identify(std::string_view name, std::string_view response = {});
std::string encode_request(const nlohmann::json& id, ControlOp op,
                           const ControlArguments& arguments);
// The owner's name of each port's lock; empty: not locked.
using LockOwners = std::array<std::string, kPortCount>;
std::string encode_snapshot(std::uint64_t seq, const DeviceModel& model, const LockOwners& locks);
// The port as the snapshot and port events show it, with its lock's owner when it has one.
nlohmann::ordered_json port_json(int port, const PortRecord& record, std::string_view lock = {});
// A time as responses write it: local "YYYY-MM-DDTHH:MM:SS", with ".mmm" when asked.
std::string local_time_text(std::chrono::system_clock::time_point when, bool milliseconds = false);
// The occupied nets of these records, each with its bus and ports.
nlohmann::ordered_json nets_json(const PortRecord (&records)[kPortCount]);

enum class ResponseStatus { Accepted, Applied, Refused, Error };
// extra's members follow the status (a refusal's or error's code and message come from there).
std::string encode_response(const nlohmann::json& id, ResponseStatus status,
                            const nlohmann::ordered_json& extra = nlohmann::ordered_json::object());
std::string encode_refusal(const nlohmann::json& id, ResponseStatus status, std::string_view code,
                           std::string_view message);
std::string encode_error(const ControlError& error);

// Numbers the events of one service: each line's seq is one more than the one before, so a
// client that sees a gap knows it missed something and asks for a new snapshot.
class EventSequence {
 public:
  std::string next(std::string_view actor, const nlohmann::ordered_json& event);
  std::uint64_t last() const { return last_; }

 private:
  std::uint64_t last_ = 0;
};

// A text that may hold any bytes (port names, file names), written as JSON: bytes that are no
// UTF-8 become U+FFFD instead of failing the line.
std::string dump_line(const nlohmann::ordered_json& value);

}  // namespace mav
