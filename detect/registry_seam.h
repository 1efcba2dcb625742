// What registry access needs from the platform: the three registry
// operations below HKEY_LOCAL_MACHINE, the environment lookup and expansion. The
// product wires the Win32 side; unit tests wire a recording fake.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text.h"

using RegistryKey = void*;  // an open key, or null

inline constexpr long kRegistrySuccess = 0;    // ERROR_SUCCESS
inline constexpr long kRegistryMoreData = 234;  // ERROR_MORE_DATA
inline constexpr std::uint32_t kRegistryTypeString = 1;        // REG_SZ
inline constexpr std::uint32_t kRegistryTypeExpandString = 2;  // REG_EXPAND_SZ

class RegistrySeam {
 public:
  virtual ~RegistrySeam() = default;

  // Opens subkey below HKEY_LOCAL_MACHINE with options 0 and the access
  // mask; on failure *key stays null.
  virtual long OpenKey(const char16_t* subkey, std::uint32_t accessMask, RegistryKey* key) = 0;

  // Reads a value into data: kRegistrySuccess when it fits into *byteCount,
  // kRegistryMoreData when it exists and does not fit, any other code when
  // the key is null, the value missing or access refused.
  virtual long QueryValue(RegistryKey key, const char16_t* valueName, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* byteCount) = 0;

  // Closes key; a null key is harmless.
  virtual void CloseKey(RegistryKey key) = 0;

  // A heap copy of an environment variable (null when it is not set, or
  // when memory is short) and its size in units with the terminator
  // (0 when not set).
  virtual OwnedText DuplicateEnvironment(const char16_t* name, std::size_t* size) = 0;

  // text with every %NAME% of a set variable replaced by its value, as a
  // new heap text; null when memory is short (ExpandEnvironmentStringsW).
  virtual OwnedText ExpandEnvironment(const char16_t* text) = 0;
};
