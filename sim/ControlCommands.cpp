#include "ControlCommands.h"

#include <charconv>
#include <vector>

#include "Events.h"
#include "ReplyFormat.h"

namespace mav::sim {
namespace {

using Tokens = std::vector<std::string_view>;

Tokens split(std::string_view text) {
  Tokens tokens;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t start = text.find_first_not_of(" \t\r\n", at);
    if (start == std::string_view::npos) break;
    const std::size_t end = text.find_first_of(" \t\r\n", start);
    tokens.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    at = end == std::string_view::npos ? text.size() : end;
  }
  return tokens;
}

// What follows the verb, as it was typed (inner blanks kept).
std::string_view text_after(std::string_view command, std::string_view verb) {
  const std::size_t at = command.find(verb) + verb.size();
  const std::size_t start = command.find_first_not_of(" \t", at);
  return start == std::string_view::npos ? std::string_view() : command.substr(start);
}

std::optional<long> to_number(std::string_view token, int base) {
  if (base == 16 && token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
    token.remove_prefix(2);
  }
  long value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value, base);
  if (error != std::errc() || end != token.data() + token.size() || value < 0) return std::nullopt;
  return value;
}

std::optional<int> to_port(std::string_view token) {
  const std::optional<long> value = to_number(token, 10);
  if (!value || *value >= kPortCount) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<int> to_count(std::string_view token) {
  const std::optional<long> value = to_number(token, 10);
  if (!value || *value > kMaxFaultCount) return std::nullopt;
  return static_cast<int>(*value);
}

ControlOutcome ok(std::string detail = {}) {
  ControlOutcome outcome;
  outcome.response = detail.empty() ? "ok" : "ok " + detail;
  return outcome;
}

ControlOutcome error(std::string_view why) {
  ControlOutcome outcome;
  outcome.response = "error: " + std::string(why);
  return outcome;
}

ControlOutcome from_event(EventResult event) {
  ControlOutcome outcome = event.error.empty() ? ok() : error(event.error);
  outcome.lines = std::move(event.lines);
  return outcome;
}

std::optional<bool> to_switch(std::string_view token) {
  if (token == "on") return true;
  if (token == "off") return false;
  return std::nullopt;
}

ControlOutcome activity(GatewayModel& model, Indicator which, const Tokens& args) {
  const std::optional<long> mask = args.size() == 1 ? to_number(args[0], 16) : std::nullopt;
  if (!mask || *mask > 0xFFFFFFFFL) return error("usage: cor|ptt|ring HEXMASK");
  return from_event(activity_event(model, which, static_cast<std::uint32_t>(*mask)));
}

ControlOutcome connect(GatewayModel& model, const Tokens& args) {
  std::vector<int> ports;
  for (std::string_view token : args) {
    const std::optional<int> port = to_port(token);
    if (!port) return error("usage: connect PORT PORT [PORT...]");
    ports.push_back(*port);
  }
  if (ports.size() < 2) return error("usage: connect PORT PORT [PORT...]");
  return from_event(connect_event(model, ports.front(), {ports.begin() + 1, ports.end()}));
}

ControlOutcome pin(GatewayModel& model, const Tokens& args) {
  const bool shape = args.size() == 3 || args.size() == 4;
  const std::optional<int> from = shape ? to_port(args[0]) : std::nullopt;
  const std::optional<int> to = shape ? to_port(args[1]) : std::nullopt;
  const std::optional<long> digits = shape ? to_number(args[2], 10) : std::nullopt;
  std::optional<int> forced;
  if (args.size() == 4) {
    const std::optional<long> status = to_number(args[3], 10);
    if (!status || *status > 99) return error("usage: pin FROM TO PIN [STATUS]");
    forced = static_cast<int>(*status);
  }
  if (!from || !to || !digits || *digits > 9999) return error("usage: pin FROM TO PIN [STATUS]");
  return from_event(pin_event(model, *from, *to, static_cast<int>(*digits), forced));
}

// The line runs as if a peer had sent it; its replies go to the operator alone, " | " between two.
ControlOutcome ask(Gateway& gateway, std::string_view line) {
  std::string replies;
  for (const std::string& reply : gateway.handle_line(line)) {
    replies += (replies.empty() ? "" : " | ") + reply;
  }
  return ok(replies);
}

ControlOutcome fault_switch(bool& flag, const Tokens& args, std::string_view usage) {
  const std::optional<bool> on = args.size() == 1 ? to_switch(args[0]) : std::nullopt;
  if (!on) return error(usage);
  flag = *on;
  return ok();
}

ControlOutcome fault_bytes(const Tokens& args, std::string_view usage, auto make) {
  const std::optional<int> count = args.size() == 1 ? to_count(args[0]) : std::nullopt;
  if (!count) return error(usage);
  ControlOutcome outcome = ok();
  outcome.raw = make(*count);
  return outcome;
}

}  // namespace

