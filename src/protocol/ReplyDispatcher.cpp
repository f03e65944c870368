#include "protocol/ReplyDispatcher.h"

#include <cstdio>
#include <cstring>

#include "frontend/MenuIds.h"
#include "model/TextField.h"
#include "protocol/BusOperations.h"
#include "protocol/ModelNames.h"
#include "protocol/ReplyList.h"

namespace mav {
namespace {

constexpr const char* kProcessingText = "Processing commands from the MAV";

// BOOT statuses that concern one port; any other status reports a gateway restart.
constexpr int kModuleRemoved = 14;
constexpr int kModuleInserted = 15;

void set_port_name(PortRecord& record, std::string_view name) {
  StoreText(record.port_name, name);
}

}  // namespace

ReplyDispatcher::ReplyDispatcher(const DispatcherParts& parts)
    : p_(parts), commands_(parts.sender, parts.state) {}

void ReplyDispatcher::dispatch_step() {
  SessionState& s = p_.state;
  const std::uint32_t now = p_.clock.now_ms();
  slides_running_ = p_.hooks.port_view.advance_slides();

  if (s.selection_pending() && has_passed(now, s.selection_time.load(), kSelectionTimeoutMs)) {
    s.cancel_selection();
    p_.frontend.set_cursor(CursorShape::Arrow);
    p_.frontend.show_status_text("");  // a keyboard selection's mark
  }
  if (has_passed(now, s.last_autosave_ms.load(), kAutoSaveIntervalMs)) {
    p_.hooks.saves.AutoSave();
  }

  ParsedReply& reply = p_.reply;
  if (!reply.pending) {
    if (!s.input_ready.load() && has_passed(now, s.last_line_ms.load(), kInputSettleMs)) {
      p_.frontend.show_message("");
      s.input_ready.store(true);
      p_.frontend.set_cursor(s.selection_pending() ? CursorShape::Selected : CursorShape::Arrow);
    }
    closing_step();
    return;
  }

  s.last_line_ms.store(now);
  reply.pending = false;
  if (reply.parse_error) return;

  switch (handle(reply)) {
    case Ending::Handled:
      p_.frontend.show_message(kProcessingText);
      s.input_ready.store(false);
      p_.frontend.set_cursor(CursorShape::Wait);
      closing_step();
      break;
    case Ending::Quiet:
      closing_step();
      break;
    case Ending::Abort:
      break;
  }
}

void ReplyDispatcher::add_deadlines(NextWake& next) const {
  const SessionState& s = p_.state;
  if (slides_running_) next.in(kSlideFrameMs);
  if (s.selection_pending()) {
    next.after(s.selection_time.load(), kSelectionTimeoutMs);
  } else {
    // The gesture code selects without waking the worker; a selection made while it waits
    // expires no sooner than this.
    next.in(kSelectionTimeoutMs + 1);
  }
  next.after(s.last_autosave_ms.load(), kAutoSaveIntervalMs);
  if (!s.input_ready.load()) next.after(s.last_line_ms.load(), kInputSettleMs);
}

void ReplyDispatcher::closing_step() {
  if (!p_.state.resync_requested.load() || !p_.hooks.shell.channel_open()) return;
  p_.state.resync_requested.store(false);
  commands_.synchronise();
}

ReplyDispatcher::Ending ReplyDispatcher::handle(const ParsedReply& r) {
  const bool ok = r.status == 0;
  switch (r.keyword) {
    // Settings stored whatever the status.
    case kw::TWO_W_FOUR_W:
    case kw::AUTO_ANS:
    case kw::CALLING_TIME:
    case kw::CONF:
    case kw::COR_INHIBIT:
    case kw::COR_POLARITY:
    case kw::COR_SAMP_DELAY:
    case kw::COR_SAMP_INTERVAL:
    case kw::COR_SAMP_WIDTH:
    case kw::COR_SAMPLING:
    case kw::DB_TONE:
    case kw::DELAY_TIME:
    case kw::DIAL_MODE:
    case kw::DIAL_TONE_ENABLE:
    case kw::DIAL_TONE_WAIT:
    case kw::EQ:
    case kw::KEYING_TONES:
    case kw::TONE_KEY_AMP:
    case kw::PEAKER:
    case kw::PROMPT_DELAY:
    case kw::PROMPT_LANG:
    case kw::LINE_TIMEOUT:
    case kw::LINE_TYPE:
    case kw::PTT_PRIORITY:
      on_setting(r);
      return Ending::Handled;

    // Settings stored only when the gateway accepted them.
    case kw::DTMF_MUTE_TIME:
    case kw::DUPLEX:
    case kw::OP:
    case kw::RINGBACK_ENABLE:
    case kw::RX_LEVEL:
    case kw::RX_SQUELCH:
    case kw::SQUELCH_TYPE:
    case kw::TX_LEVEL:
    case kw::USER_CONTROL:
    case kw::VMR_THRESH:
    case kw::VMR_HANG:
    case kw::TRUNK_TYPE:
    case kw::RADIO_TYPE:
      if (!ok) return Ending::Abort;
      on_setting(r);
      return Ending::Handled;

    case kw::VPMTS:
      if (!ok) return Ending::Abort;
      p_.state.voice_prompts.store(r.flag);
      p_.frontend.set_menu_check(menu::kVoicePrompts, r.flag);
      p_.hooks.shell.save_preferences();
      return Ending::Handled;

    case kw::ON_HOOK:
    case kw::RING_CADENCE:
    case kw::SECURITY_LEVEL:
      if (!ok) return Ending::Abort;
      on_setting(r);
      return Ending::Quiet;
    case kw::SECURITY_MODE:
      if (!ok) return Ending::Abort;
      p_.state.security_mode.store(r.value);
      return Ending::Quiet;
    case kw::PIN:
      if (!ok) return Ending::Abort;
      return on_pin(r);
    case kw::RING_LED:
      if (!ok) return Ending::Abort;
      return on_indicators(r);
    case kw::COR_LED:
    case kw::PTT_LED:
      return on_indicators(r);

    case kw::MEK_SQUELCH_TYPE:
      if (!ok) {
        p_.state.mek_squelch_type.store(-1);
        return Ending::Abort;
      }
      p_.state.mek_squelch_type.store(r.value);
      return Ending::Handled;

    case kw::DEL_PIN:
      return on_del_pin(r);
    case kw::DIAL:
      return on_dial(r);
    case kw::PIN_ACTIVITY:
      return on_pin_activity(r);

    case kw::CONNECT:
      return on_connect(r);
    case kw::CONNECT_S:
      return on_connect_s(r);
    case kw::DISC:
      return on_disc(r);
    case kw::DISC_S:
      return on_disc_s(r);
    case kw::DISCH:
      return on_disch(r);
    case kw::MON:
      return on_mon(r);
    case kw::RELAY:
      return on_relay(r);

    case kw::SYSTEM:
      return on_system(r);
    case kw::MOD_TYPE:
      return on_mod_type(r);
    case kw::BOOT:
      return on_boot(r);
    case kw::BUSY:
      p_.frontend.show_message("QVB-1 was busy, try command again");
      return Ending::Quiet;

    case kw::FREE_BUS:
    case kw::USER_PGM:
      return ok ? Ending::Handled : Ending::Abort;
    case kw::VER:
      return Ending::Quiet;
    default:  // ANSWER, AUX_IN, AUX_OUT, the lone "%" and anything unknown
      return Ending::Handled;
  }
}

ReplyDispatcher::Ending ReplyDispatcher::on_system(const ParsedReply& r) {
  if (p_.state.network_mode.load()) p_.frontend.update_title();
  const auto modules = listed_numbers(r);
  PortRecord record;

  if (p_.model.CountModules() > 0) {
    bool same = true;
    for (std::uint16_t n : modules) {
      if (p_.model.GetPort(n / 100, record) && record.mod_type != n % 100u) {
        same = false;
        break;
      }
    }
    if (same) {
      p_.log.write_log_entry("*** Received system information from MAV-7700 (again)");
      commands_.query_all_settings();
      return Ending::Handled;
    }
  }

  p_.model.Reset(true);
  for (std::uint16_t n : modules) {
    const int type = n % 100;
    p_.model.Update(n / 100, [type](PortRecord& q) {
      q.bus = GROUP_NONE;
      q.mod_type = static_cast<std::uint32_t>(type);
      if (q.port_name[0] == '\0') set_port_name(q, model_name(type));
    });
  }
  p_.log.write_log_entry("*** Received system information from MAV-7700");
  p_.model.RenumberNets();
  p_.hooks.shell.load_site_port_names();
  commands_.query_all_settings();
  p_.frontend.request_repaint();
  return Ending::Handled;
}

ReplyDispatcher::Ending ReplyDispatcher::on_mod_type(const ParsedReply& r) {
  if (r.status != 0) return Ending::Abort;
  const int port = reply_port(r);
  const auto name = model_name(r.value);
  if (!p_.model.Update(port, [&](PortRecord& q) {
        q.mod_type = name.empty() ? MOD_NONE : static_cast<std::uint32_t>(r.value);
        if (name.empty()) return;
        q.bus = GROUP_NONE;
        q.bus_link = GROUP_NONE;
        q.disch_group = GROUP_NONE;
        set_port_name(q, name);
      })) {
    return Ending::Quiet;
  }
  if (!name.empty()) commands_.query_port_settings(port, r.value);
  p_.frontend.request_repaint();
  return Ending::Quiet;
}

ReplyDispatcher::Ending ReplyDispatcher::on_boot(const ParsedReply& r) {
  const int port = reply_port(r);
  if (r.status == kModuleRemoved) {
    ReleasePort(p_.model, p_.sender, port, true);
    PortRecord record;
    if (p_.model.GetPort(port, record)) {
      p_.hooks.port_view.release_port_icon(port, record.icon_id);
      p_.model.Update(port, [](PortRecord& q) {
        q.mod_type = MOD_NONE;
        q.icon_preset = 1;
        q.icon_id = -1;
      });
    }
    p_.frontend.request_repaint();
    return Ending::Handled;
  }
  if (r.status == kModuleInserted) {
    if (port < kPortCount) {
      char line[32];
      std::snprintf(line, sizeof line, "MOD_TYPE %.2d\r", port);
      p_.sender.send_line(line, true);
    }
    return Ending::Handled;
  }
  if (p_.model.CountModules() == 0) {
    p_.state.request_resync();
    return Ending::Handled;
  }
  return p_.hooks.saves.RestoreAfterGatewayRestart() ? Ending::Handled : Ending::Abort;
}

}  // namespace mav

namespace mav {

void ReplyDispatcher::play(const char* sound) {
  if (p_.state.sound_on.load()) p_.frontend.play_sound(sound);
}

}  // namespace mav
