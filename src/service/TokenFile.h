// The tokens file of the program directory: who may identify with a secret, with which role and
// ports. Only the service's user reads it (mode 0600, written whole through the atomic writer),
// and a file that cannot be read keeps the entries read before, with a sentence saying why.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "service/AccessRules.h"

namespace mav {

inline constexpr const char* kTokensFileName = "Tokens.cfg";

struct TokenEntry {
  std::string name;
  Role role = Role::Viewer;
  PortSet ports = all_ports();
  std::string secret;
};

class TokenFile {
 public:
  explicit TokenFile(std::filesystem::path file) : file_(std::move(file)) {}

  // A missing file holds no tokens; false with a sentence for a file that cannot be read.
  bool load(std::string& error);
  const std::vector<TokenEntry>& entries() const { return entries_; }
  const std::filesystem::path& file() const { return file_; }

  // The new entry's secret, or nothing with a sentence (a name in use, a bad role or ports, a
  // file that cannot be written).
  std::optional<std::string> add(const std::string& name, const std::string& role,
                                 const std::string& ports, std::string& error);
  bool revoke(const std::string& name, std::string& error);
  // The entry whose secret answers the challenge with this response.
  std::optional<TokenEntry> answering(const std::string& challenge,
                                      const std::string& response) const;

 private:
  bool save(const std::vector<TokenEntry>& entries, std::string& error);

  std::filesystem::path file_;
  std::vector<TokenEntry> entries_;
};

// Reads a tokens file's text; nothing for a text that is not one.
std::optional<std::vector<TokenEntry>> read_tokens(std::string_view text);

}  // namespace mav
