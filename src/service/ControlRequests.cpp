// Reading a client's line into an identify or a typed request, and writing requests the same
// way (mavctl), from one table of ops and the arguments each takes.
#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>

#include "salvo/SalvoFile.h"
#include "salvo/TakeTime.h"
#include "service/AccessRules.h"
#include "service/ControlMessages.h"

namespace mav {
namespace {

using json = nlohmann::ordered_json;  // settings keep the order the client gave them
using nlohmann::ordered_json;

constexpr std::size_t kMaxText = 1024;
constexpr int kMaxTraceLines = 10000;
constexpr std::size_t kMaxName = 64;
constexpr std::size_t kMaxResponse = 128;

enum class Arg {
  Port,
  To,
  Of,
  Net,
  On,
  Preview,
  Force,
  Line,
  Count,
  Number,
  File,
  Name,
  Role,
  Ports,
  Settings,
  At,
  In,
  Take
};

struct ArgUse {
  Arg arg;
  bool required;
};

struct OpEntry {
  ControlOp op;
  std::string_view name;
  std::initializer_list<ArgUse> arguments;
};

constexpr std::string_view key_of(Arg arg) {
  constexpr std::array<std::string_view, 18> keys = {
      "port",   "to",   "of",   "net",  "on",    "preview",  "force", "line", "count",
      "number", "file", "name", "role", "ports", "settings", "at",    "in",   "take"};
  return keys[static_cast<std::size_t>(arg)];
}

const std::array<OpEntry, 31>& op_table() {
  static const std::array<OpEntry, 31> table = {{
      {ControlOp::Connect,
       "connect",
       {{Arg::Port, true},
        {Arg::To, false},
        {Arg::Net, false},
        {Arg::Number, false},
        {Arg::Line, false}}},
      {ControlOp::Disconnect, "disconnect", {{Arg::Port, true}}},
      {ControlOp::DisconnectNet, "disconnect_net", {{Arg::Net, true}}},
      {ControlOp::Monitor, "monitor", {{Arg::Port, true}, {Arg::Of, true}, {Arg::On, true}}},
      {ControlOp::ConnectAll, "connect_all", {}},
      {ControlOp::DisconnectAll, "disconnect_all", {}},
      {ControlOp::Permanent, "permanent", {{Arg::Port, true}}},
      {ControlOp::SettingsGet, "settings.get", {{Arg::Port, true}}},
      {ControlOp::SettingsSet, "settings.set", {{Arg::Port, true}, {Arg::Settings, true}}},
      {ControlOp::ConfigSave, "config.save", {{Arg::File, true}}},
      {ControlOp::ConfigLoad, "config.load", {{Arg::File, true}, {Arg::Preview, false}}},
      {ControlOp::HistoryList, "history.list", {}},
      {ControlOp::Resync, "resync", {}},
      {ControlOp::TraceTail, "trace.tail", {{Arg::Count, false}}},
      {ControlOp::Dial, "dial", {{Arg::Port, true}, {Arg::Number, true}, {Arg::Line, false}}},
      {ControlOp::Lock, "lock", {{Arg::Port, true}}},
      {ControlOp::Unlock, "unlock", {{Arg::Port, true}, {Arg::Force, false}}},
      {ControlOp::TokenAdd,
       "token.add",
       {{Arg::Name, true}, {Arg::Role, true}, {Arg::Ports, false}}},
      {ControlOp::TokenList, "token.list", {}},
      {ControlOp::TokenRevoke, "token.revoke", {{Arg::Name, true}}},
      {ControlOp::SalvoSave, "salvo.save", {{Arg::Name, true}, {Arg::Ports, true}}},
      {ControlOp::SalvoList, "salvo.list", {}},
      {ControlOp::SalvoPreview, "salvo.preview", {{Arg::Name, true}}},
      {ControlOp::SalvoTake, "salvo.take", {{Arg::Name, true}, {Arg::At, false}, {Arg::In, false}}},
      {ControlOp::SalvoScheduled, "salvo.scheduled", {}},
      {ControlOp::SalvoCancel, "salvo.cancel", {{Arg::Take, true}}},
      {ControlOp::SalvoDelete, "salvo.delete", {{Arg::Name, true}}},
      {ControlOp::SalvoRehearse, "salvo.rehearse", {{Arg::Name, true}}},
      {ControlOp::ConfigRestoreLast, "config.restore_last", {{Arg::Preview, false}}},
      {ControlOp::ConfigRevert, "config.revert", {}},
      {ControlOp::HistoryRestore, "history.restore", {{Arg::File, true}, {Arg::Preview, false}}},
  }};
  return table;
}

const OpEntry& entry_of(ControlOp op) {
  return op_table()[static_cast<std::size_t>(op)];
}

bool read_int(const json& value, std::int64_t low, std::int64_t high, int& out) {
  if (!value.is_number_integer()) return false;
  if (value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(high))
    return false;
  const auto number = value.get<std::int64_t>();
  if (number < low || number > high) return false;
  out = static_cast<int>(number);
  return true;
}

bool read_text(const json& value, std::string& out) {
  if (!value.is_string() || value.get_ref<const std::string&>().empty() ||
      value.get_ref<const std::string&>().size() > kMaxText)
    return false;
  out = value.get<std::string>();
  return true;
}

bool read_settings(const json& value, ControlArguments& out) {
  if (!value.is_object() || value.empty()) return false;
  for (const auto& [field, setting] : value.items()) {
    if (!setting.is_number_integer() ||
        (setting.is_number_unsigned()
             ? setting.get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max()
             : setting.get<std::int64_t>() < 0))
      return false;
    out.settings.emplace_back(field, setting.get<std::int64_t>());
  }
  return true;
}

// What the key holds, checked and stored; false when its type or range is wrong.
bool read_argument(Arg arg, const json& value, ControlArguments& out) {
  switch (arg) {
    case Arg::Port:
      return read_int(value, 0, kPortCount - 1, out.port);
    case Arg::To:
    case Arg::Of:
      return read_int(value, 0, kPortCount - 1, out.other_port);
    case Arg::Net:
      return read_int(value, 1, 7, out.net);
    case Arg::On:
    case Arg::Preview:
    case Arg::Force:
      if (!value.is_boolean()) return false;
      (arg == Arg::On ? out.on : arg == Arg::Preview ? out.preview : out.force) = value.get<bool>();
      return true;
    case Arg::Line:
      return read_int(value, 1, 2, out.line);
    case Arg::Count:
      return read_int(value, 1, kMaxTraceLines, out.count);
    case Arg::Number:
      return read_text(value, out.number);
    case Arg::File:
      return read_text(value, out.file);
    case Arg::Name:
      return read_text(value, out.name) && out.name.size() <= kMaxName;
    case Arg::Role:
      return read_text(value, out.role);
    case Arg::Ports:
      return read_text(value, out.ports);
    case Arg::Settings:
      return read_settings(value, out);
    case Arg::At:
      return read_text(value, out.at) && ParseTimeOfDay(out.at);
    case Arg::In:
      return read_text(value, out.in) && ParseDelay(out.in);
    case Arg::Take:
      return read_int(value, 1, std::numeric_limits<std::int32_t>::max(), out.take);
  }
  return false;
}

std::string argument_sentence(std::string_view op, Arg arg, bool missing) {
  std::string text = missing ? "The request " : "The argument \"";
  if (missing) {
    text.append(op).append(" needs the argument \"").append(key_of(arg)).append("\".");
  } else {
    text.append(key_of(arg)).append("\" of ").append(op).append(" has a wrong type or value.");
  }
  return text;
}

ControlMessage invalid(json id, std::string code, std::string message) {
  ControlMessage result;
  result.error = ControlError{std::move(id), std::move(code), std::move(message)};
  return result;
}

ControlMessage read_identify(const json& object) {
  const auto name = object.find("name");
  ControlMessage result;
  if (name == object.end() || !read_text(*name, result.name) || result.name.size() > kMaxName)
    return invalid(nullptr, "bad_argument", "An identify needs a \"name\" of 1 to 64 characters.");
  const auto response = object.find("response");
  if (response != object.end() &&
      (!read_text(*response, result.response) || result.response.size() > kMaxResponse))
    return invalid(nullptr, "bad_argument", "An identify's \"response\" is a text of hex digits.");
  result.kind = ControlMessage::Kind::Identify;
  return result;
}

ControlMessage read_request(const json& object) {
  const auto id = object.find("id");
  if (id == object.end()) return invalid(nullptr, "missing_id", "A request needs an \"id\".");
  if (!id->is_string() && !id->is_number_integer())
    return invalid(nullptr, "bad_id", "A request's \"id\" is a string or a whole number.");
  const auto op_name = object.find("op");
  if (op_name == object.end() || !op_name->is_string())
    return invalid(*id, "unknown_op", "A request needs an \"op\".");
  const auto op = control_op_named(op_name->get_ref<const std::string&>());
  if (!op)
    return invalid(*id, "unknown_op", "There is no op \"" + op_name->get<std::string>() + "\".");

  ControlMessage result;
  result.request.id = *id;
  result.request.op = *op;
  const OpEntry& entry = entry_of(*op);
  for (const ArgUse& use : entry.arguments) {
    const auto value = object.find(std::string(key_of(use.arg)));
    if (value == object.end()) {
      if (use.required)
        return invalid(*id, "bad_argument", argument_sentence(entry.name, use.arg, true));
      continue;
    }
    if (!read_argument(use.arg, *value, result.request.arguments))
      return invalid(*id, "bad_argument", argument_sentence(entry.name, use.arg, false));
  }
  const ControlArguments& arguments = result.request.arguments;
  if (*op == ControlOp::Connect && (arguments.other_port < 0) == (arguments.net < 0))
    return invalid(*id, "bad_argument", "A connect names either a port \"to\" or a \"net\".");
  if (!arguments.at.empty() && !arguments.in.empty())
    return invalid(*id, "bad_argument", "A take is scheduled by either \"at\" or \"in\".");
  const bool names_salvo = *op == ControlOp::SalvoSave || *op == ControlOp::SalvoPreview ||
                           *op == ControlOp::SalvoTake || *op == ControlOp::SalvoDelete ||
                           *op == ControlOp::SalvoRehearse;
  if (names_salvo && !IsSalvoName(arguments.name))
    return invalid(*id, "bad_argument", argument_sentence(entry.name, Arg::Name, false));
  if (*op == ControlOp::SalvoSave && !read_port_ranges(arguments.ports))
    return invalid(*id, "bad_argument", argument_sentence(entry.name, Arg::Ports, false));
  result.kind = ControlMessage::Kind::Request;
  return result;
}

}  // namespace

std::string_view control_op_name(ControlOp op) {
  return entry_of(op).name;
}

std::optional<ControlOp> control_op_named(std::string_view name) {
  const auto& table = op_table();
  const auto found = std::find_if(table.begin(), table.end(),
                                  [name](const OpEntry& entry) { return entry.name == name; });
  if (found == table.end()) return std::nullopt;
  return found->op;
}

ControlMessage read_control_message(std::string_view line) {
  const json object = json::parse(line, nullptr, false);
  if (object.is_discarded()) return invalid(nullptr, "invalid_json", "The line is no JSON.");
  if (!object.is_object())
    return invalid(nullptr, "invalid_message", "A message is a JSON object.");
  const auto type = object.find("type");
  if (type != object.end() && *type == "request") return read_request(object);
  if (type != object.end() && *type == "identify") return read_identify(object);
  return invalid(nullptr, "invalid_message",
                 "A message's \"type\" is \"identify\" or \"request\".");
}

ordered_json control_arguments_json(ControlOp op, const ControlArguments& arguments) {
  ordered_json out = ordered_json::object();
  for (const ArgUse& use : entry_of(op).arguments) {
    const std::string key(key_of(use.arg));
    switch (use.arg) {
      case Arg::Port:
        out[key] = arguments.port;
        break;
      case Arg::To:
      case Arg::Of:
        if (arguments.other_port >= 0) out[key] = arguments.other_port;
        break;
      case Arg::Net:
        if (arguments.net >= 0) out[key] = arguments.net;
        break;
      case Arg::On:
        out[key] = arguments.on;
        break;
      case Arg::Preview:
        if (arguments.preview) out[key] = true;
        break;
      case Arg::Force:
        if (arguments.force) out[key] = true;
        break;
      case Arg::Line:
        if (arguments.line > 0) out[key] = arguments.line;
        break;
      case Arg::Count:
        if (arguments.count > 0) out[key] = arguments.count;
        break;
      case Arg::Number:
        if (!arguments.number.empty()) out[key] = arguments.number;
        break;
      case Arg::File:
        out[key] = arguments.file;
        break;
      case Arg::Name:
        out[key] = arguments.name;
        break;
      case Arg::Role:
        out[key] = arguments.role;
        break;
      case Arg::Ports:
        if (!arguments.ports.empty()) out[key] = arguments.ports;
        break;
      case Arg::Settings:
        out[key] = ordered_json::object();
        for (const auto& [field, value] : arguments.settings) out[key][field] = value;
        break;
      case Arg::At:
        if (!arguments.at.empty()) out[key] = arguments.at;
        break;
      case Arg::In:
        if (!arguments.in.empty()) out[key] = arguments.in;
        break;
      case Arg::Take:
        out[key] = arguments.take;
        break;
    }
  }
  return out;
}

std::string encode_request(const nlohmann::json& id, ControlOp op,
                           const ControlArguments& arguments) {
  ordered_json line = {{"type", "request"}, {"id", id}, {"op", control_op_name(op)}};
  const ordered_json given = control_arguments_json(op, arguments);
  for (const auto& [key, value] : given.items()) line[key] = value;
  return dump_line(line);
}

std::string encode_identify(std::string_view name, std::string_view response) {
  ordered_json line{{"type", "identify"}, {"name", name}};
  if (!response.empty()) line["response"] = response;
  return dump_line(line);
}

}  // namespace mav
