#include "config/ConfigurationReplay.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "config/PortFit.h"
#include "model/TextField.h"
#include "protocol/BusOperations.h"

namespace mav {
namespace {

constexpr int kNetValues = 8;    // saved net numbers 0..7
constexpr int kLinkValues = 3;   // links 0..2 are rebuilt
constexpr int kDischGroups = 7;  // DISCH groups 0..6
constexpr int kNoPort = -1;

class Replay {
 public:
  Replay(const ConfigParts& parts, const Configuration& saved) : p_(parts), saved_(saved) {}

  // Which ports are restored; false when the saved configuration does not fit the gateway.
  bool check_compatibility() {
    for (int port = 0; port < kPortCount; ++port) {
      const PortFit fit = FitOfPort(record(port), saved_.ports[static_cast<std::size_t>(port)]);
      if (fit == PortFit::LoadFails) return false;
      restored_[static_cast<std::size_t>(port)] = fit == PortFit::Restored;
    }
    return true;
  }

  void send_joins() {
    p_.pins.from_bytes(saved_.pin_table);
    p_.session.security_mode.store(saved_.security_mode);
    p_.session.replay_running.store(true);
    p_.session.replay_began_ms.store(p_.link.clock().now_ms());
    p_.link.send_line("DISC_S ALL\r", true);
    for (int port = 0; port < kPortCount; ++port) {
      if (p_.model.HasModule(port)) ReleasePort(p_.model, p_.link, port, true);
    }
    p_.link.set_hold(true);
    send_monitors();
    send_net_joins();
  }

  void send_rest() {
    restore_user_fields();
    send_link_joins();
    send_disch_groups();
    p_.icons.FreeCustom();
    restore_settings_and_icons();
    p_.link.set_hold(false);
    p_.session.replay_running.store(false);
    p_.session.last_replay_ms.store(p_.link.clock().now_ms() - p_.session.replay_began_ms.load());
    p_.frontend.request_repaint();
  }

 private:
  PortRecord record(int port) const {
    PortRecord current{};
    p_.model.GetPort(port, current);
    return current;
  }

  // "KEYWORD pp qq" and what follows, as one line.
  void send_pair(const char* keyword, int port, int other, const char* tail) {
    char line[48];
    std::snprintf(line, sizeof line, "%s %.2d %.2d%s\r", keyword, port, other, tail);
    p_.link.send_line(line, true);
  }

  // The monitor relations the model holds now, not those in the file.
  void send_monitors() {
    for (int port = 0; port < kPortCount; ++port) {
      const PortRecord current = record(port);
      if (current.mod_type == MOD_NONE) continue;
      for (int i = 0; i < kPortCount && current.monitors[i] != PORT_NONE; ++i) {
        if (p_.model.HasModule(current.monitors[i])) {
          send_pair("MON", port, current.monitors[i], " ON");
        }
      }
    }
  }

  // The second port of a group joins with first_step, every later one with later_step.
  void join(int port, int anchor, int joined_before, std::uint32_t first_step,
            std::uint32_t later_step) {
    const std::uint32_t step = joined_before == 0 ? first_step : later_step;
    p_.model.Update(port, [step](PortRecord& q) { q.connect_step = step; });
    send_pair("CONNECT_S", port, anchor, "");
    p_.pending.Add(PendingTable::kConnectWaits, static_cast<std::uint8_t>(port),
                   static_cast<std::uint8_t>(step), 0);
  }

  // Each saved net is rebuilt on its first port; its link is the saved link of its last linked
  // port.
  void send_net_joins() {
    for (int net = 0; net < kNetValues; ++net) {
      int joined = 0;
      for (int port = 0; port < kPortCount; ++port) {
        const PortRecord& saved = saved_.ports[static_cast<std::size_t>(port)];
        if (saved.net != net) continue;
        int& anchor = net_anchor_[static_cast<std::size_t>(net)];
        if (anchor == kNoPort) {
          anchor = port;
        } else {
          join(port, anchor, joined++, 2, 5);
        }
        if (saved.bus_link != GROUP_NONE) net_link_[static_cast<std::size_t>(net)] = saved.bus_link;
      }
    }
  }

