#include "service/TokenFile.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "platform/AtomicFile.h"
#include "service/ClientAuth.h"

namespace mav {
namespace {

constexpr std::size_t kMaxTokensFile = 1024 * 1024;
constexpr std::size_t kSecretBytes = 24;

std::optional<TokenEntry> read_entry(const nlohmann::json& item) {
  if (!item.is_object()) return std::nullopt;
  const auto text = [&item](const char* key) -> std::optional<std::string> {
    const auto found = item.find(key);
    if (found == item.end() || !found->is_string() || found->get_ref<const std::string&>().empty())
      return std::nullopt;
    return found->get<std::string>();
  };
  const auto name = text("name");
  const auto role = text("role");
  const auto ports = text("ports");
  const auto secret = text("secret");
  if (!name || !role || !ports || !secret) return std::nullopt;
  TokenEntry entry{*name, Role::Viewer, all_ports(), *secret};
  const auto read_role = role_named(*role);
  if (!read_role) return std::nullopt;
  entry.role = *read_role;
  if (*ports != "all") {
    const auto read_ports = read_port_ranges(*ports);
    if (!read_ports) return std::nullopt;
    entry.ports = *read_ports;
  }
  return entry;
}

}  // namespace

std::optional<std::vector<TokenEntry>> read_tokens(std::string_view text) {
  const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
  if (!document.is_array()) return std::nullopt;
  std::vector<TokenEntry> entries;
  for (const auto& item : document) {
    auto entry = read_entry(item);
    if (!entry) return std::nullopt;
    entries.push_back(std::move(*entry));
  }
  return entries;
}

bool TokenFile::load(std::string& error) {
  std::error_code missing;
  if (!std::filesystem::exists(file_, missing)) {
    entries_.clear();
    return true;
  }
  const auto bytes = read_whole_file(file_, kMaxTokensFile);
  auto entries = bytes ? read_tokens(std::string_view(reinterpret_cast<const char*>(bytes->data()),
                                                      bytes->size()))
                       : std::nullopt;
  if (!entries) {
    error = "The tokens file " + file_.string() + " cannot be read; the tokens read before stay.";
    return false;
  }
  entries_ = std::move(*entries);
  return true;
}

bool TokenFile::save(const std::vector<TokenEntry>& entries, std::string& error) {
  nlohmann::ordered_json document = nlohmann::ordered_json::array();
  for (const TokenEntry& entry : entries) {
    document.push_back({{"name", entry.name},
                        {"role", role_word(entry.role)},
                        {"ports", port_ranges_text(entry.ports)},
                        {"secret", entry.secret}});
  }
  const std::string text = document.dump(1) + "\n";
  if (!write_file_atomically(
          file_, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, 0600)) {
    error = "The tokens file " + file_.string() + " cannot be written.";
    return false;
  }
  entries_ = entries;
  return true;
}

std::optional<std::string> TokenFile::add(const std::string& name, const std::string& role,
                                          const std::string& ports, std::string& error) {
  TokenEntry entry{name, Role::Viewer, all_ports(), random_hex(kSecretBytes)};
  const auto read_role = role_named(role);
  const auto read_ports = ports.empty() ? std::optional(all_ports()) : read_port_ranges(ports);
  if (!read_role) {
    error = "A role is viewer, operator or supervisor.";
  } else if (!read_ports) {
    error = "Ports are written like 0-7,9.";
  } else if (std::any_of(entries_.begin(), entries_.end(),
                         [&name](const TokenEntry& e) { return e.name == name; })) {
    error = "There is a token named " + name + " already.";
  } else {
    entry.role = *read_role;
    entry.ports = *read_ports;
    auto entries = entries_;
    entries.push_back(entry);
    if (save(entries, error)) return entry.secret;
  }
  return std::nullopt;
}

bool TokenFile::revoke(const std::string& name, std::string& error) {
  auto entries = entries_;
  const auto removed = std::remove_if(entries.begin(), entries.end(),
                                      [&name](const TokenEntry& e) { return e.name == name; });
  if (removed == entries.end()) {
    error = "There is no token named " + name + ".";
    return false;
  }
  entries.erase(removed, entries.end());
  return save(entries, error);
}

std::optional<TokenEntry> TokenFile::answering(const std::string& challenge,
                                               const std::string& response) const {
  std::optional<TokenEntry> found;
  // Every entry is tried, so the time taken does not tell which one matched.
  for (const TokenEntry& entry : entries_) {
    if (same_response(token_response(entry.secret, challenge), response)) found = entry;
  }
  return found;
}

}  // namespace mav
