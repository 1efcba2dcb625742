// The parsers' text conversion in the thread's ANSI code page.
#pragma once

#include "installer/code_page_seam.h"

class Win32CodePage final : public CodePageSeam {
 public:
  int ToNarrow(const char16_t* text, char* buffer, int bufferBytes) override;
};
