#include "salvo/TakeSchedule.h"

#include <sys/stat.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <utility>

#include "platform/AtomicFile.h"
#include "salvo/SalvoFile.h"

namespace mav {
namespace {

using Json = nlohmann::json;

constexpr std::size_t kLargestFile = 1 << 20;
constexpr mode_t kPrivate = S_IRUSR | S_IWUSR;

void sort_by_time(std::vector<ScheduledTake>& takes) {
  std::stable_sort(takes.begin(), takes.end(), [](const ScheduledTake& a, const ScheduledTake& b) {
    return a.when_ms < b.when_ms;
  });
}

std::optional<ScheduledTake> read_take(const Json& entry) {
  if (!entry.is_object()) return std::nullopt;
  const Json id = entry.value("id", Json());
  const Json salvo = entry.value("salvo", Json());
  const Json at = entry.value("at", Json());
  const Json by = entry.value("by", Json(""));
  if (!id.is_number_integer() || !salvo.is_string() || !at.is_number_integer() || !by.is_string() ||
      !IsSalvoName(salvo.get<std::string>())) {
    return std::nullopt;
  }
  const auto number = id.get<std::int64_t>();
  if (number < 1 || number > INT32_MAX) return std::nullopt;
  return ScheduledTake{static_cast<int>(number), salvo.get<std::string>(), at.get<std::int64_t>(),
                       by.get<std::string>()};
}

}  // namespace

TakeSchedule::TakeSchedule(std::filesystem::path program_directory)
    : file_(std::move(program_directory) / kScheduleFileName) {
  const auto bytes = read_whole_file(file_, kLargestFile);
  if (!bytes) return;
  const Json file = Json::parse(bytes->begin(), bytes->end(), nullptr, false);
  if (!file.is_object()) return;
  const Json takes = file.value("takes", Json::array());
  for (const Json& entry : takes.is_array() ? takes : Json::array()) {
    if (auto take = read_take(entry)) {
      next_id_ = std::max(next_id_, take->id + 1);
      takes_.push_back(std::move(*take));
    }
  }
  const Json next = file.value("next_id", Json());
  if (next.is_number_integer() && next.get<std::int64_t>() > next_id_ &&
      next.get<std::int64_t>() < INT32_MAX) {
    next_id_ = static_cast<int>(next.get<std::int64_t>());
  }
  sort_by_time(takes_);
}

std::optional<int> TakeSchedule::add(std::string salvo, std::int64_t when_ms, std::string by) {
  if (next_id_ == INT32_MAX) return std::nullopt;
  std::vector<ScheduledTake> takes = takes_;
  takes.push_back({next_id_, std::move(salvo), when_ms, std::move(by)});
  sort_by_time(takes);
  if (!save(takes, next_id_ + 1)) return std::nullopt;
  takes_ = std::move(takes);
  return next_id_++;
}

bool TakeSchedule::cancel(int id) {
  std::vector<ScheduledTake> takes = takes_;
  const auto kept = std::remove_if(takes.begin(), takes.end(),
                                   [id](const ScheduledTake& take) { return take.id == id; });
  if (kept == takes.end()) return false;
  takes.erase(kept, takes.end());
  if (!save(takes, next_id_)) return false;
  takes_ = std::move(takes);
  return true;
}

std::optional<std::int64_t> TakeSchedule::next_time() const {
  if (takes_.empty()) return std::nullopt;
  return takes_.front().when_ms;
}

std::vector<ScheduledTake> TakeSchedule::take_due(const Clock& clock) {
  const std::int64_t now = clock.now_calendar_ms();
  const auto later = std::find_if(takes_.begin(), takes_.end(),
                                  [now](const ScheduledTake& take) { return take.when_ms > now; });
  std::vector<ScheduledTake> due(takes_.begin(), later);
  if (due.empty()) return due;
  takes_.erase(takes_.begin(), later);
  // Taken even when the file keeps them: a take twice after a restart is the lesser harm than
  // holding the operator's take back.
  save(takes_, next_id_);
  return due;
}

bool TakeSchedule::save(const std::vector<ScheduledTake>& takes, int next_id) const {
  Json list = Json::array();
  for (const ScheduledTake& take : takes) {
    list.push_back({{"id", take.id}, {"salvo", take.salvo}, {"at", take.when_ms}, {"by", take.by}});
  }
  const std::string text = Json{{"next_id", next_id}, {"takes", list}}.dump(
                               2, ' ', false, Json::error_handler_t::replace) +
                           "\n";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return write_file_atomically(file_, {bytes, text.size()}, kPrivate);
}

}  // namespace mav
