// Heap text of UTF-16 units taken with malloc and released with free, the
// way registry value texts and environment copies are handed to callers.
#pragma once

#include <cstdlib>
#include <memory>

struct FreeDeleter {
  void operator()(void* block) const { std::free(block); }
};

using OwnedText = std::unique_ptr<char16_t[], FreeDeleter>;

// Length in units before the terminator.
inline std::size_t TextLength(const char16_t* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// A new heap copy of text, or null when memory is short.
inline OwnedText CopyText(const char16_t* text) {
  const std::size_t n = TextLength(text) + 1;
  OwnedText copy(static_cast<char16_t*>(std::malloc(n * sizeof(char16_t))));
  if (copy) {
    for (std::size_t i = 0; i < n; ++i) copy[i] = text[i];
  }
  return copy;
}
