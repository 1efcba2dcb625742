// The floor of the install and upgrade figures: the least a program does to
// install the package through the service. The package is already on disk,
// the service shows no UI and has no handler, and the program's own start is
// not counted: only the service's calls are timed. Prints
// "figure <install|upgrade> <milliseconds>", as the robot's report does.
//
// With "asked", the service is asked for what the installer asks of it: a
// handler for the same message kinds (one that does nothing) and a verbose
// log. That is a reference, not a floor: the service's part of our figure,
// so that ours minus it is what the installer itself adds.
//
// With "copy" as well, the package is first copied with one CopyFileW into
// a folder of the temp folder and installed from there, the copy timed with
// the install: the least any bootstrapper must do (write its package out
// once, then have it installed), the floor of the figures at scale.
//
// Usage: install_floor install <package> [asked [copy]]
//        install_floor upgrade <package> [asked]   (removes the installed
//                                                   version first, by the
//                                                   product code)
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "bench/win32/service_calls.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Copies package into a new folder of the temp folder; the copy's name in
// copied, empty on failure.
bool CopyToTemp(const wchar_t* package, wchar_t (&folder)[MAX_PATH], wchar_t (&copied)[MAX_PATH]) {
  wchar_t temp[MAX_PATH];
  if (GetTempPathW(MAX_PATH, temp) == 0 || GetTempFileNameW(temp, L"flr", 0, folder) == 0) return false;
  DeleteFileW(folder);
  if (!CreateDirectoryW(folder, nullptr)) return false;
  std::swprintf(copied, MAX_PATH, L"%ls\\package.msi", folder);
  return CopyFileW(package, copied, TRUE) != FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool upgrade = argc >= 3 && std::wcscmp(argv[1], L"upgrade") == 0;
  const bool asked = argc >= 4 && std::wcscmp(argv[3], L"asked") == 0;
  const bool copy = argc == 5 && !upgrade && std::wcscmp(argv[4], L"copy") == 0;
  if (argc < 3 || argc > 5 || (argc >= 4 && !asked) || (argc == 5 && !copy) ||
      (!upgrade && std::wcscmp(argv[1], L"install") != 0)) {
    std::printf("usage: install_floor install|upgrade <package> [asked [copy]]\n");
    return 2;
  }
  service_calls::SetUi(asked);
  wchar_t folder[MAX_PATH] = L"";
  wchar_t copied[MAX_PATH] = L"";
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  const wchar_t* package = argv[2];
  if (copy) {
    if (!CopyToTemp(package, folder, copied)) {
      std::printf("cannot copy the package: %lu\n", GetLastError());
      if (copied[0] != L'\0') DeleteFileW(copied);
      if (folder[0] != L'\0') RemoveDirectoryW(folder);
      return 1;
    }
    package = copied;
  }
  const UINT result = service_calls::InstallOrUpgrade(upgrade, package, asked);
  QueryPerformanceCounter(&end);
  if (copy) {
    DeleteFileW(copied);
    RemoveDirectoryW(folder);
  }
  if (result != ERROR_SUCCESS) {
    std::printf("%s failed: %u\n", upgrade ? "upgrade" : "install", result);
    return 1;
  }
  std::printf("figure %s %.1f\n", upgrade ? "upgrade" : "install", Milliseconds(start, end));
  return 0;
}
