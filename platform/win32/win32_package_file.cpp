#include "platform/win32/win32_package_file.h"

#include <windows.h>
#include <ntsecapi.h>
#include <sddl.h>

#include <cstring>
#include <memory>
#include <new>

#include "core/wide.h"
#include "res/package_place.h"
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

// The resource form is read in place from the mapped image; the attached
// form through a buffer of its own from the executable's file, so that
// neither the address space nor the memory grows with the package.
constexpr std::size_t kResourcePiece = 8u << 20;
constexpr DWORD kFilePiece = 1u << 20;
constexpr DWORD kLongPath = 32768;

struct CarriedPackage {
  // Resource form.
  const std::uint8_t* bytes = nullptr;
  std::uint64_t size = 0;
  std::uint64_t done = 0;
  // Attached form.
  HANDLE file = INVALID_HANDLE_VALUE;
  std::unique_ptr<std::uint8_t[]> buffer;

  ~CarriedPackage() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
};

bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

// Where the file's certificate table ends, 0 when it has none; false when
// its headers cannot be read.
bool CertificateTableEnd(HANDLE file, std::uint64_t* start, std::uint64_t* end) {
  *start = *end = 0;
  IMAGE_DOS_HEADER dos = {};
  DWORD got = 0;
  LARGE_INTEGER at = {};
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, &dos, sizeof dos, &got, nullptr)) {
    return false;
  }
  if (got != sizeof dos || dos.e_magic != IMAGE_DOS_SIGNATURE) return true;  // no image: no table
  IMAGE_NT_HEADERS32 headers = {};
  at.QuadPart = dos.e_lfanew;
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, &headers, sizeof headers, &got, nullptr)) {
    return false;
  }
  if (got != sizeof headers || headers.Signature != IMAGE_NT_SIGNATURE ||
      headers.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC ||
      headers.OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_SECURITY) {
    return true;
  }
  // The one directory whose address is an offset in the file.
  const IMAGE_DATA_DIRECTORY& table = headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY];
  if (table.VirtualAddress != 0) {
    *start = table.VirtualAddress;
    *end = std::uint64_t{table.VirtualAddress} + table.Size;
  }
  return true;
}

}  // namespace

bool OpenAttachedPackage(const wchar_t* path, std::uint64_t offset, std::uint64_t size, PackageFileHandle* package) {
  std::unique_ptr<CarriedPackage> opened(new (std::nothrow) CarriedPackage);
  if (opened == nullptr) return Fail(ERROR_NOT_ENOUGH_MEMORY);
  opened->file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (opened->file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER fileSize = {};
  std::uint64_t tableStart = 0;
  std::uint64_t tableEnd = 0;
  if (!GetFileSizeEx(opened->file, &fileSize) || !CertificateTableEnd(opened->file, &tableStart, &tableEnd)) {
    return false;
  }
  const auto real = static_cast<std::uint64_t>(fileSize.QuadPart);
  // A download cut short loses the signature first, then the package.
  const bool within = offset <= real && size <= real - offset && tableEnd <= real &&
                      (tableStart == 0 || offset + size <= tableStart);
  if (!within) return Fail(ERROR_HANDLE_EOF);
  LARGE_INTEGER at = {};
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(opened->file, at, nullptr, FILE_BEGIN)) return false;
  opened->buffer.reset(new (std::nothrow) std::uint8_t[kFilePiece]);
  if (opened->buffer == nullptr) return Fail(ERROR_NOT_ENOUGH_MEMORY);
  opened->size = size;
  *package = opened.release();
  return true;
}

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

bool Win32PackageFile::OpenPackage(PackageFileHandle* package, std::uint64_t* size) {
  const HMODULE self = GetModuleHandleW(nullptr);
  // A place that names a package comes first; a placeholder names none.
  const ResourceBytes record = LoadResourceBytes(self, IDR_PACKAGE_PLACE, L"" RESOURCE_TYPE_MSI);
  PackagePlace place = {};
  if (record.bytes != nullptr && record.size == sizeof place) std::memcpy(&place, record.bytes, sizeof place);
  if (std::memcmp(place.magic, kPackagePlaceMagic, sizeof place.magic) == 0 &&
      place.version == kPackagePlaceVersion && place.size != 0) {
    if (place.offset % kPackagePlaceAlignment != 0) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
    // The executable's own file, whatever the length of its path.
    std::unique_ptr<wchar_t[]> path(new (std::nothrow) wchar_t[kLongPath]);
    if (path == nullptr) return Fail(ERROR_NOT_ENOUGH_MEMORY);
    const DWORD length = GetModuleFileNameW(nullptr, path.get(), kLongPath);
    if (length == 0 || length >= kLongPath) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
    if (!OpenAttachedPackage(path.get(), place.offset, place.size, package)) return false;
    *size = place.size;
    return true;
  }
  const ResourceBytes resource = LoadResourceBytes(self, m_resourceId, L"" RESOURCE_TYPE_MSI);
  if (resource.bytes == nullptr) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
  auto* opened = new (std::nothrow) CarriedPackage;
  if (opened == nullptr) return Fail(ERROR_NOT_ENOUGH_MEMORY);
  opened->bytes = resource.bytes;
  opened->size = resource.size;
  *package = opened;
  *size = resource.size;
  return true;
}

bool Win32PackageFile::ReadPackage(PackageFileHandle package, const std::uint8_t** bytes, std::size_t* size) {
  auto* carried = static_cast<CarriedPackage*>(package);
  const std::uint64_t left = carried->size - carried->done;
  if (carried->file == INVALID_HANDLE_VALUE) {
    *bytes = carried->bytes + carried->done;
    *size = static_cast<std::size_t>(left < kResourcePiece ? left : kResourcePiece);
    carried->done += *size;
    return true;
  }
  // Never past the package's end: the signature follows it.
  const DWORD want = static_cast<DWORD>(left < kFilePiece ? left : kFilePiece);
  DWORD got = 0;
  if (want > 0 && !ReadFile(carried->file, carried->buffer.get(), want, &got, nullptr)) return false;
  if (got != want) return Fail(ERROR_HANDLE_EOF);
  *bytes = carried->buffer.get();
  *size = got;
  carried->done += got;
  return true;
}

void Win32PackageFile::ClosePackage(PackageFileHandle package) { delete static_cast<CarriedPackage*>(package); }
