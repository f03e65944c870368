#include "app/ui/ConsoleSession.h"

#include "console/ChangeSentence.h"
#include "frontend/MenuIds.h"

namespace mav {
namespace {

constexpr const char* kTitle = "MAV Controller";
constexpr const char* kLinkElsewhere = "Not while attached: the service keeps the gateway's link";

// The menu commands that work on the gateway's own link, which the service holds.
bool needs_gateway_link(int command_id) {
  using namespace menu;
  switch (command_id) {
    case kSelectNetworkSite:
    case kSelectSerialPort:
    case kVoicePrompts:
    case kPinSettings:
    case kAutomationInterface:
      return true;
    default:
      return command_id >= kRecentConnectionFirst && command_id <= kRecentConnectionLast;
  }
}

}  // namespace

ConsoleSession::ConsoleSession(const ConsoleParts& parts, const ServiceEntry& service)
    : p_(parts),
      address_(service.address),
      client_(host_, service.name, service.token),
      actions_(client_, remote_,
               [this](const std::string& sentence) { p_.gestures.refuse(sentence); }),
      patch_(actions_, [this] { p_.gestures.end_selection(); }),
      requests_(client_, [this](const std::string& sentence) { p_.gestures.refuse(sentence); }),
      config_commands_(requests_, p_.window, p_.prompts) {
  remote_.set_change_listener([this](const std::string& actor, int) { on_change(actor); });
  client_.set_link_listener(
      [this](ServiceLink link, const std::string& why) { on_link(link, why); });
  p_.gestures.set_patch_actions(&patch_);
  p_.window.set_console(this);
  show_title();
  client_.open(service.address);
}

ConsoleSession::~ConsoleSession() {
  p_.window.set_console(nullptr);
  p_.gestures.set_patch_actions(nullptr);
  p_.matrix.set_lock_owners({});
}

// The window's model follows the service's; the status line names what the actor changed.
void ConsoleSession::on_change(const std::string& actor) {
  const PortLockOwners locks_before = p_.matrix.lock_owners();
  const PortNets nets_before = nets_of(p_.model);
  for (int port = 0; port < kPortCount; ++port) {
    PortRecord record;
    if (remote_.model().GetPort(port, record)) p_.model.SetPort(port, record);
  }
  const ChangeSentence sentence(nets_before, nets_of(p_.model), locks_before, remote_.locks());
  p_.matrix.set_lock_owners(remote_.locks());
  p_.window.show_link_state();  // the gateway's link may have changed
  const std::string text = sentence.by(actor);
  if (text.empty()) return;
  show_status(text);
  p_.trace.mark(TraceMark::Change, text);
}

void ConsoleSession::on_link(ServiceLink link, const std::string& why) {
  p_.window.show_link_state();
  switch (link) {
    case ServiceLink::Identified:
      show_title();
      show_status("Attached to the service at " + address_);
      break;
    case ServiceLink::Lost:
      show_status("Lost the service" + (why.empty() ? "" : ": " + why) + "; trying again");
      break;
    case ServiceLink::Closed:
      if (!why.empty()) show_status("The service refused this console: " + why);
      break;
    default:
      break;
  }
}

bool ConsoleSession::take_command(int command_id) {
  if (command_id == menu::kRetrieveCurrentConfig) {
    requests_.send(ControlOp::Resync, {});
    return true;
  }
  if (command_id == menu::kSalvos || command_id == menu::kSaveSalvo) {
    show_status("Salvos are the service's while attached: mavctl salvo save, take, rehearse...");
    return true;
  }
  if (config_commands_.take(command_id)) return true;
  if (!needs_gateway_link(command_id)) return false;
  show_status(kLinkElsewhere);
  return true;
}

std::string ConsoleSession::link_text() const {
  switch (client_.link()) {
    case ServiceLink::Identified:
      return remote_.gateway_link() == LinkState::Connected ? "Attached" : "Attached, no gateway";
    case ServiceLink::Lost:
      return "Service lost";
    case ServiceLink::Closed:
      return "Not attached";
    default:
      return "Attaching";
  }
}

bool ConsoleSession::take_module_settings(int port) {
  ControlArguments arguments;
  arguments.port = port;
  requests_.send(ControlOp::SettingsGet, arguments,
                 [this, port](const ServiceAnswer& answer) { open_settings(port, answer); });
  return true;
}

void ConsoleSession::open_settings(int port, const ServiceAnswer& answer) {
  PortRecord record;
  if (!remote_.model().GetPort(port, record)) return;
  const ModuleTable* table = module_table(record.mod_type);
  const auto settings = answer.reply.find("settings");
  if (table == nullptr || settings == answer.reply.end() || !settings->is_object()) return;
  NamedSettings named;
  for (const auto& [name, value] : settings->items()) {
    if (value.is_number_integer()) named.emplace_back(name, value.get<std::int64_t>());
  }
  store_by_name(*table, named, record.settings);
  p_.module_settings.open_for_service(
      port, record,
      [this, table](int chosen_port, const PortRecord& chosen) {
        actions_.set_settings(chosen_port, settings_by_name(*table, chosen.settings));
      },
      &p_.window);
}

// The title names the service, and the gateway's site once the service told it.
void ConsoleSession::show_title() {
  const std::string& site = remote_.site();
  p_.window.set_title(std::string(kTitle) + " - service " + address_ +
                      (site.empty() ? "" : ", gateway " + site));
}

void ConsoleSession::show_status(const std::string& text) {
  p_.matrix.show_status_text(text);
}

}  // namespace mav
