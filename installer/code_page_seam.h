// The conversion the message parsers need: the service's progress texts
// are read as narrow text in the thread's ANSI code page, as the service
// itself writes them.
#pragma once

class CodePageSeam {
 public:
  virtual ~CodePageSeam() = default;

  // WideCharToMultiByte in the thread's ANSI code page of the whole text
  // with its terminator into buffer (bufferBytes bytes): the bytes written,
  // terminator included, or 0 when it does not fit or cannot be converted.
  virtual int ToNarrow(const char16_t* text, char* buffer, int bufferBytes) = 0;
};
