// The operator's configuration files and the program's own automatic ones, all in the
// Configurations folder below the program directory: File > Save and Load Configuration, the
// periodic save into this run's slot file, the snapshot before Connect All and Disconnect All,
// Restore Last Config, Revert, the history of automatic saves and Restore from History, and the
// replay after a gateway restart. Paths are absolute, so the
// two threads that save and load never share a current directory. Each member says its thread.
#pragma once

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigParts.h"
#include "config/ConfigurationHistory.h"
#include "config/ConfigurationPrompts.h"
#include "frontend/CommandRegistry.h"
#include "model/ConfigFile.h"
#include "protocol/SessionHooks.h"

namespace mav {

inline constexpr const char* kAutoSaveFileNames[2] = {"AutoS1.mav", "AutoS2.mav"};
inline constexpr const char* kSnapshotFileName = "Auto_CD.mav";

class ConfigurationFiles final : public AutoSaveHooks {
 public:
  // ui_pause: how a replay started on the UI thread waits without blocking it.
  ConfigurationFiles(const ConfigParts& parts, const std::filesystem::path& program_directory,
                     ReplayPause ui_pause);

  // This run's automatic-save slot (0 or 1), known once start-up has inverted it. Any thread.
  void set_save_slot(int slot) { slot_.store(slot == 0 ? 0 : 1); }
  const std::filesystem::path& folder() const { return folder_; }
  const ConfigurationHistory& history() const { return history_; }

  // Save and Load Configuration, Restore Last Config, Restore from History and both Revert
  // items. UI thread.
  void register_commands(CommandRegistry& registry, ConfigurationPrompts& prompts);

  // The periodic save into this run's file, kept in the history too when it differs from the
  // newest kept one; nothing while no module is known. Either way the save time moves to now,
  // so the next periodic save is a full interval away. Worker thread.
  void AutoSave() override;
  // Saves at once, then replays this run's file after the prelude lines; false when the file
  // cannot be opened. Worker thread.
  bool RestoreAfterGatewayRestart() override;
  // The state before Connect All or Disconnect All. UI thread.
  void SaveSnapshot();

 private:
  enum class Opening { ToldWhenUnopened, SilentWhenUnopened };

  // Asked once the file is read, before anything is sent: false stops the load. known_to_fail:
  // the gateway's modules do not fit the file, and nothing will be sent whatever the answer.
  using GoAhead = std::function<bool(const Changes& changes, bool known_to_fail)>;

  Configuration snapshot() const;
  void make_folder() const;
  // The configuration written; nothing while no module is known.
  std::optional<Configuration> save_silently(const char* file_name) const;
  void send_disch_all();
  // Reads the file and replays it; before_replay runs once the file is open.
  bool load_file(const std::filesystem::path& file, Opening opening, ConfigurationPrompts* prompts,
                 const std::function<void()>& before_replay, const ReplayPause& pause,
                 const GoAhead& go_ahead = {});
  std::vector<std::string> changes_of(ConfigFileStatus status, const Configuration& saved) const;
  std::vector<std::string> changes_of_file(const std::filesystem::path& file) const;
  std::vector<HistoryRow> history_rows() const;
  void save_command(ConfigurationPrompts& prompts);
  void load_command(ConfigurationPrompts& prompts);
  void restore_command(ConfigurationPrompts& prompts, const std::filesystem::path& file);
  void history_command(ConfigurationPrompts& prompts);
  bool modules_known(ConfigurationPrompts& prompts, const char* refusal) const;

  ConfigParts p_;
  const std::filesystem::path folder_;
  const ReplayPause ui_pause_;
  ConfigurationHistory history_;
  std::atomic<int> slot_{0};
};

}  // namespace mav
