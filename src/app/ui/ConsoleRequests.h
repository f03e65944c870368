// The requests a console sends on the operator's behalf: a refusal goes to the window, which
// Buzzes and shows the service's sentence; the applied answer is handed on from the event loop,
// so a dialog it opens never runs inside the client's reading. Answers that come after this
// object has gone are dropped. UI thread.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "console/ServiceClient.h"

namespace mav {

class ConsoleRequests {
 public:
  using Applied = std::function<void(const ServiceAnswer&)>;
  using Refused = std::function<void(const std::string& sentence)>;

  ConsoleRequests(ServiceClient& client, Refused refused);

  void send(ControlOp op, const ControlArguments& arguments, Applied applied = {});
  // The "changes" of a preview, waited for in a local event loop: a dialog's list asks for them
  // there and then. A refusal's sentence is the one line otherwise.
  std::vector<std::string> wait_for_changes(ControlOp op, const ControlArguments& arguments);

 private:
  ServiceClient& client_;
  Refused refused_;
  QObject queue_;
};

// The lines of an answer's "changes"; anything else in it is skipped.
std::vector<std::string> changes_of(const ServiceAnswer& answer);

}  // namespace mav
