#include "mavctl/MavctlSession.h"

#include <cstdio>

#include "service/ClientAuth.h"

namespace mav {
namespace {

using nlohmann::json;

json parsed(const std::string& line) {
  return json::parse(line, nullptr, false);
}

std::string text_of(const json& value) {
  return value.is_string() ? value.get<std::string>()
                           : value.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string port_line(const json& port) {
  char head[64];
  std::snprintf(head, sizeof head, "%02d  %-7s", port.value("port", 0),
                text_of(port["module"]).c_str());
  std::string line = head + text_of(port["name"]);
  if (!port["net"].is_null()) line += "  net " + text_of(port["net"]);
  if (!port["monitors"].empty()) line += "  monitors " + text_of(port["monitors"]);
  for (const char* flag : {"permanent", "cor", "ptt", "ring"}) {
    if (port.value(flag, false)) line += std::string("  ") + flag;
  }
  if (!port["hook"].is_null()) line += "  hook " + text_of(port["hook"]);
  if (!port["lock"].is_null()) line += "  locked by " + text_of(port["lock"]);
  return line;
}

}  // namespace

int MavctlSession::lost() {
  err_ << "mavctl: the service closed the connection\n";
  return kExitUnreachable;
}

int MavctlSession::start(std::string_view name, std::string_view token) {
  const auto hello = connection_.read_line();
  if (hello) hello_ = parsed(*hello);
  if (!hello || !hello_.is_object() || hello_.value("type", "") != "hello") {
    err_ << "mavctl: no greeting from the service\n";
    return kExitUnreachable;
  }
  // The token itself never crosses the wire, only its answer to this connection's challenge.
  const std::string response =
      token.empty() ? std::string() : token_response(token, hello_.value("challenge", ""));
  if (!connection_.send_line(encode_identify(name, response))) return lost();
  for (auto line = connection_.read_line(); line; line = connection_.read_line()) {
    snapshot_ = parsed(*line);
    if (!snapshot_.is_object()) continue;
    if (snapshot_.value("type", "") == "snapshot") return kExitApplied;
    if (snapshot_.value("type", "") == "response") {
      err_ << "mavctl: " << text_of(snapshot_["code"]) << ": " << text_of(snapshot_["message"])
           << "\n";
      return kExitRefused;
    }
  }
  return lost();
}

int MavctlSession::status() {
  int modules = 0;
  for (const json& port : snapshot_["ports"]) modules += port["module"].is_null() ? 0 : 1;
  out_ << "site " << text_of(hello_["site"]) << ": link " << text_of(hello_["link"])
       << (hello_.value("synchronised", false) ? ", synchronised" : ", not synchronised") << "; "
       << modules << " modules, " << snapshot_["nets"].size() << " nets\n";
  return kExitApplied;
}

int MavctlSession::ports(bool as_json) {
  if (as_json) {
    out_ << text_of(snapshot_["ports"]) << "\n";
    return kExitApplied;
  }
  for (const json& port : snapshot_["ports"]) {
    if (!port["module"].is_null()) out_ << port_line(port) << "\n";
  }
  return kExitApplied;
}

int MavctlSession::request(ControlOp op, const ControlArguments& arguments) {
  if (!connection_.send_line(encode_request(1, op, arguments))) return lost();
  for (auto line = connection_.read_line(); line; line = connection_.read_line()) {
    const json response = parsed(*line);
    if (!response.is_object() || response.value("type", "") != "response" ||
        response.value("id", json()) != 1)
      continue;
    const std::string status = response.value("status", "");
    if (status == "accepted") continue;
    if (status != "applied") {
      err_ << "mavctl: " << text_of(response["code"]) << ": " << text_of(response["message"])
           << "\n";
      return kExitRefused;
    }
    // What the op answers with (history, trace lines, a load's changes): one line each.
    for (const auto& [key, value] : response.items()) {
      if (key == "type" || key == "id" || key == "status") continue;
      if (!value.is_array()) out_ << key << ": " << text_of(value) << "\n";
      for (const json& item : value.is_array() ? value : json::array())
        out_ << text_of(item) << "\n";
    }
    return kExitApplied;
  }
  return lost();
}

int MavctlSession::watch(bool as_json) {
  for (auto line = connection_.read_line(); line; line = connection_.read_line()) {
    const json event = parsed(*line);
    if (!event.is_object() || event.value("type", "") != "event") continue;
    if (as_json) {
      out_ << *line << std::endl;
    } else {
      out_ << text_of(event["seq"]) << " " << text_of(event["actor"]) << ": "
           << text_of(event["event"]) << std::endl;
    }
  }
  return lost();
}

}  // namespace mav
