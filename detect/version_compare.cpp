#include "detect/version_compare.h"

#include "core/text.h"

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

}  // namespace

int CompareVersions(char16_t* first, char16_t* second) {
  char16_t* firstContext = first;
  char16_t* secondContext = second;
  for (;;) {
    const char16_t* a = NextComponent(&firstContext);
    const char16_t* b = NextComponent(&secondContext);
    if (a == nullptr && b == nullptr) return 0;
    // A version with fewer components has zeros in the missing ones: "4.0"
    // is older than "4.0.4.0", and "4.0.4" is the same.
    const int valueA = a != nullptr ? ReadSaturatedInt(a) : 0;
    const int valueB = b != nullptr ? ReadSaturatedInt(b) : 0;
    if (valueA > valueB) return 1;
    if (valueA < valueB) return -1;
  }
}
