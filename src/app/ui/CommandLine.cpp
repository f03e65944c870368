#include "app/ui/CommandLine.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <QCommandLineParser>
#include <cstring>

namespace mav {
namespace {

constexpr int kDefaultTcpPort = 23;
// The two gateway models' line speeds, as the serial port dialog offers them.
constexpr std::uint32_t kSlowBaud = 9600;
constexpr std::uint32_t kFastBaud = 115200;

// A dotted IPv4 address, or a name the resolver turns into one.
std::optional<std::array<std::uint8_t, 4>> ipv4_address_of(const QString& host) {
  const QByteArray text = host.toUtf8();
  in_addr address{};
  if (inet_pton(AF_INET, text.constData(), &address) != 1) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (text.isEmpty() || getaddrinfo(text.constData(), nullptr, &hints, &found) != 0) {
      return std::nullopt;
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
  }
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &address.s_addr, bytes.size());  // network order: first number first
  return bytes;
}

std::variant<RunConnection, std::string> network_connection(const QString& value) {
  RunConnection connection;
  connection.kind = RunConnection::Kind::Network;
  connection.port = kDefaultTcpPort;
  QString host = value;
  if (const qsizetype colon = value.lastIndexOf(':'); colon >= 0) {
    host = value.left(colon);
    bool number = false;
    connection.port = value.mid(colon + 1).toInt(&number);
    if (!number || connection.port < 1 || connection.port > 65535) {
      return "bad port number in --connect " + value.toStdString() + " (1 to 65535)";
    }
  }
  const auto address = ipv4_address_of(host);
  if (!address) return "unknown host in --connect " + value.toStdString();
  connection.address = *address;
  return connection;
}

std::variant<RunConnection, std::string> serial_connection(const QString& value) {
  RunConnection connection;
  connection.kind = RunConnection::Kind::Serial;
  connection.baud = kSlowBaud;
  const qsizetype comma = value.lastIndexOf(',');
  connection.device = (comma >= 0 ? value.left(comma) : value).toStdString();
  if (connection.device.empty()) return "no device in --serial " + value.toStdString();
  if (comma >= 0) {
    bool number = false;
    connection.baud = value.mid(comma + 1).toUInt(&number);
    if (!number || (connection.baud != kSlowBaud && connection.baud != kFastBaud)) {
      return "bad baud rate in --serial " + value.toStdString() + " (9600 or 115200)";
    }
  }
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
  const QCommandLineOption no_auto_connect("no-auto-connect",
                                           "Do not connect at start-up in this run.");
  parser.addOptions({program_dir, connect, serial, no_auto_connect});

  if (!parser.parse(arguments)) return parser.errorText().toStdString();
  if (parser.isSet(help)) parser.showHelp(0);
  if (parser.isSet(version)) parser.showVersion();
  if (!parser.positionalArguments().isEmpty()) {
    return "unexpected argument " + parser.positionalArguments().first().toStdString();
  }
  const int connection_options =
      int{parser.isSet(connect)} + int{parser.isSet(serial)} + int{parser.isSet(no_auto_connect)};
  if (connection_options > 1) {
    return "--connect, --serial and --no-auto-connect exclude each other";
  }

  CommandLine line;
  if (parser.isSet(program_dir)) {
    const QString folder = parser.value(program_dir);
    if (folder.isEmpty()) return "empty folder name in --program-dir";
    line.program_directory = std::filesystem::path(folder.toStdString());
  }
  std::variant<RunConnection, std::string> connection = RunConnection{};
  if (parser.isSet(connect)) connection = network_connection(parser.value(connect));
  if (parser.isSet(serial)) connection = serial_connection(parser.value(serial));
  if (parser.isSet(no_auto_connect)) {
    RunConnection none;
    none.kind = RunConnection::Kind::None;
    connection = none;
  }
  if (const auto* reason = std::get_if<std::string>(&connection)) return *reason;
  line.connection = std::get<RunConnection>(connection);
  return line;
}

}  // namespace mav
