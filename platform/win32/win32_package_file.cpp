#include "platform/win32/win32_package_file.h"

#include <windows.h>

#include "core/wide.h"
#include "res/resource_bytes.h"

std::uint32_t Win32PackageFile::TempFolder(std::uint32_t capacity, char16_t* buffer) {
  return GetTempPathW(capacity, AsWide(buffer));
}

std::uint32_t Win32PackageFile::CreateTempName(const char16_t* folder, const char16_t* prefix,
                                               char16_t* name) {
  return GetTempFileNameW(AsWide(folder), AsWide(prefix), 0, AsWide(name));
}

bool Win32PackageFile::CreateNewFile(const char16_t* path, PackageFileHandle* file) {
  // CREATE_NEW fails on an existing name, links included, instead of
  // opening it.
  HANDLE created = CreateFileW(AsWide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return false;
  *file = created;
  return true;
}

std::size_t Win32PackageFile::Write(PackageFileHandle file, const std::uint8_t* bytes,
                                    std::size_t size) {
  DWORD written = 0;
  if (!WriteFile(static_cast<HANDLE>(file), bytes, static_cast<DWORD>(size), &written, nullptr)) {
    return 0;
  }
  return written;
}

bool Win32PackageFile::Close(PackageFileHandle file) {
  return CloseHandle(static_cast<HANDLE>(file)) != FALSE;
}

void Win32PackageFile::RemoveFile(const char16_t* path) { DeleteFileW(AsWide(path)); }

std::uint32_t Win32PackageFile::LastError() { return GetLastError(); }

bool Win32PackageFile::PackageBytes(const std::uint8_t** bytes, std::size_t* size) {
  const ResourceBytes package =
      LoadResourceBytes(GetModuleHandleW(nullptr), m_resourceId, L"" RESOURCE_TYPE_MSI);
  if (package.bytes == nullptr) return false;
  *bytes = package.bytes;
  *size = package.size;
  return true;
}
