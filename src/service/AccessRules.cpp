#include "service/AccessRules.h"

#include "matrix/MatrixGeometry.h"

#include <array>
#include <charconv>

namespace mav {
namespace {

constexpr std::array<std::string_view, 3> kRoleWords = {"viewer", "operator", "supervisor"};

// How the rules treat an op.
enum class Kind {
  Read,     // reads the service's state; sends nothing
  Patch,    // changes the patches of the ports it touches
  Guarded,  // changes what Password Protection guards on the ports it touches
  Gateway,  // acts on the whole gateway, not on ports
  Lock,     // takes or releases a port's lock
  Tokens,   // manages the tokens file
};

Kind kind_of(const AccessRequest& request) {
  switch (request.op) {
    case ControlOp::SettingsGet:
    case ControlOp::ConfigSave:
    case ControlOp::HistoryList:
    case ControlOp::TraceTail:
    case ControlOp::SalvoSave:
    case ControlOp::SalvoList:
    case ControlOp::SalvoPreview:
    case ControlOp::SalvoScheduled:
    case ControlOp::SalvoRehearse:  // a private simulator, never the gateway
      return Kind::Read;
    case ControlOp::ConfigLoad:
    case ControlOp::ConfigRestoreLast:
    case ControlOp::HistoryRestore:
      return request.preview ? Kind::Read : Kind::Patch;
    case ControlOp::Permanent:
    case ControlOp::SettingsSet:
      return Kind::Guarded;
    case ControlOp::Resync:
      return Kind::Gateway;
    case ControlOp::Lock:
    case ControlOp::Unlock:
      return Kind::Lock;
    case ControlOp::TokenAdd:
    case ControlOp::TokenList:
    case ControlOp::TokenRevoke:
      return Kind::Tokens;
    default:
      return Kind::Patch;
  }
}

Refusal refused(const char* code, std::string text) {
  return Refusal{code, std::move(text)};
}

}  // namespace

std::string_view role_word(Role role) {
  return kRoleWords[static_cast<std::size_t>(role)];
}

std::optional<Role> role_named(std::string_view word) {
  for (std::size_t i = 0; i < kRoleWords.size(); ++i) {
    if (kRoleWords[i] == word) return static_cast<Role>(i);
  }
  return std::nullopt;
}

std::optional<PortSet> read_port_ranges(std::string_view text) {
  PortSet ports;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view range = text.substr(0, comma);
    const std::size_t dash = range.find('-');
    int first = -1;
    int last = -1;
    const auto read = [](std::string_view digits, int& out) {
      const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
      return error == std::errc() && end == digits.data() + digits.size() && !digits.empty();
    };
    if (!read(range.substr(0, dash), first)) return std::nullopt;
    if (dash == std::string_view::npos) {
      last = first;
    } else if (!read(range.substr(dash + 1), last)) {
      return std::nullopt;
    }
    if (first < 0 || last >= kPortCount || first > last) return std::nullopt;
    for (int port = first; port <= last; ++port) ports.set(static_cast<std::size_t>(port));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
    if (text.empty()) return std::nullopt;
  }
  if (ports.none()) return std::nullopt;
  return ports;
}

std::string port_ranges_text(const PortSet& ports) {
  if (ports.all()) return "all";
  std::string text;
  for (int port = 0; port < kPortCount; ++port) {
    if (!ports.test(static_cast<std::size_t>(port))) continue;
    int last = port;
    while (last + 1 < kPortCount && ports.test(static_cast<std::size_t>(last + 1))) ++last;
    if (!text.empty()) text += ',';
    text += std::to_string(port);
    if (last > port) text += '-' + std::to_string(last);
    port = last;
  }
  return text;
}

PortSet touched_ports(const ControlRequest& request, const DeviceModel& model) {
  const ControlArguments& a = request.arguments;
  PortSet touched;
  switch (request.op) {
    case ControlOp::ConnectAll:
    case ControlOp::DisconnectAll:
    case ControlOp::ConfigLoad:
    case ControlOp::ConfigRestoreLast:
    case ControlOp::ConfigRevert:
    case ControlOp::HistoryRestore:
      return all_ports();
    case ControlOp::Monitor:
    case ControlOp::Lock:
    case ControlOp::Unlock:
    case ControlOp::SettingsGet:
    case ControlOp::SettingsSet:
    case ControlOp::Dial:
      for (const int port : {a.port, a.other_port}) {
        if (port >= 0) touched.set(static_cast<std::size_t>(port));
      }
      return touched;
    default:
      break;
  }
  std::bitset<kNetCount + 1> nets;
  if (a.net >= 1 && a.net <= kNetCount) nets.set(static_cast<std::size_t>(a.net));
  for (const int port : {a.port, a.other_port}) {
    if (port < 0) continue;
    touched.set(static_cast<std::size_t>(port));
    PortRecord record;
    model.GetPort(port, record);
    if (record.net >= 1 && record.net <= kNetCount) nets.set(static_cast<std::size_t>(record.net));
  }
  for (int port = 0; port < kPortCount && nets.any(); ++port) {
    PortRecord record;
    model.GetPort(port, record);
    if (record.net >= 1 && record.net <= kNetCount &&
        nets.test(static_cast<std::size_t>(record.net)))
      touched.set(static_cast<std::size_t>(port));
  }
  return touched;
}

std::optional<Refusal> access_refusal(const ClientIdentity& client, const AccessRequest& request,
                                      const LockOwners& locks, bool guarded) {
  const Kind kind = kind_of(request);
  const bool supervisor = client.role == Role::Supervisor;
  if (kind == Kind::Tokens) {
    if (supervisor || client.manages_tokens) return std::nullopt;
    return refused("role", "Only a supervisor manages the tokens");
  }
  if (client.role == Role::Viewer) {
    return refused("role", client.name + " is a viewer: it may watch, not act");
  }
  if (supervisor && kind != Kind::Lock) return std::nullopt;
  if (kind == Kind::Read) return std::nullopt;
  if (kind == Kind::Gateway && !client.ports.all()) {
    return refused("ports", client.name + " may act on some ports only, not on the whole gateway");
  }
  for (int port = 0; port < kPortCount && !supervisor; ++port) {
    if (request.touched.test(static_cast<std::size_t>(port)) &&
        !client.ports.test(static_cast<std::size_t>(port))) {
      return refused("ports", client.name + " may not touch " + port_text(port));
    }
  }
  if (kind == Kind::Guarded && guarded) {
    return refused("protected", "Password Protection guards this; only a supervisor may do it");
  }
  for (int port = 0; port < kPortCount; ++port) {
    const std::string& owner = locks[static_cast<std::size_t>(port)];
    if (!request.touched.test(static_cast<std::size_t>(port)) || owner.empty() ||
        owner == client.name) {
      continue;
    }
    // A supervisor acts through another's lock, but takes it only by forcing it open first.
    if (supervisor && request.op != ControlOp::Lock &&
        (request.op != ControlOp::Unlock || request.force)) {
      continue;
    }
    return refused("locked", port_text(port) + " is locked by " + owner);
  }
  return std::nullopt;
}

}  // namespace mav
