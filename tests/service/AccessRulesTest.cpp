#include "service/AccessRules.h"

#include <gtest/gtest.h>

namespace mav::test {
namespace {

enum class LockOn3 { None, Mine, Other };

struct Case {
  Role role;
  ControlOp op;
  LockOn3 lock;
  const char* code;  // "" when the request goes ahead
  bool force = false;
  bool password = false;
  const char* ports = "0-25";
};

TEST(AccessRules, RoleOpAndLockDecideWhatGoesAhead) {
  using enum ControlOp;
  const Case cases[] = {
      {Role::Viewer, Connect, LockOn3::None, "role"},
      {Role::Viewer, SettingsGet, LockOn3::None, "role"},
      {Role::Viewer, TokenList, LockOn3::None, "role"},
      {Role::Operator, Connect, LockOn3::None, ""},
      {Role::Operator, Connect, LockOn3::Mine, ""},
      {Role::Operator, Connect, LockOn3::Other, "locked"},
      {Role::Operator, Disconnect, LockOn3::Other, "locked"},
      {Role::Operator, SettingsGet, LockOn3::Other, ""},
      {Role::Operator, Lock, LockOn3::Other, "locked"},
      {Role::Operator, Unlock, LockOn3::Mine, ""},
      {Role::Operator, Unlock, LockOn3::Other, "locked", true},
      {Role::Operator, Connect, LockOn3::None, "ports", false, false, "0-2,4-25"},
      {Role::Operator, Resync, LockOn3::None, "ports", false, false, "0-7"},
      {Role::Operator, Resync, LockOn3::Other, ""},
      {Role::Operator, SettingsSet, LockOn3::None, ""},
      {Role::Operator, SettingsSet, LockOn3::None, "protected", false, true},
      {Role::Operator, Permanent, LockOn3::None, "protected", false, true},
      {Role::Operator, TokenAdd, LockOn3::None, "role"},
      {Role::Supervisor, Disconnect, LockOn3::Other, ""},
      {Role::Supervisor, SettingsSet, LockOn3::Other, "", false, true},
      {Role::Supervisor, Lock, LockOn3::Other, "locked"},
      {Role::Supervisor, Unlock, LockOn3::Other, "locked"},
      {Role::Supervisor, Unlock, LockOn3::Other, "", true},
      {Role::Supervisor, TokenRevoke, LockOn3::None, ""},
  };
  for (const Case& c : cases) {
    const ClientIdentity client{"A", c.role, *read_port_ranges(c.ports), false};
    LockOwners locks;
    locks[3] = c.lock == LockOn3::Mine ? "A" : c.lock == LockOn3::Other ? "B" : "";
    const PortSet touched = c.op == Resync ? PortSet() : PortSet().set(3);
    const auto refusal = access_refusal(client, {c.op, touched, c.force, false}, locks, c.password);
    const std::string label = std::string(role_word(c.role)) + " " +
                              std::string(control_op_name(c.op)) + " lock " +
                              std::to_string(static_cast<int>(c.lock));
    EXPECT_EQ(refusal ? refusal->code : "", c.code) << label;
  }
  const ClientIdentity owner_here{"A", Role::Viewer, all_ports(), true};
  EXPECT_FALSE(access_refusal(owner_here, {ControlOp::TokenAdd, {}, false, false}, {}, false));
  LockOwners locks;
  locks[3] = "B";
  EXPECT_EQ(
      access_refusal({"A"}, {ControlOp::Disconnect, PortSet().set(3), false, false}, locks, false)
          ->text,
      "Port 03 is locked by B");
}

TEST(AccessRules, ARequestTouchesTheNetsItChanges) {
  DeviceModel model;
  for (const int port : {3, 7, 9}) model.Update(port, [](PortRecord& r) { r.net = 2; });
  model.Update(5, [](PortRecord& r) { r.net = 4; });
  ControlRequest connect{1, ControlOp::Connect, {}};
  connect.arguments.port = 5;
  connect.arguments.other_port = 9;
  EXPECT_EQ(port_ranges_text(touched_ports(connect, model)), "3,5,7,9");
  ControlRequest monitor{1, ControlOp::Monitor, {}};
  monitor.arguments.port = 1;
  monitor.arguments.other_port = 3;
  EXPECT_EQ(port_ranges_text(touched_ports(monitor, model)), "1,3");
  EXPECT_EQ(port_ranges_text(touched_ports({1, ControlOp::DisconnectAll, {}}, model)), "all");
}

TEST(AccessRules, PortRangesReadAndWriteBack) {
  EXPECT_EQ(port_ranges_text(*read_port_ranges("0-7,9")), "0-7,9");
  EXPECT_EQ(port_ranges_text(*read_port_ranges("9,1,2,3")), "1-3,9");
  for (const char* bad : {"", "7-3", "26", "1,", "a", "1-", "-1", "0-25,x"}) {
    EXPECT_FALSE(read_port_ranges(bad)) << bad;
  }
}

}  // namespace
}  // namespace mav::test
