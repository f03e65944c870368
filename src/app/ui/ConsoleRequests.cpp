#include "app/ui/ConsoleRequests.h"

#include <QTimer>

namespace mav {
namespace {

bool refused(const ServiceAnswer& answer) {
  return answer.status == ResponseStatus::Refused || answer.status == ResponseStatus::Error;
}

}  // namespace

ConsoleRequests::ConsoleRequests(ServiceClient& client, Refused refused)
    : client_(client), refused_(std::move(refused)) {}

void ConsoleRequests::send(ControlOp op, const ControlArguments& arguments, Applied applied) {
  client_.request(op, arguments, [this, applied = std::move(applied)](const ServiceAnswer& answer) {
    if (refused(answer)) {
      refused_(answer.message);
    } else if (answer.status == ResponseStatus::Applied && applied) {
      QTimer::singleShot(0, &queue_, [applied, answer] { applied(answer); });
    }
  });
}

}  // namespace mav
