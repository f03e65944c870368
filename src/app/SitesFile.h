// The site list "Sites.cfg": one SiteRecord per address and TCP port, in no particular order.
// Every write replaces the file whole (temporary file and rename), so a crash never leaves a
// half-written record. UI thread (start-up, connection changes, shutdown) and the worker thread
// (port names after the gateway's system information) both use it; the caller serialises.
#pragma once

#include <filesystem>
#include <optional>

#include "app/SiteRecord.h"

namespace mav {

inline constexpr const char* kSitesFileName = "Sites.cfg";
inline constexpr std::size_t kOldSiteRecordSize = 7236;

// Overwrites the first record with the same address and port, or appends the record.
bool store_site_record(const std::filesystem::path& file, const SiteRecord& record);

// The first record with this address and port; nothing when there is none or no file.
std::optional<SiteRecord> find_site_record(const std::filesystem::path& file,
                                           const std::uint8_t (&address)[4], std::int32_t port);

// A file whose size is not a whole number of current records holds 7236-byte records of an
// older layout (25 ports, 32-byte names): each becomes a current record, written as "Sites.tmp"
// and renamed over the file. True when a conversion took place.
bool convert_old_sites_file(const std::filesystem::path& file);

}  // namespace mav