  void restore_user_fields() {
    for (int port = 0; port < kPortCount; ++port) {
      if (!restored_[static_cast<std::size_t>(port)]) continue;
      const PortRecord& saved = saved_.ports[static_cast<std::size_t>(port)];
      p_.model.Update(port, [&saved](PortRecord& q) {
        q.perm_conn = saved.perm_conn;
        q.icon_color = saved.icon_color;
        q.icon_preset = saved.icon_preset;
        std::memcpy(q.port_name, saved.port_name, sizeof q.port_name);
        std::memcpy(q.icon_path, saved.icon_path, sizeof q.icon_path);
      });
    }
  }

  // Each link is rebuilt by joining the anchor of every further net to its first net's anchor.
  void send_link_joins() {
    for (int link = 0; link < kLinkValues; ++link) {
      int first_net = kNoPort;
      int joined = 0;
      for (int net = 0; net < kNetValues; ++net) {
        if (net_link_[static_cast<std::size_t>(net)] != link) continue;
        if (first_net == kNoPort) {
          first_net = net;
        } else {
          join(net_anchor_[static_cast<std::size_t>(net)],
               net_anchor_[static_cast<std::size_t>(first_net)], joined++, 3, 6);
        }
      }
    }
  }

  void send_disch(int port, std::uint32_t step, int partner) {
    p_.model.Update(port, [step, partner](PortRecord& q) {
      q.disch_step = step;
      q.pending_partner = static_cast<std::uint16_t>(partner);
    });
    char line[32];
    std::snprintf(line, sizeof line, "DISCH %.2d\r", port);
    p_.link.send_line(line, true);
    p_.pending.Add(PendingTable::kDischWaits, static_cast<std::uint8_t>(port),
                   static_cast<std::uint8_t>(step), static_cast<std::uint8_t>(partner));
  }

  // A group's first port is sent once a second one is found; a lone port sends nothing.
  void send_disch_groups() {
    for (int group = 0; group < kDischGroups; ++group) {
      int first = kNoPort;
      bool first_sent = false;
      for (int port = 0; port < kPortCount; ++port) {
        if (saved_.ports[static_cast<std::size_t>(port)].disch_group != group) continue;
        if (first == kNoPort) {
          first = port;
          continue;
        }
        if (!first_sent) send_disch(first, 1, PORT_NONE);
        first_sent = true;
        send_disch(port, 5, first);
      }
    }
  }

  // A custom icon whose file is gone leaves the port with its preset icon. Sending and icon
  // decoding work on a copy; only the settings block and the icon fields are stored.
  void restore_settings_and_icons() {
    for (int port = 0; port < kPortCount; ++port) {
      if (!restored_[static_cast<std::size_t>(port)]) continue;
      PortRecord current = record(port);
      // Sends the settings that differ and takes the saved block over.
      p_.settings.WriteModuleSettings(port, saved_.ports[static_cast<std::size_t>(port)], &current);
      current.icon_id = -1;
      if (current.icon_preset == 0) {
        TerminateText(current.icon_path);
        current.icon_id = p_.icons.LoadCustom(current.icon_path, -1);
        if (current.icon_id == -1) current.icon_preset = 1;
      }
      p_.model.Update(port, [&current](PortRecord& q) {
        q.settings = current.settings;
        q.icon_preset = current.icon_preset;
        q.icon_id = current.icon_id;
        std::memcpy(q.icon_path, current.icon_path, sizeof q.icon_path);
      });
    }
  }

  ConfigParts p_;
  Configuration saved_;
  std::array<bool, kPortCount> restored_{};
  std::array<int, kNetValues> net_anchor_ = filled(kNoPort);
  std::array<int, kNetValues> net_link_ = filled(GROUP_NONE);

  static std::array<int, kNetValues> filled(int value) {
    std::array<int, kNetValues> values;
    values.fill(value);
    return values;
  }
};

}  // namespace

bool LoadConfiguration(const ConfigParts& parts, const Configuration& saved,
                       const ReplayPause& pause) {
  auto replay = std::make_shared<Replay>(parts, saved);
  if (!replay->check_compatibility()) {
    parts.frontend.show_message_box(
        {"Load Failed!\rSaved configuration incompatible\rwith "
         "current configuration",
         "MAV Controller", MessageIcon::Exclamation, false});
    return false;
  }
  replay->send_joins();
  // The replies to the net joins are dispatched meanwhile; the link joins need their buses.
  pause(kReplayPause, [replay] { replay->send_rest(); });
  return true;
}

}  // namespace mav
