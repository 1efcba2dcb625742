#include "platform/win32/win32_package_file.h"

#include <windows.h>
#include <ntsecapi.h>
#include <sddl.h>

#include "core/wide.h"
#include "res/resource_bytes.h"

namespace {

// Full control for Administrators and SYSTEM (the service), nobody else,
// and nothing inherited from the user's temp folder: a process of the user
// that is not elevated cannot open, add or replace anything inside.
constexpr wchar_t kAdminsOnlyFolder[] = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
constexpr wchar_t kAdminsOnlyFile[] = L"D:P(A;;FA;;;BA)(A;;FA;;;SY)";

// A security descriptor from its text, freed on every path.
class Security {
 public:
  // text null: no descriptor, the default security.
  explicit Security(const wchar_t* text) {
    if (text != nullptr &&
        ConvertStringSecurityDescriptorToSecurityDescriptorW(text, SDDL_REVISION_1, &m_descriptor,
                                                             nullptr)) {
      m_attributes.lpSecurityDescriptor = m_descriptor;
    }
  }
  // Keeps the error of the call that used it for LastError().
  ~Security() {
    const DWORD error = GetLastError();
    if (m_descriptor != nullptr) LocalFree(m_descriptor);
    SetLastError(error);
  }
  Security(const Security&) = delete;
  Security& operator=(const Security&) = delete;

  SECURITY_ATTRIBUTES* get() { return m_descriptor != nullptr ? &m_attributes : nullptr; }

 private:
  PSECURITY_DESCRIPTOR m_descriptor = nullptr;
  SECURITY_ATTRIBUTES m_attributes = {sizeof m_attributes, nullptr, FALSE};
};

}  // namespace

std::uint32_t Win32PackageFile::TempFolder(std::uint32_t capacity, char16_t* buffer) {
  return GetTempPathW(capacity, AsWide(buffer));
}

bool Win32PackageFile::RandomBytes(std::uint8_t* bytes, std::size_t size) {
  return RtlGenRandom(bytes, static_cast<ULONG>(size)) != FALSE;
}

bool Win32PackageFile::IsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  const BOOL got = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
  CloseHandle(token);
  return got && elevation.TokenIsElevated != 0;
}

bool Win32PackageFile::CreateFolder(const char16_t* path, bool adminsOnly) {
  Security security(adminsOnly ? kAdminsOnlyFolder : nullptr);
  if (adminsOnly && security.get() == nullptr) return false;
  return CreateDirectoryW(AsWide(path), security.get()) != FALSE;
}

bool Win32PackageFile::CreateNewFile(const char16_t* path, bool adminsOnly, PackageFileHandle* file) {
  Security security(adminsOnly ? kAdminsOnlyFile : nullptr);
  if (adminsOnly && security.get() == nullptr) return false;
  // CREATE_NEW fails on an existing name, links included, instead of
  // opening it. Others may read it, never write, delete or rename it.
  HANDLE created = CreateFileW(AsWide(path), GENERIC_WRITE, FILE_SHARE_READ, security.get(),
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
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

bool Win32PackageFile::OpenForReading(const char16_t* path, bool allowWriters,
                                      PackageFileHandle* file) {
  const DWORD share = FILE_SHARE_READ | (allowWriters ? FILE_SHARE_WRITE : 0);
  HANDLE opened = CreateFileW(AsWide(path), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  *file = opened;
  return true;
}

bool Win32PackageFile::Close(PackageFileHandle file) {
  return CloseHandle(static_cast<HANDLE>(file)) != FALSE;
}

bool Win32PackageFile::RemoveFile(const char16_t* path) { return DeleteFileW(AsWide(path)) != FALSE; }

bool Win32PackageFile::RemoveFolder(const char16_t* path) {
  return RemoveDirectoryW(AsWide(path)) != FALSE;
}

void Win32PackageFile::Pause(std::uint32_t milliseconds) { Sleep(milliseconds); }

bool Win32PackageFile::IsFile(const char16_t* path) {
  const DWORD attributes = GetFileAttributesW(AsWide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32PackageFile::IsFolder(const char16_t* path) {
  const DWORD attributes = GetFileAttributesW(AsWide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32PackageFile::MoveReplacing(const char16_t* from, const char16_t* to) {
  return MoveFileExW(AsWide(from), AsWide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::uint32_t Win32PackageFile::LastError() { return GetLastError(); }

bool Win32PackageFile::PackageBytes(const std::uint8_t** bytes, std::size_t* size) {
  const ResourceBytes package =
      LoadResourceBytes(GetModuleHandleW(nullptr), m_resourceId, L"" RESOURCE_TYPE_MSI);
  if (package.bytes == nullptr) return false;
  *bytes = package.bytes;
  *size = package.size;
  return true;
}
