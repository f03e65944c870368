// The last template loaded or saved for each port of the site in use. They travel with the site's
// record: taken from it when a record comes into use and given back when it is written. Any
// thread.
#pragma once

#include <mutex>
#include <string>

#include "model/PortRecord.h"
#include "modules/ModuleTemplates.h"

namespace mav {

// The site record's fields: one NUL-terminated name per port.
using TemplateNameFields = char[kPortCount][kTextFieldSize];

class SiteTemplateNames final : public TemplateNames {
 public:
  // Cut to its field; a port out of range is ignored.
  void set_template_name(int port, const std::string& file_title) override;
  // Empty when none, or for a port out of range.
  std::string template_name(int port) const;

  void take_from(const TemplateNameFields& record);
  void give_to(TemplateNameFields& record) const;

 private:
  mutable std::mutex mutex_;
  TemplateNameFields names_{};
};

}  // namespace mav
