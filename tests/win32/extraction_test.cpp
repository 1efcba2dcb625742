// Package extraction against real temp folders and the package resource of
// this executable.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "installer/package_extraction.h"
#include "installer_test_support.h"
#include "core/wide.h"
#include "platform/win32/win32_package_file.h"

namespace {

std::vector<std::uint8_t> FileBytes(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Points TMP (which GetTempPathW reads first) elsewhere for one test.
class TempVariable {
 public:
  explicit TempVariable(const std::wstring& folder) {
    m_saved.resize(MAX_PATH);
    m_saved.resize(GetEnvironmentVariableW(L"TMP", m_saved.data(), MAX_PATH));
    SetEnvironmentVariableW(L"TMP", folder.c_str());
  }
  ~TempVariable() { SetEnvironmentVariableW(L"TMP", m_saved.empty() ? nullptr : m_saved.c_str()); }

 private:
  std::wstring m_saved;
};

// Plants a file under the package's name as soon as the temp name exists,
// as another process watching the temp folder could.
class PlantingFiles final : public PackageFileSeam {
 public:
  std::wstring planted;
  std::uint32_t TempFolder(std::uint32_t c, char16_t* b) override { return m_real.TempFolder(c, b); }
  std::uint32_t CreateTempName(const char16_t* folder, const char16_t* prefix,
                               char16_t* name) override {
    const std::uint32_t unique = m_real.CreateTempName(folder, prefix, name);
    planted = std::wstring(AsWide(name)) + L".msi";
    std::ofstream(planted.c_str(), std::ios::binary) << "planted";
    return unique;
  }
  bool CreateNewFile(const char16_t* p, PackageFileHandle* f) override { return m_real.CreateNewFile(p, f); }
  std::size_t Write(PackageFileHandle f, const std::uint8_t* b, std::size_t s) override {
    return m_real.Write(f, b, s);
  }
  bool Close(PackageFileHandle f) override { return m_real.Close(f); }
  void RemoveFile(const char16_t* p) override { m_real.RemoveFile(p); }
  std::uint32_t LastError() override { return m_real.LastError(); }
  bool PackageBytes(const std::uint8_t** b, std::size_t* s) override { return m_real.PackageBytes(b, s); }

 private:
  Win32PackageFile m_real;
};

TEST(Win32Extraction, WritesTheResourceByteForByteAndLeavesItForTheCaller) {
  Win32PackageFile files;
  const std::uint8_t* resource = nullptr;
  std::size_t size = 0;
  ASSERT_TRUE(files.PackageBytes(&resource, &size));
  ASSERT_GT(size, 1000u);

  const std::vector<std::wstring> before = TempNamesIn(TempFolder());
  char16_t path[kPathCapacity] = {};
  ASSERT_TRUE(ExtractPackage(files, path).Succeeded());
  const std::wstring package = AsWide(path);
  EXPECT_EQ(package.rfind(TempFolder() + L"Kel", 0), 0u) << package;
  ASSERT_EQ(package.substr(package.size() - 8), L".tmp.msi");
  EXPECT_FALSE(Exists(package.substr(0, package.size() - 4)));
  EXPECT_EQ(FileBytes(package), std::vector<std::uint8_t>(resource, resource + size));
  EXPECT_EQ(TempNamesIn(TempFolder()).size(), before.size() + 1);
  DeleteFileW(package.c_str());
}

TEST(Win32Extraction, AMissingTempFolderGivesFalseAndCreatesNothing) {
  const TempVariable tmp(L"C:\\kelvane-missing-temp");
  Win32PackageFile files;
  char16_t path[kPathCapacity] = u"untouched";
  EXPECT_FALSE(ExtractPackage(files, path).Succeeded());
  EXPECT_EQ(std::u16string(path), u"untouched");
  EXPECT_FALSE(Exists(L"C:\\kelvane-missing-temp"));
}

TEST(Win32Extraction, APlantedFileIsNotWrittenThrough) {
  PlantingFiles files;
  char16_t path[kPathCapacity] = {};
  EXPECT_FALSE(ExtractPackage(files, path).Succeeded());
  ASSERT_FALSE(files.planted.empty());
  const std::vector<std::uint8_t> planted = FileBytes(files.planted);
  EXPECT_EQ(std::string(planted.begin(), planted.end()), "planted");
  EXPECT_FALSE(Exists(files.planted.substr(0, files.planted.size() - 4)));
  DeleteFileW(files.planted.c_str());
}

TEST(Win32Extraction, TempFoldersTooLongForThePackageNameLeaveNoFile) {
  // Folders of 246 units (the temp name fits, with ".msi" it does not) and
  // 247 (no room for a temp name; the platform would not check). The temp
  // name's number has one to four hexadecimal digits, so 245 units would
  // leave room for ".msi" whenever it has three.
  const std::wstring root = L"C:\\kelvane-long-temp";
  for (const std::size_t length : {246u, 247u}) {
    SCOPED_TRACE(length);
    const std::wstring folder = root + L"\\" + std::wstring(length - root.size() - 2, L'd') + L"\\";
    ASSERT_EQ(folder.size(), length);
    CreateDirectoryW(root.c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    {
      const TempVariable tmp(folder);
      ASSERT_EQ(TempFolder(), folder);
      Win32PackageFile files;
      char16_t path[kPathCapacity] = {};
      EXPECT_FALSE(ExtractPackage(files, path).Succeeded());
      EXPECT_EQ(TempNamesIn(folder), std::vector<std::wstring>{});
    }
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(root.c_str());
  }
}

}  // namespace
