// The received-line ring and the reader that parses its lines into the one reply.
#include "link/LineReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "link/ReceivedLineRing.h"

namespace mav {
namespace {

// Every field the parser leaves behind: "keyword port value flag status list 'text'", with
// the port as its low byte and "-" for a flag that is off; "error" for a line that did not parse.
std::string described(const ParsedReply& r) {
  if (r.parse_error) return "error";
  std::ostringstream out;
  out << r.keyword << ' ' << (r.port & 0xFF) << ' ' << r.value << (r.flag ? " ON " : " - ")
      << r.status;
  for (int i = 0; i <= kReplyListSize && r.list[i] != kListEnd; ++i)
    out << (i ? ',' : ' ') << r.list[i];
  if (r.text[0]) out << " '" << r.text << "'";
  return out.str();
}

// A reader on its own ring; parse() hands it one line as the dispatcher would after the last.
struct Rig {
  ReceivedLineRing ring;
  LineReader reader{ring};
  std::string parse(const std::string& line) {
    reader.reply().pending = false;
    ring.push(line);
    reader.read_step();
    EXPECT_TRUE(reader.reply().pending);  // also: nothing wrote past the text field
    return described(reader.reply());
  }
};

TEST(LineReader, FillsTheReplyAsTheGrammarSays) {
  const struct {
    const char* line;
    const char* reply;
  } rows[] = {
      // clang-format off
      {"%BUSY", "7 255 0 - -1"},                          {"%TX_LEVEL 05 3", "error"},
      {"%TX_LEVEL 05 3 E0", "58 5 3 - 0"},                {"%TX_LEVEL   05  3 E0", "58 5 3 - 0"},
      {"%TX_LEVEL 05 3 E0\n", "58 5 3 - 0"},              {"\n%TX_LEVEL 05 3 E0", "error"},
      {"%TX_LEVEL 05 3 X0", "error"},                     {"%tx_level 05 3 E0", "error"},
      {"%TX_LEVEL", "error"},                             {"%CONNECT ALL", "10 255 0 - 10"},
      {"%CONNECT 01 02 03 E0", "10 1 0 - 0 2,3"},       {"%CONNECT_S 04 05 E2", "11 4 0 - 2 5"},
      {"%CONNECT 01 02 03", "error"},                     {"%CONNECT 01 02 X4", "10 1 0 - 4 2"},
      {"%DISC ALL E0", "26 60 0 - 0"},                    {"%DISC 07 E0", "26 7 0 - 0"},
      {"%DISC_S 12 E3", "27 12 0 - 3"},                   {"%DISCH A E0", "28 60 0 - 0"},
      {"%COR_LED 0003 8001 E0", "13 255 229377 - 0"},     {"%COR_LED ON E0", "13 255 0 ON 0"},
      {"%PTT_LED OFF E0", "45 255 0 - 0"},                {"%RING_LED 1F", "error"},
      {"%VMR_THRESH 04 9 E0", "62 4 0 - 0"},              {"%VMR_THRESH 04 7 E0", "62 4 7 - 0"},
      {"%LINE_TYPE 03 NORM E0", "44 3 21 ON 0"},          {"%LINE_TYPE 03 LOUD E0", "44 3 25 - 0"},
      {"%CALLING_TIME 02 US E0", "8 2 6 - 0"},            {"%SQUELCH_TYPE 06 CTCSS E0", "55 6 17 - 0"},
      {"%MON 04 07 OFF E0", "35 4 0 - 0 7"},            {"%MON 04 07 09 ON E1", "35 4 0 ON 1 7,9"},
      {"%MON 04 07 ON", "error"},                         {"%MON 04 07 ON Q", "35 4 0 ON -1 7"},
      {"%SYSTEM 1 2 3", "error"},                         {"%SYSTEM 1 2 3 E0", "56 255 0 - 0 1,2,3"},
      {"%SYSTEM 1 2 E", "56 255 0 - -1 1,2"},           {"CONNECT 01 02", "error"},
      {"", "error"},                                      {"   ", "error"},
      {"% E5", "0 255 0 - 5"},                            {"% X", "0 255 0 - -1"},
      {"%RELAY 0A", "47 255 0 - -1 '0A'"},                {"%VER 2.14 E0", "61 255 0 - 0 '2.14'"},
      {"%DIAL 04 5551234 E0", "22 4 0 - 0 '5551234'"},    {"%PIN_ACTIVITY 03 2", "error"},
      {"%PIN_ACTIVITY 03 2 JONES E0", "40 3 2 - 0 'JONES'"},
      {"%PIN 1234 05 E0", "39 5 1234 - 0"},               {"%PIN E4", "39 255 0 - 4"},
      {"%PIN 1234 05", "error"},                          {"%PIN 1234 05 Z2", "39 5 1234 - 2"},
      {"%PIN E", "39 255 0 - -1"},                        {"%DEL_PIN ALL E0", "20 7 0 - 0"},
      {"%DEL_PIN 12 E0", "20 25 12 - 0"},                 {"%AUTO_ANS 02 ON E0", "3 2 0 ON 0"},
      {"%AUTO_ANS 02 OFF E0", "3 2 0 - 0"},               {"%AUTO_ANS 02 1 E0", "error"},
      {"%AUX_IN 05 ON E0", "4 5 0 ON 0"},                 {"%AUX_IN 05 12 E0", "4 5 0 - 0"},
      {"%SECURITY_MODE EXCLUSIVE E0", "54 255 12 - 0"},   {"%MEK_SQUELCH_TYPE VOX E0", "67 255 18 - 0"},
      {"%USER_PGM ON E0", "60 255 0 ON 0"},               {"%VPMTS OFF E0", "64 255 0 - 0"},
      {"%BOOT 05 E0", "6 5 0 - 0"},                       {"%BOOT 03 E14", "6 3 0 - 14"},
      {"%BOOT 03 XX", "6 3 0 - -1"},                      {"%ANSWER 05 X7", "2 5 0 - 7"},
      {"%FREE_BUS 3", "32 255 0 - -1"},                   {"%PEAKER 03 1 E0", "38 3 1 - 0"},
      {"%SPEAKER 03 1 E0", "error"},                      {"%2W_4W 01 4 E0", "1 1 4 - 0"},
      {"%MOD_TYPE 07 3 E0", "34 7 3 - 0"},                {"%RX_LEVEL 07x -2 E0", "51 7 -2 - 0"},
      // Only the closing status token must begin with "E"; its number follows the first letter.
      {"%EQ 02 5 E0", "31 2 5 - 0"},                               {"%EQ 02 5 E-3", "31 2 5 - -3"},
      {"%EQ 02 5 E", "31 2 5 - -1"},                                {"%EQ 02 5 EX", "31 2 5 - -1"},
      {"%EQ 02 5 X3", "error"},                           {"%EQ 02 5", "error"},
      // Huge numbers wrap instead of failing.
      {"%TX_LEVEL 99999999999999999999 4294967296 E99999999999", "58 255 0 - 1215752191"},
      // clang-format on
  };
  for (const auto& row : rows)
    EXPECT_EQ(Rig().parse(row.line), row.reply) << '"' << row.line << '"';
}

TEST(LineReader, TakesOneLineAtATimeAndLeavesWhatALineDoesNotFill) {
  Rig rig;
  for (const char* line : {"%RELAY 0A", "%CONNECT 01 02 03 E0", "%TX_LEVEL 05 3 E0", "%NONSENSE"})
    rig.ring.push(line);
  std::vector<std::string> seen;
  for (int i = 0; i < 5; ++i) {
    rig.reader.read_step();
    rig.reader.read_step();  // the pending line holds the next one back
    seen.push_back(rig.reader.reply().pending ? described(rig.reader.reply()) : "none");
    rig.reader.reply().pending = false;
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"47 255 0 - -1 '0A'", "10 1 0 - 0 2,3 '0A'",
                                            "58 5 3 - 0 2,3 '0A'", "error", "none"}));
  // An unknown keyword keeps the last keyword and the valid mark.
  EXPECT_TRUE(rig.reader.reply().valid);
  EXPECT_EQ(rig.reader.reply().keyword, 58);
}

