// Replaces the package of a copy of the installer with a test package, so
// that the real executable runs that package, in the form the build would
// pick for its size: the resource (type "MSI", id 146, language 0x0409) up
// to the resource limit, else attached after the image with its place in
// the IDR_PACKAGE_PLACE record (res/package_place.h). A package the copy
// had attached before goes.
// Usage: swap_package [--attached|--resource] <installer.exe> <package.msi>
//   --attached   the attached form whatever the size
//   --resource   the resource form whatever the size (to find its limits)
// The executable must carry no signature (strip it first, sign after).
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

#include "res/package_place.h"
#include "res/resource.h"

#ifndef SWAP_RESOURCE_LIMIT_MIB
#define SWAP_RESOURCE_LIMIT_MIB 16
#endif

namespace {
constexpr WORD kPackageLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 0x0409
constexpr DWORD kPiece = 1u << 20;

int Fail(const char* what) {
  std::fprintf(stderr, "swap_package: %s (error %lu)\n", what, GetLastError());
  return 1;
}

// A file handle closed on every path.
struct File {
  HANDLE handle;
  explicit File(HANDLE h) : handle(h) {}
  ~File() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  bool Open() const { return handle != INVALID_HANDLE_VALUE; }
};

bool ReadAt(HANDLE file, std::uint64_t offset, void* bytes, DWORD size) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  DWORD got = 0;
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, bytes, size, &got, nullptr) &&
         got == size;
}

// The file's bytes up to the end of its last section: where the record is.
bool ReadImage(HANDLE file, std::vector<char>* image) {
  IMAGE_DOS_HEADER dos;
  IMAGE_NT_HEADERS32 nt;
  if (!ReadAt(file, 0, &dos, sizeof dos) || !ReadAt(file, dos.e_lfanew, &nt, sizeof nt)) return false;
  const std::uint64_t sections = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                                 nt.FileHeader.SizeOfOptionalHeader;
  std::uint64_t end = 0;
  for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER section;
    if (!ReadAt(file, sections + i * sizeof section, &section, sizeof section)) return false;
    const std::uint64_t last = std::uint64_t{section.PointerToRawData} + section.SizeOfRawData;
    if (last > end) end = last;
  }
  image->resize(static_cast<std::size_t>(end));
  return ReadAt(file, 0, image->data(), static_cast<DWORD>(end));
}

// Where the record with these first bytes lies in image, or -1 unless
// exactly one does.
long long FindRecord(const std::vector<char>& image, const void* start, std::size_t length) {
  long long found = -1;
  for (std::size_t at = 0; at + sizeof(PackagePlace) <= image.size(); ++at) {
    if (std::memcmp(image.data() + at, start, length) != 0) continue;
    if (found >= 0) return -1;
    found = static_cast<long long>(at);
  }
  return found;
}

PackagePlace Placeholder() {
  PackagePlace place = {};
  std::memcpy(place.magic, kPackagePlaceMagic, sizeof place.magic);
  place.version = kPackagePlaceVersion;
  return place;
}

// Cuts off a package attached before, so that its bytes do not stay behind.
bool DropAttached(const wchar_t* exe) {
  File file(CreateFileW(exe, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  std::vector<char> image;
  if (!file.Open() || !ReadImage(file.handle, &image)) return false;
  const PackagePlace placeholder = Placeholder();
  const long long at = FindRecord(image, &placeholder, offsetof(PackagePlace, offset));
  if (at < 0) return true;
  PackagePlace place;
  std::memcpy(&place, image.data() + at, sizeof place);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.handle, &size)) return false;
  if (place.size == 0 || place.offset < image.size() || place.offset > static_cast<std::uint64_t>(size.QuadPart)) {
    return true;
  }
  LARGE_INTEGER cut;
  cut.QuadPart = static_cast<LONGLONG>(place.offset);
  return SetFilePointerEx(file.handle, cut, nullptr, FILE_BEGIN) && SetEndOfFile(file.handle);
}

