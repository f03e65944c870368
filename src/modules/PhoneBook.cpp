#include "modules/PhoneBook.h"

#include "model/TextField.h"

namespace mav {

bool AddToPhoneBook(PhoneBook& book, std::string_view number, std::string_view description) {
  if (book.size() >= kMaxDialEntries) return false;
  book.push_back({std::string(FitText(number, kDialTextLength)),
                  std::string(FitText(description, kDialTextLength))});
  return true;
}

bool RemoveFromPhoneBook(PhoneBook& book, std::string_view description) {
  const std::optional<std::size_t> found = FindDescription(book, description);
  if (!found) return false;
  book[*found] = book.back();
  book.pop_back();
  return true;
}

std::optional<std::size_t> FindDescription(const PhoneBook& book, std::string_view text) {
  // A stored description is a NUL-terminated field of 22 bytes: only its first 22 bytes count.
  const std::string_view compared = text.substr(0, kDialTextLength + 1);
  for (std::size_t i = 0; i < book.size(); ++i) {
    if (book[i].description == compared) return i;
  }
  return std::nullopt;
}

}  // namespace mav
