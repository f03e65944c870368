// How the gateway writes its replies and events: "%" and the keyword, the arguments separated by
// single blanks, and the status token "E%d". Lines are returned without their carriage return.
// Pure functions; any thread.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "SettingCatalog.h"

namespace mav::sim {

// A port as two digits ("%.2d").
std::string port_text(int port);

// "%KEYWORD arg arg ... E<status>".
std::string reply_line(int keyword, std::initializer_list<std::string_view> args, int status);

// "% E<status>": the answer to a line the gateway cannot take apart, or that names nothing.
std::string bare_status(int status);

// A setting's stored value as it travels: a number, ON/OFF, or the value word.
std::string setting_value_text(const SettingRule& rule, int value);

// An activity mask as two groups of four hex digits: ports 16 to 25, then ports 0 to 15.
std::string mask_text(std::uint32_t mask);

}  // namespace mav::sim
