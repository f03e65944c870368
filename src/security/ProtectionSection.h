// The password and its switches as one part of the settings file. UI thread.
#pragma once

#include "platform/SettingsSection.h"
#include "security/PasswordRules.h"

namespace mav {

class ProtectionSection final : public ProtectionStore {
 public:
  explicit ProtectionSection(SettingsSection<Protection>& part) : part_(part) {}

  Protection protection() const override { return part_.get(); }
  void store_protection(const Protection& protection) override {
    part_.edit([&](Protection& kept) {
      kept = protection;
      return true;
    });
  }
  // The PIN table is written with the file, so an unchanged part still rewrites it.
  void save_preferences() override {
    part_.edit([](Protection&) { return true; });
  }

 private:
  SettingsSection<Protection>& part_;
};

}  // namespace mav
