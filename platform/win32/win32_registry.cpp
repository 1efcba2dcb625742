#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <cstdlib>

#include "core/wide.h"

long Win32Registry::OpenKey(const char16_t* subkey, std::uint32_t accessMask, RegistryKey* key) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, AsWide(subkey), 0, accessMask, &opened);
  if (status == ERROR_SUCCESS) *key = opened;
  return status;
}

long Win32Registry::QueryValue(RegistryKey key, const char16_t* valueName, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* byteCount) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  DWORD valueType = *type;
  DWORD size = *byteCount;
  const LONG status = RegQueryValueExW(static_cast<HKEY>(key), AsWide(valueName), nullptr,
                                       &valueType, data, &size);
  *type = valueType;
  *byteCount = size;
  return status;
}

void Win32Registry::CloseKey(RegistryKey key) {
  if (key != nullptr) RegCloseKey(static_cast<HKEY>(key));
}

OwnedText Win32Registry::DuplicateEnvironment(const char16_t* name, std::size_t* size) {
  *size = 0;
  // The value may change between the two calls; ask again until it fits.
  DWORD capacity = GetEnvironmentVariableW(AsWide(name), nullptr, 0);
  while (capacity != 0) {
    OwnedText copy(static_cast<char16_t*>(std::malloc(capacity * sizeof(char16_t))));
    if (!copy) return nullptr;
    SetLastError(ERROR_SUCCESS);
    const DWORD written = GetEnvironmentVariableW(AsWide(name), AsWide(copy.get()), capacity);
    if (written < capacity) {
      if (written == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return nullptr;
      copy[written] = 0;
      *size = written + 1;
      return copy;
    }
    capacity = written;
  }
  return nullptr;
}

OwnedText Win32Registry::ExpandEnvironment(const char16_t* text) {
  // The variables may change between the two calls; ask again until it fits.
  DWORD capacity = ExpandEnvironmentStringsW(AsWide(text), nullptr, 0);
  while (capacity != 0) {
    OwnedText expanded(static_cast<char16_t*>(std::malloc(capacity * sizeof(char16_t))));
    if (!expanded) return nullptr;
    const DWORD needed = ExpandEnvironmentStringsW(AsWide(text), AsWide(expanded.get()), capacity);
    if (needed == 0) return nullptr;
    if (needed <= capacity) return expanded;
    capacity = needed;
  }
  return nullptr;
}
