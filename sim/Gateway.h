// The gateway's command interpreter: one received command line in, the reply lines out, applied
// to the GatewayModel it owns. Single-threaded: the simulator's loop or a test.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "GatewayModel.h"

namespace mav::sim {

using Lines = std::vector<std::string>;

// "logout": the controller's sign-off before it closes a network channel, the one line the
// gateway takes without a word.
bool is_sign_off(std::string_view line);

// "%DISCH pp E0" for each port whose DISCH group the gateway dissolved because the port was left
// its only member: the controller waits for that report before it reconnects the port.
void report_left_alone(GatewayModel& model, Lines& out);

class Gateway {
 public:
  explicit Gateway(GatewayModel model) : model_(std::move(model)) {}

  // Handles one command line (without its carriage return) and returns its replies, each
  // without the carriage return. Every line gets at least one reply except "logout".
  Lines handle_line(std::string_view line);

  GatewayModel& model() { return model_; }
  const GatewayModel& model() const { return model_; }

 private:
  using Args = std::vector<std::string_view>;

  void dispatch(std::string_view line, Lines& out);

  // SettingsCommands.cpp
  void on_setting(int keyword, const Args& args, Lines& out);
  void on_setting_port(int keyword, int port, std::string_view value, Lines& out);
  void on_on_hook(const Args& args, Lines& out);

  // ConnectionCommands.cpp
  void on_connect(int keyword, const Args& args, Lines& out);
  void on_disconnect(int keyword, const Args& args, Lines& out);
  void on_monitor(const Args& args, Lines& out);
  void monitor_line(int port, Lines& out) const;

  // SystemCommands.cpp
  void on_system(const Args& args, Lines& out) const;
  void on_mod_type(const Args& args, Lines& out) const;
  void on_switch(int keyword, const Args& args, Lines& out);
  void on_word_switch(int keyword, const Args& args, Lines& out);
  void on_dial(const Args& args, Lines& out);

  // SecurityCommands.cpp
  void on_pin(const Args& args, Lines& out);
  void on_del_pin(const Args& args, Lines& out);

  GatewayModel model_;
};

}  // namespace mav::sim
