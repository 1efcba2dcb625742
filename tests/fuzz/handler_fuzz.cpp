// The handler fed any sequence of messages: the input is read as a trace,
// one (type, text) a line, from a fresh ProgressContext.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_observer.h"
#include "installer/message_handler.h"
#include "message_trace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<TraceMessage> trace;
  ParseTrace(std::string_view(reinterpret_cast<const char*>(data), size), &trace);

  ProgressContext progress;
  FuzzObserver observer(progress);
  for (const TraceMessage& m : trace) {
    const int answer =
        InstallerMessageHandler(&progress, m.type, m.hasText ? m.text.c_str() : nullptr);
    const unsigned int kind = m.type >> 24;
    // Kinds past show dialog are never handled, but Restart Manager's files
    // in use; and no question about files in use is answered with IDOK,
    // which would have Restart Manager shut the programs down.
    if (kind > 0x0E && kind != 0x19 && answer != 0) __builtin_trap();
    if ((kind == 0x05 || kind == 0x19) && answer == 1) __builtin_trap();
  }
  return 0;
}
