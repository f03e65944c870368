#include "link/LineReader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "link/ReceivedLineRing.h"

namespace mav {
namespace {

// One received line and every field the parser must leave behind. Keyword indices and
// value-word indices are written out as the protocol numbers them.
struct Case {
  const char* line;
  bool parse_error;
  int keyword;
  int port;
  int value;
  bool flag;
  int status;
  std::optional<std::vector<int>> list = std::nullopt;
  std::optional<std::string> text = std::nullopt;
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << '"' << c.line << '"';
}

class ParseTable : public testing::TestWithParam<Case> {};

// A reader on its own ring; parse() hands it one line as the dispatcher would after the last.
struct Rig {
  ReceivedLineRing ring;
  LineReader reader{ring};
  const ParsedReply& parse(const std::string& line) {
    reader.reply().pending = false;
    ring.push(line);
    reader.read_step();
    return reader.reply();
  }
};

std::vector<int> list_of(const ParsedReply& reply) {
  std::vector<int> numbers;
  for (int i = 0; i <= kReplyListSize && reply.list[i] != 0xFFFF; ++i)
    numbers.push_back(reply.list[i]);
  return numbers;
}

TEST_P(ParseTable, FillsTheReplyAsTheGrammarSays) {
  const Case& expected = GetParam();
  Rig rig;
  const ParsedReply& reply = rig.parse(expected.line);
  EXPECT_TRUE(reply.pending);
  EXPECT_EQ(reply.parse_error, expected.parse_error);
  if (expected.parse_error) return;
  EXPECT_TRUE(reply.valid);
  EXPECT_EQ(reply.keyword, expected.keyword);
  EXPECT_EQ(reply.port & 0xFF, expected.port);
  EXPECT_EQ(reply.value, expected.value);
  EXPECT_EQ(reply.flag, expected.flag);
  EXPECT_EQ(reply.status, expected.status);
  if (expected.list) {
    EXPECT_EQ(list_of(reply), *expected.list);
  }
  if (expected.text) {
    EXPECT_EQ(std::string(reply.text), *expected.text);
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Replies, ParseTable, testing::Values(
    //    line                              error  kw  port  value    flag   status
    Case{"%BUSY",                           false,  7, 255,       0, false, -1},
    Case{"%TX_LEVEL 05 3",                  true,   0,   0,       0, false,  0},
    Case{"%TX_LEVEL 05 3 E0",               false, 58,   5,       3, false,  0},
    Case{"%TX_LEVEL   05  3 E0",            false, 58,   5,       3, false,  0},
    Case{"%TX_LEVEL 05 3 E0\n",             false, 58,   5,       3, false,  0},
    Case{"\n%TX_LEVEL 05 3 E0",             true,   0,   0,       0, false,  0},
    Case{"%TX_LEVEL 05 3 X0",               true,   0,   0,       0, false,  0},
    Case{"%tx_level 05 3 E0",               true,   0,   0,       0, false,  0},
    Case{"%TX_LEVEL",                       true,   0,   0,       0, false,  0},
    Case{"%CONNECT ALL",                    false, 10, 255,       0, false, 10},
    Case{"%CONNECT 01 02 03 E0",            false, 10,   1,       0, false,  0, std::vector<int>{2, 3}},
    Case{"%CONNECT_S 04 05 E2",             false, 11,   4,       0, false,  2, std::vector<int>{5}},
    Case{"%CONNECT 01 02 03",               true,   0,   0,       0, false,  0},
    Case{"%DISC ALL E0",                    false, 26,  60,       0, false,  0},
    Case{"%DISC 07 E0",                     false, 26,   7,       0, false,  0},
    Case{"%DISC_S 12 E3",                   false, 27,  12,       0, false,  3},
    Case{"%DISCH A E0",                     false, 28,  60,       0, false,  0},
    Case{"%COR_LED 0003 8001 E0",           false, 13, 255, 0x38001, false,  0},
    Case{"%COR_LED ON E0",                  false, 13, 255,       0, true,   0},
    Case{"%PTT_LED OFF E0",                 false, 45, 255,       0, false,  0},
    Case{"%RING_LED 1F",                    true,   0,   0,       0, false,  0},
    Case{"%VMR_THRESH 04 9 E0",             false, 62,   4,       0, false,  0},
    Case{"%VMR_THRESH 04 7 E0",             false, 62,   4,       7, false,  0},
    Case{"%LINE_TYPE 03 NORM E0",           false, 44,   3,      21, true,   0},
    Case{"%LINE_TYPE 03 LOUD E0",           false, 44,   3,      25, false,  0},
    Case{"%CALLING_TIME 02 US E0",          false,  8,   2,       6, false,  0},
    Case{"%SQUELCH_TYPE 06 CTCSS E0",       false, 55,   6,      17, false,  0},
    Case{"%MON 04 07 OFF E0",               false, 35,   4,       0, false,  0, std::vector<int>{7}},
    Case{"%MON 04 07 09 ON E1",             false, 35,   4,       0, true,   1, std::vector<int>{7, 9}},
    Case{"%MON 04 07 ON",                   true,   0,   0,       0, false,  0},
    Case{"%SYSTEM 1 2 3",                   true,   0,   0,       0, false,  0},
    Case{"%SYSTEM 1 2 3 E0",                false, 56, 255,       0, false,  0, std::vector<int>{1, 2, 3}},
    Case{"CONNECT 01 02",                   true,   0,   0,       0, false,  0},
    Case{"",                                true,   0,   0,       0, false,  0},
    Case{"   ",                             true,   0,   0,       0, false,  0},
    Case{"% E5",                            false,  0, 255,       0, false,  5},
    Case{"%RELAY 0A",                       false, 47, 255,       0, false, -1, std::nullopt, std::string("0A")},
    Case{"%VER 2.14 E0",                    false, 61, 255,       0, false,  0, std::nullopt, std::string("2.14")},
    Case{"%DIAL 04 5551234 E0",             false, 22,   4,       0, false,  0, std::nullopt, std::string("5551234")},
    Case{"%PIN_ACTIVITY 03 2 JONES E0",     false, 40,   3,       2, false,  0, std::nullopt, std::string("JONES")},
    Case{"%PIN_ACTIVITY 03 2",              true,   0,   0,       0, false,  0},
    Case{"%PIN 1234 05 E0",                 false, 39,   5,    1234, false,  0},
    Case{"%PIN E4",                         false, 39, 255,       0, false,  4},
    Case{"%PIN 1234 05",                    true,   0,   0,       0, false,  0},
    Case{"%DEL_PIN ALL E0",                 false, 20,   7,       0, false,  0},
    Case{"%DEL_PIN 12 E0",                  false, 20,  25,      12, false,  0},
    Case{"%AUTO_ANS 02 ON E0",              false,  3,   2,       0, true,   0},
    Case{"%AUTO_ANS 02 OFF E0",             false,  3,   2,       0, false,  0},
    Case{"%AUTO_ANS 02 1 E0",               true,   0,   0,       0, false,  0},
    Case{"%AUX_IN 05 ON E0",                false,  4,   5,       0, true,   0},
    Case{"%AUX_IN 05 12 E0",                false,  4,   5,       0, false,  0},
    Case{"%SECURITY_MODE EXCLUSIVE E0",     false, 54, 255,      12, false,  0},
    Case{"%MEK_SQUELCH_TYPE VOX E0",        false, 67, 255,      18, false,  0},
    Case{"%USER_PGM ON E0",                 false, 60, 255,       0, true,   0},
    Case{"%VPMTS OFF E0",                   false, 64, 255,       0, false,  0},
    Case{"%BOOT 05 E0",                     false,  6,   5,       0, false,  0},
    Case{"%ANSWER 05 X7",                   false,  2,   5,       0, false,  7},
    Case{"%FREE_BUS 3",                     false, 32, 255,       0, false, -1},
    Case{"%PEAKER 03 1 E0",                 false, 38,   3,       1, false,  0},
    Case{"%SPEAKER 03 1 E0",                true,   0,   0,       0, false,  0},
    Case{"%2W_4W 01 4 E0",                  false,  1,   1,       4, false,  0},
    Case{"%MOD_TYPE 07 3 E0",               false, 34,   7,       3, false,  0},
    Case{"%RX_LEVEL 07x -2 E0",             false, 51,   7,      -2, false,  0}));
// clang-format on

// The status token: only the one that closes an argument list must begin with "E"; wherever
// the status stands in place of an argument its letter is passed over, and a token without
// digits after its first character gives -1.
struct StatusCase {
  const char* line;
  bool parse_error;
  int status;
};

class StatusTokenTable : public testing::TestWithParam<StatusCase> {};

TEST_P(StatusTokenTable, ReadsTheNumberAfterTheFirstCharacter) {
  Rig rig;
  const ParsedReply& reply = rig.parse(GetParam().line);
  EXPECT_EQ(reply.parse_error, GetParam().parse_error);
  if (!GetParam().parse_error) {
    EXPECT_EQ(reply.status, GetParam().status);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, StatusTokenTable,
    testing::Values(StatusCase{"%EQ 02 5 E0", false, 0}, StatusCase{"%EQ 02 5 E-3", false, -3},
                    StatusCase{"%EQ 02 5 E", false, -1}, StatusCase{"%EQ 02 5 EX", false, -1},
                    StatusCase{"%EQ 02 5 X3", true, 0}, StatusCase{"%EQ 02 5", true, 0},
                    StatusCase{"% E5", false, 5}, StatusCase{"% X", false, -1},
                    StatusCase{"%BOOT 03 XX", false, -1}, StatusCase{"%BOOT 03 E14", false, 14},
                    StatusCase{"%CONNECT 01 02 X4", false, 4},
                    StatusCase{"%MON 04 07 ON Q", false, -1},
                    StatusCase{"%PIN 1234 05 Z2", false, 2}, StatusCase{"%PIN E", false, -1},
                    StatusCase{"%SYSTEM 1 2 E", false, -1}));

TEST(LineReader, TakesOneLineAtATimeAndWaitsForTheDispatcher) {
  Rig rig;
  rig.ring.push("%DISC 07 E0");
  rig.ring.push("%DISC 08 E0");
  rig.reader.read_step();
  EXPECT_EQ(rig.reader.reply().port, 7);
  rig.reader.read_step();  // still pending: the second line waits
  EXPECT_EQ(rig.reader.reply().port, 7);
  rig.reader.reply().pending = false;
  rig.reader.read_step();
  EXPECT_EQ(rig.reader.reply().port, 8);
  rig.reader.reply().pending = false;
  rig.reader.read_step();  // nothing waits
  EXPECT_FALSE(rig.reader.reply().pending);
}

TEST(LineReader, KeepsTheLastKeywordAndValidFlagAfterAnUnknownLine) {
  Rig rig;
  rig.parse("%TX_LEVEL 05 3 E0");
  const ParsedReply& reply = rig.parse("%NONSENSE 1 E0");
  EXPECT_TRUE(reply.parse_error);
  EXPECT_TRUE(reply.valid);
  EXPECT_EQ(reply.keyword, 58);
}

TEST(LineReader, ListAndTextSurviveLinesThatDoNotFillThem) {
  Rig rig;
  rig.parse("%RELAY 0A");
  rig.parse("%CONNECT 01 02 03 E0");
  const ParsedReply& reply = rig.parse("%TX_LEVEL 05 3 E0");
  EXPECT_EQ(std::string(reply.text), "0A");
  EXPECT_EQ(reply.list[0], 2);
  EXPECT_EQ(reply.list[1], 3);
  EXPECT_EQ(reply.list[2], 0xFFFF);
}

TEST(LineReader, CutsAnOverlongListAfterTwentySixNumbers) {
  Rig rig;
  rig.parse("%RELAY 0A");
  std::string line = "%CONNECT 00";
  for (int port = 1; port <= 40; ++port) line += " " + std::to_string(port);
  const ParsedReply& reply = rig.parse(line + " E0");
  EXPECT_FALSE(reply.parse_error);
  EXPECT_EQ(reply.status, 0);
  for (int i = 0; i < 26; ++i) EXPECT_EQ(reply.list[i], i + 1);
  EXPECT_EQ(reply.list[26], 0xFFFF);
  EXPECT_EQ(std::string(reply.text), "0A");  // the field after the list is untouched
}

TEST(LineReader, CutsAnOverlongTextAfter129Characters) {
  Rig rig;
  const std::string word(200, 'W');
  const ParsedReply& reply = rig.parse("%RELAY " + word);
  EXPECT_EQ(std::string(reply.text), std::string(129, 'W'));
  EXPECT_TRUE(reply.pending);  // the field after the text is untouched
}

TEST(LineReader, HugeNumbersWrapInsteadOfFailing) {
  Rig rig;
  const ParsedReply& reply = rig.parse("%TX_LEVEL 99999999999999999999 4294967296 E99999999999");
  EXPECT_FALSE(reply.parse_error);
  EXPECT_EQ(reply.value, 0);  // 2^32 wraps to 0
}

}  // namespace
}  // namespace mav
