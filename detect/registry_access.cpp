#include "detect/registry_access.h"

#include <cstdlib>
#include <cstring>

namespace {

// The architectures under which a 32-bit process runs emulated on 64-bit
// Windows and its package writes into the 32-bit view.
bool IsEmulating64BitHost(const char16_t* architew6432) {
  return SameText(architew6432, u"AMD64") || SameText(architew6432, u"ARM64") ||
         SameText(architew6432, u"IA64");
}

}  // namespace

bool RunsOn64BitWindows(RegistrySeam& registry) {
  std::size_t size = 0;
  const OwnedText architecture = registry.DuplicateEnvironment(u"PROCESSOR_ARCHITECTURE", &size);
  const OwnedText architew6432 = registry.DuplicateEnvironment(u"PROCESSOR_ARCHITEW6432", &size);
  if (IsEmulating64BitHost(architew6432.get())) return true;
  // Anything but plain x86 reads the 32-bit view, which 32-bit Windows
  // ignores and 64-bit Windows needs.
  return !SameText(architecture.get(), u"x86");
}

std::uint32_t RegistryAccessMask(RegistrySeam& registry) {
  return RunsOn64BitWindows(registry) ? kAccessMask32BitView : kAccessMask64BitView;
}

void ReadRegistryString(RegistrySeam& registry, const char16_t* valueName, RegistryKey key,
                        std::uint32_t* length, char16_t** text, std::uint32_t* valueType) {
  // The query buffer is twice the offer, so that the copy below can always
  // add a terminator after the offered bytes.
  std::uint32_t offer = kRegistryOfferStep;
  std::unique_ptr<std::uint8_t[], FreeDeleter> buffer(
      static_cast<std::uint8_t*>(std::malloc(2 * offer)));
  long status = -1;
  std::uint32_t type = kRegistryTypeString;
  if (buffer) {
    std::memset(buffer.get(), 0, offer);
    std::uint32_t size = offer;
    status = registry.QueryValue(key, valueName, &type, buffer.get(), &size);
    while (status == kRegistryMoreData) {
      if (offer + kRegistryOfferStep > kRegistryOfferLimit) {
        status = -1;
        break;
      }
      offer += kRegistryOfferStep;
      auto* grown = static_cast<std::uint8_t*>(std::realloc(buffer.get(), 2 * offer));
      if (grown == nullptr) {
        status = -1;
        break;
      }
      buffer.release();
      buffer.reset(grown);
      // Zeroed so that an unterminated value cannot pick up stale bytes.
      std::memset(buffer.get(), 0, offer);
      size = offer;
      status = registry.QueryValue(key, valueName, &type, buffer.get(), &size);
    }
  }

  // Only text is a version or a folder: a number or binary value of the
  // same name counts as missing.
  if (status == kRegistrySuccess && type != kRegistryTypeString && type != kRegistryTypeExpandString) {
    status = -1;
  }
  if (status == kRegistrySuccess) {
    // Room for `offer` units: the offered bytes fill half of it, so the
    // terminator always fits even when the data itself has none.
    auto* result = static_cast<char16_t*>(std::malloc(2 * static_cast<std::size_t>(offer)));
    if (result != nullptr) {
      std::memset(result, 0, offer);
      std::memcpy(result, buffer.get(), offer);
      result[offer / 2] = 0;
      *text = result;
      *length = offer;
      if (valueType != nullptr) *valueType = type;
    }
  }
  registry.CloseKey(key);
}

OwnedText ReadMachineString(RegistrySeam& registry, const char16_t* subkey,
                            const char16_t* valueName) {
  RegistryKey key = nullptr;
  registry.OpenKey(subkey, RegistryAccessMask(registry), &key);
  std::uint32_t length = 0;
  char16_t* text = nullptr;
  std::uint32_t type = kRegistryTypeString;
  ReadRegistryString(registry, valueName, key, &length, &text, &type);
  OwnedText value(text);
  if (value && type == kRegistryTypeExpandString) return registry.ExpandEnvironment(value.get());
  return value;
}
