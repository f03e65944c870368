// Arbitrary gateway lines through the line reader and the reply dispatcher, against a fresh model
// per input: nothing may crash, read or write outside its field, or send a line the outgoing
// queue could not hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "link/LineReader.h"
#include "link/ReceivedLineRing.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "model/PendingTable.h"
#include "protocol/ReplyDispatcher.h"
#include "security/PinTable.h"
#include "support/FakeClock.h"
#include "support/RecordingFrontend.h"

namespace {

using namespace mav;

class CheckingSender final : public LineSender {
 public:
  bool send_line(std::string_view text, bool) override {
    if (text.size() > 127 || text.empty() || text.back() != '\r') std::abort();
    return true;
  }
};

class QuietHooks final : public ShellHooks,
                         public AutoSaveHooks,
                         public PortViewHooks,
                         public DialHooks {
 public:
  bool channel_open() const override { return true; }
  void AutoSave() override {}
  bool RestoreAfterGatewayRestart() override { return true; }
  void save_preferences() override {}
  void load_site_port_names() override {}
  bool advance_slides() override { return false; }
  void release_port_icon(int port, int) override {
    if (port < 0 || port >= kPortCount) std::abort();
  }
  void open_dial_dialog(int port) override {
    if (port < 0 || port >= kPortCount) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  test::FakeClock clock;
  // A log folder that cannot be created: entries are dropped, the fuzzer writes no files.
  EventLog log("/dev/null/Logs", clock);
  DeviceModel model;
  PendingTable pending;
  PinTable pins;
  CheckingSender sender;
  test::RecordingFrontend frontend;
  SessionState state;
  state.network_mode = (size % 2) == 1;
  QuietHooks hooks;
  ReceivedLineRing ring;
  LineReader reader(ring);
  ReplyDispatcher dispatcher(DispatcherParts{reader.reply(), model, pending, pins, log, sender,
                                             frontend, clock, state,
                                             SessionHooks{hooks, hooks, hooks, hooks}});
  // Leftover steps as the gesture code and the loader leave them, so the DISCH and CONNECT_S
  // step handling is reached too.
  for (int port = 0; port < kPortCount; ++port) {
    pending.Add(1, static_cast<std::uint8_t>(port), static_cast<std::uint8_t>(port % 10), 0);
    pending.Add(3, static_cast<std::uint8_t>(port), static_cast<std::uint8_t>(port % 9),
                static_cast<std::uint8_t>((port * 7) % 27));
  }
  pending.Add(1, PendingTable::kDialMarkerPort, 0, 0);
  PortRecord record;
  for (int port = 0; port < kPortCount; ++port) {
    model.GetPort(port, record);
    record.mod_type = static_cast<std::uint32_t>(port % 6);
    record.bus = static_cast<std::int16_t>(port % 4 == 0 ? GROUP_NONE : port % 5);
    record.disch_group = static_cast<std::int16_t>(port % 3 == 0 ? port % 7 : GROUP_NONE);
    record.disch_step = static_cast<std::uint32_t>(port % 10);
    record.connect_step = static_cast<std::uint32_t>((port * 3) % 11);
    record.pending_partner = static_cast<std::uint16_t>((port * 5) % 30);
    record.pending_bus = static_cast<std::uint16_t>(port % 7);
    model.SetPort(port, record);
  }

  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= input.size()) {
    std::size_t end = input.find('\r', start);
    if (end == std::string_view::npos) end = input.size();
    ring.push(input.substr(start, end - start));
    reader.read_step();
    dispatcher.dispatch_step();
    clock.advance_ms(150);
    start = end + 1;
  }
  return 0;
}
