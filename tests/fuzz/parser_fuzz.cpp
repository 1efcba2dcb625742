// ParseProgressMessage or ParseCommonDataMessage (PARSER_UNDER_TEST) on any
// text: the input is a trace line's text field, so \uXXXX reaches every
// UTF-16 unit.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_observer.h"
#include "installer/message_handler.h"
#include "message_trace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ProgressContext progress;
  FuzzObserver observer(progress);
  const std::u16string text =
      DecodeTraceText(std::string_view(reinterpret_cast<const char*>(data), size));
  PARSER_UNDER_TEST(progress, text.c_str());
  return 0;
}
