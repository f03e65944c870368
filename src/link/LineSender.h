// Where command lines go. The LinkChannel is the one real sender; everything that talks to the
// gateway takes this interface so it can be driven over any channel.
#pragma once

#include <string_view>

namespace mav {

class LineSender {
 public:
  virtual ~LineSender() = default;
  // Hands one complete command line (ending in "\r") to the channel: written at once, or queued
  // behind earlier lines. Lines leave in the order they were accepted. Any thread.
  virtual bool send_line(std::string_view text, bool expects_reply) = 0;
};

}  // namespace mav
