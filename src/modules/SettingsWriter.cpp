#include "modules/SettingsWriter.h"

#include <cstdio>
#include <string_view>

#include "model/SettingsFields.h"
#include "modules/ModuleSettingsTable.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

// Switch fields go out as one of two words: the first for a non-zero field.
struct SwitchWords {
  int keyword;
  std::string_view on;
  std::string_view off;
};

constexpr SwitchWords kSwitches[] = {
    {kw::DUPLEX, "FULL", "HALF"},        {kw::COR_POLARITY, "NEG", "POS"},
    {kw::COR_SAMPLING, "ON", "OFF"},     {kw::USER_CONTROL, "ON", "OFF"},
    {kw::PTT_PRIORITY, "ON", "OFF"},     {kw::LINE_TYPE, "NORM", "SATCOM"},
    {kw::DIAL_MODE, "DTMF", "PULSE"},    {kw::DIAL_TONE_WAIT, "ON", "OFF"},
    {kw::AUTO_ANS, "ON", "OFF"},         {kw::RX_SQUELCH, "ON", "OFF"},
    {kw::DIAL_TONE_ENABLE, "ON", "OFF"}, {kw::RINGBACK_ENABLE, "ON", "OFF"},
    {kw::RING_CADENCE, "US", "EURO"},
};

const SwitchWords* switch_words(int keyword) {
  for (const SwitchWords& s : kSwitches) {
    if (s.keyword == keyword) return &s;
  }
  return nullptr;
}

// The word a field goes out as; empty for a plain number, nullopt when no line is sent at all.
std::optional<std::string_view> value_word(int keyword, std::uint32_t value) {
  if (const SwitchWords* s = switch_words(keyword)) return value != 0 ? s->on : s->off;
  switch (keyword) {
    case kw::CALLING_TIME:  // stored as the index of the word sent
      if (value > vw::CONT) return std::nullopt;
      return value_word_text(static_cast<int>(value));
    case kw::SQUELCH_TYPE:
      if (value < vw::COR || value > vw::CTCSS) return value_word_text(vw::VOX);
      return value_word_text(static_cast<int>(value));
    case kw::DB_TONE:  // the gateway only knows the US dial tone here
      return value_word_text(vw::US);
    default:
      return std::string_view{};
  }
}

}  // namespace

SettingsWriter::SettingsWriter(LineSender& sender, const SessionState& session)
    : sender_(sender), session_(session) {}

void SettingsWriter::send(const char* line) {
  sender_.send_line(line, true);
}

void SettingsWriter::WriteModuleSettings(int port, const PortRecord& new_record,
                                         PortRecord* old_record) {
  const PortRecord wanted = new_record;
  const ModuleTable* table = module_table(wanted.mod_type);
  if (table == nullptr) return;

  char line[64];
  for (const int keyword : table->send_order) {
    const std::uint32_t value = read_setting(wanted.settings, keyword).value_or(0);
    if (old_record != nullptr && read_setting(old_record->settings, keyword) == value) continue;
    const auto word = value_word(keyword, value);
    if (!word) continue;
    const std::string_view name = keyword_text(keyword);
    if (word->empty()) {
      std::snprintf(line, sizeof line, "%.*s %.2d %d\r", static_cast<int>(name.size()), name.data(),
                    port, static_cast<int>(value & 0xFFu));
    } else {
      std::snprintf(line, sizeof line, "%.*s %.2d %.*s\r", static_cast<int>(name.size()),
                    name.data(), port, static_cast<int>(word->size()), word->data());
    }
    send(line);
  }

  const int requested = mek_squelch_requested_.load();
  if (wanted.mod_type == MOD_MEK4 && port == 0 && requested != kMekSquelchUnknown &&
      requested != session_.mek_squelch_type.load()) {
    const std::string_view word = value_word_text(requested);
    std::snprintf(line, sizeof line, "MEK_SQUELCH_TYPE %.*s\r", static_cast<int>(word.size()),
                  word.data());
    send(line);
  }

  if (old_record != nullptr) old_record->settings = wanted.settings;
}

}  // namespace mav
