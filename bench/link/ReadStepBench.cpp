// Parse throughput: read_step over a mix of the replies and events a gateway sends while it is
// synchronised and busy, each line taken from the received-line ring as the worker takes it.
#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "link/LineReader.h"
#include "link/ReceivedLineRing.h"

namespace {

constexpr std::array<std::string_view, 24> kMix = {
    "%MOD_TYPE 00 1 E0",
    "%MOD_TYPE 01 3 E0",
    "%TX_LEVEL 05 3 E0",
    "%RX_LEVEL 05 4 E0",
    "%SQUELCH_TYPE 02 CTCSS E0",
    "%LINE_TYPE 03 NORM E0",
    "%AUTO_ANS 03 ON E0",
    "%VMR_THRESH 04 9 E0",
    "%CONNECT 01 02 03 E0",
    "%CONNECT_S 04 05 E0",
    "%DISC 07 E0",
    "%DISC_S ALL E0",
    "%MON 04 07 09 ON E0",
    "%COR_LED 0003 8001 E0",
    "%PTT_LED 0000 0400 E0",
    "%SYSTEM 1 0 2 5 0 0 E0",
    "%VER 2.14 E0",
    "%PIN_ACTIVITY 03 2 JONES E0",
    "%DIAL 04 5551234 E0",
    "%RELAY 0A",
    "%BUSY",
    "%MEK_SQUELCH_TYPE VOX E0",
    "%DISCH 06 E0",
    "%CALLING_TIME 02 US E0",
};

void BM_ReadStep(benchmark::State& state) {
  mav::ReceivedLineRing ring;
  mav::LineReader reader(ring);
  std::size_t next = 0;
  for (auto _ : state) {
    ring.push(kMix[next]);
    next = next + 1 == kMix.size() ? 0 : next + 1;
    reader.read_step();
    benchmark::DoNotOptimize(reader.reply().value);
    reader.reply().pending = false;  // released, as the dispatcher does
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("items = lines");
}
BENCHMARK(BM_ReadStep);

}  // namespace
