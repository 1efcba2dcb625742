// The bytes of one of the executable's own resources, read in place from
// its mapped image: the package and the terms document are never copied.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct ResourceBytes {
  const std::uint8_t* bytes = nullptr;  // null when the executable carries none
  std::size_t size = 0;
};

inline ResourceBytes LoadResourceBytes(HMODULE module, int id, const wchar_t* type) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (resource == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, resource);
  const void* address = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (address == nullptr) return {};
  return {static_cast<const std::uint8_t*>(address), SizeofResource(module, resource)};
}
