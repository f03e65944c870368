#include <gtest/gtest.h>

#include "protocol/Vocabulary.h"

namespace mav {
namespace {

TEST(Vocabulary, KeywordIndicesAreTheWireIdentities) {
  EXPECT_EQ(keyword_text(0), "");
  EXPECT_EQ(keyword_text(1), "2W_4W");
  EXPECT_EQ(keyword_text(7), "BUSY");
  EXPECT_EQ(keyword_text(11), "CONNECT_S");
  EXPECT_EQ(keyword_text(38), "PEAKER");
  EXPECT_EQ(keyword_text(43), "LINE_TIMEOUT");
  EXPECT_EQ(keyword_text(47), "RELAY");
  EXPECT_EQ(keyword_text(56), "SYSTEM");
  EXPECT_EQ(keyword_text(64), "VPMTS");
  EXPECT_EQ(keyword_text(67), "MEK_SQUELCH_TYPE");
  EXPECT_EQ(keyword_text(68), "");
  EXPECT_EQ(keyword_text(-1), "");
  EXPECT_EQ(lookup_keyword("TX_LEVEL"), 58);
  EXPECT_EQ(lookup_keyword("tx_level"), -1);
}

TEST(Vocabulary, ValueWordLookupTakesTheFirstExactMatch) {
  EXPECT_EQ(lookup_value_word("0"), 0);
  EXPECT_EQ(lookup_value_word("30"), 1);
  EXPECT_EQ(lookup_value_word("1"), 2);
  EXPECT_EQ(lookup_value_word("VOX"), 18);
  EXPECT_EQ(lookup_value_word("DTMF"), 19);
  EXPECT_EQ(lookup_value_word("NORM"), 21);
  EXPECT_EQ(lookup_value_word("MIC"), 24);
  EXPECT_EQ(lookup_value_word("mic"), 25);
  EXPECT_EQ(lookup_value_word("MICX"), 25);
  EXPECT_EQ(lookup_value_word(""), 25);
  EXPECT_EQ(value_word_text(12), "EXCLUSIVE");
}

}  // namespace
}  // namespace mav
