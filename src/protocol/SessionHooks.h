// What the reply dispatcher asks of the subsystems above it beyond the screen (Frontend) and the
// wire (LineSender). Each subsystem implements the hooks it owns: the shell its channel and
// preferences, the configuration files the automatic saves, the matrix view its per-port
// artwork, the telephone dialling its dialog. Called on the worker thread only; no call may wait
// for the operator.
#pragma once

namespace mav {

// The application shell.
class ShellHooks {
 public:
  virtual ~ShellHooks() = default;
  // The channel to the gateway is open (a network channel counts while it is connecting).
  virtual bool channel_open() const = 0;
  // Rewrites the preferences file after a persisted setting changed.
  virtual void save_preferences() = 0;
  // Loads the current site's port names and icons into the model after a new module line-up.
  virtual void load_site_port_names() = 0;
};

// The configuration files.
class AutoSaveHooks {
 public:
  virtual ~AutoSaveHooks() = default;
  // The periodic automatic save into this run's file; it stores its time in the session's
  // last_autosave_ms, which the dispatcher watches.
  virtual void AutoSave() = 0;
  // Re-sends this run's last saved state after the gateway restarted. False when the saved file
  // could not be opened.
  virtual bool RestoreAfterGatewayRestart() = 0;
};

// The matrix view.
class PortViewHooks {
 public:
  virtual ~PortViewHooks() = default;
  // A module left the port: release its custom icon (icon_id, -1 for none) and clear the
  // matrix's per-port entry.
  virtual void release_port_icon(int port, int icon_id) = 0;
  // Moves the sliding icons on when a frame is due; true while slides still run, so the worker
  // wakes again for the next frame. Called on every pass of the worker loop: cheap.
  virtual bool advance_slides() = 0;
};

// The telephone line dial.
class DialHooks {
 public:
  virtual ~DialHooks() = default;
  // A connection reached an idle telephone line: offer the dial dialog for that port.
  virtual void open_dial_dialog(int port) = 0;
};

struct SessionHooks {
  ShellHooks& shell;
  AutoSaveHooks& saves;
  PortViewHooks& port_view;
  DialHooks& dial;
};

}  // namespace mav
