// Replaces the package resource (type "MSI", id 146, language 0x0409) of a
// copy of the installer with a test package, so that the real executable
// runs that package. Usage: swap_package <installer.exe> <package.msi>
// The executable must carry no signature (strip it first, sign after).
#include <windows.h>

#include <cstdio>
#include <vector>

#include "res/resource.h"

namespace {
constexpr WORD kPackageLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 0x0409

bool ReadWholeFile(const wchar_t* path, std::vector<char>* bytes) {
  FILE* file = _wfopen(path, L"rb");
  if (file == nullptr) return false;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->insert(bytes->end(), chunk, chunk + got);
  std::fclose(file);
  return !bytes->empty();
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: swap_package <installer.exe> <package.msi>\n");
    return 2;
  }
  std::vector<char> package;
  if (!ReadWholeFile(argv[2], &package)) {
    std::fprintf(stderr, "swap_package: cannot read the package\n");
    return 1;
  }
  HANDLE update = BeginUpdateResourceW(argv[1], FALSE);
  if (update == nullptr) {
    std::fprintf(stderr, "swap_package: cannot open the executable (error %lu)\n", GetLastError());
    return 1;
  }
  const BOOL put = UpdateResourceW(update, L"" RESOURCE_TYPE_MSI, MAKEINTRESOURCEW(IDR_PACKAGE_MSI), kPackageLanguage,
                                   package.data(), static_cast<DWORD>(package.size()));
  if (!EndUpdateResourceW(update, !put) || !put) {
    std::fprintf(stderr, "swap_package: cannot update the resource (error %lu)\n", GetLastError());
    return 1;
  }
  return 0;
}
