// What the operator's gestures and menu commands become when the console is attached to a
// service: each one a request, the same ConnectionActions would act on locally. The service
// decides whether it goes ahead; a refusal's sentence goes to the window, which Buzzes and shows
// it. Host thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/RemoteModel.h"
#include "console/ServiceClient.h"
#include "service/SettingsByName.h"

namespace mav {

class RemoteActions {
 public:
  // Hears the sentence of every refused request, and why one could not be sent.
  using Refused = std::function<void(const std::string& sentence)>;

  RemoteActions(ServiceClient& client, const RemoteModel& model, Refused refused);
  RemoteActions(const RemoteActions&) = delete;
  RemoteActions& operator=(const RemoteActions&) = delete;

  // The gestures, with ConnectionActions' arguments: s the selected port, t the clicked one;
  // net rows 0-6; nets 1-7.
  void connect_ports(int s, int t);
  void add_port_to_net(int row, int port);
  // Net row `row` selected first, `row2` clicked: the ports of the clicked net go into the
  // selected one, one request after the other.
  void join_nets(int row, int row2);
  void disconnect_port(int port);
  void disconnect_net(int net);
  void monitor_on(int m, int p);
  void monitor_off(int m, int p);
  // The permanent mark of net 1-7, asked through one of its ports.
  void toggle_permanent(int net);
  void connect_all();
  void disconnect_all();
  void lock(int port);
  void unlock(int port, bool force);
  // The module settings dialog's OK: the service's settings writer sends what differs.
  void set_settings(int port, NamedSettings settings);

 private:
  void send(ControlOp op, const ControlArguments& arguments,
            std::function<void()> applied = nullptr);
  // Moves the first of ports into net, then the rest into the net that anchor is on by then.
  void move_next(std::vector<int> ports, int anchor, int net);

  ServiceClient& client_;
  const RemoteModel& model_;
  Refused refused_;
  // Watched by the callbacks under way, so an answer after this object has gone does nothing.
  std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

}  // namespace mav
