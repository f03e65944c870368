// The connection indicator in the main window's menu bar: which gateway the program talks to and
// how the link stands, kept apart from the message line, whose texts belong to the dispatcher.
// Pure formatting (times in local time); any thread.
#pragma once

#include <cstdint>
#include <string>

#include "preferences/Preferences.h"

namespace mav {

struct LinkStatus {
  bool open = false;  // a serial port is open, or a network connection open or connecting
  bool network = false;
  bool connected = false;       // a network connection's connect has completed
  bool contact_lost = false;    // a reply did not come in time and no line has arrived since
  std::string peer;             // the serial device, or the site's description or address:port
  int site = -1;                // the stored site of an open network connection
  std::int64_t lost_since = 0;  // calendar seconds when contact was lost; 0: not known
  int reconnect_attempt = 0;    // the retry under way or coming after a drop; 0: none
  int next_attempt_s = 0;       // seconds until that retry while the channel is closed
};

std::string connection_indicator_text(const LinkStatus& status);
// A stored site as the indicator names it: its description, or its address and port.
std::string site_peer_name(const NetworkSite& site);

}  // namespace mav
