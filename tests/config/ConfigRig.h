// The configuration files over a real link: a channel on a fake clock connected to a loopback
// peer that sees every line on the wire, the operator's answers given by script, and custom icons
// that load when their file exists. A replay's pause is recorded and passed at once. Build with
// make_unique; the channel is large.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigurationFiles.h"
#include "link/LoopbackLink.h"
#include "model/RecordImage.h"

namespace mav::test {

class ScriptedPrompts final : public ConfigurationPrompts {
 public:
  std::optional<std::filesystem::path> choose_configuration_file(
      FileChoice choice, const std::filesystem::path& folder) override {
    choices.push_back(choice);
    chooser_folder = folder;
    return chosen;
  }
  void tell(const MessageBoxRequest& box) override { told.push_back(box.text); }
  bool ask_yes_no(const MessageBoxRequest& box) override {
    asked.push_back(box.text);
    return answer_yes;
  }
  bool ask_yes_no_showing_changes(const MessageBoxRequest& box, const Changes& changes,
                                  bool no_is_default) override {
    no_was_default = no_is_default;
    shown_changes = changes();
    return ask_yes_no(box);
  }
  std::optional<std::filesystem::path> choose_from_history(const std::vector<HistoryRow>& rows,
                                                           const ChangesOfFile& changes) override {
    history = rows;
    if (!rows.empty()) shown_changes = changes(rows.front().saved.file);
    return history_choice;
  }

  std::optional<std::filesystem::path> chosen;  // nothing: the operator cancels
  bool answer_yes = true;
  bool no_was_default = false;
  std::vector<FileChoice> choices;
  std::filesystem::path chooser_folder;
  std::vector<std::string> told;
  std::vector<std::string> asked;
  std::vector<std::string> shown_changes;  // the changes of the last confirmation or history
  std::vector<HistoryRow> history;
  std::optional<std::filesystem::path> history_choice;  // nothing: the operator cancels
};

// Custom icons from files: a file that exists gets the next id from 551.
class FileIcons final : public CustomIcons {
 public:
  int LoadCustom(const char* path, int) override {
    return std::filesystem::exists(path) ? 551 + loaded++ : -1;
  }
  void FreeCustom() override { ++frees; }
  int loaded = 0;
  int frees = 0;
};

struct ConfigRig {
  ConfigRig() {
    connected = connect_to(link, peer);
    files.register_commands(registry, prompts);
  }

  // Everything the channel has sent, its queue drained at the paced rate.
  std::string wire() {
    while (link.channel.queued_lines() != 0) {
      link.clock.advance_ms(kQueuePacingMs + 1);
      link.channel.poll_receive();
    }
    return peer.read(static_cast<std::size_t>(-1), std::chrono::milliseconds(300));
  }

  PortRecord port(int p) const { return RecordOf(link.model, p); }
  std::filesystem::path folder() const { return files.folder(); }
  void run(int command_id) { registry.run(command_id); }

  LinkRig link;
  LoopbackPeer peer;
  bool connected = false;
  PendingTable pending;
  PinTable pins;
  SessionState session;
  FileIcons icons;
  ScriptedPrompts prompts;
  SettingsWriter settings{link.channel, session};
  CommandRegistry registry;
  std::vector<std::chrono::milliseconds> pauses;
  ConfigurationFiles files{
      ConfigParts{link.model, pending, pins, link.channel, session, link.frontend, icons, settings},
      link.scratch.path(), [this](std::chrono::milliseconds pause, std::function<void()> rest) {
        pauses.push_back(pause);
        rest();
      }};
};

inline std::unique_ptr<ConfigRig> make_config_rig() {
  auto rig = std::make_unique<ConfigRig>();
  EXPECT_TRUE(rig->connected);
  return rig;
}

}  // namespace mav::test
