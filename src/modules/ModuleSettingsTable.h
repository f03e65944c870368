// The one description of every module type's settings. For each type: the dialog it opens (name,
// captions, size, groups of lists in order) and, per list, its control id, label, entries in
// order with the value each entry stores, how a stored value picks the entry shown, and the
// keyword whose field it edits; then the order in which the settings writer sends the fields.
// The dialogs are built from it, the writer walks it and the tests read it. Pure data and pure
// functions; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/PortRecord.h"

namespace mav {

// One entry of a drop-down list and the value it stores.
struct Choice {
  std::string_view label;
  std::uint32_t stored;
};

// How a stored value picks the entry shown.
enum class ShowRule {
  Exact,             // the entry storing that very value; none when no entry does
  NonZero,           // the entry whose stored value is zero exactly when the value is
  ExactOrElse,       // the entry storing that value, else the entry at `fallback`
  LineVoxThreshold,  // 0 and 9 show the first entry, 3 the last, anything else the middle one
};

struct SettingRow {
  int control_id;
  std::string_view label;
  int keyword;  // kw:: index; its settings field holds the value
  std::span<const Choice> choices;
  ShowRule rule = ShowRule::Exact;
  int fallback = 0;  // ExactOrElse only
};

// A titled group of controls, top to bottom. Besides list ids it may name push buttons and the
// VOQ-3 template name field; the dialog knows those by id.
struct DialogGroup {
  std::string_view title;
  std::span<const int> controls;
};

// Controls that are enabled only while the settings (as the lists currently read) pass a test.
struct EnableRule {
  std::span<const int> controls;
  bool (*enabled)(const ModuleSettings& settings);
};

struct ModuleTable {
  std::uint32_t mod_type;
  std::string_view dialog_name;   // the resource the opener asks for
  std::string_view caption;       // the dialog's own caption
  std::string_view title_format;  // window title set at opening, "%.2d" = port
  int width_units;                // dialog size in dialog units
  int height_units;
  std::span<const SettingRow> rows;
  std::span<const DialogGroup> groups;
  std::span<const int> extra_buttons;  // push buttons below the groups (template files)
  std::span<const EnableRule> enable_rules;
  std::span<const int> send_order;  // kw:: indices, in the order the writer sends them
};

// The table of a module type; null for 0 and unknown types.
const ModuleTable* module_table(std::uint32_t mod_type);
// The row of a control id in a module's table; null when the module has no such list.
const SettingRow* find_row(const ModuleTable& table, int control_id);

// The list position showing a value; nullopt when the list shows no selection.
std::optional<int> shown_position(const SettingRow& row, std::uint32_t value);
// What reading a list back stores: the entry's value, or `current` kept when nothing (or an
// out-of-range position) is selected.
std::uint32_t read_back(const SettingRow& row, std::optional<int> position, std::uint32_t current);

// Both through the row's keyword field of the settings block. The handset squelch list has no
// field: reading gives nullopt and storing does nothing.
std::optional<int> shown_position(const SettingRow& row, const ModuleSettings& settings);
void store_position(const SettingRow& row, std::optional<int> position, ModuleSettings& settings);

// The handset squelch choice, which is one value for the whole gateway (value-word indices).
inline constexpr int kMekSquelchUnknown = -1;

}  // namespace mav
