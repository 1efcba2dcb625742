// The floor of the install and upgrade figures: the least a program does to
// install the package through the service. The package is already on disk,
// the service shows no UI and has no handler, and the program's own start is
// not counted: only the service's calls are timed. Prints
// "figure <install|upgrade> <milliseconds>", as the robot's report does.
//
// Usage: install_floor install <package>
//        install_floor upgrade <package>   (removes the installed version
//                                           first, by the product code)
#include <windows.h>
#include <msi.h>

#include <cstdio>
#include <cwchar>

#include "product_identity.h"

namespace {

// What the installer passes too: no restart, whatever the package asks.
constexpr wchar_t kCommandLine[] = L"REBOOT=ReallySuppress";

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool upgrade = argc == 3 && std::wcscmp(argv[1], L"upgrade") == 0;
  if (argc != 3 || (!upgrade && std::wcscmp(argv[1], L"install") != 0)) {
    std::printf("usage: install_floor install|upgrade <package>\n");
    return 2;
  }
  MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  if (upgrade) {
    const UINT removed = MsiConfigureProductExW(L"" PRODUCT_CODE_TEXT, INSTALLLEVEL_DEFAULT,
                                                INSTALLSTATE_ABSENT, kCommandLine);
    if (removed != ERROR_SUCCESS) {
      std::printf("removal failed: %u\n", removed);
      return 1;
    }
  }
  const UINT installed = MsiInstallProductW(argv[2], kCommandLine);
  QueryPerformanceCounter(&end);
  if (installed != ERROR_SUCCESS) {
    std::printf("install failed: %u\n", installed);
    return 1;
  }
  std::printf("figure %s %.1f\n", upgrade ? "upgrade" : "install", Milliseconds(start, end));
  return 0;
}
