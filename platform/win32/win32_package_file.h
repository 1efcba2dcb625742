// The package-file seam over kernel32: the user's temp folder, real files,
// and the package resource (type "MSI") of the running executable.
#pragma once

#include "installer/package_file_seam.h"
#include "res/resource.h"

class Win32PackageFile final : public PackageFileSeam {
 public:
  constexpr explicit Win32PackageFile(int resourceId = IDR_PACKAGE_MSI) : m_resourceId(resourceId) {}

  std::uint32_t TempFolder(std::uint32_t capacity, char16_t* buffer) override;
  std::uint32_t CreateTempName(const char16_t* folder, const char16_t* prefix,
                               char16_t* name) override;
  bool CreateNewFile(const char16_t* path, PackageFileHandle* file) override;
  std::size_t Write(PackageFileHandle file, const std::uint8_t* bytes, std::size_t size) override;
  bool Close(PackageFileHandle file) override;
  void RemoveFile(const char16_t* path) override;
  std::uint32_t LastError() override;
  bool PackageBytes(const std::uint8_t** bytes, std::size_t* size) override;

 private:
  int m_resourceId;
};