TEST(LineReader, CutsAnOverlongListAfter26NumbersAndAnOverlongTextAfter129Characters) {
  Rig rig;
  rig.parse("%RELAY 0A");
  std::string line = "%CONNECT 00";
  std::string list;
  for (int port = 1; port <= 40; ++port) line += " " + std::to_string(port);
  for (int port = 1; port <= 26; ++port) list += (port > 1 ? "," : "") + std::to_string(port);
  EXPECT_EQ(rig.parse(line + " E0"), "10 0 0 - 0 " + list + " '0A'");
  EXPECT_EQ(rig.parse("%RELAY " + std::string(200, 'W')),
            "47 255 0 - -1 " + list + " '" + std::string(129, 'W') + "'");
}

TEST(ReceivedLineRing, HoldsNinetyNineLinesInOrderAcrossWrapsAndStores255Characters) {
  ReceivedLineRing ring;
  ReceivedLine line;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 99; ++i) ASSERT_TRUE(ring.push(std::to_string(round * 100 + i)));
    EXPECT_FALSE(ring.push("dropped"));
    EXPECT_EQ(ring.unread(), 99u);
    for (int i = 0; i < 99; ++i) {
      ASSERT_TRUE(ring.next_line(line));
      EXPECT_EQ(line.view(), std::to_string(round * 100 + i));
    }
    EXPECT_FALSE(ring.next_line(line));
  }
  ring.push(std::string(300, 'x'));
  ring.next_line(line);
  EXPECT_EQ(line.view(), std::string(255, 'x'));
}

}  // namespace
}  // namespace mav
