// How the status line names a change another party made: "Port 07 connected by desk-1", or
// "Ports 03, 07 disconnected by desk-1" when it moved several ports at once. UI thread.
#pragma once

#include <string>

namespace mav {

class ChangeSentence {
 public:
  // One port as it was and as it is; a port whose net and lock stayed adds nothing.
  void add(int port, int net_before, int net_after, const std::string& lock_before,
           const std::string& lock_after);
  // The sentence; empty when no port changed or nobody is named.
  std::string by(const std::string& actor) const;

 private:
  std::string ports_;
  std::string what_;  // the last changed port's: it names the change of all
};

}  // namespace mav
