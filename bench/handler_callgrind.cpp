// Instructions per progress message: replays the progress messages of the
// captured install trace with callgrind collecting only around the replay.
// Run by bench/figures.sh under valgrind --tool=callgrind
// --collect-atstart=no; prints how many messages it sent.
#include <valgrind/callgrind.h>

#include <cstdio>

#include "replay.h"

int main() {
  const std::vector<TraceMessage> progress = ProgressMessages(LoadFixtureTrace("install-current"));
  if (progress.empty()) return 1;
  constexpr int kRounds = 200;
  StartInstallerCall();
  int answers = Replay(progress);  // warm: first-use costs are not per message
  CALLGRIND_TOGGLE_COLLECT;
  for (int round = 0; round < kRounds; ++round) answers += Replay(progress);
  CALLGRIND_TOGGLE_COLLECT;
  std::printf("messages %zu answers %d\n", progress.size() * kRounds, answers);
  return 0;
}
