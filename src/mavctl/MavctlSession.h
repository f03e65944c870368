// One run of mavctl on an open connection: the greeting, the identify and the snapshot, then the
// command: a request that waits for its outcome, the snapshot printed, or the events followed.
// Each returns the program's exit status.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string_view>

#include "mavctl/ControlConnection.h"
#include "service/ControlMessages.h"

namespace mav {

enum MavctlExit { kExitApplied = 0, kExitRefused = 1, kExitUsage = 2, kExitUnreachable = 3 };

class MavctlSession {
 public:
  MavctlSession(ControlConnection& connection, std::ostream& out, std::ostream& err)
      : connection_(connection), out_(out), err_(err) {}

  // kExitApplied once identified (with the token when one is given); otherwise the exit status,
  // having said why on err.
  int start(std::string_view name, std::string_view token);
  int status();
  int ports(bool as_json);
  int request(ControlOp op, const ControlArguments& arguments);
  int watch(bool as_json);

 private:
  int lost();

  ControlConnection& connection_;
  std::ostream& out_;
  std::ostream& err_;
  nlohmann::json hello_;
  nlohmann::json snapshot_;
};

}  // namespace mav
