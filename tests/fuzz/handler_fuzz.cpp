// The handler fed any sequence of messages: the input is read as a trace,
// one (type, text) a line, from a fresh ProgressContext.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_effects.h"
#include "installer/message_handler.h"
#include "message_trace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzEffects effects;
  WireHandlerEffects(&effects);
  std::vector<TraceMessage> trace;
  ParseTrace(std::string_view(reinterpret_cast<const char*>(data), size), &trace);

  g_progressContext = ProgressContext{};
  int dialog = 0;
  int bar = 0;
  g_progressContext.dialogWindow = &dialog;
  g_progressContext.progressBar = &bar;
  g_progressContext.actionTextId = 1013;
  for (const TraceMessage& m : trace) {
    const int answer =
        InstallerMessageHandler(nullptr, m.type, m.hasText ? m.text.c_str() : nullptr);
    // Kinds past show dialog are never handled.
    if ((m.type >> 24) > 0x0E && answer != 0) __builtin_trap();
  }
  return 0;
}
