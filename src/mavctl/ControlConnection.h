// mavctl's side of a control connection: a blocking socket that sends lines and reads them back
// one at a time.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mav {

class ControlConnection {
 public:
  ControlConnection() = default;
  ControlConnection(const ControlConnection&) = delete;
  ControlConnection& operator=(const ControlConnection&) = delete;
  ~ControlConnection();

  // False with the reason in error when nothing answers.
  bool open_unix(const std::filesystem::path& path, std::string& error);
  bool open_tcp(std::string_view host_port, std::string& error);

  bool send_line(std::string_view line);
  // The next line without its "\n"; nothing once the service has closed the connection.
  std::optional<std::string> read_line();

 private:
  int fd_ = -1;
  std::string buffer_;
};

}  // namespace mav
