// What a completed gesture sends: connecting two ports, putting a port into a net, joining two
// nets, disconnecting a port or a net, monitoring, the permanent-connection marks and the
// Connect All / Disconnect All menu actions. Each action reads the records involved, stores the
// steps the reply handlers will complete (step fields, PendingTable) before the line that
// concerns them, sends the gateway's commands and plays its sound. The model itself changes only
// when the replies arrive, apart from the few local moves named below. UI thread.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "frontend/Frontend.h"
#include "link/LineSender.h"
#include "matrix/GestureHooks.h"
#include "matrix/PatchActions.h"
#include "model/DeviceModel.h"
#include "model/PendingTable.h"
#include "protocol/SessionState.h"
#include "security/PasswordRules.h"

namespace mav {

// A port is connected while it is on a bus, and in a DISCH group while it holds one.
inline bool is_connected(const PortRecord& record) {
  return record.bus != GROUP_NONE;
}
inline bool in_disch_group(const PortRecord& record) {
  return record.disch_group != GROUP_NONE;
}

// Why an action was refused: a short code for clients that act without the status line
// ("empty_net", "same_group", "permanent", ...) and the status line's sentence.
struct Refusal {
  std::string code;
  std::string text;
};

// Everything the actions and the gestures reach; each outlives them.
struct ActionParts {
  DeviceModel& model;
  PendingTable& pending;
  LineSender& sender;
  SessionState& session;
  Frontend& frontend;
  GestureHooks& hooks;
};

class ConnectionActions final : public PatchActions {
 public:
  explicit ConnectionActions(const ActionParts& parts);

  // PatchActions, acting on the gateway's link. toggle_permanent asks for the password that
  // guards permanent connections and sends nothing; the lists change with the gateway's answer
  // to monitor_on and monitor_off.
  void connect_ports(int s, int t) override;
  void add_port_to_net(int row, int port) override;
  void join_nets(int row, int row2) override;
  bool disconnect_port(int port) override;
  bool disconnect_net(int net) override;
  void monitor_on(int m, int p) override;
  void monitor_off(int m, int p) override;
  void toggle_permanent(int net, PasswordCheck& password) override;
  void connect_all() override;
  void disconnect_all() override;

  // Shared with the gesture code: a sound while the Sound option is on, and the end of a
  // pending selection (with the arrow cursor when one was pending, and its mark removed).
  void play(const char* sound);
  void end_selection();
  // A refused action: the Buzz, and why in the status line, since a machine without sound
  // would otherwise say nothing.
  void refuse(const char* code, const std::string& why);
  // The refusal of the last action, once; nothing when it was not refused. A client of the
  // service asks this after each action it runs.
  std::optional<Refusal> take_refusal() { return std::exchange(refusal_, std::nullopt); }
  // The mark of a pending selection in the status line, until the selection ends.
  void mark_selection(const std::string& mark);
  // Where the status-line texts go; the gesture code keeps the line.
  void set_status_line(std::function<void(const std::string&)> show) { status_ = std::move(show); }

 private:
  void split_ports(int s, const PortRecord& S, int t, const PortRecord& T);
  bool has_third_free_port(int s, const PortRecord& S, int t, const PortRecord& T) const;
  // Every CONNECT_S of a gesture follows the dial marker.
  void send_connect_s(int first, int second);
  void send_disch(int port);
  void send_wrapped_disch(int port);
  void send_disc_s(int port);
  void send_voice_prompts(bool on);
  void store(int port, const PortRecord& record);

  ActionParts p_;
  std::function<void(const std::string&)> status_;
  bool selection_marked_ = false;
  std::optional<Refusal> refusal_;
};

// How refusals name a port ("Port 07") and a net ("Net 3").
std::string port_text(int port);
std::string net_text(int net);

}  // namespace mav
