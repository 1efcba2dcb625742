// The registry seam over advapi32 and the process environment.
#pragma once

#include "detect/registry_seam.h"

class Win32Registry final : public RegistrySeam {
 public:
  long OpenKey(const char16_t* subkey, std::uint32_t accessMask, RegistryKey* key) override;
  long QueryValue(RegistryKey key, const char16_t* valueName, std::uint32_t* type,
                  std::uint8_t* data, std::uint32_t* byteCount) override;
  void CloseKey(RegistryKey key) override;
  OwnedText DuplicateEnvironment(const char16_t* name, std::size_t* size) override;
  OwnedText ExpandEnvironment(const char16_t* text) override;
};
