// The password's rules: the comparison and the verdicts on a new password.
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

}  // namespace
}  // namespace mav
