// Joining ports: two ports, a port and a net, two nets.
#include "matrix/ConnectionActions.h"

#include <cstdio>

#include "protocol/NetChanges.h"

namespace mav {
namespace {

constexpr auto kNoBus = static_cast<std::uint16_t>(GROUP_NONE);

// The bus a port joining `other` is to take: the other's bus when that bus is linked, so the
// reply settles the port on it rather than on a fresh bus.
std::uint16_t bus_to_join(const PortRecord& other) {
  return other.bus_link != GROUP_NONE ? static_cast<std::uint16_t>(other.bus) : kNoBus;
}

void set_connect_step(PortRecord& record, std::uint32_t step, std::uint16_t bus = kNoBus) {
  record.connect_step = step;
  record.pending_bus = bus;
}

void set_disch_step(PortRecord& record, std::uint32_t step, int partner) {
  record.disch_step = step;
  record.pending_partner = static_cast<std::uint16_t>(partner);
}

}  // namespace

ConnectionActions::ConnectionActions(const ActionParts& parts) : p_(parts) {}

void ConnectionActions::connect_ports(int s, int t) {
  PortRecord S;
  PortRecord T;
  if (s == t || !p_.model.GetPort(s, S) || !p_.model.GetPort(t, T)) return;
  const bool s_bus = is_connected(S);
  const bool t_bus = is_connected(T);
  const bool s_group = in_disch_group(S);
  const bool t_group = in_disch_group(T);

  if (s_group && t_group && S.disch_group == T.disch_group) {
    end_selection();
    refuse("same_group", port_text(s) + " and " + port_text(t) + " are in the same DISCH group");
    return;
  } else if (s_bus && t_bus && !(s_group && t_group)) {
    split_ports(s, S, t, T);
  } else if (s_group && t_group && !s_bus && !t_bus) {
    // Both leave their DISCH groups first; the second reply connects them. The gesture goes on.
    set_disch_step(S, 1, PORT_NONE);
    store(s, S);
    if (p_.session.voice_prompts) send_voice_prompts(false);
    send_disch(s);
    set_disch_step(T, 7, s);
    store(t, T);
    if (p_.session.voice_prompts) send_voice_prompts(true);
    send_disch(t);
    return;
  } else if (s_group && t_group) {
    play("Connect.wav");
    set_connect_step(S, 8);
    store(s, S);
    send_connect_s(s, t);
  } else if (t_group && !s_bus) {
    set_connect_step(S, 7);
    store(s, S);
    send_connect_s(s, t);
    play("Connect.wav");
  } else if (t_group) {
    set_disch_step(S, 5, t);
    store(s, S);
    send_wrapped_disch(s);
    play("Connect.wav");
  } else if (s_group && !t_bus) {
    set_connect_step(T, 7);
    store(t, T);
    send_connect_s(t, s);
    play("Connect.wav");
  } else if (s_group) {
    set_disch_step(T, 5, s);
    store(t, T);
    send_wrapped_disch(t);
    play("Connect.wav");
  } else if (!s_bus && !t_bus) {
    set_connect_step(S, 2);
    set_connect_step(T, 0);
    store(s, S);
    store(t, T);
    send_connect_s(s, t);
    play("LongConnect.wav");
  } else if (!s_bus) {
    set_connect_step(S, 5, bus_to_join(T));
    store(s, S);
    send_connect_s(s, t);
    play("Connect.wav");
  } else {
    set_connect_step(T, 5, bus_to_join(S));
    store(t, T);
    send_connect_s(t, s);
    play("Connect.wav");
  }
  end_selection();
}

// Two connected ports, at least one of them in no DISCH group, are taken off their buses and
// joined.
void ConnectionActions::split_ports(int s, const PortRecord& S, int t, const PortRecord& T) {
  if (S.bus == T.bus && !has_third_free_port(s, S, t, T)) {
    refuse("no_free_port",
           "No other free port would keep the net of " + port_text(s) + " and " + port_text(t));
    return;
  }
  PortRecord s_record = S;
  PortRecord t_record = T;
  if (!in_disch_group(S) && !in_disch_group(T)) {
    set_disch_step(s_record, 1, PORT_NONE);
    set_disch_step(t_record, 5, s);
    store(s, s_record);
    if (p_.session.voice_prompts) send_voice_prompts(false);
    send_disch(s);
    store(t, t_record);
    send_disch(t);
    if (p_.session.voice_prompts) send_voice_prompts(true);
  } else if (!in_disch_group(S)) {
    set_disch_step(s_record, 5, t);
    store(s, s_record);
    send_wrapped_disch(s);
  } else {
    set_disch_step(t_record, 5, s);
    store(t, t_record);
    send_wrapped_disch(t);
  }
  play("Connect.wav");
}

// Splitting two ports off their shared bus leaves it to a third port, one in no DISCH group;
// when either port is marked permanent, that third port must not be marked.
bool ConnectionActions::has_third_free_port(int s, const PortRecord& S, int t,
                                            const PortRecord& T) const {
  const bool marked = S.perm_conn != 0 || T.perm_conn != 0;
  PortRecord q;
  for (int port = 0; port < kPortCount; ++port) {
    if (port == s || port == t || !p_.model.GetPort(port, q)) continue;
    if (q.bus != S.bus || in_disch_group(q)) continue;
    if (!marked || q.perm_conn == 0) return true;
  }
  return false;
}

void ConnectionActions::add_port_to_net(int row, int port) {
  const int net = row + 1;
  PortRecord P;
  if (p_.model.CountInNet(net) == 0 || !p_.model.GetPort(port, P)) {
    refuse("empty_net", net_text(net) + " is empty");
    return;
  }
  if (in_disch_group(P)) {
    refuse("disch_group", port_text(port) + " is in a DISCH group");
    return;
  }
  const int net_bus = p_.model.BusOfNet(net);
  const int net_link = p_.model.LinkOfNet(net);
  if ((is_connected(P) && P.bus == net_bus) ||
      (P.bus_link != GROUP_NONE && P.bus_link == net_link)) {
    end_selection();
    refuse("already_on_net", port_text(port) + " is already on " + net_text(net));
    return;
  }
  end_selection();
  play("LongConnect.wav");
  const int free_port = p_.model.FirstFreePortOfNet(net);
  const bool has_free = free_port != PORT_NONE;
  if (is_connected(P)) {
    if (has_free) {
      set_disch_step(P, 4, free_port);
      P.pending_bus = static_cast<std::uint16_t>(net_bus);
    } else {
      set_disch_step(P, 3, net_bus);  // the partner field carries the bus to take
    }
    store(port, P);
    send_wrapped_disch(port);
  } else if (has_free) {
    set_connect_step(P, 5, static_cast<std::uint16_t>(net_bus));
    store(port, P);
    send_connect_s(port, free_port);
  } else {
    // Every port of the net sits in a DISCH group: the port simply takes the net's bus.
    p_.frontend.start_move(port, P.net, net);
    P.bus = static_cast<std::int16_t>(net_bus);
    store(port, P);
    p_.model.RenumberNets();
  }
}

void ConnectionActions::join_nets(int row, int row2) {
  const int n = row + 1;
  const int m = row2 + 1;
  if (m == n || p_.model.CountInNet(m) == 0) {
    refuse(m == n ? "same_net" : "empty_net",
           m == n ? net_text(n) + " cannot join itself" : net_text(m) + " is empty");
    return;
  }
  const NetSnapshot before = snapshot_nets(p_.model);
  const int a = p_.model.FirstFreePortOfNet(m);
  const int b = p_.model.FirstFreePortOfNet(n);
  PortRecord A;
  PortRecord B;
  if (p_.model.GetPort(a, A) && p_.model.GetPort(b, B)) {
    const bool linked = A.bus_link != GROUP_NONE || B.bus_link != GROUP_NONE;
    set_connect_step(A, linked ? 6 : 3);
    set_connect_step(B, linked ? 6 : 3);
    store(a, A);
    store(b, B);
    play("LongConnect.wav");
    send_connect_s(a, b);
    end_selection();
    return;
  }
  // A net without a free port cannot take a CONNECT_S: the two buses are linked here instead.
  play("LongConnect.wav");
  int link = p_.model.LinkOfNet(m);
  if (link == GROUP_NONE) link = p_.model.LinkOfNet(n);
  if (link == GROUP_NONE) link = p_.model.LowestFreeLink();
  const int bus_m = p_.model.BusOfNet(m);
  const int bus_n = p_.model.BusOfNet(n);
  PortRecord record;
  for (int port = 0; port < kPortCount; ++port) {
    p_.model.GetPort(port, record);
    if (!is_connected(record) || (record.bus != bus_m && record.bus != bus_n)) continue;
    record.bus_link = static_cast<std::int16_t>(link);
    store(port, record);
  }
  report_net_changes(p_.model, p_.frontend, before);
}

void ConnectionActions::play(const char* sound) {
  if (p_.session.sound_on) p_.frontend.play_sound(sound);
}

void ConnectionActions::refuse(const char* code, const std::string& why) {
  refusal_ = Refusal{code, why};
  play("Buzz.wav");
  selection_marked_ = false;
  if (status_) status_(why);
}

void ConnectionActions::mark_selection(const std::string& mark) {
  selection_marked_ = true;
  if (status_) status_(mark);
}

std::string port_text(int port) {
  char text[16];
  std::snprintf(text, sizeof text, "Port %.2d", port);
  return text;
}

std::string net_text(int net) {
  return "Net " + std::to_string(net);
}

void ConnectionActions::end_selection() {
  if (selection_marked_ && status_) status_("");
  selection_marked_ = false;
  if (!p_.session.selection_pending()) return;
  p_.session.cancel_selection();
  p_.frontend.set_cursor(CursorShape::Arrow);
}

void ConnectionActions::send_connect_s(int first, int second) {
  p_.pending.Add(PendingTable::kConnectWaits, PendingTable::kDialMarkerPort, 0, 0);
  char line[32];
  std::snprintf(line, sizeof line, "CONNECT_S %.2d %.2d\r", first, second);
  p_.sender.send_line(line, true);
}

void ConnectionActions::send_disch(int port) {
  char line[16];
  std::snprintf(line, sizeof line, "DISCH %.2d\r", port);
  p_.sender.send_line(line, true);
}

void ConnectionActions::send_wrapped_disch(int port) {
  const bool wrap = p_.session.voice_prompts;
  if (wrap) send_voice_prompts(false);
  send_disch(port);
  if (wrap) send_voice_prompts(true);
}

void ConnectionActions::send_disc_s(int port) {
  char line[16];
  std::snprintf(line, sizeof line, "DISC_S %.2d\r", port);
  p_.sender.send_line(line, true);
}

void ConnectionActions::send_voice_prompts(bool on) {
  p_.sender.send_line(on ? "VPMTS ON\r" : "VPMTS OFF\r", true);
}

void ConnectionActions::store(int port, const PortRecord& record) {
  StoreConnection(p_.model, port, record);
}

}  // namespace mav
