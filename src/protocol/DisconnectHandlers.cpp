// DISC, DISC_S, DISCH and MON: ports leaving their groups, the second half of multi-command
// connection changes, and monitor relations.
#include <cstdio>

#include "protocol/BusOperations.h"
#include "protocol/ListedPorts.h"
#include "protocol/ReplyDispatcher.h"

namespace mav {
namespace {

std::int16_t group(int value) {
  return static_cast<std::int16_t>(value);
}

void log_disconnect(EventLog& log, int port) {
  if (port == kPortAll) {
    log.write_log_entry("All ports disconnected");
    return;
  }
  char entry[32];
  std::snprintf(entry, sizeof entry, "%.2d was disconnected", port);
  log.write_log_entry(entry);
}

}  // namespace

void ReplyDispatcher::send_port_line(const char* keyword, int port, int other) {
  char line[48];
  std::snprintf(line, sizeof line, "%s %.2d %.2d\r", keyword, port, other);
  p_.sender.send_line(line, true);
}

ReplyDispatcher::Ending ReplyDispatcher::on_disc(const ParsedReply& r) {
  if (r.status != 0) return Ending::Handled;
  const int port = reply_port(r);
  const NetSnapshot before = snapshot_nets(p_.model);
  play("Disconnect.wav");
  log_disconnect(p_.log, port);
  if (port == kPortAll) {
    for (int q = 0; q < kPortCount; ++q) {
      if (p_.model.HasModule(q)) ReleasePort(p_.model, p_.sender, q, true);
    }
  } else {
    ReleasePort(p_.model, p_.sender, port, true);
  }
  p_.model.RenumberNets();
  p_.frontend.show_message("Asynchronous DISC received");
  report_net_changes(p_.model, p_.frontend, before);
  return on_disc_s(r);
}

ReplyDispatcher::Ending ReplyDispatcher::on_disc_s(const ParsedReply& r) {
  if (r.status != 0) return Ending::Handled;
  const int port = reply_port(r);
  const NetSnapshot before = snapshot_nets(p_.model);
  bool relay = false;
  bool compare_nets = true;
  log_disconnect(p_.log, port);
  if (port == kPortAll) {
    for (int q = 0; q < kPortCount; ++q) {
      if (p_.model.HasModule(q)) ReleasePort(p_.model, p_.sender, q, true);
    }
  } else {
    PortRecord record;
    if (p_.model.GetPort(port, record)) {
      if (record.disch_step == 2 || record.disch_step == 9) {
        relay = true;
        p_.model.Update(port, [](PortRecord& q) { q.disch_step = 0; });
        ReleasePort(p_.model, p_.sender, port, true);
        compare_nets = false;
      } else {
        p_.model.Update(port, [](PortRecord& q) { q.settings.on_hook = 1; });
      }
      p_.model.RenumberNets();
    }
  }
  p_.state.cancel_selection();
  if (compare_nets) {
    report_net_changes(p_.model, p_.frontend, before);
  } else {
    p_.frontend.request_repaint();
  }
  if (relay && p_.state.network_mode.load()) send_relay_state();
  return Ending::Handled;
}

ReplyDispatcher::Ending ReplyDispatcher::on_disch(const ParsedReply& r) {
  if (r.status != 0) return Ending::Abort;
  const int port = reply_port(r);
  bool relay = false;
  const NetSnapshot before = snapshot_nets(p_.model);

  if (port == kPortAll) {
    log_disconnect(p_.log, port);
    for (int q = 0; q < kPortCount; ++q) {
      if (p_.model.HasModule(q)) ReleasePort(p_.model, p_.sender, q, false);
    }
  } else {
    PortRecord record;
    if (p_.model.GetPort(port, record)) {
      bool entry_found = false;
      std::uint8_t step = 0;
      std::uint8_t partner = 0;
      if (p_.pending.Take(PendingTable::kDischWaits, static_cast<std::uint8_t>(port), step,
                          partner)) {
        if (record.disch_step != 0) {
          record.disch_step = step;
          record.pending_partner = partner;
        } else {
          entry_found = true;
        }
      }
      apply_disch_step(port, record, entry_found, relay);
    }
  }

  p_.model.RenumberNets();
  report_net_changes(p_.model, p_.frontend, before);
  if (relay && p_.state.network_mode.load()) send_relay_state();
  return Ending::Handled;
}

void ReplyDispatcher::connect_to_partner(int port, PortRecord& record, std::uint32_t step) {
  const int partner = record.pending_partner;
  if (partner == PORT_NONE) {
    record.connect_step = 0;
    StoreConnection(p_.model, port, record);
    return;
  }
  record.connect_step = step;
  record.pending_bus = static_cast<std::uint16_t>(GROUP_NONE);
  StoreConnection(p_.model, port, record);
  send_port_line("CONNECT_S", port, partner);
}

void ReplyDispatcher::reread_after_dissolve(int port, PortRecord& record) {
  // The dissolve rewrote the port's groups; the step and partner came from the pending entry and
  // still decide what follows.
  const std::uint16_t partner = record.pending_partner;
  p_.model.GetPort(port, record);
  record.pending_partner = partner;
  record.disch_step = 0;
}

void ReplyDispatcher::apply_disch_step(int port, PortRecord& record, bool entry_found,
                                       bool& relay) {
  DeviceModel& model = p_.model;
  const std::uint32_t step = record.disch_step;
  if (step == 2 || step > 8) return;  // nothing waits on this reply
  record.disch_step = 0;

  switch (step) {
    case 0: {
      if (record.disch_group == GROUP_NONE) {
        if (model.CountOnBus(record.bus) == 1) record.bus = GROUP_NONE;
        StoreConnection(model, port, record);
        return;
      }
      int partner = record.pending_partner;
      if (partner == PORT_NONE) {
        partner = model.FindPartner(port);
        record.pending_partner = static_cast<std::uint16_t>(partner);
      }
      record.disch_group = GROUP_NONE;
      if (partner == PORT_NONE || record.bus == GROUP_NONE) {
        record.connect_step = 0;
      } else if (entry_found) {
        record.connect_step = 1;
        record.pending_bus = static_cast<std::uint16_t>(GROUP_NONE);
        StoreConnection(model, port, record);
        send_port_line("CONNECT_S", port, partner);
        return;
      }
      StoreConnection(model, port, record);
      return;
    }
    case 1:
      if (record.disch_group == 0) {
        record.bus = GROUP_NONE;
        record.bus_link = GROUP_NONE;
      } else {
        record.disch_group = GROUP_NONE;
      }
      StoreConnection(model, port, record);
      return;
    case 3: {
      relay = true;
      if (model.CountOnBus(record.bus) == 2) {
        DissolveBus(model, p_.sender, record.bus, -1);
        reread_after_dissolve(port, record);
      }
      // The partner field carries the bus this port is to take.
      const int bus = record.pending_partner;
      record.bus = bus == PORT_NONE ? GROUP_NONE : group(bus);
      StoreConnection(model, port, record);
      return;
    }
    case 4:
      if (model.CountOnBus(record.bus) == 2) {
        DissolveBus(model, p_.sender, record.bus, port);
        reread_after_dissolve(port, record);
      }
      record.bus = GROUP_NONE;
      connect_to_partner(port, record, 5);
      return;
    case 5: {
      int d = record.disch_group;
      PortRecord partner;
      if (d == GROUP_NONE && model.GetPort(record.pending_partner, partner)) {
        d = partner.disch_group;
      }
      connect_to_partner(port, record, d != GROUP_NONE ? 7 : 4);
      return;
    }
    case 6:
      record.disch_group = GROUP_NONE;
      connect_to_partner(port, record, 1);
      return;
    case 7:
      record.disch_group = GROUP_NONE;
      connect_to_partner(port, record, 7);
      return;
    case 8:
      record.disch_group = GROUP_NONE;
      record.bus_link = GROUP_NONE;
      connect_to_partner(port, record, 1);
      return;
    default:
      return;
  }
}

ReplyDispatcher::Ending ReplyDispatcher::on_mon(const ParsedReply& r) {
  const int port = reply_port(r);
  for (std::uint16_t other : listed_numbers(r)) {
    SetMonitor(p_.model, p_.log, port, other, r.flag);
  }
  p_.frontend.request_repaint();
  return Ending::Quiet;
}

}  // namespace mav
