// Arbitrary gateway bytes through both receive paths' line assembly and the parser: byte by byte
// as the serial path takes them, and in chunks of varying size as socket reads deliver them.
// Every parsed reply must keep its list and text inside their fields.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "link/LineAssembler.h"
#include "link/LineReader.h"
#include "link/ReceivedLineRing.h"
#include "trace/ProtocolTrace.h"

namespace {

void check_fields(const mav::ParsedReply& reply) {
  bool list_ended = false;
  for (int i = 0; i <= mav::kReplyListSize; ++i) list_ended |= reply.list[i] == mav::kListEnd;
  if (!list_ended || std::memchr(reply.text, '\0', sizeof reply.text) == nullptr) __builtin_trap();
}

// Parses what waits, releasing each reply as the dispatcher would; sometimes leaves the ring
// unread so a full ring drops lines.
void parse_waiting(mav::LineReader& reader, bool leave_unread) {
  if (leave_unread) return;
  for (int i = 0; i < 200; ++i) {
    reader.read_step();
    if (!reader.reply().pending) return;
    check_fields(reader.reply());
    reader.reply().pending = false;
  }
}

// One trace for the whole run, recording as while the trace window is open.
struct RecordingTrace {
  mav::ProtocolTrace rows;
  RecordingTrace() { rows.start(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t shape = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  static RecordingTrace trace;
  mav::ReceivedLineRing serial_ring;
  mav::ReceivedLineRing socket_ring;
  mav::LineAssembler serial_lines(serial_ring, trace.rows);
  mav::LineAssembler socket_lines(socket_ring, trace.rows);
  mav::LineReader serial_reader(serial_ring);
  mav::LineReader socket_reader(socket_ring);

  for (char byte : bytes) {
    if (serial_lines.add_byte(byte)) parse_waiting(serial_reader, (shape & 0x80) != 0);
  }
  parse_waiting(serial_reader, false);

  const std::size_t chunk_size = 1 + (shape & 0x7F) * 37u;
  for (std::size_t at = 0; at < bytes.size(); at += chunk_size) {
    socket_lines.add_bytes(bytes.substr(at, chunk_size));
    parse_waiting(socket_reader, (shape & 0x40) != 0 && at % 3 == 0);
  }
  parse_waiting(socket_reader, false);
  return 0;
}