ControlOutcome run_control(std::string_view command, Gateway& gateway, FaultState& faults) {
  const Tokens tokens = split(command);
  if (tokens.empty()) return ok();
  const std::string_view verb = tokens.front();
  const Tokens args(tokens.begin() + 1, tokens.end());
  GatewayModel& model = gateway.model();

  if (verb == "help") return ok(std::string(control_help()));
  if (verb == "cor") return activity(model, Indicator::kCor, args);
  if (verb == "ptt") return activity(model, Indicator::kPtt, args);
  if (verb == "ring") return activity(model, Indicator::kRing, args);
  if (verb == "connect") return connect(model, args);
  if (verb == "pin") return pin(model, args);
  if (verb == "disc") {
    if (args.size() == 1 && args[0] == "all") return from_event(disc_event(model, kNone));
    const std::optional<int> port = args.size() == 1 ? to_port(args[0]) : std::nullopt;
    if (!port) return error("usage: disc PORT|all");
    return from_event(disc_event(model, *port));
  }
  if (verb == "remove") {
    const std::optional<int> port = args.size() == 1 ? to_port(args[0]) : std::nullopt;
    if (!port) return error("usage: remove PORT");
    return from_event(remove_event(model, *port));
  }
  if (verb == "insert") {
    const std::optional<int> port = args.size() == 2 ? to_port(args[0]) : std::nullopt;
    const std::optional<long> type = args.size() == 2 ? to_number(args[1], 10) : std::nullopt;
    if (!port || !type || *type > 9) return error("usage: insert PORT TYPE");
    return from_event(insert_event(model, *port, static_cast<int>(*type)));
  }
  if (verb == "hook") {
    const std::optional<int> port = args.size() == 2 ? to_port(args[0]) : std::nullopt;
    const std::optional<bool> on = args.size() == 2 ? to_switch(args[1]) : std::nullopt;
    if (!port || !on) return error("usage: hook PORT on|off");
    return from_event(hook_event(model, *port, *on));
  }
  if (verb == "restart") return from_event(restart_event(model));
  if (verb == "relay") {
    // "relay ?" shows the image to the operator alone; the peers are not told.
    if (args.size() == 1 && args[0] == "?") return ok(relay_event(model).lines.front());
    if (!args.empty()) return error("usage: relay [?]");
    return from_event(relay_event(model));
  }
  if (verb == "busy") {
    if (args.empty()) {
      ControlOutcome outcome = ok();
      outcome.lines.push_back("%BUSY");
      return outcome;
    }
    const std::optional<int> count = args.size() == 1 ? to_count(args[0]) : std::nullopt;
    if (!count) return error("usage: busy [N]");
    faults.busy_replies = *count;
    return ok();
  }
  if (verb == "send") {
    ControlOutcome outcome = ok();
    outcome.lines.emplace_back(text_after(command, verb));
    return outcome;
  }
  if (verb == "silent") return fault_switch(faults.silent, args, "usage: silent on|off");
  if (verb == "slow") {
    const std::optional<long> ms = args.size() == 1 ? to_number(args[0], 10) : std::nullopt;
    if (!ms || *ms > 60000) return error("usage: slow MS (0 to 60000)");
    faults.slow_ms = static_cast<int>(*ms);
    return ok();
  }
  if (verb == "close") {
    ControlOutcome outcome = ok();
    outcome.close_peer = true;
    return outcome;
  }
  if (verb == "garbage") {
    return fault_bytes(args, "usage: garbage N", [](int n) { return garbage_bytes(n, 1u); });
  }
  if (verb == "longline") return fault_bytes(args, "usage: longline N", long_line);
  if (verb == "flood") return fault_bytes(args, "usage: flood N", flood_lines);
  if (verb == "system") return ask(gateway, "SYSTEM");
  if (verb == "ask") return ask(gateway, text_after(command, verb));
  if (verb == "quit") {
    ControlOutcome outcome = ok();
    outcome.quit = true;
    return outcome;
  }
  return error("unknown command (try help)");
}

std::string_view control_help() {
  return "commands: cor|ptt|ring HEXMASK; connect P Q [R...]; disc P|all; "
         "pin FROM TO PIN [STATUS]; remove P; insert P TYPE; hook P on|off; restart; relay [?]; "
         "busy [N]; send LINE; silent on|off; slow MS; close; garbage N; longline N; flood N; "
         "system; ask LINE; quit";
}

}  // namespace mav::sim
