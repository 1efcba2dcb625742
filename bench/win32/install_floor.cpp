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
// Usage: install_floor install <package> [asked]
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool upgrade = argc >= 3 && std::wcscmp(argv[1], L"upgrade") == 0;
  const bool asked = argc == 4 && std::wcscmp(argv[3], L"asked") == 0;
  if (argc < 3 || argc > 4 || (argc == 4 && !asked) || (!upgrade && std::wcscmp(argv[1], L"install") != 0)) {
    std::printf("usage: install_floor install|upgrade <package> [asked]\n");
    return 2;
  }
  service_calls::SetUi(asked);
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  const UINT result = service_calls::InstallOrUpgrade(upgrade, argv[2], asked);
  QueryPerformanceCounter(&end);
  if (result != ERROR_SUCCESS) {
    std::printf("%s failed: %u\n", upgrade ? "upgrade" : "install", result);
    return 1;
  }
  std::printf("figure %s %.1f\n", upgrade ? "upgrade" : "install", Milliseconds(start, end));
  return 0;
}
