#include "Events.h"

#include <cstdio>

#include "ReplyFormat.h"
#include "SettingCatalog.h"

namespace mav::sim {
namespace {

EventResult failed(std::string why) {
  return {{}, std::move(why)};
}

int indicator_keyword(Indicator which) {
  switch (which) {
    case Indicator::kCor:
      return kw::COR_LED;
    case Indicator::kPtt:
      return kw::PTT_LED;
    case Indicator::kRing:
      return kw::RING_LED;
  }
  return kw::COR_LED;
}

// A telephone line whose automatic answering is on takes a call as soon as it starts ringing.
bool answers_by_itself(const GatewayModel& model, int port) {
  const SettingRule* auto_answer = find_setting(model.port(port).mod_type, kw::AUTO_ANS);
  return auto_answer != nullptr && model.port(port).on_hook &&
         model.port(port).settings[static_cast<std::size_t>(kw::AUTO_ANS)] != 0;
}

}  // namespace

EventResult activity_event(GatewayModel& model, Indicator which, std::uint32_t mask) {
  const std::uint32_t before = model.activity(which);
  model.set_activity(which, mask);
  EventResult result;
  if (model.reporting(which)) {
    result.lines.push_back(
        reply_line(indicator_keyword(which), {mask_text(model.activity(which))}, status::kOk));
  }
  if (which != Indicator::kRing) return result;
  const std::uint32_t started = model.activity(which) & ~before;
  for (int port = 0; port < kPortCount; ++port) {
    if ((started >> port & 1u) != 0 && answers_by_itself(model, port)) {
      model.set_on_hook(port, false);
      result.lines.push_back(reply_line(kw::ON_HOOK, {port_text(port), "OFF"}, status::kOk));
    }
  }
  return result;
}

EventResult connect_event(GatewayModel& model, int port, const std::vector<int>& others) {
  if (!model.has_module(port)) return failed("no module in port " + std::to_string(port));
  if (others.empty()) return failed("no port to connect to");
  // The ports joined before a refusal stay joined and are reported; the refusal is the error.
  EventResult result;
  std::string line = "%CONNECT " + port_text(port);
  bool joined = false;
  for (int other : others) {
    const int status = model.connect(port, other, Join::kMove);
    if (status != status::kOk) {
      result.error =
          "port " + std::to_string(other) + " refused with status " + std::to_string(status);
      break;
    }
    line += " " + port_text(other);
    joined = true;
  }
  if (joined) result.lines.push_back(line + " E0");
  report_left_alone(model, result.lines);
  return result;
}

EventResult disc_event(GatewayModel& model, int port) {
  if (port == kNone) {
    model.disconnect_all(true);
    return {{reply_line(kw::DISC, {"ALL"}, status::kOk)}, {}};
  }
  if (!model.has_module(port)) return failed("no module in port " + std::to_string(port));
  model.disconnect(port, true);
  EventResult result{{reply_line(kw::DISC, {port_text(port)}, status::kOk)}, {}};
  report_left_alone(model, result.lines);
  return result;
}

EventResult pin_event(GatewayModel& model, int from, int to, int pin, std::optional<int> forced) {
  if (!GatewayModel::is_port(from) || !GatewayModel::is_port(to)) return failed("bad port");
  if (pin < 0 || pin > 9999) return failed("a PIN has four digits");
  char pin_digits[8];
  std::snprintf(pin_digits, sizeof pin_digits, "%.4d", pin);
  const int result = forced ? *forced : model.pin_access(pin, from, to);
  return {{reply_line(kw::PIN_ACTIVITY, {port_text(from), port_text(to), pin_digits}, result)}, {}};
}

EventResult remove_event(GatewayModel& model, int port) {
  if (!model.has_module(port)) return failed("no module in port " + std::to_string(port));
  model.remove_module(port);
  EventResult result{{reply_line(kw::BOOT, {port_text(port)}, status::kModuleRemoved)}, {}};
  report_left_alone(model, result.lines);
  return result;
}

EventResult insert_event(GatewayModel& model, int port, int mod_type) {
  if (!GatewayModel::is_port(port)) return failed("bad port");
  if (mod_type < 1 || mod_type > 5) return failed("module types are 1 to 5");
  if (model.has_module(port)) return failed("port " + std::to_string(port) + " is occupied");
  model.insert_module(port, mod_type);
  return {{reply_line(kw::BOOT, {port_text(port)}, status::kModuleInserted)}, {}};
}

EventResult restart_event(GatewayModel& model) {
  std::vector<Indicator> were_active;
  for (Indicator which : {Indicator::kCor, Indicator::kPtt, Indicator::kRing}) {
    if (model.reporting(which) && model.activity(which) != 0) were_active.push_back(which);
  }
  model.restart();
  EventResult result{{reply_line(kw::BOOT, {"00"}, status::kOk)}, {}};
  // The controller re-sends COR and PTT reporting after a restart, and their answers clear its
  // lamps, but never RING_LED: only the report of the ended activity puts its ringing out.
  for (Indicator which : were_active) {
    result.lines.push_back(reply_line(indicator_keyword(which), {mask_text(0)}, status::kOk));
  }
  return result;
}

EventResult hook_event(GatewayModel& model, int port, bool on_hook) {
  if (!GatewayModel::is_port(port)) return failed("bad port");
  const int type = model.port(port).mod_type;
  if (type != 3 && type != 5) return failed("port " + std::to_string(port) + " has no line");
  model.set_on_hook(port, on_hook);
  return {{reply_line(kw::ON_HOOK, {port_text(port), on_hook ? "ON" : "OFF"}, status::kOk)}, {}};
}

EventResult relay_event(const GatewayModel& model) {
  return {{"%RELAY " + model.relay_image()}, {}};
}

}  // namespace mav::sim
