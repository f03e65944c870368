// Text cut to a field's byte size ends on a character boundary, so it reads back as valid UTF-8.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/PortRecord.h"
#include "model/TextField.h"

namespace mav {
namespace {

TEST(TextField, ACutNeverSplitsACharacter) {
  const struct {
    std::string text;
    std::size_t bytes;
    std::string kept;
  } cases[] = {
      {"LINE-7", 21, "LINE-7"},
      {"Zentrale Müllerstraße 5", 21, "Zentrale Müllerstra"},  // "ß" would need bytes 20-21
      {"abcü", 4, "abc"},
      {"ab\xF0\x9F\x93\x9E", 5, "ab"},  // a four-byte character
      {"ab\xF0\x9F\x93\x9E", 6, "ab\xF0\x9F\x93\x9E"},
      {std::string(10, '\x80'), 4, std::string(4, '\x80')},  // no UTF-8: cut at the size
  };
  for (const auto& c : cases) EXPECT_EQ(FitText(c.text, c.bytes), c.kept) << c.text;
  EXPECT_EQ(CountCharacters("€€"), 2u);
}

TEST(TextField, A300BytePortNameIsKeptUpToItsLastWholeCharacter) {
  std::string name;
  for (int i = 0; i < 150; ++i) name += "ä";  // 300 bytes
  PortRecord record{};
  StoreText(record.port_name, name);
  EXPECT_EQ(std::string(record.port_name), name.substr(0, 254));
  EXPECT_EQ(record.port_name[254], '\0');

  // A full field read from a file ends on a whole character too.
  std::memcpy(record.icon_path, name.data(), sizeof record.icon_path);
  TerminateText(record.icon_path);
  EXPECT_EQ(std::string(record.icon_path), name.substr(0, 254));
}

}  // namespace
}  // namespace mav
