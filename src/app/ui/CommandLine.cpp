#include "app/ui/CommandLine.h"

#include <QCommandLineParser>
#include <cstdlib>

#include "platform/GatewayAddress.h"

namespace mav {
namespace {

std::variant<RunConnection, std::string> network_connection(const QString& value) {
  const auto parsed = parse_network_address(value.toStdString());
  if (const auto* reason = std::get_if<std::string>(&parsed)) return *reason;
  const auto& network = std::get<NetworkAddress>(parsed);
  RunConnection connection;
  connection.kind = RunConnection::Kind::Network;
  connection.address = network.address;
  connection.port = network.port;
  return connection;
}

std::variant<RunConnection, std::string> serial_connection(const QString& value) {
  const auto parsed = parse_serial_address(value.toStdString());
  if (const auto* reason = std::get_if<std::string>(&parsed)) return *reason;
  RunConnection connection;
  connection.kind = RunConnection::Kind::Serial;
  connection.device = std::get<SerialAddress>(parsed).device;
  connection.baud = std::get<SerialAddress>(parsed).baud;
  return connection;
}

}  // namespace

std::variant<CommandLine, std::string> parse_command_line(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription("The operator's program for the MAV-7700 gateway.");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption program_dir(
      "program-dir", "Keep the preferences, sites, configurations and logs in <dir>.", "dir");
  const QCommandLineOption connect(
      "connect",
      "Connect to the network site <host>[:<port>] (port 23 when left out) for this "
      "run only.",
      "host[:port]");
  const QCommandLineOption serial(
      "serial",
      "Connect through the serial port <device> at <baud> (9600 or 115200, 9600 when "
      "left out) for this run only.",
      "device[,baud]");
  const QCommandLineOption service(
      "service",
      "Attach to the gateway service at <socket> or <host>:<port> instead of a gateway, for "
      "this run only.",
      "socket|host:port");
  const QCommandLineOption token(
      "token", "Present <secret> to the service (default: the MAV_TOKEN environment variable).",
      "secret");
  const QCommandLineOption no_auto_connect("no-auto-connect",
                                           "Do not connect at start-up in this run.");
  const QCommandLineOption overview(
      "overview", "Show only the overview of every gateway publishing to <broker>.",
      "broker[:port]");
  parser.addOptions({program_dir, connect, serial, service, token, no_auto_connect, overview});

  if (!parser.parse(arguments)) return parser.errorText().toStdString();
  if (parser.isSet(help)) parser.showHelp(0);
  if (parser.isSet(version)) parser.showVersion();
  if (!parser.positionalArguments().isEmpty()) {
    return "unexpected argument " + parser.positionalArguments().first().toStdString();
  }
  const int connection_options = int{parser.isSet(connect)} + int{parser.isSet(serial)} +
                                 int{parser.isSet(service)} + int{parser.isSet(no_auto_connect)};
  if (connection_options > 1) {
    return "--connect, --serial, --service and --no-auto-connect exclude each other";
  }
  if (parser.isSet(token) && !parser.isSet(service)) return "--token needs --service";

  CommandLine line;
  if (parser.isSet(program_dir)) {
    const QString folder = parser.value(program_dir);
    if (folder.isEmpty()) return "empty folder name in --program-dir";
    line.program_directory = std::filesystem::path(folder.toStdString());
  }
  std::variant<RunConnection, std::string> connection = RunConnection{};
  if (parser.isSet(connect)) connection = network_connection(parser.value(connect));
  if (parser.isSet(serial)) connection = serial_connection(parser.value(serial));
  if (parser.isSet(service)) {
    RunConnection attached;
    attached.kind = RunConnection::Kind::Service;
    attached.device = parser.value(service).toStdString();
    if (attached.device.empty()) return "empty address in --service";
    const char* from_environment = std::getenv("MAV_TOKEN");
    attached.token = parser.isSet(token)           ? parser.value(token).toStdString()
                     : from_environment != nullptr ? from_environment
                                                   : "";
    connection = attached;
  }
  if (parser.isSet(no_auto_connect)) {
    RunConnection none;
    none.kind = RunConnection::Kind::None;
    connection = none;
  }
  if (const auto* reason = std::get_if<std::string>(&connection)) return *reason;
  line.connection = std::get<RunConnection>(connection);
  if (parser.isSet(overview)) line.overview = parser.value(overview).toStdString();
  return line;
}

}  // namespace mav
