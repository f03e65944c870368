// What the configuration commands ask of the operator. The main window carries it with its file
// chooser and message boxes. UI thread only; every call waits for the operator.
#pragma once

#include <filesystem>
#include <optional>

#include "frontend/Frontend.h"

namespace mav {

enum class FileChoice { Save, Load };

class ConfigurationPrompts {
 public:
  virtual ~ConfigurationPrompts() = default;
  // The save or open dialog for configuration files, starting in folder; nothing when
  // cancelled. Saving asks before overwriting a file.
  virtual std::optional<std::filesystem::path> choose_configuration_file(
      FileChoice choice, const std::filesystem::path& folder) = 0;
  virtual void tell(const MessageBoxRequest& box) = 0;
  virtual bool ask_yes_no(const MessageBoxRequest& box) = 0;
};

}  // namespace mav
