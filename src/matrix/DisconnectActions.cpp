// Taking ports apart, monitoring, the permanent-connection marks, and the menu actions that
// work on every port at once.
#include <cstdio>

#include "matrix/ConnectionActions.h"
#include "protocol/NetChanges.h"

namespace mav {
namespace {

// Connect All leaves telephone lines and local phones alone.
bool joins_connect_all(const PortRecord& record) {
  return record.mod_type != MOD_NONE && record.mod_type != MOD_LINE7 && record.mod_type != MOD_HK6;
}

}  // namespace

bool ConnectionActions::disconnect_port(int port) {
  PortRecord P;
  if (!p_.model.GetPort(port, P)) return false;
  end_selection();
  if (in_disch_group(P)) {
    const int other = p_.model.OtherGroupMember(port);
    if (other >= 0) {
      p_.pending.Add(PendingTable::kDischWaits, static_cast<std::uint8_t>(other), 0, 0);
    }
    if (is_connected(P)) {
      const int partner = p_.model.FindPartner(port);
      PortRecord partner_record;
      const bool partner_on_bus =
          p_.model.GetPort(partner, partner_record) && partner_record.bus == P.bus;
      P.disch_step = 6;
      P.pending_partner = static_cast<std::uint16_t>(partner);
      P.pending_bus = partner_on_bus ? static_cast<std::uint16_t>(GROUP_NONE)
                                     : static_cast<std::uint16_t>(P.bus);
      store(port, P);
      send_wrapped_disch(port);
    } else {
      P.disch_step = 2;
      store(port, P);
      send_disc_s(port);
    }
  } else {
    if (P.perm_conn != 0 || !is_connected(P)) {
      refuse(
          P.perm_conn != 0 ? "permanent" : "not_connected",
          port_text(port) + (P.perm_conn != 0 ? " is permanently connected" : " is not connected"));
      return false;
    }
    P.disch_step = 2;
    store(port, P);
    send_disc_s(port);
  }
  play("Disconnect.wav");
  return true;
}

bool ConnectionActions::disconnect_net(int net) {
  end_selection();
  if (p_.model.CountInNet(net) == 0) {
    refuse("empty_net", net_text(net) + " is empty");
    return false;
  }
  const int bus = p_.model.BusOfNet(net);
  const int link = p_.model.LinkOfNet(net);
  PortRecord record;

  if (link == GROUP_NONE) {
    // The ports of a DISCH group are let go here; the others wait for DISC_S. Marked ports stay.
    bool changed = false;
    for (int port = 0; port < kPortCount; ++port) {
      p_.model.GetPort(port, record);
      if (record.bus != bus || record.perm_conn != 0) continue;
      changed = true;
      if (in_disch_group(record)) {
        record.bus = GROUP_NONE;
        store(port, record);
        p_.frontend.start_move(port, net, GROUP_NONE);
      } else {
        record.disch_step = 2;
        store(port, record);
        send_disc_s(port);
      }
    }
    if (changed) play("Disconnect.wav");
    return changed;
  }

  // A linked net is taken apart whatever the marks: its bus leaves the link, and its free ports
  // leave the bus, the first alone and every later one to be joined to the first again.
  play("Disconnect.wav");
  const NetSnapshot before = snapshot_nets(p_.model);
  int first = PORT_NONE;
  for (int port = 0; port < kPortCount; ++port) {
    p_.model.GetPort(port, record);
    if (record.bus != bus) continue;
    record.bus_link = GROUP_NONE;
    store(port, record);
    if (in_disch_group(record)) continue;
    if (first == PORT_NONE) {
      record.disch_step = 1;
      first = port;
    } else {
      record.disch_step = 8;
      record.pending_partner = static_cast<std::uint16_t>(first);
    }
    store(port, record);
    send_wrapped_disch(port);
  }
  // A link left on a single bus joins nothing any more.
  int link_bus = GROUP_NONE;
  bool one_bus = true;
  for (int port = 0; port < kPortCount; ++port) {
    p_.model.GetPort(port, record);
    if (record.bus_link != link) continue;
    if (link_bus != GROUP_NONE && record.bus != link_bus) one_bus = false;
    link_bus = record.bus;
  }
  if (one_bus) {
    for (int port = 0; port < kPortCount; ++port) {
      p_.model.GetPort(port, record);
      if (record.bus_link != link) continue;
      record.bus_link = GROUP_NONE;
      store(port, record);
    }
  }
  report_net_changes(p_.model, p_.frontend, before);
  return true;
}

void ConnectionActions::monitor_on(int m, int p) {
  play("Connect.wav");
  char line[32];
  std::snprintf(line, sizeof line, "MON %.2d %.2d ON\r", m, p);
  p_.sender.send_line(line, true);
}

void ConnectionActions::monitor_off(int m, int p) {
  play("Disconnect.wav");
  char line[32];
  std::snprintf(line, sizeof line, "MON %.2d %.2d OFF\r", m, p);
  p_.sender.send_line(line, true);
}

void ConnectionActions::toggle_permanent(int net, PasswordCheck& password) {
  if (p_.model.CountInNet(net) == 0) {
    refuse("empty_net", net_text(net) + " is empty");
    return;
  }
  if (!password.confirm_password(Guard::PermanentConnections)) return;
  const int bus = p_.model.BusOfNet(net);
  PortRecord record;
  int cleared = 0;
  for (int port = 0; port < kPortCount; ++port) {
    p_.model.GetPort(port, record);
    if (record.bus != bus || record.perm_conn == 0) continue;
    if (in_disch_group(record)) {
      // A marked DISCH-group port keeps the net marked; what was cleared stays cleared.
      if (cleared > 0) p_.frontend.request_repaint();
      refuse("permanent",
             port_text(port) + " in a DISCH group keeps " + net_text(net) + " permanent");
      return;
    }
    record.perm_conn = 0;
    store(port, record);
    ++cleared;
  }
  if (cleared > 0) {
    p_.frontend.request_repaint();
    play("PC_Off.wav");
    return;
  }
  int marked = 0;
  for (int port = 0; port < kPortCount; ++port) {
    p_.model.GetPort(port, record);
    if (record.bus != bus || in_disch_group(record)) continue;
    record.perm_conn = 1;
    store(port, record);
    ++marked;
  }
  if (marked > 0) {
    p_.frontend.request_repaint();
    play("PC.wav");
  }
}

void ConnectionActions::connect_all() {
  if (p_.model.CountModules() < 2) return;
  p_.hooks.save_snapshot_before_bulk_change();
  const bool wrap = p_.session.voice_prompts;
  if (wrap) send_voice_prompts(false);
  int hub = -1;
  PortRecord record;
  for (int port = 0; port < kPortCount; ++port) {
    p_.model.GetPort(port, record);
    if (!joins_connect_all(record)) continue;
    if (hub < 0) {
      hub = port;
      continue;
    }
    char line[32];
    std::snprintf(line, sizeof line, "CONNECT %.2d %.2d\r", port, hub);
    p_.sender.send_line(line, true);
  }
  if (wrap) send_voice_prompts(true);
}

void ConnectionActions::disconnect_all() {
  if (p_.model.CountModules() < 2) return;
  p_.hooks.save_snapshot_before_bulk_change();
  const bool wrap = p_.session.voice_prompts;
  if (wrap) send_voice_prompts(false);
  PortRecord record;
  for (int port = 0; port < kPortCount; ++port) {
    p_.model.GetPort(port, record);
    if (record.mod_type == MOD_NONE || (!is_connected(record) && !in_disch_group(record))) continue;
    record.disch_step = 2;
    store(port, record);
    send_disc_s(port);
  }
  if (wrap) send_voice_prompts(true);
}

}  // namespace mav
