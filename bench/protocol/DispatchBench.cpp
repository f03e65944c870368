// Parse + dispatch throughput: received lines through the LineReader and the ReplyDispatcher on
// one thread, as the worker runs them. The screen, the application hooks and the wire are no-ops
// and the event log cannot open its file, so the figure is the parser's and the dispatcher's own.
#include <benchmark/benchmark.h>

#include <string_view>
#include <vector>

#include "frontend/SilentFrontend.h"
#include "link/LineReader.h"
#include "link/ReceivedLineRing.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "model/PendingTable.h"
#include "protocol/ReplyDispatcher.h"
#include "security/PinTable.h"
#include "support/FakeClock.h"

namespace mav {
namespace {

class NullSender final : public LineSender {
 public:
  bool send_line(std::string_view, bool) override { return true; }
};

class NullHooks final : public ShellHooks,
                        public AutoSaveHooks,
                        public PortViewHooks,
                        public DialHooks {
 public:
  bool channel_open() const override { return true; }
  void AutoSave() override {}
  bool RestoreAfterGatewayRestart() override { return true; }
  void save_preferences() override {}
  void load_site_port_names() override {}
  void release_port_icon(int, int) override {}
  bool advance_slides() override { return false; }
  void open_dial_dialog(int) override {}
};

struct Bench {
  Bench() {
    PortRecord record;
    for (int port = 0; port < kPortCount; ++port) {
      model.GetPort(port, record);
      record.mod_type = static_cast<std::uint32_t>(1 + port % 5);
      model.SetPort(port, record);
    }
  }

  void run(benchmark::State& run_state, const std::vector<std::string_view>& lines) {
    std::size_t next = 0;
    for (auto _ : run_state) {
      ring.push(lines[next]);
      reader.read_step();
      dispatcher.dispatch_step();
      next = next + 1 == lines.size() ? 0 : next + 1;
    }
    run_state.SetItemsProcessed(run_state.iterations());
  }

  test::FakeClock clock;
  EventLog log{"/dev/null/Logs", clock};
  DeviceModel model;
  PendingTable pending;
  PinTable pins;
  NullSender sender;
  SilentFrontend frontend;
  SessionState state;
  NullHooks hooks;
  ReceivedLineRing ring;
  LineReader reader{ring};
  ReplyDispatcher dispatcher{DispatcherParts{reader.reply(), model, pending, pins, log, sender,
                                             frontend, clock, state,
                                             SessionHooks{hooks, hooks, hooks, hooks}}};
};

void SettingsReplies(benchmark::State& state) {
  Bench bench;
  bench.run(state, {"%TX_LEVEL 05 3 E0", "%RX_LEVEL 05 4 E0", "%DUPLEX 05 FULL E0",
                    "%COR_POLARITY 03 NEG E0", "%SQUELCH_TYPE 03 VOX E0", "%CONF 07 ON E0",
                    "%CALLING_TIME 02 30 E0", "%EQ 03 2 E0", "%VMR_THRESH 08 9 E0",
                    "%USER_CONTROL 11 OFF E0"});
}
BENCHMARK(SettingsReplies);

void ConnectionEvents(benchmark::State& state) {
  Bench bench;
  bench.run(state,
            {"%CONNECT 03 07 E0", "%MON 04 07 ON E0", "%CONNECT_S 08 09 10 E0", "%DISC 03 E0",
             "%MON 04 07 OFF E0", "%DISC_S 08 E0", "%DISCH 09 E0", "%COR_LED 0000 0005 E0"});
}
BENCHMARK(ConnectionEvents);

}  // namespace
}  // namespace mav
