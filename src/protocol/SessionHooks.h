// What the reply dispatcher asks of the application beyond the screen (Frontend) and the wire
// (LineSender): the channel's state, the automatic saves, the preferences file and the pieces of
// the matrix and dial dialog that the gateway's events reach. Called on the worker thread only;
// no call may wait for the operator.
#pragma once

namespace mav {

class SessionHooks {
 public:
  virtual ~SessionHooks() = default;

  // The channel to the gateway is open (a network channel counts while it is connecting).
  virtual bool channel_open() const = 0;

  // The periodic automatic save into this run's file.
  virtual void AutoSave() = 0;
  // Re-sends this run's last saved state after the gateway restarted. False when the saved file
  // could not be opened.
  virtual bool RestoreAfterGatewayRestart() = 0;
  // Rewrites the preferences file after a persisted setting changed.
  virtual void save_preferences() = 0;

  // Loads the current site's port names and icons into the model after a new module line-up.
  virtual void load_site_port_names() = 0;
  // A module left the port: release its custom icon and clear the matrix's per-port entry.
  virtual void release_port_icon(int port) = 0;
  // A connection reached an idle telephone line: offer the dial dialog for that port.
  virtual void open_dial_dialog(int port) = 0;
};

}  // namespace mav
