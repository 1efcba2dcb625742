// The handler replaying a real install trace captured from Wine: time and
// heap blocks per message.
#include <benchmark/benchmark.h>

#include <string>

#include "counting_allocator.h"
#include "replay.h"

namespace {

// Time and heap blocks per message over the whole run.
void Report(benchmark::State& state, std::size_t messages, std::uint64_t allocations) {
  const double total = static_cast<double>(state.iterations()) * static_cast<double>(messages);
  state.counters["msgs"] = benchmark::Counter(total, benchmark::Counter::kIsRate |
                                                          benchmark::Counter::kInvert);
  state.counters["allocs_per_msg"] = static_cast<double>(allocations) / total;
}

void Run(benchmark::State& state, const std::vector<TraceMessage>& trace) {
  if (trace.empty()) {
    state.SkipWithError("trace not found");
    return;
  }
  StartInstallerCall();
  const std::uint64_t before = HeapAllocations();
  for (auto _ : state) benchmark::DoNotOptimize(Replay(trace));
  Report(state, trace.size(), HeapAllocations() - before);
}

void BM_InstallTrace(benchmark::State& state) { Run(state, LoadFixtureTrace("install-current")); }
BENCHMARK(BM_InstallTrace);

void BM_InstallTraceProgressOnly(benchmark::State& state) {
  Run(state, ProgressMessages(LoadFixtureTrace("install-current")));
}
BENCHMARK(BM_InstallTraceProgressOnly);

// A progress report padded to the given number of units: texts that fit
// the parser's frame take no heap block, longer ones one.
void BM_ProgressTextOfLength(benchmark::State& state) {
  std::u16string text = u"1: 2 2: 25 ";
  text.resize(static_cast<std::size_t>(state.range(0)), u' ');
  Run(state, {{0x0A000000, true, text}});
}
BENCHMARK(BM_ProgressTextOfLength)->Arg(64)->Arg(512)->Arg(1023)->Arg(1024)->Arg(4096);

}  // namespace

BENCHMARK_MAIN();
