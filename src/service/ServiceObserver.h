// What a part of the service that is no control client follows (the broker bridge, the metrics,
// the controller's window): the event lines as clients get them, the link's state, how each
// request ended and whose change moved the ports. Loop thread.
#pragma once

#include <string_view>

#include "service/ControlMessages.h"

namespace mav {

class ServiceObserver {
 public:
  virtual ~ServiceObserver() = default;
  // One event line with its seq and actor, as the clients read it.
  virtual void on_event(std::string_view) {}
  virtual void on_state(LinkState, bool /*synchronised*/) {}
  // Ports, nets or locks changed, the actor's doing; their events have gone out.
  virtual void on_change(std::string_view /*actor*/) {}
  // A request's final word: "applied", "refused" or an error's code.
  virtual void on_result(ControlOp, std::string_view /*result*/) {}
};

}  // namespace mav
