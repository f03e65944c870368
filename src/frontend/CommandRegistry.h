// Menu command id → the handler of the subsystem that owns the command. Each subsystem registers
// its own commands where they live; the main window only routes ids here. A second owner of an
// id, or an id that nobody owns, is a wiring fault: it is reported, never silently dropped. UI
// thread only.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

namespace mav {

class CommandRegistry {
 public:
  using Handler = std::function<void()>;
  using FaultReport = std::function<void(const std::string&)>;

  CommandRegistry() = default;
  explicit CommandRegistry(FaultReport report) : report_(std::move(report)) {}

  // False, the first owner kept and the fault reported, when another subsystem already
  // registered the id.
  bool add(int command_id, Handler handler) {
    if (handlers_.emplace(command_id, std::move(handler)).second) return true;
    report(command_id, " has two owners");
    return false;
  }

  // Runs the owner's handler; false, and the fault reported, when nobody registered the id.
  bool run(int command_id) const {
    const auto found = handlers_.find(command_id);
    if (found == handlers_.end()) {
      report(command_id, " has no owner");
      return false;
    }
    found->second();
    return true;
  }

  bool owns(int command_id) const { return handlers_.contains(command_id); }

 private:
  void report(int command_id, const char* fault) const {
    if (report_) report_("Menu command " + std::to_string(command_id) + fault);
  }

  std::map<int, Handler> handlers_;
  FaultReport report_;
};

}  // namespace mav
