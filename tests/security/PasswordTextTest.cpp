// Passwords and PIN names beyond ASCII: the minimum length counts characters, and a cut keeps
// whole characters.
#include <gtest/gtest.h>

#include <string>

#include "security/PasswordRules.h"
#include "security/PinTable.h"

namespace mav {
namespace {

TEST(PasswordText, TheMinimumCountsCharactersAndTheCutKeepsWholeOnes) {
  EXPECT_EQ(judge_new_password("€€", "€€"), NewPasswordVerdict::TooShort);
  EXPECT_EQ(judge_new_password("€€€€", "€€€€"), NewPasswordVerdict::Accepted);

  std::string typed;
  for (int i = 0; i < 100; ++i) typed += "€";  // 300 bytes
  const std::string kept(kept_password(typed));
  EXPECT_EQ(kept, typed.substr(0, 258));
  EXPECT_TRUE(password_matches(typed, kept));

  PinTable pins;
  pins.set_entry(0, "Überwachungsstation Nord-Straße", 1234, 3);
  EXPECT_STREQ(pins.entry(0).name, "Überwachungsstation Nord-Stra");
}

}  // namespace
}  // namespace mav
