#include "config/ConfigurationFiles.h"

#include <thread>

#include "config/ConfigurationReplay.h"
#include "frontend/MenuIds.h"
#include "platform/AtomicFile.h"

namespace mav {
namespace {

constexpr const char* kCaption = "MAV Controller";
constexpr const char* kNotOpened = "Load file could not be opened";
constexpr const char* kNoModules = "Get configuration from MAV first";
constexpr const char* kIncompatible =
    "The specified configuration file is incompatible\rwith this version of the MAV Controller";

static_assert(kPinTableBytes == kConfigPinTableBytes);

// The worker cannot return to an event loop: it sleeps through the pause.
void sleep_through(std::chrono::milliseconds pause, const std::function<void()>& rest) {
  std::this_thread::sleep_for(pause);
  rest();
}

}  // namespace

ConfigurationFiles::ConfigurationFiles(const ConfigParts& parts,
                                       const std::filesystem::path& program_directory,
                                       ReplayPause ui_pause)
    : p_(parts),
      folder_(program_directory / "Configurations"),
      ui_pause_(std::move(ui_pause)),
      history_(folder_ / kHistoryFolderName) {}

Configuration ConfigurationFiles::snapshot() const {
  Configuration config;
  config.mek_squelch_type = p_.session.mek_squelch_type.load();
  for (int port = 0; port < kPortCount; ++port) {
    p_.model.GetPort(port, config.ports[static_cast<std::size_t>(port)]);
  }
  config.pin_table = p_.pins.to_bytes();
  config.security_mode = static_cast<std::uint8_t>(p_.session.security_mode.load());
  return config;
}

void ConfigurationFiles::make_folder() const {
  make_private_folder(folder_);
}

// The automatic files are written without a word when that fails.
std::optional<Configuration> ConfigurationFiles::save_silently(const char* file_name) const {
  if (p_.model.CountModules() == 0) return std::nullopt;
  make_folder();
  Configuration config = snapshot();
  WriteConfiguration(folder_ / file_name, config);
  return config;
}

void ConfigurationFiles::AutoSave() {
  // The next periodic save is due a full interval after this one, whoever asked for it.
  p_.session.last_autosave_ms.store(p_.link.clock().now_ms());
  if (const auto saved = save_silently(kAutoSaveFileNames[slot_.load()])) {
    history_.Record(EncodeConfiguration(*saved), std::chrono::system_clock::now());
    p_.session.autosaves.fetch_add(1);
  }
}

void ConfigurationFiles::SaveSnapshot() {
  save_silently(kSnapshotFileName);
}

void ConfigurationFiles::send_disch_all() {
  const bool prompts = p_.session.voice_prompts.load();
  if (prompts) p_.link.send_line("VPMTS OFF\r", true);
  p_.link.send_line("DISCH ALL\r", true);
  if (prompts) p_.link.send_line("VPMTS ON\r", true);
}

bool ConfigurationFiles::RestoreAfterGatewayRestart() {
  AutoSave();
  return load_file(
      folder_ / kAutoSaveFileNames[slot_.load()], Opening::SilentWhenUnopened, nullptr,
      [this] {
        p_.link.send_line("USER_PGM OFF\r", true);
        send_disch_all();
        p_.link.send_line(p_.session.cor_reporting.load() ? "COR_LED ON\r" : "COR_LED OFF\r", true);
        p_.link.send_line(p_.session.ptt_reporting.load() ? "PTT_LED ON\r" : "PTT_LED OFF\r", true);
      },
      sleep_through);
}

bool ConfigurationFiles::load_file(const std::filesystem::path& file, Opening opening,
                                   ConfigurationPrompts* prompts,
                                   const std::function<void()>& before_replay,
                                   const ReplayPause& pause, const GoAhead& go_ahead) {
  Configuration saved;
  const ConfigFileStatus status = ReadConfiguration(file, saved);
  if (status == ConfigFileStatus::CannotOpen) {
    if (opening == Opening::ToldWhenUnopened && prompts) {
      prompts->tell({kNotOpened, kCaption, MessageIcon::Exclamation, true});
    }
    return false;
  }
  // A load the operator is asked about and that is known to fail does not tear the console down
  // first: the loader then refuses it before it sends anything.
  const bool known_to_fail = go_ahead && status == ConfigFileStatus::Read &&
                             CompareWithModel(p_.model, saved).load_fails();
  if (go_ahead &&
      !go_ahead([this, status, &saved] { return changes_of(status, saved); }, known_to_fail)) {
    return false;
  }
  if (before_replay && !known_to_fail) before_replay();
  if (status == ConfigFileStatus::Incompatible) {
    p_.frontend.show_message_box(
        {kIncompatible, "Can't read configuration file", MessageIcon::Exclamation, false});
  } else if (LoadConfiguration(p_, saved, pause)) {
    return true;  // the replay repaints when it ends
  }
  p_.frontend.request_repaint();
  return true;
}

std::vector<std::string> ConfigurationFiles::changes_of(ConfigFileStatus status,
                                                        const Configuration& saved) const {
  switch (status) {
    case ConfigFileStatus::Read:
      return DescribeChanges(CompareWithModel(p_.model, saved));
    case ConfigFileStatus::CannotOpen:
      return {kNotOpened};
    case ConfigFileStatus::Incompatible:
      break;
  }
  return {kIncompatible};
}

std::vector<std::string> ConfigurationFiles::changes_of_file(
    const std::filesystem::path& file) const {
  Configuration saved;
  const ConfigFileStatus status = ReadConfiguration(file, saved);
  return changes_of(status, saved);
}

// Newest first; a file that cannot be read (removed meanwhile, damaged) is not offered.
std::vector<HistoryRow> ConfigurationFiles::history_rows() const {
  std::vector<HistoryRow> rows;
  const std::vector<HistoryFile> files = history_.Files();
  for (auto file = files.rbegin(); file != files.rend(); ++file) {
    Configuration saved;
    if (ReadConfiguration(file->file, saved) == ConfigFileStatus::Read) {
      rows.push_back({*file, Summarize(saved)});
    }
  }
  return rows;
}

bool ConfigurationFiles::modules_known(ConfigurationPrompts& prompts, const char* refusal) const {
  if (p_.model.CountModules() != 0) return true;
  prompts.tell({refusal, kCaption, MessageIcon::Exclamation, true});
  return false;
}

void ConfigurationFiles::save_command(ConfigurationPrompts& prompts) {
  if (!modules_known(prompts, "No data to save")) return;
  make_folder();
  const std::optional<std::filesystem::path> file =
      prompts.choose_configuration_file(FileChoice::Save, folder_);
  if (!file) return;
  if (!WriteConfiguration(*file, snapshot())) {
    prompts.tell({"Save file could not be opened", kCaption, MessageIcon::Exclamation, true});
  }
}

void ConfigurationFiles::load_command(ConfigurationPrompts& prompts) {
  if (!modules_known(prompts, kNoModules)) return;
  make_folder();
  const std::optional<std::filesystem::path> file =
      prompts.choose_configuration_file(FileChoice::Load, folder_);
  if (!file) return;
  // The operator confirms with the file's changes at hand before DISCH ALL goes out.
  load_file(
      *file, Opening::ToldWhenUnopened, &prompts, [this] { send_disch_all(); }, ui_pause_,
      [&prompts, name = file->filename().string()](const Changes& changes, bool known_to_fail) {
        // The file chooser is gone by now: the question says which file it was.
        const std::string doubt =
            known_to_fail ? "The load would fail: nothing would change.\r" : "";
        return prompts.ask_yes_no_showing_changes(
            {"Load Configuration:\r" + name + "\r" + doubt + "Are you sure?", kCaption,
             MessageIcon::Question, true},
            changes, known_to_fail);
      });
}

// Restore Last Config, Restore from History and Revert: the loader's own DISC_S ALL clears the
// gateway's connections.
void ConfigurationFiles::restore_command(ConfigurationPrompts& prompts,
                                         const std::filesystem::path& file) {
  if (!modules_known(prompts, kNoModules)) return;
  load_file(file, Opening::ToldWhenUnopened, &prompts, {}, ui_pause_);
}

void ConfigurationFiles::history_command(ConfigurationPrompts& prompts) {
  if (!modules_known(prompts, kNoModules)) return;
  const std::optional<std::filesystem::path> file = prompts.choose_from_history(
      history_rows(),
      [this](const std::filesystem::path& saved) { return changes_of_file(saved); });
  if (file) restore_command(prompts, *file);
}

void ConfigurationFiles::register_commands(CommandRegistry& registry,
                                           ConfigurationPrompts& prompts) {
  registry.add(menu::kSaveConfiguration, [this, &prompts] { save_command(prompts); });
  registry.add(menu::kLoadConfiguration, [this, &prompts] { load_command(prompts); });
  registry.add(menu::kRestoreLastConfig, [this, &prompts] {
    // The previous run wrote the other slot's file.
    const std::filesystem::path file = folder_ / kAutoSaveFileNames[1 - slot_.load()];
    if (!prompts.ask_yes_no_showing_changes(
            {"Restore to Last Configuration:\rAre you sure?", kCaption, MessageIcon::Question,
             true},
            [this, file] { return changes_of_file(file); }, false)) {
      return;
    }
    restore_command(prompts, file);
  });
  registry.add(menu::kRestoreFromHistory, [this, &prompts] { history_command(prompts); });
  for (const int revert : {menu::kRevertAfterConnectAll, menu::kRevertAfterDisconnectAll}) {
    registry.add(revert,
                 [this, &prompts] { restore_command(prompts, folder_ / kSnapshotFileName); });
  }
}

}  // namespace mav
