// What the configuration commands ask of the operator. The main window carries it with its file
// chooser and message boxes. UI thread only; every call waits for the operator.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigurationChanges.h"
#include "config/ConfigurationHistory.h"

#include "frontend/Frontend.h"

namespace mav {

enum class FileChoice { Save, Load };

// The lines of the comparison of one saved configuration with the gateway now; made only when
// the operator asks for them.
using ChangesOfFile = std::function<std::vector<std::string>(const std::filesystem::path& file)>;
using Changes = std::function<std::vector<std::string>()>;

// One kept automatic save as the history list shows it.
struct HistoryRow {
  HistoryFile saved;
  ConfigurationSummary summary;
};

class ConfigurationPrompts {
 public:
  virtual ~ConfigurationPrompts() = default;
  // The save or open dialog for configuration files, starting in folder; nothing when
  // cancelled. Saving asks before overwriting a file.
  virtual std::optional<std::filesystem::path> choose_configuration_file(
      FileChoice choice, const std::filesystem::path& folder) = 0;
  virtual void tell(const MessageBoxRequest& box) = 0;
  virtual bool ask_yes_no(const MessageBoxRequest& box) = 0;
  // A Yes/No question whose "Show changes..." button shows the changes; true for Yes. Enter
  // answers No when no_is_default, else Yes.
  virtual bool ask_yes_no_showing_changes(const MessageBoxRequest& box, const Changes& changes,
                                          bool no_is_default) = 0;
  // The history list, newest first, showing the changes of the row chosen; the file to restore,
  // or nothing when cancelled.
  virtual std::optional<std::filesystem::path> choose_from_history(
      const std::vector<HistoryRow>& rows, const ChangesOfFile& changes) = 0;
};

}  // namespace mav
