// What the operator may type into the address and port fields.
#include "app/AddressFields.h"

#include <gtest/gtest.h>

namespace mav {
namespace {

TEST(AddressFields, NumbersAreDecimalAndInRange) {
  EXPECT_EQ(parse_address_number("0"), 0);
  EXPECT_EQ(parse_address_number("255"), 255);
  EXPECT_EQ(parse_address_number("007"), 7);
  for (const char* bad : {"", "256", "-1", "1a", "x", " ", "99999999999999999999"}) {
    EXPECT_FALSE(parse_address_number(bad).has_value()) << bad;
  }
  EXPECT_EQ(parse_tcp_port("23"), 23);
  EXPECT_EQ(parse_tcp_port("65535"), 65535);
  for (const char* bad : {"", "0", "65536", "2 3", "port"}) {
    EXPECT_FALSE(parse_tcp_port(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace mav
