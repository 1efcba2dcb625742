// Package extraction against real temp folders and the package resource of
// this executable.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/wide.h"
#include "installer/package_extraction.h"
#include "installer_test_support.h"
#include "platform/win32/win32_package_file.h"
#include "res/resource_bytes.h"

namespace {

std::vector<std::uint8_t> FileBytes(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The error of opening path with access and share, or 0 when it opens.
DWORD OpenError(const std::wstring& path, DWORD access, DWORD share) {
  HANDLE file = CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(file);
  return 0;
}

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

// The real files with the same "random" name every time, as if every name
// tried were taken.
class SameNameFiles final : public PackageFileSeam {
 public:
  std::uint32_t TempFolder(std::uint32_t c, char16_t* b) override { return m_real.TempFolder(c, b); }
  bool RandomBytes(std::uint8_t* bytes, std::size_t size) override {
    for (std::size_t i = 0; i < size; ++i) bytes[i] = 0xAB;
    return true;
  }
  bool IsElevated() override { return m_real.IsElevated(); }
  bool CreateFolder(const char16_t* p, bool a) override { return m_real.CreateFolder(p, a); }
  bool CreateNewFile(const char16_t* p, bool a, PackageFileHandle* f) override {
    return m_real.CreateNewFile(p, a, f);
  }
  std::size_t Write(PackageFileHandle f, const std::uint8_t* b, std::size_t s) override {
    return m_real.Write(f, b, s);
  }
  bool OpenForReading(const char16_t* p, bool w, PackageFileHandle* f) override {
    return m_real.OpenForReading(p, w, f);
  }
  bool Close(PackageFileHandle f) override { return m_real.Close(f); }
  bool RemoveFile(const char16_t* p) override { return m_real.RemoveFile(p); }
  bool RemoveFolder(const char16_t* p) override { return m_real.RemoveFolder(p); }
  void Pause(std::uint32_t ms) override { m_real.Pause(ms); }
  bool IsFile(const char16_t* p) override { return m_real.IsFile(p); }
  bool IsFolder(const char16_t* p) override { return m_real.IsFolder(p); }
  bool MoveReplacing(const char16_t* from, const char16_t* to) override { return m_real.MoveReplacing(from, to); }
  std::uint32_t LastError() override { return m_real.LastError(); }
  bool OpenPackage(PackageFileHandle* p, std::uint64_t* s) override { return m_real.OpenPackage(p, s); }
  bool ReadPackage(PackageFileHandle p, const std::uint8_t** b, std::size_t* s) override {
    return m_real.ReadPackage(p, b, s);
  }
  void ClosePackage(PackageFileHandle p) override { m_real.ClosePackage(p); }

 private:
  Win32PackageFile m_real;
};

// The package resource of this executable, as the loader mapped it.
std::vector<std::uint8_t> PackageResource() {
  const ResourceBytes package = LoadResourceBytes(GetModuleHandleW(nullptr), IDR_PACKAGE_MSI, L"" RESOURCE_TYPE_MSI);
  return std::vector<std::uint8_t>(package.bytes, package.bytes + package.size);
}

TEST(Win32Extraction, WritesTheResourceIntoAFolderOfItsOwnAndHoldsItAgainstChange) {
  Win32PackageFile files;
  const std::vector<std::uint8_t> resource = PackageResource();
  ASSERT_GT(resource.size(), 1000u);

  const std::vector<std::wstring> before = TempNamesIn(TempFolder());
  ExtractedPackage package(files);
  ASSERT_TRUE(package.Extract().Succeeded());
  const std::wstring path = AsWide(package.Path());
  const std::wstring folder = path.substr(0, path.rfind(L'\\'));
  EXPECT_EQ(folder.rfind(TempFolder() + L"Kel", 0), 0u) << path;
  EXPECT_EQ(folder.size(), TempFolder().size() + 19) << path;
  EXPECT_EQ(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD{FILE_ATTRIBUTE_DIRECTORY});
  EXPECT_EQ(TempNamesIn(TempFolder()).size(), before.size() + 1);

  // Readable as the service opens it; nobody can write, delete or rename it.
  EXPECT_EQ(OpenError(path, GENERIC_READ, FILE_SHARE_READ), 0u);
  EXPECT_EQ(FileBytes(path), resource);
  EXPECT_EQ(OpenError(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE),
            DWORD{ERROR_SHARING_VIOLATION});
  EXPECT_FALSE(DeleteFileW(path.c_str()));
  EXPECT_FALSE(MoveFileW(path.c_str(), (folder + L"\\moved.msi").c_str()));
  EXPECT_TRUE(Exists(path));

  EXPECT_TRUE(package.Release().Succeeded());
  EXPECT_FALSE(Exists(folder));
  EXPECT_EQ(TempNamesIn(TempFolder()), before);
}

// /extract: folders made as needed, an older copy replaced, the bytes the
// executable carries.
TEST(Win32Extraction, ThePackageIsWrittenToAFolderOfTheAdministrators) {
  Win32PackageFile files;
  const std::vector<std::uint8_t> resource = PackageResource();
  const std::wstring top = TempFolder() + L"KelExtract";
  const std::wstring folder = top + L"\\Deploy Share";
  const std::wstring file = folder + L"\\Zephra.msi";
  for (int round = 0; round < 2; ++round) {
    char16_t written[kPathCapacity];
    ASSERT_TRUE(WritePackageTo(files, AsUtf16(folder.c_str()), u"Zephra.msi", written).Succeeded());
    EXPECT_EQ(std::wstring(AsWide(written)), file);
    EXPECT_EQ(FileBytes(file), resource);
  }
  EXPECT_TRUE(DeleteFileW(file.c_str()));
  EXPECT_TRUE(RemoveDirectoryW(folder.c_str()));
  EXPECT_TRUE(RemoveDirectoryW(top.c_str()));
}

TEST(Win32Extraction, ATakenNameIsNeverUsed) {
  SameNameFiles files;
  const std::wstring taken = TempFolder() + L"KelABABABABABABABAB";
  ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));
  ExtractedPackage package(files);
  const OperationResult result = package.Extract();
  EXPECT_EQ(result.failedStep, OperationStep::WorkFolder);
  EXPECT_EQ(result.Code(), DWORD{ERROR_ALREADY_EXISTS});
  EXPECT_FALSE(Exists(taken + L"\\package.msi"));
  EXPECT_TRUE(RemoveDirectoryW(taken.c_str()));
}

