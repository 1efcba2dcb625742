// What package extraction needs from the platform: the temp folder, unique
// temp names, exclusive file creation, writing, deletion, and the bytes of
// the package the executable carries. The product wires the Win32 side;
// unit tests wire an in-memory fake.
#pragma once

#include <cstddef>
#include <cstdint>

using PackageFileHandle = void*;  // an open file, or null

class PackageFileSeam {
 public:
  virtual ~PackageFileSeam() = default;

  // The temp folder, ending in a backslash, into buffer (capacity units):
  // its length without the terminator when it fits, the units it needs
  // (terminator included) when it does not, 0 on failure (GetTempPathW).
  virtual std::uint32_t TempFolder(std::uint32_t capacity, char16_t* buffer) = 0;

  // Creates an empty file with a unique name in folder, made of the first
  // three characters of prefix, a hexadecimal number and ".tmp", and writes
  // its full name into name (260 units); 0 on failure (GetTempFileNameW
  // with unique number 0).
  virtual std::uint32_t CreateTempName(const char16_t* folder, const char16_t* prefix,
                                       char16_t* name) = 0;

  // Creates path as a new file open for writing; fails, touching nothing,
  // when anything of that name exists already.
  virtual bool CreateNewFile(const char16_t* path, PackageFileHandle* file) = 0;

  // Writes size bytes and returns how many were written.
  virtual std::size_t Write(PackageFileHandle file, const std::uint8_t* bytes,
                            std::size_t size) = 0;

  // Closes file; false when what was written may not have reached it.
  virtual bool Close(PackageFileHandle file) = 0;

  // DeleteFileW; the result is not examined.
  virtual void RemoveFile(const char16_t* path) = 0;

  // The Windows error of the last call that failed (GetLastError).
  virtual std::uint32_t LastError() = 0;

  // Address and size of the package resource of the running executable;
  // false when it carries none.
  virtual bool PackageBytes(const std::uint8_t** bytes, std::size_t* size) = 0;
};
