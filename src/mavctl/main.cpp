// mavctl: the control protocol from the command line, for scripts and for a look at the gateway.
#include <pwd.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <functional>
#include <iostream>

#include "mavctl/MavctlSession.h"
#include "service/ControlSocketPath.h"

namespace {

using mav::ControlArguments;
using mav::ControlOp;

// user@host, the name a client is known by unless --name says otherwise.
std::string default_name() {
  const char* user = std::getenv("USER");
  const passwd* entry = user == nullptr ? ::getpwuid(::getuid()) : nullptr;
  char host[256] = "localhost";
  ::gethostname(host, sizeof host - 1);
  return std::string(user != nullptr    ? user
                     : entry != nullptr ? entry->pw_name
                                        : "user") +
         "@" + host;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Controls a MAV-7700 gateway through its service."};
  std::string socket_path = mav::default_control_socket().string();
  std::string tcp;
  std::string name = default_name();
  auto* socket_option = app.add_option("--socket", socket_path, "The service's Unix socket");
  app.add_option("--tcp", tcp, "The service's TCP address (HOST:PORT)")->excludes(socket_option);
  app.add_option("--name", name, "The name this client is known by (default: user@host)");
  std::string token;
  app.add_option("--token", token, "The secret of a token (default: $MAV_TOKEN)")
      ->envname("MAV_TOKEN");
  app.require_subcommand(1);

  // Each command fills the request or picks the session step it runs.
  ControlArguments arguments;
  std::function<int(mav::MavctlSession&)> run;
  // A command of `parent` that sends one request and waits for its outcome.
  const auto request_in = [&](CLI::App& parent, const char* command, const char* help,
                              ControlOp op) {
    CLI::App* sub = parent.add_subcommand(command, help);
    sub->callback(
        [&, op] { run = [&, op](mav::MavctlSession& s) { return s.request(op, arguments); }; });
    return sub;
  };
  const auto request_command = [&](const char* command, const char* help, ControlOp op) {
    return request_in(app, command, help, op);
  };
  bool as_json = false;
  app.add_subcommand("status", "Site, link state, modules and nets")->callback([&] {
    run = [](mav::MavctlSession& s) { return s.status(); };
  });
  auto* ports = app.add_subcommand("ports", "The ports with their modules and connections");
  ports->add_flag("--json", as_json, "The snapshot's ports as JSON");
  ports->callback([&] { run = [&](mav::MavctlSession& s) { return s.ports(as_json); }; });
  auto* watch = app.add_subcommand("watch", "Print events as they come");
  watch->add_flag("--json", as_json, "One JSON line per event");
  watch->callback([&] { run = [&](mav::MavctlSession& s) { return s.watch(as_json); }; });

  auto* connect = request_command("connect", "Connect port A with port B", ControlOp::Connect);
  connect->add_option("A", arguments.port)->required()->check(CLI::Range(0, 25));
  connect->add_option("B", arguments.other_port)->required()->check(CLI::Range(0, 25));
  request_command("disconnect", "Disconnect a port", ControlOp::Disconnect)
      ->add_option("P", arguments.port)
      ->required()
      ->check(CLI::Range(0, 25));
  request_command("disconnect-net", "Disconnect a net", ControlOp::DisconnectNet)
      ->add_option("N", arguments.net)
      ->required()
      ->check(CLI::Range(1, 7));
  auto* monitor =
      request_command("monitor", "Port M starts or stops monitoring port P", ControlOp::Monitor);
  std::string on_off;
  monitor->add_option("M", arguments.port)->required()->check(CLI::Range(0, 25));
  monitor->add_option("P", arguments.other_port)->required()->check(CLI::Range(0, 25));
  monitor->add_option("on|off", on_off)->required()->check(CLI::IsMember({"on", "off"}));
  monitor->parse_complete_callback([&] { arguments.on = on_off == "on"; });
  request_command("connect-all", "Connect every port", ControlOp::ConnectAll);
  request_command("disconnect-all", "Disconnect every port", ControlOp::DisconnectAll);
  request_command("save", "Save the configuration to FILE", ControlOp::ConfigSave)
      ->add_option("FILE", arguments.file)
      ->required();
  auto* load = request_command("load", "Load the configuration from FILE", ControlOp::ConfigLoad);
  load->add_option("FILE", arguments.file)->required();
  load->add_flag("--preview", arguments.preview, "List the changes without making them");
  request_command("history", "The automatic saves", ControlOp::HistoryList);
  auto* restore =
      request_command("restore", "Restore the automatic save FILE", ControlOp::HistoryRestore);
  restore->add_option("FILE", arguments.file)->required();
  restore->add_flag("--preview", arguments.preview, "List the changes without making them");
  request_command("restore-last", "Restore the configuration of the service's previous run",
                  ControlOp::ConfigRestoreLast)
      ->add_flag("--preview", arguments.preview, "List the changes without making them");
  request_command("revert", "Restore the state before the last Connect All or Disconnect All",
                  ControlOp::ConfigRevert);
  request_command("trace", "The latest lines of the protocol trace", ControlOp::TraceTail);
  auto* dial = request_command("dial", "Dial NUMBER on telephone port P", ControlOp::Dial);
  dial->add_option("P", arguments.port)->required()->check(CLI::Range(0, 25));
  dial->add_option("NUMBER", arguments.number)->required();
  dial->add_option("LINE", arguments.line, "Line 1 or 2")->check(CLI::Range(1, 2));

  const auto port_command = [&](const char* command, const char* help, ControlOp op) {
    CLI::App* sub = request_command(command, help, op);
    sub->add_option("P", arguments.port)->required()->check(CLI::Range(0, 25));
    return sub;
  };
  port_command("lock", "Lock port P against other clients", ControlOp::Lock);
  port_command("unlock", "Release the lock on port P", ControlOp::Unlock)
      ->add_flag("--force", arguments.force, "Open another client's lock (supervisors)");
  auto* tokens = app.add_subcommand("token", "Manage the tokens clients identify with");
  tokens->require_subcommand(1);
  auto* token_add =
      request_in(*tokens, "add", "Add a token; prints its secret once", ControlOp::TokenAdd);
  token_add->add_option("NAME", arguments.name)->required();
  token_add->add_option("ROLE", arguments.role)
      ->required()
      ->check(CLI::IsMember({"viewer", "operator", "supervisor"}));
  token_add->add_option("PORTS", arguments.ports, "The ports it may touch, like 0-7,9");
  request_in(*tokens, "list", "The tokens with their roles and ports", ControlOp::TokenList);
  request_in(*tokens, "revoke", "Remove a token", ControlOp::TokenRevoke)
      ->add_option("NAME", arguments.name)
      ->required();

  auto* salvos = app.add_subcommand("salvo", "Save, preview, take, schedule and rehearse salvos");
  salvos->require_subcommand(1);
  auto* salvo_save =
      request_in(*salvos, "save", "Save the state of PORTS as salvo NAME", ControlOp::SalvoSave);
  salvo_save->add_option("NAME", arguments.name)->required();
  salvo_save->add_option("PORTS", arguments.ports, "The ports, like 3,7,9 or 0-7")->required();
  request_in(*salvos, "list", "The salvos saved", ControlOp::SalvoList);
  request_in(*salvos, "preview", "What taking salvo NAME would change, and what refuses it",
             ControlOp::SalvoPreview)
      ->add_option("NAME", arguments.name)
      ->required();
  auto* salvo_take =
      request_in(*salvos, "take", "Take salvo NAME now, or schedule it with --at or --in",
                 ControlOp::SalvoTake);
  salvo_take->add_option("NAME", arguments.name)->required();
  auto* at = salvo_take->add_option("--at", arguments.at, "At the next HH:MM");
  salvo_take->add_option("--in", arguments.in, "After a delay, like 90s or 1h30m")->excludes(at);
  request_in(*salvos, "scheduled", "The takes waiting for their time", ControlOp::SalvoScheduled);
  request_in(*salvos, "cancel", "Cancel scheduled take ID", ControlOp::SalvoCancel)
      ->add_option("ID", arguments.take)
      ->required()
      ->check(CLI::PositiveNumber);
  request_in(*salvos, "delete", "Delete salvo NAME", ControlOp::SalvoDelete)
      ->add_option("NAME", arguments.name)
      ->required();
  request_in(*salvos, "rehearse",
             "Take salvo NAME on a private simulator holding the gateway's state, and show "
             "what it answers",
             ControlOp::SalvoRehearse)
      ->add_option("NAME", arguments.name)
      ->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? mav::kExitApplied : mav::kExitUsage;
  }

  mav::ControlConnection connection;
  std::string error;
  if (!(tcp.empty() ? connection.open_unix(socket_path, error) : connection.open_tcp(tcp, error))) {
    std::cerr << "mavctl: cannot reach the service at " << (tcp.empty() ? socket_path : tcp) << ": "
              << error << "\n";
    return mav::kExitUnreachable;
  }
  mav::MavctlSession session(connection, std::cout, std::cerr);
  if (const int started = session.start(name, token); started != mav::kExitApplied) return started;
  return run(session);
}
