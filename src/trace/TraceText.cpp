#include "trace/TraceText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>

namespace mav {
namespace {

bool is_port_token(std::string_view token, int port) {
  return token.size() == 2 && std::isdigit(static_cast<unsigned char>(token[0])) &&
         std::isdigit(static_cast<unsigned char>(token[1])) &&
         (token[0] - '0') * 10 + (token[1] - '0') == port;
}

bool contains_ignoring_case(std::string_view text, std::string_view word) {
  const auto same = [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
  };
  return std::search(text.begin(), text.end(), word.begin(), word.end(), same) != text.end();
}

}  // namespace

std::string trace_time_text(std::int64_t time_ms) {
  const std::time_t seconds = static_cast<std::time_t>(time_ms / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[16];
  std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d.%.3d", local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(time_ms % 1000));
  return text;
}

std::string_view trace_kind_text(const TraceRow& row) {
  switch (row.mark) {
    case TraceMark::ReplyTimeout:
      return "reply time-out";
    case TraceMark::LostContact:
      return "lost contact";
    case TraceMark::Reconnect:
      return "reconnect";
    case TraceMark::QueueOverflow:
      return "queue overflow";
    case TraceMark::Change:
      return "change";
    case TraceMark::None:
      break;
  }
  return row.direction == TraceDirection::Received ? "received" : "sent";
}

std::string_view trace_mode_text(const TraceRow& row) {
  if (row.direction != TraceDirection::Sent || row.mark != TraceMark::None) return {};
  return row.queued ? "queued" : "at once";
}

std::string trace_visible_text(const TraceRow& row) {
  std::string visible;
  for (const char c : row.view()) {
    if (c == '\r') {
      visible += "<CR>";
    } else if (c == '\n') {
      visible += "<LF>";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      char code[8];
      std::snprintf(code, sizeof code, "<%.2X>", static_cast<unsigned char>(c));
      visible += code;
    } else {
      visible += c;
    }
  }
  return visible;
}

std::string trace_line(const TraceRow& row) {
  std::string line = trace_time_text(row.time_ms);
  line += '\t';
  line += trace_kind_text(row);
  line += '\t';
  line += trace_mode_text(row);
  line += '\t';
  line += trace_visible_text(row);
  return line;
}

bool trace_row_passes(const TraceRow& row, const TraceFilter& filter) {
  const std::string_view text = row.view();
  if (!filter.keyword.empty() && !contains_ignoring_case(text, filter.keyword)) return false;
  if (!filter.port) return true;
  // The first token is the keyword; the port, when the line has one, is among the arguments.
  std::size_t start = text.find(' ');
  while (start != std::string_view::npos) {
    const std::size_t end = text.find_first_of(" \r", start + 1);
    const std::string_view token = text.substr(
        start + 1, end == std::string_view::npos ? std::string_view::npos : end - start - 1);
    if (is_port_token(token, *filter.port)) return true;
    start = end;
  }
  return false;
}

}  // namespace mav
