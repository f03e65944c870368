// One subsystem's part of a settings record that a higher layer keeps in a file: the subsystem
// sees only its own type, and every change goes through one path that saves the whole record.
// Any thread.
#pragma once

#include <functional>

namespace mav {

template <typename Part>
class SettingsSection {
 public:
  virtual ~SettingsSection() = default;
  virtual Part get() const = 0;
  // Runs `edit` on the part; when it reports a change, the record's file is rewritten at once.
  // Returns what `edit` returned.
  virtual bool edit(const std::function<bool(Part&)>& edit) = 0;
};

}  // namespace mav
