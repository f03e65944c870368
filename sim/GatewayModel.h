// The gateway's own state: modules and their settings, audio buses and the links between them,
// DISCH groups, monitor relations, hook states, PIN users, and the gateway-wide switches. Plain
// data with the operations that keep it consistent; no formatting and no I/O. Single-threaded:
// only the simulator's loop (or a test) touches it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Lineup.h"
#include "vocabulary/Vocabulary.h"

namespace mav::sim {

inline constexpr int kNone = -1;
inline constexpr int kMaxBuses = 7;        // bus numbers travel in three bits of the relay image
inline constexpr int kMaxDischGroups = 7;  // groups travel in three bits as well
inline constexpr int kMaxPins = 20;

// Statuses the gateway puts in its replies and events ("E%d").
namespace status {
inline constexpr int kOk = 0;
inline constexpr int kUnknownCommand = 1;
inline constexpr int kMalformed = 2;
inline constexpr int kOutOfRange = 3;
inline constexpr int kNotPresent = 4;  // no module, no such setting, no such entry
inline constexpr int kNoRoom = 5;      // PIN table full
inline constexpr int kNoFreeBus = 8;
inline constexpr int kModuleRemoved = 14;
inline constexpr int kModuleInserted = 15;
inline constexpr int kNoConference = 16;
inline constexpr int kUnknownPin = 17;
inline constexpr int kInsufficientPin = 18;
}  // namespace status

struct Port {
  int mod_type = 0;
  std::array<int, kKeywordCount> settings{};  // by keyword; meaningful where the module has it
  int bus = kNone;
  int disch_group = kNone;
  bool held = false;  // taken out by DISCH and waiting to be joined; keeps its bus meanwhile
  bool on_hook = true;
  std::vector<int> monitored;  // ports this port listens to, in the order they were added
};

struct PinUser {
  int pin = 0;
  int level = 0;
};

// The three activity indicators and their reporting switches.
enum class Indicator { kCor, kPtt, kRing };

// How a connection treats two ports that are already on different buses: CONNECT_S links the two
// buses, CONNECT moves the named partners onto the first port's bus and unlinks that bus.
enum class Join { kLink, kMove };

class GatewayModel {
 public:
  GatewayModel(const Lineup& lineup, int bus_count);

  static bool is_port(int port) { return port >= 0 && port < kPortCount; }
  const Port& port(int p) const { return ports_[static_cast<std::size_t>(p)]; }
  bool has_module(int p) const { return is_port(p) && port(p).mod_type != 0; }
  int bus_count() const { return bus_count_; }

  // Puts a module with its factory settings into an empty or occupied port.
  void insert_module(int p, int mod_type);
  // Takes the module out: its connections, group, monitors and settings go with it.
  void remove_module(int p);

  // Stores a setting value (the caller has checked it against the module's rule).
  void set_setting(int p, int keyword, int value);

  // Joins two ports; the answer is a status: 0, kNotPresent, kNoFreeBus or kNoConference. Two
  // held ports on one bus where every other port is held or grouped rejoin that bus, which leaves
  // its link. Otherwise, when either port is in a DISCH group, or both are held, the two end up in
  // one DISCH group and keep their buses; else a held port gives up its bus and the two share one.
  int connect(int p, int q, Join how);
  // A hang-up (DISC, DISC_S) takes the port off its bus and out of its DISCH group and puts the
  // line on hook. Without one (DISCH) a member leaves its group; any other port is held.
  void disconnect(int p, bool hang_up);
  // Every port off its bus and out of its group; links end.
  void disconnect_all(bool hang_up);
  // The ports whose DISCH group was dissolved because they were left its only member, in the
  // order it happened; taking them empties the list.
  std::vector<int> take_left_alone();
  // The ports on a bus, in port order.
  std::vector<int> ports_on_bus(int bus) const;
  // The link a bus belongs to (kNone when unlinked).
  int link_of_bus(int bus) const;
  int free_bus_count() const;
  bool has_links_or_groups() const;

  // The gateway's relay image: per port ((net+1) * 4 + link+1) * 8 + group+1 in eight bits, 32
  // bytes as lower-case hex digits. A bus keeps its net while it carries a port; a newly occupied
  // bus takes the lowest free net from 1.
  std::string relay_image() const;

  // Adds or removes a monitor relation; false when a port has no module or the two are the same.
  bool set_monitor(int p, int q, bool on);

  void set_on_hook(int p, bool on_hook);

  // PIN users: store (or re-level) a PIN, delete one or all. Statuses as above.
  int store_pin(int pin, int level);
  int delete_pin(int pin);
  void delete_all_pins() { pins_.clear(); }
  const std::vector<PinUser>& pins() const { return pins_; }
  // The status a PIN entered at `from` to reach `to` earns under the security mode: 0,
  // kUnknownPin or kInsufficientPin.
  int pin_access(int pin, int from, int to) const;

  // Gateway-wide switches; value words are value-word indices.
  int security_mode = vw::OFF;
  int mek_squelch_type = vw::MIC;
  bool voice_prompts = true;
  bool user_program = false;
  bool reporting(Indicator which) const { return reporting_[index(which)]; }
  void set_reporting(Indicator which, bool on) { reporting_[index(which)] = on; }
  std::uint32_t activity(Indicator which) const { return activity_[index(which)]; }
  void set_activity(Indicator which, std::uint32_t mask);

  // A restart: connections, links, groups, monitors and activity end and every line hangs up;
  // modules, settings, PINs and the gateway-wide switches stay.
  void restart();

 private:
  static std::size_t index(Indicator which) { return static_cast<std::size_t>(which); }
  Port& mut(int p) { return ports_[static_cast<std::size_t>(p)]; }
  int lowest_free_bus() const;
  bool conference_allowed(int p) const;
  bool closes_ranks(int p, int q) const;
  int join_group(int p, int q);
  int join_buses(int p, int q, Join how);
  void leave_bus(int p);
  void leave_group(int p);
  void link_buses(int a, int b);
  void unlink_bus(int bus);
  void release_bus_if_idle(int bus);
  void number_nets();
  bool level_admits(int level, int port) const;

  std::array<Port, kPortCount> ports_{};
  std::array<int, kMaxBuses> bus_link_{};
  std::array<int, kMaxBuses> bus_net_{};
  int bus_count_ = kMaxBuses;
  std::vector<PinUser> pins_;
  std::array<bool, 3> reporting_{};
  std::array<std::uint32_t, 3> activity_{};
  std::vector<int> left_alone_;
};

}  // namespace mav::sim
