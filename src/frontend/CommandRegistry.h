// Menu command id → the handler of the subsystem that owns the command. Each subsystem registers
// its own commands where they live; the main window only routes ids here. UI thread only.
#pragma once

#include <functional>
#include <map>
#include <utility>

namespace mav {

class CommandRegistry {
 public:
  using Handler = std::function<void()>;

  // False, and the first owner kept, when another subsystem already registered the id: two
  // owners of one command are a wiring fault the caller's tests must catch.
  bool add(int command_id, Handler handler) {
    return handlers_.emplace(command_id, std::move(handler)).second;
  }

  // Runs the owner's handler; false when nobody registered the id.
  bool run(int command_id) const {
    const auto found = handlers_.find(command_id);
    if (found == handlers_.end()) return false;
    found->second();
    return true;
  }

  bool owns(int command_id) const { return handlers_.contains(command_id); }

 private:
  std::map<int, Handler> handlers_;
};

}  // namespace mav
