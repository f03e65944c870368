// What the protocol trace costs the link: the send path (send_line) and the receive path (bytes
// assembled into ring lines and taken by the worker), each with the trace window closed (arg 0)
// and open (arg 1). Open, the window is taken never to look, so every row overwrites the oldest.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "link/LineAssembler.h"
#include "support/LinkRig.h"

namespace {

void watch_if(mav::ProtocolTrace& trace, benchmark::State& state) {
  if (state.range(0) != 0) trace.start();
  state.SetLabel(state.range(0) != 0 ? "window open" : "window closed");
}

// The channel is closed, so the write itself costs nothing and what is left is the send path.
void BM_SendLine(benchmark::State& state) {
  auto rig = std::make_unique<mav::test::LinkRig>();
  watch_if(rig->trace, state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig->channel.send_line("TX_LEVEL 05 3\r", false));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendLine)->Arg(0)->Arg(1);

void BM_ReceiveLines(benchmark::State& state) {
  mav::ProtocolTrace trace;
  watch_if(trace, state);
  mav::ReceivedLineRing ring;
  mav::LineAssembler assembler(ring, trace);
  std::string chunk;
  for (int i = 0; i < 20; ++i) chunk += "%TX_LEVEL 05 3 E0\r%CONNECT_S 03 07 E0\r";
  mav::ReceivedLine line;
  for (auto _ : state) {
    const int lines = assembler.add_bytes(chunk);
    while (ring.next_line(line)) benchmark::DoNotOptimize(line.length);
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * 40);  // items = lines
}
BENCHMARK(BM_ReceiveLines)->Arg(0)->Arg(1);

}  // namespace
