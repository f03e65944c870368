// Connections, disconnections and monitor relations.
#include "Gateway.h"
#include "ReplyFormat.h"

namespace mav::sim {

// "CONNECT_S pp qq" (and "CONNECT pp qq") joins two ports; "CONNECT_S ALL ?" lists every bus
// that carries a conversation, one line per bus: its first port, then the others (a lone port on
// a linked bus alone). With none the answer names ALL, which the controller reads as the end of
// an empty list. The lines say nothing of links and DISCH groups, so when there are any the relay
// image follows.
void Gateway::on_connect(int keyword, const Args& args, Lines& out) {
  if (args.size() == 2 && args[0] == "ALL" && args[1] == "?") {
    for (int bus = 0; bus < model_.bus_count(); ++bus) {
      const std::vector<int> members = model_.ports_on_bus(bus);
      if (members.size() < 2 && model_.link_of_bus(bus) == kNone) continue;
      std::string line = "%" + std::string(keyword_text(keyword));
      for (int port : members) line += " " + port_text(port);
      out.push_back(line + " E0");
    }
    if (out.empty()) out.push_back(reply_line(keyword, {"ALL"}, status::kNotPresent));
    if (model_.has_links_or_groups()) out.push_back("%RELAY " + model_.relay_image());
    return;
  }
  const std::optional<int> p = args.size() == 2 ? parse_port(args[0]) : std::nullopt;
  const std::optional<int> q = args.size() == 2 ? parse_port(args[1]) : std::nullopt;
  if (!p || !q || *p == *q) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  const int result = model_.connect(*p, *q, keyword == kw::CONNECT ? Join::kMove : Join::kLink);
  out.push_back(reply_line(keyword, {port_text(*p), port_text(*q)}, result));
}

// DISC and DISC_S hang a port (or ALL) up; DISCH takes it out of its DISCH group, or else holds
// it, and keeps its line. "ALL" ends every connection and group.
void Gateway::on_disconnect(int keyword, const Args& args, Lines& out) {
  const bool hang_up = keyword != kw::DISCH;
  if (args.size() == 1 && args[0] == "ALL") {
    model_.disconnect_all(hang_up);
    out.push_back(reply_line(keyword, {"ALL"}, status::kOk));
    return;
  }
  const std::optional<int> port = args.size() == 1 ? parse_port(args[0]) : std::nullopt;
  if (!port) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  if (!model_.has_module(*port)) {
    out.push_back(reply_line(keyword, {port_text(*port)}, status::kNotPresent));
    return;
  }
  model_.disconnect(*port, hang_up);
  out.push_back(reply_line(keyword, {port_text(*port)}, status::kOk));
}

void Gateway::monitor_line(int port, Lines& out) const {
  std::string line = "%MON " + port_text(port);
  const std::vector<int>& monitored = model_.port(port).monitored;
  for (int other : monitored) line += " " + port_text(other);
  line += monitored.empty() ? " OFF E0" : " ON E0";
  out.push_back(line);
}

// "MON pp qq ON|OFF" starts or stops port pp listening to qq; the reply reports the relation as
// it now stands, so a refused request answers OFF with its status. "MON ALL ?" lists every
// listening port, or names ALL with nobody listened to; "MON pp ?" lists one port.
void Gateway::on_monitor(const Args& args, Lines& out) {
  if (args.size() == 2 && args[1] == "?") {
    if (args[0] == "ALL") {
      for (int port = 0; port < kPortCount; ++port) {
        if (!model_.port(port).monitored.empty()) monitor_line(port, out);
      }
      if (out.empty()) out.push_back(reply_line(kw::MON, {"ALL", "OFF"}, status::kNotPresent));
      return;
    }
    const std::optional<int> port = parse_port(args[0]);
    if (port) {
      monitor_line(*port, out);
      return;
    }
  }
  if (args.size() != 3) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  const int p = parse_port(args[0]).value_or(-1);
  const int q = parse_port(args[1]).value_or(-1);
  const int on = parse_on_off(args[2]).value_or(-1);
  if (p < 0 || q < 0 || on < 0) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  const bool done = model_.set_monitor(p, q, on != 0);
  const char* state = done && on != 0 ? "ON" : "OFF";
  out.push_back(reply_line(kw::MON, {port_text(p), port_text(q), state},
                           done ? status::kOk : status::kNotPresent));
}

}  // namespace mav::sim
