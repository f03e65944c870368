#include "console/RemoteModel.h"

#include "console/JsonMembers.h"
#include "console/PortJson.h"

namespace mav {
namespace {

using nlohmann::json;

void read_records(const DeviceModel& model, PortRecord (&records)[kPortCount]) {
  for (int port = 0; port < kPortCount; ++port) model.GetPort(port, records[port]);
}

void store_records(DeviceModel& model, const PortRecord (&records)[kPortCount]) {
  for (int port = 0; port < kPortCount; ++port) model.SetPort(port, records[port]);
}

}  // namespace

RemoteModel::RemoteModel(ServiceClient& client) : client_(client) {
  client_.set_receiver(this);
}

RemoteModel::~RemoteModel() {
  client_.set_receiver(nullptr);
}

void RemoteModel::read_link(const json& object) {
  const std::string word = string_member(object, "link");
  for (const LinkState link : {LinkState::Connected, LinkState::Connecting, LinkState::Closed}) {
    if (word == link_word(link)) gateway_link_ = link;
  }
  const json* in_sync = member(object, "synchronised");
  if (in_sync != nullptr && in_sync->is_boolean()) synchronised_ = in_sync->get<bool>();
}

void RemoteModel::on_hello(const json& hello) {
  site_ = string_member(hello, "site");
  read_link(hello);
}

void RemoteModel::on_snapshot(const json& snapshot) {
  // Everything starts again from the snapshot: ports it does not describe are empty.
  PortRecord records[kPortCount];
  read_records(DeviceModel(), records);
  LockOwners locks{};
  if (const json* ports = member(snapshot, "ports"); ports != nullptr && ports->is_array()) {
    for (const json& port : *ports) read_port_json(port, records, locks);
  }
  store_records(model_, records);
  locks_ = locks;
  seq_ = static_cast<std::uint64_t>(integer_member(snapshot, "seq").value_or(0));
  changed("", -1);
}

void RemoteModel::on_event(const json& event) {
  const auto seq = integer_member(event, "seq");
  if (!seq || static_cast<std::uint64_t>(*seq) <= seq_) return;
  if (static_cast<std::uint64_t>(*seq) != seq_ + 1) client_.resnapshot();
  seq_ = static_cast<std::uint64_t>(*seq);
  const std::string actor = string_member(event, "actor");
  const json* body = member(event, "event");
  if (body == nullptr) return;
  PortRecord records[kPortCount];
  if (const json* port = member(*body, "port")) {
    read_records(model_, records);
    const int changed_port = read_port_json(*port, records, locks_);
    if (changed_port < 0) return;
    model_.SetPort(changed_port, records[changed_port]);
    changed(actor, changed_port);
  } else if (const json* nets = member(*body, "nets")) {
    read_records(model_, records);
    if (!read_nets_json(*nets, records)) return;
    store_records(model_, records);
    changed(actor, -1);
  } else if (member(*body, "link") != nullptr) {
    read_link(*body);
    changed(actor, -1);
  } else if (on_notice_) {
    if (const json* log = member(*body, "log"); log != nullptr && log->is_string()) {
      on_notice_(actor, "log", log->get<std::string>());
    } else if (const json* text = member(*body, "text")) {
      on_notice_(actor, string_member(*text, "kind"), string_member(*text, "text"));
    }
  }
}

void RemoteModel::changed(const std::string& actor, int port) {
  if (!actor.empty()) last_actor_ = actor;
  if (on_change_) on_change_(actor, port);
}

}  // namespace mav
