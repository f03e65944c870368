// The module settings block addressed by protocol keyword. One table maps each settings keyword
// (a kw:: index) to its field and its reset value, so the reply handlers, the settings writer and
// the configuration loader all agree on which keyword lives where. Pure functions; any thread.
#pragma once

#include <cstdint>
#include <optional>

#include "model/PortRecord.h"

namespace mav {

// The field's value for a settings keyword; nullopt for a keyword that is no settings field.
std::optional<std::uint32_t> read_setting(const ModuleSettings& settings, int keyword);

// Stores value into the keyword's field: the low byte for the one-byte fields, the whole value
// for CALLING_TIME and SQUELCH_TYPE. False, storing nothing, for a keyword that is no settings
// field.
bool store_setting(ModuleSettings& settings, int keyword, std::uint32_t value);

// Puts every field back to the value a module is assumed to have before the gateway reports it.
// PROMPT_DELAY, PROMPT_LANG and the first reserved byte keep what they hold.
void reset_settings(ModuleSettings& settings);

}  // namespace mav
