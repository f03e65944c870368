// What the protocol trace costs the link: the send path (send_line) and the receive path (bytes
// assembled into ring lines and taken by the worker), each with the trace not recording (arg 0)
// and recording (arg 1), as the program does from its start. Nobody takes the rows, so every row
// overwrites the oldest: the worst case of a trace window that stays closed.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "link/LineAssembler.h"
#include "support/LinkRig.h"

namespace {

void record_if(mav::ProtocolTrace& trace, benchmark::State& state) {
  if (state.range(0) != 0) trace.start();
  state.SetLabel(state.range(0) != 0 ? "recording" : "not recording");
}

// The channel is closed, so the write itself costs nothing and what is left is the send path.
void BM_SendLine(benchmark::State& state) {
  auto rig = std::make_unique<mav::test::LinkRig>();
  record_if(rig->trace, state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig->channel.send_line("TX_LEVEL 05 3\r", false));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendLine)->Arg(0)->Arg(1);

void BM_ReceiveLines(benchmark::State& state) {
  mav::ProtocolTrace trace;
  record_if(trace, state);
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
