// Shared control: who a client is (a token's name and role, or the local user's operator), what
// the rules let it do, the port locks it takes and gives back, and the tokens file.
#include <unistd.h>

#include "preferences/ProtectionReader.h"
#include "service/GatewayService.h"

namespace mav {

void GatewayService::identify_client(int client, const ControlMessage& message) {
  const std::string origin = server_.origin_of(client);
  const std::string address = origin.substr(0, origin.rfind(':'));
  const auto uid = server_.peer_uid(client);
  ClientIdentity identity{message.name};
  // The tokens file belongs to the service's user; that user manages it from this machine.
  identity.manages_tokens = uid && *uid == ::geteuid();
  if (!message.response.empty()) {
    const std::uint32_t now = engine_.clock().now_ms();
    if (!throttle_.allowed(address, now)) {
      server_.send(client, encode_error({nullptr, "rate_limited",
                                         "Too many failed identifications; wait a minute"}));
      return;
    }
    std::string error;
    if (!tokens_.load(error)) engine_.log().write_log_entry(error);
    const auto entry = tokens_.answering(challenges_[client], message.response);
    if (!entry) {
      throttle_.failed(address, now);
      engine_.log().write_log_entry("Identification refused for " + message.name + " from " +
                                    origin);
      server_.send(client, encode_error({nullptr, "unauthorized", "The token is not known"}));
      return;
    }
    identity.name = entry->name;
    identity.role = entry->role;
    identity.ports = entry->ports;
  } else if (!uid) {
    server_.send(client, encode_error({nullptr, "token_required",
                                       "A client over TCP identifies with a token"}));
    return;
  }
  // A client that identifies again under another name leaves its old name's locks to the grace.
  forget_identity(client);
  departed_.erase(identity.name);
  server_.identify(client, identity.name);
  identities_[client] = std::move(identity);
  // Changes not yet published go out first, so the snapshot and the events agree.
  publish_model_changes();
  server_.send(client, encode_snapshot(events_.last(), engine_.model(), locks_));
}

int GatewayService::attach_client(std::string name, const std::string& token,
                                  std::function<void(std::string_view)> replies) {
  ClientIdentity identity{name};
  std::string error;
  if (!tokens_.load(error)) engine_.log().write_log_entry(error);
  for (const TokenEntry& entry : tokens_.entries()) {
    if (entry.name != token) continue;
    identity.role = entry.role;
    identity.ports = entry.ports;
  }
  const int client = server_.attach(std::move(name), "bridge", std::move(replies));
  identities_[client] = std::move(identity);
  return client;
}

std::optional<Refusal> GatewayService::access_refusal_for(int client,
                                                          const ControlRequest& request) const {
  const auto found = identities_.find(client);
  if (found == identities_.end()) return Refusal{"not_identified", "The client has gone"};
  AccessRequest asked{request.op, touched_ports(request, engine_.model()), request.arguments.force,
                      request.arguments.preview};
  if (request.op == ControlOp::SalvoTake) {
    // A take patches the salvo's ports; whose locks are in the way the salvo's checks say.
    asked.touched = salvo_ports(request.arguments.name);
    return access_refusal(found->second, asked, LockOwners{}, false);
  }
  return access_refusal(found->second, asked, locks_, guarded(request.op));
}

std::optional<Refusal> GatewayService::own_refusal(const ControlRequest& request) const {
  const ClientIdentity own{setup_.own_actor, Role::Operator, all_ports(), false};
  return access_refusal(own, {request.op, touched_ports(request, engine_.model()), false, false},
                        locks_, false);
}

std::optional<Refusal> GatewayService::run_access_op(const std::string& actor,
                                                     const ControlRequest& request,
                                                     nlohmann::ordered_json& answer) {
  const ControlArguments& a = request.arguments;
  std::string error;
  switch (request.op) {
    case ControlOp::Lock:
    case ControlOp::Unlock:
      locks_[static_cast<std::size_t>(a.port)] = request.op == ControlOp::Lock ? actor : "";
      return std::nullopt;
    case ControlOp::TokenAdd: {
      std::optional<std::string> secret;
      if (tokens_.load(error)) secret = tokens_.add(a.name, a.role, a.ports, error);
      if (!secret) return Refusal{"tokens", error};
      answer["secret"] = *secret;
      return std::nullopt;
    }
    case ControlOp::TokenRevoke:
      if (!tokens_.load(error) || !tokens_.revoke(a.name, error)) return Refusal{"tokens", error};
      return std::nullopt;
    default:  // the list
      if (!tokens_.load(error)) return Refusal{"tokens", error};
      answer["tokens"] = nlohmann::ordered_json::array();
      for (const TokenEntry& entry : tokens_.entries()) {
        answer["tokens"].push_back({{"name", entry.name},
                                    {"role", role_word(entry.role)},
                                    {"ports", port_ranges_text(entry.ports)}});
      }
      return std::nullopt;
  }
}

void GatewayService::forget_identity(int client) {
  const auto found = identities_.find(client);
  if (found == identities_.end()) return;
  const std::string name = found->second.name;
  identities_.erase(found);
  for (const auto& [other, identity] : identities_) {
    if (identity.name == name) return;  // the owner is still here on another connection
  }
  if (std::find(locks_.begin(), locks_.end(), name) == locks_.end()) return;
  departed_[name] = engine_.clock().now_ms();
  loop_.add_timer(setup_.lock_grace_ms, false, [this] { expire_locks(); });
}

void GatewayService::expire_locks() {
  const std::uint32_t now = engine_.clock().now_ms();
  for (auto it = departed_.begin(); it != departed_.end();) {
    if (now - it->second < setup_.lock_grace_ms) {
      ++it;
      continue;
    }
    for (std::string& owner : locks_) {
      if (owner == it->first) owner.clear();
    }
    it = departed_.erase(it);
  }
  publish_model_changes("service");
}

bool GatewayService::guarded(ControlOp op) const {
  if (op != ControlOp::Permanent && op != ControlOp::SettingsSet) return false;
  // The controller may change the password at any time; the file it saved is the truth.
  const auto protection = read_protection(setup_.folders);
  return protection && protection->asks_for(op == ControlOp::Permanent ? Guard::PermanentConnections
                                                                       : Guard::ModuleSettings);
}

}  // namespace mav
