// Bounded text: the one place that measures, copies, joins, compares and
// reads numbers from the installer's texts.
//
//   kPathCapacity          the 260-unit buffer of every path and key path
//   OwnedText, FreeDeleter heap text handed from callee to caller
//   BoundedLength          length, never reading past a limit
//   TextLength             length of a text known to be terminated
//   DuplicateText          a heap copy
//   CopyText, AppendText,  all-or-nothing writes into a fixed buffer: the
//   JoinText                 target is untouched and the result false when
//                            the text does not fit
//   SameText               exact comparison that takes a null text
//   IsBlank                the C library's isspace for ASCII
//   ReadSaturatedInt       atoi/_wtoi, saturated at the limits of int
//   DecimalText            the decimal digits of a number
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <memory>

// Path and key-path buffers hold 260 units (MAX_PATH), terminator included.
inline constexpr std::size_t kPathCapacity = 260;

struct FreeDeleter {
  void operator()(void* block) const { std::free(block); }
};

// Heap text of UTF-16 units taken with malloc and released with free, the
// way registry value texts and environment copies are handed to callers.
using OwnedText = std::unique_ptr<char16_t[], FreeDeleter>;

// Units before the terminator, counting at most limit: limit when the text
// does not end before it.
template <typename Char>
std::size_t BoundedLength(const Char* text, std::size_t limit) {
  std::size_t n = 0;
  while (n < limit && text[n] != 0) ++n;
  return n;
}

inline std::size_t TextLength(const char16_t* text) { return BoundedLength(text, SIZE_MAX); }

// A new heap copy of text, or null when memory is short.
inline OwnedText DuplicateText(const char16_t* text) {
  const std::size_t n = TextLength(text) + 1;
  OwnedText copy(static_cast<char16_t*>(std::malloc(n * sizeof(char16_t))));
  if (copy) {
    for (std::size_t i = 0; i < n; ++i) copy[i] = text[i];
  }
  return copy;
}

// Writes the parts one after the other, terminated, into buffer (capacity
// units) when all of them fit; otherwise leaves buffer as it was.
inline bool JoinText(char16_t* buffer, std::size_t capacity,
                     std::initializer_list<const char16_t*> parts) {
  std::size_t total = 0;
  for (const char16_t* part : parts) {
    if (part == nullptr) return false;
    total += BoundedLength(part, capacity);
    if (total >= capacity) return false;
  }
  std::size_t at = 0;
  for (const char16_t* part : parts) {
    for (; *part != 0; ++part) buffer[at++] = *part;
  }
  buffer[at] = 0;
  return true;
}

inline bool CopyText(char16_t* buffer, std::size_t capacity, const char16_t* text) {
  return JoinText(buffer, capacity, {text});
}

// Appends text to the terminated text in buffer when the whole fits.
inline bool AppendText(char16_t* buffer, std::size_t capacity, const char16_t* text) {
  const std::size_t at = BoundedLength(buffer, capacity);
  if (at == capacity) return false;
  return JoinText(buffer + at, capacity - at, {text});
}

// True when text is not null and equals expected unit for unit.
inline bool SameText(const char16_t* text, const char16_t* expected) {
  if (text == nullptr) return false;
  while (*text != 0 && *text == *expected) {
    ++text;
    ++expected;
  }
  return *text == *expected;
}

template <typename Char>
bool IsBlank(Char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// The value of text as atoi and _wtoi read it: blanks, an optional sign,
// ASCII digits; 0 without digits; saturated at the limits of int.
template <typename Char>
int ReadSaturatedInt(const Char* text) {
  while (IsBlank(*text)) ++text;
  const bool negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;
  // Digits past the range of int change nothing.
  long long magnitude = 0;
  for (; *text >= '0' && *text <= '9' && magnitude <= INT_MAX; ++text) {
    magnitude = magnitude * 10 + (*text - '0');
  }
  const long long value = negative ? -magnitude : magnitude;
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

// The decimal digits of value, in buffer; the text starts within it.
inline const char16_t* DecimalText(std::uint32_t value, char16_t (&buffer)[11]) {
  char16_t* at = buffer + 10;
  *at = 0;
  do {
    *--at = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  return at;
}
