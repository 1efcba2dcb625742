// ParseCommandLine on any text (a trace line's text field, so \uXXXX
// reaches every UTF-16 unit): no read or write past a buffer, and an error
// leaves the options as they were but for the mode.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "installer/command_line.h"
#include "message_trace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text =
      DecodeTraceText(std::string_view(reinterpret_cast<const char*>(data), size));
  InstallOptions options;
  const char16_t* word = nullptr;
  if (ParseCommandLine(text.c_str(), &options, &word) != CommandLineError::None) {
    const bool untouched = !options.noRestart && !options.help &&
                           !options.hasFolder && !options.hasLog && options.folder[0] == 0 &&
                           options.logPath[0] == 0;
    if (!untouched) __builtin_trap();
    if (word < text.c_str() || word >= text.c_str() + text.size()) __builtin_trap();
  }
  return 0;
}
