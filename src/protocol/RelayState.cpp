#include "protocol/RelayState.h"

#include <cstdint>
#include <cstring>

#include "protocol/ReplyDispatcher.h"

namespace mav {
namespace {

constexpr int kRelayBytes = 32;

int plus_one(int group) {
  return group == GROUP_NONE ? 0 : group + 1;
}
std::int16_t minus_one(int part) {
  return static_cast<std::int16_t>(part == 0 ? GROUP_NONE : part - 1);
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

void format_relay_line(const DeviceModel& model, char (&line)[kRelayLineLength + 1]) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::memcpy(line, "RELAY ", 6);
  PortRecord record;
  for (int port = 0; port < kRelayBytes; ++port) {
    std::uint8_t byte = 0;
    if (model.GetPort(port, record)) {
      const int n = plus_one(record.net);
      const int l = plus_one(record.bus_link);
      const int d = plus_one(record.disch_group);
      byte = static_cast<std::uint8_t>(((n * 4 + l) * 8 + d) & 0xFF);
    }
    line[6 + 2 * port] = kHex[byte >> 4];
    line[7 + 2 * port] = kHex[byte & 0x0F];
  }
  line[kRelayLineLength - 1] = '\r';
  line[kRelayLineLength] = '\0';
}

void apply_relay_text(DeviceModel& model, const char* text, int text_size) {
  const int length = static_cast<int>(strnlen(text, static_cast<std::size_t>(text_size)));
  for (int port = 0; port < kPortCount; ++port) {
    int v = 0;
    if (2 * port + 1 < length) {
      const int high = hex_digit(text[2 * port]);
      const int low = hex_digit(text[2 * port + 1]);
      if (high >= 0 && low >= 0) v = high * 16 + low;
    }
    model.Update(port, [v](PortRecord& q) {
      q.disch_group = minus_one(v % 8);
      q.bus_link = minus_one((v / 8) % 4);
      q.net = minus_one((v / 32) % 8);
      q.bus = q.net;
    });
  }
}

void ReplyDispatcher::send_relay_state() {
  p_.model.RenumberNets();
  char line[kRelayLineLength + 1];
  format_relay_line(p_.model, line);
  p_.sender.send_line(line, false);
}

ReplyDispatcher::Ending ReplyDispatcher::on_relay(const ParsedReply& r) {
  apply_relay_text(p_.model, r.text, kReplyTextSize);
  p_.frontend.request_repaint();
  return Ending::Quiet;
}

}  // namespace mav
