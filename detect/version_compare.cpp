#include "detect/version_compare.h"

#include <climits>

namespace {

// One step of a tokenizer on the single separator '.', with the semantics
// of wcstok_s: separators before a component are skipped, the separator
// that ends it becomes NUL, and *context moves past it.
char16_t* NextComponent(char16_t** context) {
  char16_t* cursor = *context;
  while (*cursor == u'.') ++cursor;
  if (*cursor == 0) {
    *context = cursor;
    return nullptr;
  }
  char16_t* component = cursor;
  while (*cursor != 0 && *cursor != u'.') ++cursor;
  if (*cursor == u'.') *cursor++ = 0;
  *context = cursor;
  return component;
}

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

int ReadComponentValue(const char16_t* component) {
  while (IsBlank(*component)) ++component;
  bool negative = false;
  if (*component == u'+' || *component == u'-') negative = *component++ == u'-';
  long long value = 0;
  for (; *component >= u'0' && *component <= u'9'; ++component) {
    value = value * 10 + (*component - u'0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int CompareVersions(char16_t* first, char16_t* second) {
  char16_t* firstContext = first;
  char16_t* secondContext = second;
  for (;;) {
    const char16_t* a = NextComponent(&firstContext);
    const char16_t* b = NextComponent(&secondContext);
    if (a == nullptr || b == nullptr) return 0;
    const int valueA = ReadComponentValue(a);
    const int valueB = ReadComponentValue(b);
    if (valueA > valueB) return 1;
    if (valueA < valueB) return -1;
  }
}
