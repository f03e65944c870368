#include "modules/SiteTemplateNames.h"

#include <cstring>

#include "model/TextField.h"

namespace mav {

void SiteTemplateNames::set_template_name(int port, const std::string& file_title) {
  if (port < 0 || port >= kPortCount) return;
  std::lock_guard lock(mutex_);
  StoreText(names_[port], file_title);
}

std::string SiteTemplateNames::template_name(int port) const {
  if (port < 0 || port >= kPortCount) return {};
  std::lock_guard lock(mutex_);
  return std::string(names_[port], strnlen(names_[port], kTextFieldSize));
}

void SiteTemplateNames::take_from(const TemplateNameFields& record) {
  std::lock_guard lock(mutex_);
  std::memcpy(names_, record, sizeof names_);
}

void SiteTemplateNames::give_to(TemplateNameFields& record) const {
  std::lock_guard lock(mutex_);
  std::memcpy(record, names_, sizeof names_);
}

}  // namespace mav
