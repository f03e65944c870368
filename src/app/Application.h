// The program's own state and the operator's commands that belong to the shell: the preferences
// file, the connection in use and its site record, the window title, the menu marks, start-up and
// shutdown. It is also what the reply dispatcher asks of the shell (ShellHooks) and what the
// engine asks after a drop (ConnectionHooks). The parts of the preferences and of the site record
// that other subsystems work with are theirs (PreferenceSections, SiteTemplateNames). UI thread
// unless a member says otherwise.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>

#include "app/ConnectionIndicator.h"
#include "app/RunConnection.h"
#include "app/ShellWindow.h"
#include "app/SiteNames.h"
#include "app/SiteRecord.h"
#include "config/ConfigurationFiles.h"
#include "engine/ConnectionHooks.h"
#include "engine/ContactSupervisor.h"
#include "engine/LinkKeeper.h"
#include "frontend/CommandRegistry.h"
#include "frontend/Frontend.h"
#include "link/LinkChannel.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "modules/SiteTemplateNames.h"
#include "platform/ProgramFolders.h"
#include "preferences/PreferencesStore.h"
#include "protocol/DeviceCommands.h"
#include "protocol/SessionHooks.h"
#include "protocol/SessionState.h"
#include "security/PinTable.h"

namespace mav {

// Every object the application works with; each outlives it.
struct ApplicationParts {
  DeviceModel& model;
  EventLog& log;
  LinkChannel& link;
  ContactSupervisor& contact;
  LinkKeeper& keeper;
  SessionState& session;
  DeviceCommands& commands;
  PinTable& pins;
  Frontend& frontend;
  SiteTemplateNames& template_names;  // kept with the site record
};

inline constexpr const char* kExitReminderText =
    "The MAV Controller automatically saves your configuration\rwhen you close the program.  You "
    "can restore this configuration\rthe next time you run the MAV Controller with the Restore "
    "Last\rConfig command in the File Menu.\rDo you want to see this reminder in the future?";

class Application final : public ShellHooks, public ConnectionHooks {
 public:
  Application(const ApplicationParts& parts, ProgramFolders folders);

  // Start-up, in this order. The defaults (with the screen size for a display `screen_width`
  // pixels wide), the preferences file and the old site list's conversion; the result says
  // whether the operator must be told that a new preferences file was created.
  PreferencesOrigin load_settings(int screen_width);
  void attach_window(ShellWindow& window);
  // The recent-connection items, the automatic connection (or the one this run asks for), the
  // voice prompt state and the menu marks.
  void connect_at_startup(const RunConnection& run);
  // The automatic-save slot inverted and the preferences saved; after the first paint, the start
  // is written to the log.
  void invert_save_slot();
  void report_running();
  // The orderly stop: the site record, the exit reminder (when asked for and wanted), the log.
  // The channel is closed by the caller afterwards.
  void shutdown(bool offer_exit_reminder);

  // Any thread.
  Preferences preferences() const { return prefs_.get(); }
  // The record whose parts the other subsystems' preference sections are.
  PreferencesStore& preferences_store() { return prefs_; }
  const std::filesystem::path& program_directory() const { return folders_.program; }
  // Where the sounds, the manual and the module guide are.
  const std::filesystem::path& shared_directory() const { return folders_.shared; }
  const std::string& title() const { return title_; }

  // The shell's menu commands (see MenuIds.h), including the recent connections.
  void register_commands(CommandRegistry& registry);
  // The window's chosen screen size, 0..2, stored and saved.
  void store_screen_size(int index);

  // Connection selection.
  bool select_connection(int index);  // -1 serial, -2 network without a site, else that site
  bool add_site(const std::array<std::uint8_t, 4>& address, std::int32_t port,
                const std::string& description);
  bool remove_site(int index);
  void open_recent(int index);
  void update_network_title();
  // How the channel to the gateway stands, for the connection indicator. Any thread.
  LinkStatus link_status() const;
  // The serial port dialog: OK opens the port (false: "Error opening serial port", the dialog
  // stays), Cancel warns when no port is open, and both end with the settings stored.
  bool choose_serial_port(const std::string& name, std::uint32_t baud);
  void serial_dialog_cancelled();
  // The name the serial port dialog opens with: the channel's device, else the stored name,
  // else "----".
  std::string serial_name_to_show() const;

  // The site record of the connection in use. Any thread.
  void save_site_record();
  bool load_site_record();
  void set_custom_icon_loader(CustomIconLoader loader);

  // The event log's file, stored and saved.
  void store_log_file_name(const std::string& name);

  // The dispatcher's hooks: worker thread.
  bool channel_open() const override;
  void save_preferences() override;
  void load_site_port_names() override;

  // The engine's retries after a drop: UI thread.
  void connection_dropped() override;
  void reopen_connection() override;
  void reconnect_failed() override;

 private:
  void set_title(const std::string& title);
  void set_check(int command_id, bool checked);
  // An On and an Off command: exactly one carries the mark.
  void set_checks(int on_id, int off_id, bool on);
  void set_checks_from_preferences();
  void refresh_recent_menu();
  void add_recent(const RecentConnection& entry);
  void set_serial_title();
  bool channel_usable() const;
  void set_reporting(bool cor, bool on);
  void set_custom_title(bool on);
  void set_animation_delay(int command_id);
  void check_animation_speed(int command_id);
  // A setting with an On and an Off command: stored, saved and both marks set.
  void store_switch(bool Preferences::*field, int on_id, int off_id, bool on);
  void register_switch(CommandRegistry& registry, bool Preferences::*field, int on_id, int off_id);
  void toggle_sound();
  void retrieve_current_config();
  void tell(const char* text, MessageIcon icon);
  // Opens `site` and synchronises; the title says how far it got.
  void open_site(const NetworkSite& site);
  // The site record of the connection at address:port becomes the one in use, and its names are
  // shown.
  void use_site_record(const std::uint8_t (&address)[4], std::int32_t port);
  // select_connection without ending the retries after a drop.
  bool open_connection(int index);
  // `stored`: the preferences' port, which is put at the head of the recent list when it opens
  // and forgotten when it does not.
  void connect_serial_at_startup(const std::string& device, std::int32_t baud, bool stored);
  // The site this run's command line asked for, or the selected stored site.
  std::optional<NetworkSite> network_site_in_use() const;
  // The command line's site while it is in use.
  std::optional<NetworkSite> run_site() const;

  DeviceModel& model_;
  EventLog& log_;
  LinkChannel& link_;
  ContactSupervisor& contact_;
  LinkKeeper& keeper_;
  SessionState& session_;
  DeviceCommands& commands_;
  PinTable& pins_;
  Frontend& frontend_;
  SiteTemplateNames& template_names_;
  const ProgramFolders folders_;
  PreferencesStore prefs_;
  ShellWindow* window_ = nullptr;
  std::string title_;

  mutable std::mutex site_mutex_;  // current_site_, run_site_ and the site list file
  SiteRecord current_site_{};
  // In use while the connection is the command line's site, whose record is never written.
  std::optional<NetworkSite> run_site_;
  CustomIconLoader load_icon_;
};

}  // namespace mav
