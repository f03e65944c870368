// CONNECT and CONNECT_S: the gateway joined ports, on its own or as the answer to our command.
#include <cstdio>

#include "protocol/ListedPorts.h"
#include "protocol/ReplyDispatcher.h"

namespace mav {
namespace {

constexpr int kNoBusses = 8;
constexpr int kConferencingOff = 16;

// The first listed port that the connection changes for port A; -1 when every listed port
// already shares A's group.
int first_differing(const DeviceModel& model, const ParsedReply& reply, const PortRecord& a) {
  PortRecord b;
  for (std::uint16_t port : listed_numbers(reply)) {
    if (!model.GetPort(port, b)) continue;
    if (a.disch_group != GROUP_NONE) {
      if (b.disch_group != a.disch_group) return port;
    } else if (a.bus == GROUP_NONE) {
      return port;
    } else if (b.bus != a.bus || b.disch_group != GROUP_NONE) {
      return port;
    }
  }
  return -1;
}

// Ports left without a link take the link their bus already carries.
void spread_links(DeviceModel& model) {
  PortRecord record;
  for (int p = 0; p < kPortCount; ++p) {
    model.GetPort(p, record);
    if (record.bus_link != GROUP_NONE || record.bus == GROUP_NONE) continue;
    const auto link = static_cast<std::int16_t>(model.LinkOfBus(record.bus));
    if (link == GROUP_NONE) continue;
    model.Update(p, [link](PortRecord& q) { q.bus_link = link; });
  }
}

std::int16_t group(int value) {
  return static_cast<std::int16_t>(value);
}

// The gateway refused to join ports for want of a bus or of conferencing; its other refusals
// pass without a word.
void report_refusal(Frontend& frontend, int status) {
  if (status != kNoBusses && status != kConferencingOff) return;
  MessageBoxRequest box;
  box.text = status == kNoBusses ? "Can't make connection: No audio busses available"
                                 : "Can't make connection: Conferencing not enabled";
  box.caption = "MAV Controller";
  box.icon = MessageIcon::Exclamation;
  frontend.show_message_box(box);
}

}  // namespace

void ReplyDispatcher::log_connection(int port, const ParsedReply& r) {
  char entry[32 + 3 * kReplyListSize + 8];
  int length = std::snprintf(entry, sizeof entry, "%.2d was connected to", port);
  for (std::uint16_t other : listed_numbers(r)) {
    const int room = static_cast<int>(sizeof entry) - length;
    if (room <= 1) break;
    length += std::snprintf(entry + length, static_cast<std::size_t>(room), " %.2d", other);
  }
  p_.log.write_log_entry(entry);
}

ReplyDispatcher::Ending ReplyDispatcher::on_connect(const ParsedReply& r) {
  report_refusal(p_.frontend, r.status);
  if (r.status != 0) return Ending::Abort;
  const int port = reply_port(r);
  const NetSnapshot before = snapshot_nets(p_.model);
  p_.state.cancel_selection();
  play("LongConnect.wav");
  log_connection(port, r);

  PortRecord a;
  if (!p_.model.GetPort(port, a)) return Ending::Abort;
  const int b_port = first_differing(p_.model, r, a);
  if (b_port < 0) return Ending::Abort;
  PortRecord b;
  p_.model.GetPort(b_port, b);

  if (a.disch_group == GROUP_NONE && b.disch_group != GROUP_NONE) {
    const std::int16_t d = b.disch_group;
    p_.model.Update(port, [d](PortRecord& q) { q.disch_group = d; });
    if (a.bus != GROUP_NONE) update_listed(p_.model, r, [d](PortRecord& q) { q.disch_group = d; });
  } else if (a.disch_group == GROUP_NONE) {
    if (a.bus == GROUP_NONE && b.bus == GROUP_NONE) {
      const std::int16_t x = group(p_.model.LowestFreeBus());
      p_.model.Update(port, [x](PortRecord& q) { q.bus = x; });
      p_.model.Update(b_port, [x](PortRecord& q) { q.bus = x; });
    } else if (a.bus == GROUP_NONE) {
      p_.model.Update(port, [&b](PortRecord& q) {
        q.bus = b.bus;
        q.bus_link = b.bus_link;
      });
    } else if (b.bus == GROUP_NONE) {
      p_.model.Update(b_port, [&a](PortRecord& q) {
        q.bus = a.bus;
        q.bus_link = a.bus_link;
      });
    } else {
      p_.model.Update(port, [](PortRecord& q) { q.bus_link = GROUP_NONE; });
      const std::int16_t x = a.bus;
      update_listed(p_.model, r, [x](PortRecord& q) {
        q.bus = x;
        q.bus_link = GROUP_NONE;
      });
    }
  } else {
    const std::int16_t d = a.disch_group;
    if (b.disch_group == GROUP_NONE && b.bus == GROUP_NONE) {
      p_.model.Update(b_port, [d](PortRecord& q) { q.disch_group = d; });
    } else {
      update_listed(p_.model, r, [d](PortRecord& q) { q.disch_group = d; });
    }
  }

  p_.frontend.show_message("Asynchronous CONNECT received");
  report_net_changes(p_.model, p_.frontend, before);
  return Ending::Quiet;
}

ReplyDispatcher::Ending ReplyDispatcher::on_connect_s(const ParsedReply& r) {
  report_refusal(p_.frontend, r.status);
  if (r.status != 0) return Ending::Abort;

  const int port = reply_port(r);
  const NetSnapshot before = snapshot_nets(p_.model);
  log_connection(port, r);

  PortRecord record;
  if (!p_.model.GetPort(port, record)) return Ending::Abort;
  std::uint8_t step = 0;
  std::uint8_t unused = 0;
  if (p_.pending.Take(PendingTable::kConnectWaits, static_cast<std::uint8_t>(port), step, unused)) {
    record.connect_step = step;
    p_.model.Update(port, [step](PortRecord& q) { q.connect_step = step; });
  }
  if (record.connect_step == 9) {
    p_.model.Update(port, [](PortRecord& q) { q.connect_step = 0; });
    if (p_.state.network_mode.load()) send_relay_state();
    return Ending::Abort;
  }

  bool relay = false;
  apply_connect_step(port, record, r, relay);

  std::uint8_t marker_data1 = 0;
  std::uint8_t marker_data2 = 0;
  if (p_.pending.Take(PendingTable::kConnectWaits, PendingTable::kDialMarkerPort, marker_data1,
                      marker_data2)) {
    auto offer_dial = [this](int q) {
      PortRecord line;
      if (p_.model.GetPort(q, line) && line.mod_type == MOD_LINE7 && line.settings.on_hook != 0) {
        p_.hooks.dial.open_dial_dialog(q);
      }
    };
    offer_dial(port);
    for (std::uint16_t q : listed_numbers(r)) offer_dial(q);
  }

  report_net_changes(p_.model, p_.frontend, before);
  if (relay && p_.state.network_mode.load()) send_relay_state();
  return Ending::Handled;
}

void ReplyDispatcher::apply_connect_step(int port, PortRecord& record, const ParsedReply& r,
                                         bool& relay) {
  DeviceModel& model = p_.model;
  const std::uint32_t step = record.connect_step;
  if (step >= 1 && step <= 8) relay = true;
  auto store = [&] { StoreConnection(model, port, record); };
  // The port and every listed port take one group; the step is then finished for all of them.
  auto join = [&](std::int16_t PortRecord::*field, int value, bool keep_partner = false) {
    record.*field = group(value);
    clear_steps(record);
    store();
    update_listed(model, r, [field, value, keep_partner](PortRecord& q) {
      q.*field = group(value);
      clear_steps(q, keep_partner);
    });
  };

  switch (step) {
    case 0: {
      int x = record.bus != GROUP_NONE ? record.bus : first_listed(model, r, &PortRecord::bus);
      if (x == GROUP_NONE) {
        x = model.LowestFreeBus();
        record.bus = group(x);
        record.bus_link = GROUP_NONE;
      }
      clear_steps(record);
      store();
      update_listed(model, r, [x](PortRecord& q) {
        q.bus = group(x);
        clear_steps(q);
      });
      break;
    }
    case 2:
      record.bus_link = GROUP_NONE;
      join(&PortRecord::bus, model.LowestFreeBus());
      break;
    case 3:
      join(&PortRecord::bus_link, model.LowestFreeLink());
      spread_links(model);
      break;
    case 4: {
      const int d = first_listed(model, r, &PortRecord::disch_group);
      join(&PortRecord::disch_group, d != GROUP_NONE ? d : model.LowestFreeDischGroup());
      break;
    }
    case 5: {
      int x;
      const int link = first_listed(model, r, &PortRecord::bus_link);
      if (record.pending_bus != static_cast<std::uint16_t>(GROUP_NONE)) {
        x = record.pending_bus;
      } else {
        x = record.bus != GROUP_NONE ? record.bus : first_listed(model, r, &PortRecord::bus);
      }
      record.bus = group(x);
      record.bus_link = group(link);
      clear_steps(record);
      store();
      update_listed(model, r, [x](PortRecord& q) {
        if (q.bus == GROUP_NONE) q.bus = group(x);
        clear_steps(q);
      });
      break;
    }
    case 6:
      join(&PortRecord::bus_link,
           record.bus_link != GROUP_NONE ? record.bus_link
                                         : first_listed(model, r, &PortRecord::bus_link),
           true);
      spread_links(model);
      break;
    case 7:
      join(&PortRecord::disch_group, record.disch_group != GROUP_NONE
                                         ? record.disch_group
                                         : first_listed(model, r, &PortRecord::disch_group));
      break;
    case 8:
      join(&PortRecord::disch_group, record.disch_group, true);
      break;
    default:  // 1 only reports; steps above 9 are not ours
      break;
  }
}

}  // namespace mav