TEST(Win32Extraction, AMissingTempFolderFailsAndCreatesNothing) {
  const TempVariable tmp(L"C:\\kelvane-missing-temp");
  Win32PackageFile files;
  ExtractedPackage package(files);
  const OperationResult result = package.Extract();
  EXPECT_EQ(result.failedStep, OperationStep::WorkFolder);
  EXPECT_EQ(result.Code(), DWORD{ERROR_PATH_NOT_FOUND});
  EXPECT_FALSE(Exists(L"C:\\kelvane-missing-temp"));
}

TEST(Win32Extraction, TheLongestTempFolderThatFitsWorksAndOneMoreLeavesNothing) {
  const std::wstring root = L"C:\\kelvane-long-temp";
  for (const std::size_t length : {228u, 229u}) {
    SCOPED_TRACE(length);
    const std::wstring folder = root + L"\\" + std::wstring(length - root.size() - 2, L'd') + L"\\";
    ASSERT_EQ(folder.size(), length);
    CreateDirectoryW(root.c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    {
      const TempVariable tmp(folder);
      ASSERT_EQ(TempFolder(), folder);
      Win32PackageFile files;
      ExtractedPackage package(files);
      const OperationResult result = package.Extract();
      EXPECT_EQ(result.Succeeded(), length == 228u);
      if (result.Succeeded()) {
        EXPECT_EQ(TextLength(package.Path()), kPathCapacity - 1);
      }
      package.Release();
      EXPECT_EQ(TempNamesIn(folder), std::vector<std::wstring>{});
    }
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(root.c_str());
  }
}

// The attached form: bytes after a header and before what stands for the
// signature, read from the file in pieces. Reads stop at the package's end;
// a place that the file's real size (or its certificate table) cannot hold,
// as in a download cut short, is refused at the open.
TEST(Win32Extraction, AnAttachedPackageIsReadToItsEndAndACutFileIsRefused) {
  constexpr std::uint64_t kHeader = 1000, kPayload = (5u << 19) + 3, kTable = 4096;
  const struct {
    const char* name;
    bool image;              // a header with a certificate table after the package
    std::uint64_t offset, size, fileSize;
    bool opens;
  } cases[] = {
      {"the whole package, signature after it", true, kHeader, kPayload, kHeader + kPayload + kTable, true},
      {"no image, nothing after it", false, kHeader, kPayload, kHeader + kPayload, true},
      {"cut inside the signature", true, kHeader, kPayload, kHeader + kPayload + kTable - 1, false},
      {"cut inside the package", false, kHeader, kPayload, kHeader + kPayload - 1, false},
      {"a package over the signature", true, kHeader, kPayload + 8, kHeader + kPayload + kTable, false},
      {"a place far past the end", false, 1ull << 40, kPayload, kHeader + kPayload, false},
      {"a size that wraps around", false, kHeader, ~0ull - 7, kHeader + kPayload, false},
  };
  std::vector<std::uint8_t> payload(kPayload);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7 + (i >> 13));
  const std::wstring path = TempFolder() + L"KelAttached.exe";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> file(kHeader, 'h');
    if (c.image) {
      auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(file.data());
      dos->e_magic = IMAGE_DOS_SIGNATURE;
      dos->e_lfanew = sizeof *dos;
      auto* nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(file.data() + sizeof *dos);
      std::memset(nt, 0, sizeof *nt);
      nt->Signature = IMAGE_NT_SIGNATURE;
      nt->OptionalHeader.Magic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
      nt->OptionalHeader.NumberOfRvaAndSizes = IMAGE_NUMBEROF_DIRECTORY_ENTRIES;
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY] = {DWORD{kHeader + kPayload}, DWORD{kTable}};
    }
    file.insert(file.end(), payload.begin(), payload.end());
    file.resize(c.fileSize, 's');
    std::ofstream(path.c_str(), std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());

    Win32PackageFile files;
    PackageFileHandle package = nullptr;
    SetLastError(0);
    const bool opened = OpenAttachedPackage(path.c_str(), c.offset, c.size, &package);
    EXPECT_EQ(opened, c.opens);
    if (!opened) {
      EXPECT_EQ(GetLastError(), DWORD{ERROR_HANDLE_EOF});
      continue;
    }
    std::vector<std::uint8_t> read;
    int reads = 0;
    for (;;) {
      const std::uint8_t* bytes = nullptr;
      std::size_t size = 0;
      ASSERT_TRUE(files.ReadPackage(package, &bytes, &size));
      if (size == 0) break;
      EXPECT_LE(size, 1u << 20);
      read.insert(read.end(), bytes, bytes + size);
      ++reads;
    }
    files.ClosePackage(package);
    EXPECT_EQ(read, payload);
    EXPECT_EQ(reads, 3);
  }
  EXPECT_TRUE(DeleteFileW(path.c_str())) << "a package left open";
}

TEST(Win32Extraction, IsFileTellsFilesFromFolders) {
  Win32PackageFile files;
  const std::wstring folder = TempFolder() + L"KelIsFile";
  const std::wstring file = folder + L"\\file.txt";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  std::ofstream(file.c_str()) << "x";
  EXPECT_TRUE(files.IsFile(AsUtf16(file.c_str())));
  EXPECT_FALSE(files.IsFile(AsUtf16(folder.c_str())));
  EXPECT_FALSE(files.IsFile(AsUtf16((folder + L"\\missing").c_str())));
  DeleteFileW(file.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
