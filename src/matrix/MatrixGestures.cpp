#include "matrix/MatrixGestures.h"

#include <cstdio>

#include "frontend/MenuIds.h"
#include "matrix/MatrixScene.h"

namespace mav {

namespace {

constexpr const char* kLeaveMonitorMode = "Leave monitor mode first";

// Whether the index names a port or a net row for the kinds that carry one. A header right of
// the last column counts as the header of a port without a module.
bool names_element(HitKind kind, int index) {
  switch (kind) {
    case HIT_PORT:
      return index >= 0 && index < kPortCount;
    case HIT_COLUMN_HEADER:
      return index >= 0;
    case HIT_NET_BUTTON:
      return index >= 0 && index < kNetCount;
    default:
      return true;
  }
}

}  // namespace

int modifier_code(MouseButton button, HeldKeys keys) {
  if (button == MouseButton::Right) return keys.shift ? 3 : 1;
  return (keys.ctrl ? 1 : 0) + (keys.shift ? 2 : 0);
}

MatrixGestures::MatrixGestures(const ActionParts& parts, const Clock& clock,
                               const SlideAnimator& slides, MatrixView& view)
    : p_(parts), clock_(clock), slides_(slides), view_target_(view), actions_(parts) {
  view_.corner_switch = true;  // connect mode
  actions_.set_status_line([this](const std::string& text) { show_status(text); });
  publish_view();
}

MatrixHit MatrixGestures::hit_at(int x, int y) const {
  return HitTest(SceneOf(p_.model, slides_, view_target_.layout(), view_.monitor_mode_port != -1),
                 x, y);
}

void MatrixGestures::on_button_down(MouseButton button, HeldKeys keys, int x, int y) {
  if (!p_.session.accepts_gestures()) return;
  press_ = Press{modifier_code(button, keys), hit_at(x, y)};
}

// A click needs press and release on the same element with the same keys held. The press stays
// on record after a click, so the release of a double-click (whose second press is no press)
// clicks the element once more.
void MatrixGestures::on_button_up(MouseButton button, HeldKeys keys, int x, int y) {
  const int code = modifier_code(button, keys);
  const MatrixHit hit = hit_at(x, y);
  if (code != press_.modifier || hit != press_.hit) {
    actions_.end_selection();
    press_.hit.kind = HIT_NONE;
    return;
  }
  int modifier = code;
  // Disconnect mode: a left click disconnects even where the right button edits settings. Shift
  // still makes the click do nothing, and only a port click needs the one-off disconnection.
  if (button == MouseButton::Left && !view_.corner_switch && code < 2 &&
      (hit.kind == HIT_PORT || hit.kind == HIT_NET_BUTTON)) {
    modifier = 1;
    if (hit.kind == HIT_PORT) {
      force_disconnect_ = !p_.hooks.gesture_preferences().right_button_disconnects;
    }
  }
  click(modifier, hit.kind, hit.value);
}

void MatrixGestures::click(int modifier, HitKind kind, int index) {
  if (kind == HIT_NONE || !names_element(kind, index)) {
    actions_.end_selection();
    return;
  }
  if (modifier == 0) {
    plain_click(kind, index);
  } else if (modifier == 1) {
    disconnect_click(kind, index);
  }
  // Shift (2 and 3) does nothing.
}

void MatrixGestures::plain_click(HitKind kind, int index) {
  const int monitor_port = view_.monitor_mode_port;
  const bool monitoring = monitor_port != -1;
  if (kind == HIT_CORNER) {
    if (monitoring) {
      actions_.refuse("monitor_mode", kLeaveMonitorMode);
      return;
    }
    actions_.play("Click.wav");
    actions_.end_selection();
    toggle_corner();
    return;
  }
  const int selected = p_.session.selected_index;
  switch (p_.session.selection.load()) {
    case Selection::None:
      break;
    case Selection::Port:
      if (kind == HIT_PORT && index == selected) {
        open_module_settings(selected, true);
      } else if (kind == HIT_PORT) {
        patch_->connect_ports(selected, index);
      } else if (kind == HIT_NET_BUTTON) {
        patch_->add_port_to_net(index, selected);
      }
      return;
    case Selection::Net:
      if (kind == HIT_PORT) {
        patch_->add_port_to_net(selected, index);
      } else if (kind == HIT_NET_BUTTON) {
        patch_->join_nets(selected, index);
      } else {
        actions_.end_selection();
      }
      return;
  }

  switch (kind) {
    case HIT_PORT:
      if (!monitoring) {
        select(Selection::Port, index, "Click.wav");
      } else if (index == monitor_port) {
        actions_.play("Deactivate.wav");
        leave_monitor_mode();
      } else if (p_.model.HasModule(index)) {
        if (p_.model.IsMonitoring(monitor_port, index)) {
          patch_->monitor_off(monitor_port, index);
        } else {
          patch_->monitor_on(monitor_port, index);
        }
      }
      return;
    case HIT_NET_BUTTON:
      if (p_.model.CountInNet(index + 1) > 0) {
        select(Selection::Net, index, "Punch.wav");
      } else {
        actions_.refuse("empty_net", net_text(index + 1) + " is empty");
      }
      return;
    case HIT_MONITOR_PANEL:
      if (monitoring) {
        actions_.play("Deactivate.wav");
        leave_monitor_mode();
      }
      return;
    case HIT_COLUMN_HEADER:
      if (index == monitor_port) {
        actions_.play("Deactivate.wav");
        leave_monitor_mode();
      } else if (!p_.model.HasModule(index)) {
        actions_.refuse("no_module", port_text(index) + " has no module");
      } else {
        actions_.play("Activate.wav");
        enter_monitor_mode(index);
      }
      return;
    default:
      return;
  }
}

void MatrixGestures::disconnect_click(HitKind kind, int index) {
  const int monitor_port = view_.monitor_mode_port;
  if (kind == HIT_CORNER) {
    actions_.end_selection();
    if (monitor_port != -1) {
      actions_.refuse("monitor_mode", kLeaveMonitorMode);
      return;
    }
    actions_.play("Click.wav");
    toggle_corner();
    return;
  }
  if (p_.session.selection_pending()) {
    actions_.end_selection();
    return;
  }
  const GesturePreferences prefs = p_.hooks.gesture_preferences();
  switch (kind) {
    case HIT_PORT:
      if (monitor_port == -1 && (prefs.right_button_disconnects || force_disconnect_)) {
        force_disconnect_ = false;
        after_disconnection(patch_->disconnect_port(index));
      } else if (monitor_port == -1) {
        open_module_settings(index, false);
      } else if (prefs.right_button_disconnects && p_.model.IsMonitoring(monitor_port, index)) {
        patch_->monitor_off(monitor_port, index);
      } else {
        actions_.refuse("not_monitoring",
                        p_.model.IsMonitoring(monitor_port, index)
                            ? std::string("Right Mouse Button is set to Edit Settings")
                            : port_text(monitor_port) + " does not monitor " + port_text(index));
      }
      return;
    case HIT_NET_BUTTON:
      after_disconnection(patch_->disconnect_net(index + 1));
      return;
    default:
      return;
  }
}

void MatrixGestures::select(Selection what, int index, const char* sound) {
  // Index and time first: the dispatcher's time-out reads them once it sees the selection.
  p_.session.selected_index = index;
  p_.session.selection_time = clock_.now_ms();
  p_.session.selection = what;
  p_.frontend.set_cursor(CursorShape::Selected);
  actions_.play(sound);
}

void MatrixGestures::open_module_settings(int port, bool mark_open) {
  actions_.play("Click.wav");
  p_.frontend.set_cursor(CursorShape::Arrow);
  p_.hooks.open_module_settings(port, mark_open);
  p_.session.cancel_selection();
}

void MatrixGestures::toggle_corner() {
  set_corner_switch(!view_.corner_switch);
}

// A one-off disconnection left over from disconnect mode (a click that ended a selection instead)
// must not outlive the mode, or a later edit-settings click would disconnect the port.
void MatrixGestures::set_corner_switch(bool connect_mode) {
  view_.corner_switch = connect_mode;
  if (connect_mode) force_disconnect_ = false;
  publish_view();
}

void MatrixGestures::enter_monitor_mode(int port) {
  view_.monitor_mode_port = port;
  set_corner_switch(true);
}

void MatrixGestures::leave_monitor_mode() {
  view_.monitor_mode_port = -1;
  publish_view();
}

void MatrixGestures::after_disconnection(bool disconnected) {
  if (!disconnected || view_.corner_switch) return;
  if (!p_.hooks.gesture_preferences().auto_indicator_switching) return;
  set_corner_switch(true);
}

void MatrixGestures::on_mouse_move(int x, int y) {
  const bool was_inside = cursor_inside_;
  cursor_inside_ = true;
  if (!p_.session.accepts_gestures()) {
    p_.frontend.set_cursor(CursorShape::Wait);
  } else if (p_.session.selection_pending()) {
    p_.frontend.set_cursor(CursorShape::Selected);
  }

  const MatrixHit hit = hit_at(x, y);
  if (hit == hover_element_ && was_inside) return;
  const bool hover_descriptions = p_.hooks.gesture_preferences().hover_descriptions;
  const MatrixViewState before = view_;
  if (hover_element_.kind == HIT_PORT && hover_descriptions) view_.hover_shown = false;

  char text[40];
  switch (hit.kind) {
    case HIT_NET_BUTTON:
      if (p_.model.CountInNet(hit.value + 1) > 0) {
        std::snprintf(text, sizeof text, "Net %d", hit.value + 1);
        show_status(text);
      } else {
        show_status("");
      }
      break;
    case HIT_COLUMN_HEADER:
      if (!p_.model.HasModule(hit.value)) {
        show_status("");
      } else if (hit.value == view_.monitor_mode_port) {
        show_status("Exit monitor mode");
      } else {
        std::snprintf(text, sizeof text, "Enter monitor mode for port %d", hit.value);
        show_status(text);
      }
      break;
    case HIT_PORT:
      if (hover_descriptions) {
        view_.hover_port = hit.value;
        view_.hover_shown = true;
      }
      break;
    default:
      show_status("");
      break;
  }
  if (view_.hover_shown != before.hover_shown || view_.hover_port != before.hover_port) {
    publish_view();
  }
  hover_element_ = hit;
}

void MatrixGestures::on_mouse_leave() {
  if (cursor_inside_) {
    cursor_inside_ = false;
    hover_element_ = {};
    if (view_.hover_shown) {
      view_.hover_shown = false;
      publish_view();
    }
  }
  show_status("");
}

void MatrixGestures::show_status(const std::string& text) {
  if (text == status_text_) return;
  status_text_ = text;
  p_.frontend.show_status_text(text);
}

void MatrixGestures::publish_view() {
  view_target_.set_view_state(view_);
}

void MatrixGestures::register_commands(CommandRegistry& registry, PasswordCheck& password) {
  registry.add(menu::kConnectAll,
               [this] { confirmed("Connect All:\rAre you sure?", &PatchActions::connect_all); });
  registry.add(menu::kDisconnectAll, [this] {
    confirmed("Disconnect All:\rAre you sure?", &PatchActions::disconnect_all);
  });
  for (int net = 1; net <= kNetCount; ++net) {
    registry.add(menu::kPermConnNet1 + net - 1,
                 [this, net, &password] { patch_->toggle_permanent(net, password); });
  }
}

void MatrixGestures::confirmed(const char* question, void (PatchActions::*action)()) {
  if (p_.hooks.confirm({question, "MAV Controller", MessageIcon::Exclamation, true})) {
    (patch_->*action)();
  }
}

}  // namespace mav
