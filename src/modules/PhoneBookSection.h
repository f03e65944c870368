// The phone book as one part of the settings file. Any thread.
#pragma once

#include "modules/PhoneBook.h"
#include "platform/SettingsSection.h"

namespace mav {

class PhoneBookSection final : public PhoneBookStore {
 public:
  explicit PhoneBookSection(SettingsSection<PhoneBook>& part) : part_(part) {}

  PhoneBook phone_book() const override { return part_.get(); }
  bool edit_phone_book(const std::function<bool(PhoneBook&)>& edit) override {
    return part_.edit(edit);
  }

 private:
  SettingsSection<PhoneBook>& part_;
};

}  // namespace mav
