#include "app/SitesFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/TextField.h"
#include "platform/AtomicFile.h"

namespace mav {
namespace {

// More sites than this never exist; a larger file is read only this far.
constexpr std::size_t kMaxSitesFileSize = 4096 * sizeof(SiteRecord);

constexpr int kOldPortCount = 25;
constexpr int kOldIconColor = 8;
constexpr int kOldPortName = 33;
constexpr int kOldPortNameSize = 32;
constexpr int kOldIconPath = 833;

std::vector<SiteRecord> records_of(const std::vector<std::uint8_t>& bytes) {
  std::vector<SiteRecord> records(bytes.size() / sizeof(SiteRecord));
  if (!records.empty())
    std::memcpy(records.data(), bytes.data(), records.size() * sizeof(SiteRecord));
  return records;
}

bool write_records(const std::filesystem::path& file, const std::vector<SiteRecord>& records) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(records.data());
  return write_file_atomically(file, {bytes, records.size() * sizeof(SiteRecord)});
}

void copy_text(char* target, std::size_t target_size, const std::uint8_t* source,
               std::size_t source_size) {
  const auto* text = reinterpret_cast<const char*>(source);
  const std::string_view kept = FitText({text, strnlen(text, source_size)}, target_size - 1);
  std::memcpy(target, kept.data(), kept.size());
}

SiteRecord convert_old_record(const std::uint8_t* old) {
  SiteRecord record{};
  std::memcpy(record.address, old, 4);
  std::memcpy(&record.port, old + 4, 4);
  for (int p = 0; p < kOldPortCount; ++p) {
    record.icon_color[p] = old[kOldIconColor + p];
    copy_text(record.port_name[p], kTextFieldSize, old + kOldPortName + p * kOldPortNameSize,
              kOldPortNameSize);
    copy_text(record.icon_path[p], kTextFieldSize, old + kOldIconPath + p * kTextFieldSize,
              kTextFieldSize);
  }
  return record;
}

}  // namespace

bool SiteRecord::same_connection(const SiteRecord& other) const {
  return std::memcmp(address, other.address, 4) == 0 && port == other.port;
}

SiteRecord empty_site_record(const std::uint8_t (&address)[4], std::int32_t port) {
  SiteRecord record{};
  std::memcpy(record.address, address, 4);
  record.port = port;
  return record;
}

bool store_site_record(const std::filesystem::path& file, const SiteRecord& record) {
  std::vector<SiteRecord> records;
  if (const auto bytes = read_whole_file(file, kMaxSitesFileSize)) records = records_of(*bytes);
  const auto same = std::find_if(records.begin(), records.end(), [&](const SiteRecord& stored) {
    return stored.same_connection(record);
  });
  if (same != records.end()) {
    *same = record;
  } else {
    records.push_back(record);
  }
  return write_records(file, records);
}

std::optional<SiteRecord> find_site_record(const std::filesystem::path& file,
                                           const std::uint8_t (&address)[4], std::int32_t port) {
  const auto bytes = read_whole_file(file, kMaxSitesFileSize);
  if (!bytes) return std::nullopt;
  const SiteRecord wanted = empty_site_record(address, port);
  for (SiteRecord& record : records_of(*bytes)) {
    if (record.same_connection(wanted)) {
      // Texts from disk are not trusted to be terminated.
      for (int p = 0; p < kPortCount; ++p) {
        TerminateText(record.port_name[p]);
        TerminateText(record.icon_path[p]);
        TerminateText(record.template_names[p]);
      }
      return record;
    }
  }
  return std::nullopt;
}

bool convert_old_sites_file(const std::filesystem::path& file) {
  const auto bytes = read_whole_file(file, kMaxSitesFileSize);
  if (!bytes || bytes->size() % sizeof(SiteRecord) == 0) return false;
  std::vector<SiteRecord> records;
  for (std::size_t at = 0; at + kOldSiteRecordSize <= bytes->size(); at += kOldSiteRecordSize) {
    records.push_back(convert_old_record(bytes->data() + at));
  }
  std::filesystem::path temporary = file;
  temporary.replace_filename("Sites.tmp");
  if (!write_records(temporary, records)) return false;
  std::error_code failed;
  std::filesystem::rename(temporary, file, failed);
  return !failed;
}

}  // namespace mav
