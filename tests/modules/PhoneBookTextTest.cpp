// A phone book description with characters beyond ASCII can be added, chosen and removed.
#include <gtest/gtest.h>

#include "modules/PhoneBook.h"

namespace mav {
namespace {

TEST(PhoneBookText, ANonAsciiDescriptionIsCutWholeAndFoundAgain) {
  PhoneBook book;
  ASSERT_TRUE(AddToPhoneBook(book, "0891234567890123456789", "Zentrale Müllerstraße 5"));
  EXPECT_EQ(book[0].number, "089123456789012345678");
  EXPECT_EQ(book[0].description, "Zentrale Müllerstra");
  EXPECT_EQ(FindDescription(book, book[0].description), 0u);
  EXPECT_TRUE(RemoveFromPhoneBook(book, "Zentrale Müllerstra"));
  EXPECT_TRUE(book.empty());
}

}  // namespace
}  // namespace mav
