#include "app/Application.h"

#include <cstdio>
#include <utility>

#include "app/ConnectionLists.h"
#include "app/SitesFile.h"
#include "app/WindowTitles.h"
#include "frontend/MenuIds.h"

namespace mav {
namespace {

constexpr std::size_t kCustomTitleLength = 254;

// The animation speeds of the Display menu: the delay each command stores.
constexpr std::pair<std::int16_t, int> kAnimationSpeeds[] = {{200, menu::kAnimationFast},
                                                             {650, menu::kAnimationSlow},
                                                             {0, menu::kAnimationOff},
                                                             {450, menu::kAnimationMedium}};

}  // namespace

Application::Application(const ApplicationParts& parts, ProgramFolders folders)
    : model_(parts.model),
      log_(parts.log),
      link_(parts.link),
      contact_(parts.contact),
      keeper_(parts.keeper),
      session_(parts.session),
      commands_(parts.commands),
      pins_(parts.pins),
      frontend_(parts.frontend),
      template_names_(parts.template_names),
      folders_(std::move(folders)),
      // The voice prompt state and the PIN table change without the preferences knowing.
      prefs_(folders_.program / kPreferencesFileName, [this](Preferences& p) {
        p.voice_prompts = session_.voice_prompts;
        p.pin_table_image = pins_.to_bytes();
      }) {}

PreferencesOrigin Application::load_settings(int screen_width) {
  Preferences defaults;
  defaults.screen_size = screen_size_for_width(screen_width);
  const PreferencesOrigin origin = prefs_.load(defaults);
  const Preferences prefs = prefs_.get();
  pins_.from_bytes(prefs.pin_table_image);
  session_.voice_prompts = prefs.voice_prompts;
  session_.cor_reporting = prefs.cor_reporting;
  session_.ptt_reporting = prefs.ptt_reporting;
  session_.sound_on = prefs.sound_on;
  session_.network_mode = prefs.network_mode;
  log_.set_log_file_name(prefs.log_file_name);
  convert_old_sites_file(folders_.program / kSitesFileName);
  session_.input_ready = true;
  session_.resync_requested = false;
  return origin;
}

void Application::attach_window(ShellWindow& window) {
  window_ = &window;
}

void Application::connect_at_startup(const RunConnection& run) {
  refresh_recent_menu();
  const Preferences prefs = prefs_.get();
  const bool auto_connect = prefs.auto_connect && !(prefs.network_mode && prefs.sites.empty());
  set_checks(menu::kAutoConnectOn, menu::kAutoConnectOff, auto_connect);
  switch (run.kind) {
    case RunConnection::Kind::Network: {
      const NetworkSite site{run.address, run.port, ""};
      {
        std::lock_guard lock(site_mutex_);
        run_site_ = site;
      }
      session_.network_mode = true;
      open_site(site);
      break;
    }
    case RunConnection::Kind::Serial:
      session_.network_mode = false;
      connect_serial_at_startup(run.device, static_cast<std::int32_t>(run.baud), false);
      break;
    case RunConnection::Kind::Stored:
      if (auto_connect && prefs.network_mode) {
        if (const auto site = network_site_in_use()) {
          open_site(*site);
        } else {
          set_title(kNotConnectedTitle);
        }
      } else if (auto_connect) {
        connect_serial_at_startup(prefs.serial_port_name, prefs.serial_baud, true);
      } else {
        set_title(kNotConnectedTitle);
      }
      break;
    case RunConnection::Kind::None:
    case RunConnection::Kind::Service:  // the console says where it is attached
      set_title(kNotConnectedTitle);
      break;
  }
  if (channel_usable()) {
    link_.send_line(prefs.voice_prompts ? "VPMTS ON\r" : "VPMTS OFF\r", true);
  }
  set_checks_from_preferences();
}

void Application::open_site(const NetworkSite& site) {
  set_title(kConnectingTitle);
  std::uint8_t address[4];
  std::copy(site.address.begin(), site.address.end(), address);
  if (!link_.open_network(address, static_cast<std::uint16_t>(site.port))) {
    set_title(kNotConnectedTitle);
    return;
  }
  if (!site.description.empty()) set_title(site.description);
  use_site_record(address, site.port);
  commands_.synchronise();
}

void Application::connect_serial_at_startup(const std::string& device, std::int32_t baud,
                                            bool stored) {
  if (link_.open_serial(device, static_cast<std::uint32_t>(baud))) {
    if (stored) add_recent(serial_connection(device, baud));
    set_serial_title();
    commands_.synchronise();
  } else {
    set_title(kNotConnectedTitle);
    if (stored) prefs_.change([](Preferences& p) { p.serial_port_name.clear(); });
    if (window_) window_->offer_serial_port_selection();
  }
  use_site_record({0, 0, 0, 0}, 0);
}

void Application::use_site_record(const std::uint8_t (&address)[4], std::int32_t port) {
  {
    std::lock_guard lock(site_mutex_);
    current_site_ = empty_site_record(address, port);
  }
  load_site_record();
}

void Application::set_checks_from_preferences() {
  const Preferences prefs = prefs_.get();
  set_checks(menu::kTitleUseCustom, menu::kTitleUseDefault, prefs.use_custom_title);
  set_check(menu::kSound, prefs.sound_on);
  set_check(menu::kHoverIconDescription, prefs.hover_descriptions);
  set_checks(menu::kAutoSwitchingOn, menu::kAutoSwitchingOff, prefs.auto_indicator_switching);
  set_check(menu::kScreen800x600, prefs.screen_size != 1 && prefs.screen_size != 2);
  set_check(menu::kScreen1024x768, prefs.screen_size == 1);
  set_check(menu::kScreen1280x1024, prefs.screen_size == 2);
  for (const auto& [delay, command] : kAnimationSpeeds) {
    if (delay == prefs.animation_delay) check_animation_speed(command);
  }
  set_check(menu::kCorReporting, prefs.cor_reporting);
  set_check(menu::kPttReporting, prefs.ptt_reporting);
}

void Application::invert_save_slot() {
  prefs_.change([](Preferences& p) { p.auto_save_slot = p.auto_save_slot ? 0 : 1; });
  save_preferences();
}

void Application::report_running() {
  log_.write_log_entry("*** MAV Controller began running");
}

void Application::shutdown(bool offer_exit_reminder) {
  save_site_record();
  if (offer_exit_reminder && prefs_.get().show_exit_reminder && window_) {
    const bool keep =
        window_->ask_yes_no({kExitReminderText, "MAV Controller", MessageIcon::Information, true});
    if (!keep) {
      prefs_.change([](Preferences& p) { p.show_exit_reminder = false; });
      save_preferences();
    }
  }
  log_.write_log_entry("*** MAV Controller shut down");
}

void Application::store_log_file_name(const std::string& name) {
  prefs_.change([&](Preferences& p) { p.log_file_name = name; });
  save_preferences();
}

void Application::store_screen_size(int index) {
  prefs_.change([&](Preferences& p) { p.screen_size = static_cast<std::uint8_t>(index); });
  save_preferences();
}

void Application::register_commands(CommandRegistry& registry) {
  registry.add(menu::kRetrieveCurrentConfig, [this] { retrieve_current_config(); });
  registry.add(menu::kSound, [this] { toggle_sound(); });
  registry.add(menu::kCorReporting, [this] { set_reporting(true, !prefs_.get().cor_reporting); });
  registry.add(menu::kPttReporting, [this] { set_reporting(false, !prefs_.get().ptt_reporting); });
  for (const auto& speed : kAnimationSpeeds) {
    const int command_id = speed.second;
    registry.add(command_id, [this, command_id] { set_animation_delay(command_id); });
  }
  for (const bool disconnects : {true, false}) {
    registry.add(disconnects ? menu::kRightButtonDisconnect : menu::kRightButtonEditSettings,
                 [this, disconnects] {
                   prefs_.change([&](Preferences& p) { p.right_button_disconnects = disconnects; });
                   set_checks(menu::kRightButtonDisconnect, menu::kRightButtonEditSettings,
                              disconnects);
                 });
  }
  registry.add(menu::kVoicePrompts, [this] {
    // The command asks for the opposite of its mark; the mark itself changes only with the
    // gateway's report.
    const bool on = !(window_ && window_->menu_checked(menu::kVoicePrompts));
    if (channel_usable()) link_.send_line(on ? "VPMTS ON\r" : "VPMTS OFF\r", true);
  });
  register_switch(registry, &Preferences::auto_indicator_switching, menu::kAutoSwitchingOn,
                  menu::kAutoSwitchingOff);
  register_switch(registry, &Preferences::auto_connect, menu::kAutoConnectOn,
                  menu::kAutoConnectOff);
  registry.add(menu::kTitleUseCustom, [this] { set_custom_title(true); });
  registry.add(menu::kTitleUseDefault, [this] { set_custom_title(false); });
  registry.add(menu::kHoverIconDescription, [this] {
    const bool on = !prefs_.get().hover_descriptions;
    prefs_.change([&](Preferences& p) { p.hover_descriptions = on; });
    save_preferences();
    set_check(menu::kHoverIconDescription, on);
  });
  for (int id = menu::kRecentConnectionFirst; id <= menu::kRecentConnectionLast; ++id) {
    registry.add(id, [this, id] { open_recent(id - menu::kRecentConnectionFirst); });
  }
}

void Application::toggle_sound() {
  const bool on = !prefs_.get().sound_on;
  if (on) frontend_.play_sound("Activate.wav");
  prefs_.change([&](Preferences& p) { p.sound_on = on; });
  session_.sound_on = on;
  set_check(menu::kSound, on);
}

void Application::register_switch(CommandRegistry& registry, bool Preferences::*field, int on_id,
                                  int off_id) {
  for (const bool on : {true, false}) {
    registry.add(on ? on_id : off_id, [=, this] { store_switch(field, on_id, off_id, on); });
  }
}

void Application::set_reporting(bool cor, bool on) {
  prefs_.change([&](Preferences& p) { (cor ? p.cor_reporting : p.ptt_reporting) = on; });
  (cor ? session_.cor_reporting : session_.ptt_reporting) = on;
  save_preferences();
  set_check(cor ? menu::kCorReporting : menu::kPttReporting, on);
  if (!channel_usable()) return;
  if (cor) {
    link_.send_line(on ? "COR_LED ON\r" : "COR_LED OFF\r", true);
    if (!on) model_.ClearCorBits();
  } else {
    link_.send_line(on ? "PTT_LED ON\r" : "PTT_LED OFF\r", true);
    if (!on) model_.ClearPttBits();
  }
  if (!on) frontend_.request_repaint();
}

void Application::store_switch(bool Preferences::*field, int on_id, int off_id, bool on) {
  prefs_.change([&](Preferences& p) { p.*field = on; });
  save_preferences();
  set_checks(on_id, off_id, on);
}

void Application::set_animation_delay(int command_id) {
  check_animation_speed(command_id);
  for (const auto& speed : kAnimationSpeeds) {
    if (speed.second != command_id) continue;
    const std::int16_t delay = speed.first;
    prefs_.change([delay](Preferences& p) { p.animation_delay = delay; });
  }
  save_preferences();
}

void Application::check_animation_speed(int command_id) {
  for (const auto& speed : kAnimationSpeeds) set_check(speed.second, speed.second == command_id);
}

void Application::set_custom_title(bool on) {
  if (!on) {
    prefs_.change([](Preferences& p) { p.use_custom_title = false; });
    save_preferences();
    if (!session_.network_mode) set_serial_title();
    set_checks(menu::kTitleUseCustom, menu::kTitleUseDefault, false);
    return;
  }
  if (session_.network_mode || !link_.is_open()) {
    tell("This feature can only be used when\ra serial port is being used.", MessageIcon::None);
    return;
  }
  std::string text = window_ ? window_->ask_custom_title() : std::string();
  if (text.empty()) return;
  text.resize(std::min(text.size(), kCustomTitleLength));
  prefs_.change([&](Preferences& p) {
    p.custom_title = text;
    p.use_custom_title = true;
  });
  save_preferences();
  set_serial_title();
  set_checks(menu::kTitleUseCustom, menu::kTitleUseDefault, true);
}

void Application::retrieve_current_config() {
  if (model_.CountModules() == 0) {
    session_.request_resync();
    return;
  }
  if (window_ && window_->ask_yes_no({"Retrieve Current Configuration will\rreset the MAV "
                                      "Controller to the\rcurrent MAV-7700 connection "
                                      "settings.:\rAre you sure?",
                                      "MAV Controller", MessageIcon::Question, true})) {
    save_site_record();
    session_.request_resync();
  }
}

bool Application::channel_usable() const {
  return session_.network_mode ? link_.is_ready() : link_.is_open();
}

void Application::set_title(const std::string& title) {
  title_ = title;
  if (window_) window_->set_title(title);
}

void Application::set_check(int command_id, bool checked) {
  if (window_) window_->set_menu_check(command_id, checked);
}

void Application::set_checks(int on_id, int off_id, bool on) {
  set_check(on_id, on);
  set_check(off_id, !on);
}

void Application::set_serial_title() {
  const Preferences prefs = prefs_.get();
  set_title(serial_title(prefs, link_.device_name().value_or(prefs.serial_port_name)));
}

void Application::tell(const char* text, MessageIcon icon) {
  if (window_) window_->tell({text, "MAV Controller", icon, true});
}

// The reply dispatcher's requests, on the worker thread.

bool Application::channel_open() const {
  return link_.is_open();
}

void Application::save_preferences() {
  prefs_.save();
}

void Application::load_site_port_names() {
  load_site_record();
}

}  // namespace mav
