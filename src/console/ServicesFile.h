// The services a console attaches to, kept in "Services.cfg" beside the preferences: one line per
// service, its name, address (a Unix socket path or HOST:PORT) and token separated by tabs. The
// file is the operator's alone (mode 0600), since it holds the tokens. Host thread.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mav {

inline constexpr const char* kServicesFileName = "Services.cfg";

struct ServiceEntry {
  std::string name;     // how the service knows this console, unless the token names it
  std::string address;  // a Unix socket path or HOST:PORT
  std::string token;    // empty: none
};

// The entries in file order; lines without an address are skipped, a missing file is no entry.
std::vector<ServiceEntry> read_services_file(const std::filesystem::path& file);
// Puts `entry` first, replacing the entry with its address, and rewrites the file whole.
bool remember_service(const std::filesystem::path& file, const ServiceEntry& entry);

}  // namespace mav