// Puts the resource form's package, or the attached form's placeholder, in.
// Wine's UpdateResourceW deletes nothing, and the installer reads a place
// that names a package before a package resource: the resource form leaves
// a placeholder (no package) in the place, and the attached form's package
// resource is deleted where that works and unread where it does not.
bool UpdateResources(const wchar_t* exe, bool attached, const std::vector<char>& package) {
  HANDLE update = BeginUpdateResourceW(exe, FALSE);
  if (update == nullptr) return false;
  PackagePlace placeholder = Placeholder();
  BOOL done = UpdateResourceW(update, L"" RESOURCE_TYPE_MSI, MAKEINTRESOURCEW(IDR_PACKAGE_PLACE), kPackageLanguage,
                              &placeholder, sizeof placeholder);
  if (done && attached) {
    UpdateResourceW(update, L"" RESOURCE_TYPE_MSI, MAKEINTRESOURCEW(IDR_PACKAGE_MSI), kPackageLanguage, nullptr, 0);
  } else if (done) {
    done = UpdateResourceW(update, L"" RESOURCE_TYPE_MSI, MAKEINTRESOURCEW(IDR_PACKAGE_MSI), kPackageLanguage,
                           const_cast<char*>(package.data()), static_cast<DWORD>(package.size()));
  }
  return EndUpdateResourceW(update, !done) && done;
}

// Appends the package, 8-byte aligned, and writes its place into the
// placeholder.
int Attach(const wchar_t* exe, const wchar_t* packagePath) {
  File file(CreateFileW(exe, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  File package(CreateFileW(packagePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::vector<char> image;
  LARGE_INTEGER end, packageSize;
  if (!file.Open() || !package.Open() || !ReadImage(file.handle, &image) || !GetFileSizeEx(file.handle, &end) ||
      !GetFileSizeEx(package.handle, &packageSize)) {
    return Fail("cannot read the executable or the package");
  }
  const PackagePlace placeholder = Placeholder();
  const long long at = FindRecord(image, &placeholder, sizeof placeholder);
  if (at < 0) return Fail("the executable has no single placeholder of the package's place");
  PackagePlace place = placeholder;
  place.offset = (static_cast<std::uint64_t>(end.QuadPart) + kPackagePlaceAlignment - 1) / kPackagePlaceAlignment *
                 kPackagePlaceAlignment;
  place.size = static_cast<std::uint64_t>(packageSize.QuadPart);
  std::vector<char> piece(kPiece);
  DWORD done = 0;
  LARGE_INTEGER seek = end;
  if (!SetFilePointerEx(file.handle, seek, nullptr, FILE_BEGIN) ||
      !WriteFile(file.handle, piece.data(), static_cast<DWORD>(place.offset - end.QuadPart), &done, nullptr)) {
    return Fail("cannot write the executable");
  }
  for (std::uint64_t copied = 0; copied < place.size;) {
    DWORD got = 0;
    if (!ReadFile(package.handle, piece.data(), kPiece, &got, nullptr) || got == 0 ||
        !WriteFile(file.handle, piece.data(), got, &done, nullptr) || done != got) {
      return Fail("cannot copy the package");
    }
    copied += got;
  }
  seek.QuadPart = at;
  if (!SetFilePointerEx(file.handle, seek, nullptr, FILE_BEGIN) ||
      !WriteFile(file.handle, &place, sizeof place, &done, nullptr) || done != sizeof place) {
    return Fail("cannot write the package's place");
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool forceAttached = argc == 4 && std::wcscmp(argv[1], L"--attached") == 0;
  const bool forceResource = argc == 4 && std::wcscmp(argv[1], L"--resource") == 0;
  if (argc != 3 && !forceAttached && !forceResource) {
    std::fprintf(stderr, "usage: swap_package [--attached|--resource] <installer.exe> <package.msi>\n");
    return 2;
  }
  const wchar_t* exe = argv[argc - 2];
  const wchar_t* packagePath = argv[argc - 1];
  WIN32_FILE_ATTRIBUTE_DATA about;
  if (!GetFileAttributesExW(packagePath, GetFileExInfoStandard, &about)) return Fail("cannot read the package");
  const std::uint64_t size = (std::uint64_t{about.nFileSizeHigh} << 32) | about.nFileSizeLow;
  const bool attached =
      forceAttached || (!forceResource && size > (std::uint64_t{SWAP_RESOURCE_LIMIT_MIB} << 20));
  if (!DropAttached(exe)) return Fail("cannot open the executable");
  std::vector<char> package;
  if (!attached) {
    File file(CreateFileW(packagePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    package.resize(static_cast<std::size_t>(size));
    if (!file.Open() || size == 0 || !ReadAt(file.handle, 0, package.data(), static_cast<DWORD>(size))) {
      return Fail("cannot read the package");
    }
  }
  if (!UpdateResources(exe, attached, package)) return Fail("cannot update the resources");
  const int rc = attached ? Attach(exe, packagePath) : 0;
  if (rc == 0) std::printf("swap_package: %s form, %llu bytes\n", attached ? "attached" : "resource",
                           static_cast<unsigned long long>(size));
  return rc;
}
