// The password's rules: the comparison, the verdicts on a new password, and which actions ask.
#include "security/PasswordRules.h"

#include <gtest/gtest.h>

#include <string>

namespace mav {
namespace {

TEST(PasswordRules, TypedTextMustEqualThePasswordByteForByte) {
  const struct {
    std::string typed;
    std::string password;
    bool matches;
  } cases[] = {
      {"Secret1", "Secret1", true},
      {"secret1", "Secret1", false},
      {"Secret", "Secret1", false},
      {"Secret12", "Secret1", false},
      {"", "Secret1", false},
      {"Secret1", "", false},
      {"Secret1Secret1", "Secret1", false},  // the stored text repeated
      {std::string("Sec\0et1", 7), "Secret1", false},
      {std::string(259, 'x'), std::string(259, 'x'), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(password_matches(c.typed, c.password), c.matches) << c.typed << " / " << c.password;
  }
}

TEST(PasswordRules, NewPasswordVerdictsAndTheirMessages) {
  const struct {
    const char* entry;
    const char* confirmation;
    const char* message;
  } cases[] = {
      {"abc", "abc", "The password must be at least 4 characters"},
      {"abc", "abcd", "The password must be at least 4 characters"},
      {"", "", "The password must be at least 4 characters"},
      {"abcd", "abce", "Confirmation doesn't match password entry"},
      {"abcd", "", "Confirmation doesn't match password entry"},
      {"abcd", "abcd", "Password changed"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(verdict_message(judge_new_password(c.entry, c.confirmation)), c.message)
        << c.entry << " / " << c.confirmation;
  }
}

TEST(PasswordRules, AnActionAsksOnlyWhenItsSwitchIsOnAndAPasswordIsSet) {
  const Protection only_modules{"Secret1", false, false, true};
  const Protection switches_without_password{"", true, true, true};
  const Protection all{"Secret1", true, true, true};
  const struct {
    const Protection& protection;
    Guard guard;
    bool asks;
  } cases[] = {
      {only_modules, Guard::ModuleSettings, true},
      {only_modules, Guard::PinSettings, false},
      {only_modules, Guard::PermanentConnections, false},
      {switches_without_password, Guard::PinSettings, false},
      {all, Guard::PinSettings, true},
      {all, Guard::PermanentConnections, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.protection.asks_for(c.guard), c.asks) << static_cast<int>(c.guard);
  }
}

}  // namespace
}  // namespace mav
