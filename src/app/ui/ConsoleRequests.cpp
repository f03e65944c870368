#include "app/ui/ConsoleRequests.h"

#include <QEventLoop>
#include <QTimer>
#include <memory>

namespace mav {
namespace {

// A preview reads a file on the service's side; a service that has not answered by then is
// taken as gone.
constexpr int kPreviewWaitMs = 10000;

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

std::vector<std::string> ConsoleRequests::wait_for_changes(ControlOp op,
                                                           const ControlArguments& arguments) {
  // Shared with the callback, which may outlive the wait when the service is slow.
  struct Wait {
    QEventLoop loop;
    std::vector<std::string> lines{"The service did not answer"};
    bool answered = false;  // a request that cannot be sent is answered at once
    bool over = false;
  };
  auto wait = std::make_shared<Wait>();
  client_.request(op, arguments, [wait](const ServiceAnswer& answer) {
    if (wait->over || answer.status == ResponseStatus::Accepted) return;
    wait->lines = refused(answer) ? std::vector<std::string>{answer.message} : changes_of(answer);
    wait->answered = true;
    wait->loop.quit();
  });
  if (!wait->answered) {
    QTimer::singleShot(kPreviewWaitMs, &wait->loop, &QEventLoop::quit);
    wait->loop.exec();
  }
  wait->over = true;
  return wait->lines;
}

std::vector<std::string> changes_of(const ServiceAnswer& answer) {
  std::vector<std::string> lines;
  const auto changes = answer.reply.find("changes");
  if (changes == answer.reply.end() || !changes->is_array()) return lines;
  for (const auto& line : *changes) {
    if (line.is_string()) lines.push_back(line.get<std::string>());
  }
  return lines;
}

}  // namespace mav
