#include "replay.h"

#include "installer/message_handler.h"
#include "installer/progress_context.h"
#include "fake_narrowing.h"
#include "installer/install_observer.h"

std::vector<TraceMessage> LoadFixtureTrace(const char* name) {
  std::vector<TraceMessage> trace;
  ReadTraceFile(std::string(KELVANE_TRACE_DIR) + "/" + name + ".trace", &trace);
  return trace;
}

std::vector<TraceMessage> ProgressMessages(const std::vector<TraceMessage>& trace) {
  std::vector<TraceMessage> progress;
  for (const TraceMessage& m : trace) {
    if ((m.type & 0xFF000000) == 0x0A000000) progress.push_back(m);
  }
  return progress;
}

namespace {

// The state one installer call's messages share, as the operations hand it
// to the service.
ProgressContext g_call;

}  // namespace

void StartInstallerCall() {
  static InstallObserver nobody;
  static FakeCodePage codePage;
  g_call = ProgressContext{};
  g_call.observer = &nobody;
  g_call.codePage = &codePage;
  g_call.firstCall = 0;
}

int Replay(const std::vector<TraceMessage>& trace) {
  int answers = 0;
  for (const TraceMessage& m : trace) {
    answers += InstallerMessageHandler(&g_call, m.type, m.hasText ? m.text.c_str() : nullptr);
  }
  return answers;
}
