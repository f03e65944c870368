#include <gtest/gtest.h>

#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

TEST(Vocabulary, KeywordIndicesAreTheWireIdentities) {
  const struct {
    int index;
    const char* text;
  } rows[] = {{0, ""},       {1, "2W_4W"},   {11, "CONNECT_S"}, {43, "LINE_TIMEOUT"},
              {47, "RELAY"}, {56, "SYSTEM"}, {64, "VPMTS"},     {67, "MEK_SQUELCH_TYPE"},
              {68, ""},      {-1, ""}};
  for (const auto& row : rows) EXPECT_EQ(keyword_text(row.index), row.text) << row.index;
  EXPECT_EQ(lookup_keyword("TX_LEVEL"), 58);
  EXPECT_EQ(lookup_keyword("tx_level"), -1);
}

TEST(Vocabulary, ValueWordLookupTakesTheFirstExactMatch) {
  const struct {
    const char* word;
    int index;
  } rows[] = {{"0", 0},     {"30", 1},   {"1", 2},    {"VOX", 18},  {"DTMF", 19},
              {"NORM", 21}, {"MIC", 24}, {"mic", 25}, {"MICX", 25}, {"", 25}};
  for (const auto& row : rows) EXPECT_EQ(lookup_value_word(row.word), row.index) << row.word;
  EXPECT_EQ(value_word_text(12), "EXCLUSIVE");
}

}  // namespace
}  // namespace mav
