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
#include <msi.h>

#include <cstdio>
#include <cwchar>

#include "installer/install_operations.h"
#include "platform/win32/win32_installer_service.h"
#include "product_identity.h"

namespace {

// What the installer passes too: no restart, whatever the package asks.
constexpr wchar_t kCommandLine[] = L"REBOOT=ReallySuppress";

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Answers as the installer does where it shows nothing: handled, except
// what only the service can resolve.
INT WINAPI DoNothingHandler(LPVOID, UINT messageType, LPCWSTR) {
  switch (messageType & 0xFF000000) {
    case INSTALLMESSAGE_FATALEXIT:
    case INSTALLMESSAGE_ERROR:
    case INSTALLMESSAGE_WARNING:
    case INSTALLMESSAGE_RESOLVESOURCE:
      return 0;
    default:
      return 1;
  }
}


// Each call gets a log of its own, as the installer's calls do.
template <typename Call>
UINT Asked(bool asked, Call call) {
  wchar_t log[MAX_PATH + 1] = L"";
  wchar_t folder[MAX_PATH + 1];
  if (asked && GetTempPathW(MAX_PATH + 1, folder) != 0 && GetTempFileNameW(folder, L"flr", 0, log) != 0) {
    MsiEnableLogW(kVerboseLogMode, log, INSTALLLOGATTRIBUTES_FLUSHEACHLINE);
  }
  const UINT result = call();
  if (log[0] != L'\0') {
    MsiEnableLogW(0, nullptr, 0);
    DeleteFileW(log);
  }
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool upgrade = argc >= 3 && std::wcscmp(argv[1], L"upgrade") == 0;
  const bool asked = argc == 4 && std::wcscmp(argv[3], L"asked") == 0;
  if (argc < 3 || argc > 4 || (argc == 4 && !asked) || (!upgrade && std::wcscmp(argv[1], L"install") != 0)) {
    std::printf("usage: install_floor install|upgrade <package> [asked]\n");
    return 2;
  }
  if (asked) {
    MsiSetInternalUI(static_cast<INSTALLUILEVEL>(INSTALLUILEVEL_NONE | INSTALLUILEVEL_SOURCERESONLY), nullptr);
    MsiSetExternalUIW(DoNothingHandler, kHandlerMessageFilter, nullptr);
  } else {
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  }
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  if (upgrade) {
    const UINT removed = Asked(asked, [] {
      return MsiConfigureProductExW(L"" PRODUCT_CODE_TEXT, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT,
                                    kCommandLine);
    });
    if (removed != ERROR_SUCCESS) {
      std::printf("removal failed: %u\n", removed);
      return 1;
    }
  }
  const UINT installed = Asked(asked, [&] { return MsiInstallProductW(argv[2], kCommandLine); });
  QueryPerformanceCounter(&end);
  if (installed != ERROR_SUCCESS) {
    std::printf("install failed: %u\n", installed);
    return 1;
  }
  std::printf("figure %s %.1f\n", upgrade ? "upgrade" : "install", Milliseconds(start, end));
  return 0;
}
