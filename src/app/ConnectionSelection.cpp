// Choosing the serial port or network site, the recent-connection list and the site records.
#include "app/Application.h"

#include "app/ConnectionLists.h"
#include "app/SitesFile.h"
#include "app/WindowTitles.h"
#include "platform/SerialDevices.h"

namespace mav {

bool Application::select_connection(int index) {
  keeper_.stop_reconnecting();
  return open_connection(index);
}

bool Application::open_connection(int index) {
  if (link_.is_open()) {
    save_site_record();
    link_.close();
    set_title(kNotConnectedTitle);
  }
  {
    // The operator's own choice ends the command line's site.
    std::lock_guard lock(site_mutex_);
    run_site_.reset();
  }
  if (index == -1 || index == -2) {
    const bool network = index == -2;
    prefs_.change([&](Preferences& p) { p.network_mode = network; });
    session_.network_mode = network;
    save_preferences();
    // The serial gateway is not the site left behind: its names and icons are its own.
    if (!network) use_site_record({0, 0, 0, 0}, 0);
    return true;
  }
  const Preferences prefs = prefs_.get();
  if (index < 0 || index >= prefs.site_count()) return false;

  const NetworkSite& site = prefs.sites[static_cast<std::size_t>(index)];
  set_title(kConnectingTitle);
  prefs_.change([&](Preferences& p) {
    p.selected_site = index;
    p.network_mode = true;
  });
  session_.network_mode = true;
  save_preferences();
  std::uint8_t address[4];
  std::copy(site.address.begin(), site.address.end(), address);
  {
    std::lock_guard lock(site_mutex_);
    std::copy(address, address + 4, current_site_.address);
    current_site_.port = site.port;
  }
  link_.open_network(address, static_cast<std::uint16_t>(site.port));
  commands_.synchronise();
  add_recent(network_connection(index));
  return true;
}

void Application::update_network_title() {
  const auto site = network_site_in_use();
  if (!link_.is_ready() || !site) {
    set_title(kNotConnectedTitle);
    return;
  }
  set_title(network_site_title(*site));
}

std::optional<NetworkSite> Application::run_site() const {
  std::lock_guard lock(site_mutex_);
  return run_site_;
}

std::optional<NetworkSite> Application::network_site_in_use() const {
  if (auto site = run_site()) return site;
  const Preferences prefs = prefs_.get();
  if (prefs.selected_site < 0 || prefs.selected_site >= prefs.site_count()) return std::nullopt;
  return prefs.sites[static_cast<std::size_t>(prefs.selected_site)];
}

void Application::connection_dropped() {
  save_site_record();
}

void Application::reopen_connection() {
  if (const auto site = run_site()) {
    open_site(*site);
  } else {
    open_connection(prefs_.get().selected_site);
  }
}

void Application::reconnect_failed() {
  set_title(kNotConnectedTitle);
}

LinkStatus Application::link_status() const {
  LinkStatus status;
  status.open = link_.is_open();
  status.network = link_.is_network();
  status.connected = link_.is_ready();
  status.contact_lost = contact_.contact_lost_reported();
  status.lost_since = contact_.lost_since();
  status.reconnect_attempt = keeper_.reconnect_attempt();
  status.next_attempt_s = static_cast<int>((keeper_.next_attempt_in_ms() + 999) / 1000);
  if (!status.open) return status;
  if (!status.network) {
    status.peer = link_.device_name().value_or(prefs_.get().serial_port_name);
    return status;
  }
  if (const auto site = network_site_in_use()) status.peer = site_peer_name(*site);
  // The command line's site is none of the stored ones.
  if (!run_site() && !status.peer.empty()) status.site = prefs_.get().selected_site;
  return status;
}

bool Application::add_site(const std::array<std::uint8_t, 4>& address, std::int32_t port,
                           const std::string& description) {
  bool added = false;
  prefs_.change([&](Preferences& p) { added = mav::add_site(p, address, port, description); });
  if (added) save_preferences();
  return added;
}

bool Application::remove_site(int index) {
  bool removed = false;
  const bool connected = link_.is_open();
  prefs_.change([&](Preferences& p) { removed = mav::remove_site(p, index, connected); });
  if (!removed) return false;
  save_preferences();
  refresh_recent_menu();
  return true;
}

void Application::add_recent(const RecentConnection& entry) {
  prefs_.change([&](Preferences& p) { mav::add_recent(p, entry); });
  save_preferences();
  refresh_recent_menu();
}

void Application::refresh_recent_menu() {
  if (!window_) return;
  const Preferences prefs = prefs_.get();
  std::vector<std::string> labels;
  for (int i = 0; i < static_cast<int>(prefs.recent.size()); ++i) {
    labels.push_back(recent_menu_label(prefs, i));
  }
  window_->show_recent_connections(labels);
}

void Application::open_recent(int index) {
  const Preferences prefs = prefs_.get();
  if (index < 0 || index >= static_cast<int>(prefs.recent.size())) return;
  const RecentConnection entry = prefs.recent[static_cast<std::size_t>(index)];
  select_connection(-1);
  if (!entry.is_serial) {
    select_connection(entry.site_index);
    if (window_) window_->repaint_matrix();
    return;
  }
  if (!link_.open_serial(entry.serial_name, static_cast<std::uint32_t>(entry.baud))) {
    tell("Could not open serial port", MessageIcon::Exclamation);
    if (window_) window_->repaint_matrix();
    return;
  }
  prefs_.change([&](Preferences& p) {
    p.serial_port_name = entry.serial_name;
    p.serial_baud = entry.baud;
  });
  add_recent(entry);
  set_serial_title();
  commands_.synchronise();
  if (window_) window_->repaint_matrix();
}

bool Application::choose_serial_port(const std::string& name, std::uint32_t baud) {
  select_connection(-1);
  if (!link_.open_serial(name, baud)) {
    // The specified words first, then what the operator needs to put it right.
    const std::string text =
        "Error opening serial port\r\r" + serial_open_failure(name, link_.serial_open_error());
    tell(text.c_str(), MessageIcon::Exclamation);
    return false;
  }
  add_recent(serial_connection(name, static_cast<std::int32_t>(baud)));
  tell("Serial port successfully selected", MessageIcon::None);
  session_.request_resync();
  prefs_.change([&](Preferences& p) {
    if (const auto device = link_.device_name()) p.serial_port_name = *device;
    p.serial_baud = static_cast<std::int32_t>(link_.baud_rate());
  });
  save_preferences();
  if (link_.is_ready()) {
    set_serial_title();
  } else {
    set_title(kNotConnectedTitle);
  }
  if (window_) window_->repaint_matrix();
  return true;
}

std::string Application::serial_name_to_show() const {
  if (const auto device = link_.device_name()) return *device;
  const std::string stored = prefs_.get().serial_port_name;
  return stored.empty() ? "----" : stored;
}

void Application::serial_dialog_cancelled() {
  if (!link_.is_open()) tell("No serial port is currently open", MessageIcon::Exclamation);
}

void Application::save_site_record() {
  std::lock_guard lock(site_mutex_);
  if (run_site_ || !capture_port_entries(model_, current_site_)) return;
  template_names_.give_to(current_site_.template_names);
  store_site_record(folders_.program / kSitesFileName, current_site_);
}

bool Application::load_site_record() {
  bool found = false;
  {
    std::lock_guard lock(site_mutex_);
    const auto record = find_site_record(folders_.program / kSitesFileName, current_site_.address,
                                         current_site_.port);
    if (record) {
      current_site_ = *record;
      apply_port_entries(model_, current_site_, load_icon_);
      found = true;
    } else {
      apply_default_port_names(model_);
    }
    template_names_.take_from(current_site_.template_names);
  }
  frontend_.request_repaint();
  return found;
}

void Application::set_custom_icon_loader(CustomIconLoader loader) {
  std::lock_guard lock(site_mutex_);
  load_icon_ = std::move(loader);
}

}  // namespace mav
