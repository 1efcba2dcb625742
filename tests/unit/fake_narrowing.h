// A stand-in for WideCharToMultiByte in a double-byte ANSI code page: ASCII
// units take one byte, every other unit two (never a zero byte), so the
// two-bytes-a-unit bound of the narrow copy is exercised.
#pragma once

inline int FakeToNarrow(const char16_t* text, char* buffer, int bufferBytes) {
  int n = 0;
  for (const char16_t* unit = text;; ++unit) {
    const bool wide = *unit >= 0x80;
    if (n + (wide ? 2 : 1) > bufferBytes) return 0;
    if (wide) {
      buffer[n++] = static_cast<char>(0x81 + (*unit >> 8) % 0x7E);
      buffer[n++] = static_cast<char>(0x40 + (*unit & 0xFF) % 0xBF);
    } else {
      buffer[n++] = static_cast<char>(*unit);
      if (*unit == 0) return n;
    }
  }
}

#include "installer/code_page_seam.h"

class FakeCodePage : public CodePageSeam {
 public:
  int ToNarrow(const char16_t* text, char* buffer, int bufferBytes) override {
    return FakeToNarrow(text, buffer, bufferBytes);
  }
};
