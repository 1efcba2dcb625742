// The package-file seam over kernel32 and advapi32: the user's temp folder,
// the system's random numbers, the process token, real files and folders,
// and the package of the running executable: its resource (type "MSI"), or
// the bytes attached after its image, read from its own file.
#pragma once

#include "installer/package_file_seam.h"
#include "res/resource.h"

// Opens the size bytes at offset of the file path as a package for
// ReadPackage and ClosePackage of Win32PackageFile, once they are known to
// lie within the file and before its certificate table; false with
// ERROR_HANDLE_EOF when they do not (a cut download).
bool OpenAttachedPackage(const wchar_t* path, std::uint64_t offset, std::uint64_t size, PackageFileHandle* package);

class Win32PackageFile final : public PackageFileSeam {
 public:
  constexpr explicit Win32PackageFile(int resourceId = IDR_PACKAGE_MSI) : m_resourceId(resourceId) {}

  std::uint32_t TempFolder(std::uint32_t capacity, char16_t* buffer) override;
  bool RandomBytes(std::uint8_t* bytes, std::size_t size) override;
  bool IsElevated() override;
  bool CreateFolder(const char16_t* path, bool adminsOnly) override;
  bool CreateNewFile(const char16_t* path, bool adminsOnly, PackageFileHandle* file) override;
  std::size_t Write(PackageFileHandle file, const std::uint8_t* bytes, std::size_t size) override;
  bool OpenForReading(const char16_t* path, bool allowWriters, PackageFileHandle* file) override;
  bool Close(PackageFileHandle file) override;
  bool RemoveFile(const char16_t* path) override;
  bool RemoveFolder(const char16_t* path) override;
  void Pause(std::uint32_t milliseconds) override;
  bool IsFile(const char16_t* path) override;
  bool IsFolder(const char16_t* path) override;
  bool MoveReplacing(const char16_t* from, const char16_t* to) override;
  std::uint32_t LastError() override;
  bool OpenPackage(PackageFileHandle* package, std::uint64_t* size) override;
  bool ReadPackage(PackageFileHandle package, const std::uint8_t** bytes, std::size_t* size) override;
  void ClosePackage(PackageFileHandle package) override;

 private:
  int m_resourceId;
};
