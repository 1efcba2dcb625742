// The service's calls of a fresh install or an upgrade, made as the
// installer makes them: shared by the floors that time them directly and
// from a window.
#pragma once

#include <windows.h>
#include <msi.h>

#include "installer/install_operations.h"
#include "platform/win32/win32_installer_service.h"
#include "product_identity.h"

namespace service_calls {

// What the installer passes too: no restart, whatever the package asks.
inline constexpr wchar_t kCommandLine[] = L"REBOOT=ReallySuppress";

// Answers as the installer does where it shows nothing: handled, except
// what only the service can resolve.
inline INT WINAPI DoNothingHandler(LPVOID, UINT messageType, LPCWSTR) {
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

// Asked: the service gets the installer's handler kinds (a handler that does
// nothing); otherwise it shows nothing and has no handler.
inline void SetUi(bool asked) {
  if (asked) {
    MsiSetInternalUI(static_cast<INSTALLUILEVEL>(INSTALLUILEVEL_NONE | INSTALLUILEVEL_SOURCERESONLY), nullptr);
    MsiSetExternalUIW(DoNothingHandler, kHandlerMessageFilter, nullptr);
  } else {
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  }
}

// Each call gets a verbose log of its own when asked, as the installer's
// calls do.
template <typename Call>
UINT Logged(bool asked, Call call) {
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

// An upgrade removes the installed version first, by the product code.
// Returns the first call's failure, or ERROR_SUCCESS.
inline UINT InstallOrUpgrade(bool upgrade, const wchar_t* package, bool asked) {
  if (upgrade) {
    const UINT removed = Logged(asked, [] {
      return MsiConfigureProductExW(L"" PRODUCT_CODE_TEXT, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT,
                                    kCommandLine);
    });
    if (removed != ERROR_SUCCESS) return removed;
  }
  return Logged(asked, [&] { return MsiInstallProductW(package, kCommandLine); });
}

}  // namespace service_calls
