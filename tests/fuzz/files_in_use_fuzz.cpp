// ParseFilesInUseMessage of either kind on any text, and the box's text of
// what it found: the input is a trace line's text field, so \uXXXX reaches
// every UTF-16 unit; its first byte picks the kind.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "installer/in_use.h"
#include "installer/message_parser.h"
#include "message_trace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool restartManager = (data[0] & 1) != 0;
  const std::u16string text = DecodeTraceText(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  HoldingPrograms programs;
  ParseFilesInUseMessage(text.c_str(), restartManager, programs);
  char16_t box[kInUseTextCapacity];
  InUseText(programs, box);
  return 0;
}
