// The telephone numbers a LINE-7 dial offers: up to 50 entries of a number and its description,
// kept with the operator's preferences. Entries are found by description; removing one moves the
// last entry into its place, so the order is not kept.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mav {

inline constexpr int kMaxDialEntries = 50;
inline constexpr std::size_t kDialTextLength = 21;  // bytes kept of a number or description

struct DialEntry {
  std::string number;       // at most 21 bytes
  std::string description;  // at most 21 bytes
  bool operator==(const DialEntry&) const = default;
};

using PhoneBook = std::vector<DialEntry>;

// False when the book is full; otherwise the entry goes last, each text cut to 21 bytes at a
// character boundary.
bool AddToPhoneBook(PhoneBook& book, std::string_view number, std::string_view description);
// False when no entry has this description; otherwise the first that has it is replaced by the
// last entry.
bool RemoveFromPhoneBook(PhoneBook& book, std::string_view description);
// The first entry whose description is `text` (compared as the book's 22-byte fields are).
std::optional<std::size_t> FindDescription(const PhoneBook& book, std::string_view text);

// Where the book is kept. Any thread.
class PhoneBookStore {
 public:
  virtual ~PhoneBookStore() = default;
  virtual PhoneBook phone_book() const = 0;
  // Runs `edit` on the book; when it reports a change, the preferences file is rewritten at once.
  // Returns what `edit` returned.
  virtual bool edit_phone_book(const std::function<bool(PhoneBook&)>& edit) = 0;
};

}  // namespace mav
