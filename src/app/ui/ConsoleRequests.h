// The requests a console sends on the operator's behalf: a refusal goes to the window, which
// Buzzes and shows the service's sentence; the applied answer is handed on from the event loop,
// so a dialog it opens never runs inside the client's reading. Answers that come after this
// object has gone are dropped. UI thread.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "console/ServiceClient.h"

namespace mav {

class ConsoleRequests {
 public:
  using Applied = std::function<void(const ServiceAnswer&)>;
  using Refused = std::function<void(const std::string& sentence)>;

  ConsoleRequests(ServiceClient& client, Refused refused);

  void send(ControlOp op, const ControlArguments& arguments, Applied applied = {});

 private:
  ServiceClient& client_;
  Refused refused_;
  QObject queue_;
};

}  // namespace mav
