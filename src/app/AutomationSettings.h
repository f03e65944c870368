// Whether the controller serves the control interface, and on which socket: "Automation.cfg"
// beside the preferences, two lines, "serve=0|1" and "socket=PATH", so the preferences file
// keeps its own layout. A missing or unreadable file means not serving, on the default socket.
#pragma once

#include <filesystem>

namespace mav {

inline constexpr const char* kAutomationFileName = "Automation.cfg";

struct AutomationSettings {
  bool serve = false;
  std::filesystem::path socket;
};

AutomationSettings read_automation_settings(const std::filesystem::path& file);
bool write_automation_settings(const std::filesystem::path& file,
                               const AutomationSettings& settings);

}  // namespace mav
