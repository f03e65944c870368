// Who hears about the gateway's signs of life: the channel reports every complete line and every
// reply time-out. The application's contact supervision implements it. Called from the worker
// thread (serial lines, time-outs) and the UI thread (socket lines, close).
#pragma once

namespace mav {

class ContactReporter {
 public:
  virtual ~ContactReporter() = default;
  // lost: false after a complete line arrived, true when a reply did not come in time.
  virtual void report_contact(bool lost) = 0;
};

}  // namespace mav
