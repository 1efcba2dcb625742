#include "platform/win32/win32_installer_service.h"

#include <windows.h>
#include <msi.h>

#include "core/system_library.h"
#include "core/wide.h"

static_assert(kInstallMessageFatalExit == INSTALLMESSAGE_FATALEXIT &&
              kInstallMessageError == INSTALLMESSAGE_ERROR &&
              kInstallMessageWarning == INSTALLMESSAGE_WARNING &&
              kInstallMessageUser == INSTALLMESSAGE_USER &&
              kInstallMessageInfo == INSTALLMESSAGE_INFO &&
              kInstallMessageFilesInUse == INSTALLMESSAGE_FILESINUSE &&
              kInstallMessageResolveSource == INSTALLMESSAGE_RESOLVESOURCE &&
              kInstallMessageOutOfDiskSpace == INSTALLMESSAGE_OUTOFDISKSPACE &&
              kInstallMessageActionStart == INSTALLMESSAGE_ACTIONSTART &&
              kInstallMessageActionData == INSTALLMESSAGE_ACTIONDATA &&
              kInstallMessageProgress == INSTALLMESSAGE_PROGRESS &&
              kInstallMessageCommonData == INSTALLMESSAGE_COMMONDATA &&
              kInstallMessageInitialize == INSTALLMESSAGE_INITIALIZE &&
              kInstallMessageTerminate == INSTALLMESSAGE_TERMINATE &&
              kInstallMessageShowDialog == INSTALLMESSAGE_SHOWDIALOG);
static_assert(kInstallUiLevelNone == INSTALLUILEVEL_NONE &&
              kInstallUiLevelBasic == INSTALLUILEVEL_BASIC &&
              kInstallUiLevelSourceResOnly == INSTALLUILEVEL_SOURCERESONLY);
static_assert(kServiceBusy == ERROR_INSTALL_ALREADY_RUNNING);
static_assert(kInstallLevelDefault == INSTALLLEVEL_DEFAULT &&
              kInstallStateAbsent == INSTALLSTATE_ABSENT);

namespace {

// msi.dll is bound on first use, from the system folder only, rather than
// imported. It is not one of the system's known DLLs, so an import would be
// looked for beside the executable (a downloads folder) before any of our
// code could restrict the search; and the Welcome screen would wait for the
// service's client and all it loads.
struct MsiEntryPoints {
  decltype(&MsiSetInternalUI) setInternalUI = nullptr;
  decltype(&MsiSetExternalUIW) setExternalUI = nullptr;
  decltype(&MsiInstallProductW) installProduct = nullptr;
  decltype(&MsiConfigureProductExW) configureProduct = nullptr;
  decltype(&MsiEnableLogW) enableLog = nullptr;
};

INIT_ONCE g_bound = INIT_ONCE_STATIC_INIT;
MsiEntryPoints g_msi;

BOOL CALLBACK BindMsi(PINIT_ONCE, PVOID, PVOID*) {
  HMODULE msi = LoadSystemLibrary(L"msi.dll");
  if (msi == nullptr) return TRUE;
  MsiEntryPoints found;
  found.setInternalUI = FindFunction<decltype(found.setInternalUI)>(msi, "MsiSetInternalUI");
  found.setExternalUI = FindFunction<decltype(found.setExternalUI)>(msi, "MsiSetExternalUIW");
  found.installProduct = FindFunction<decltype(found.installProduct)>(msi, "MsiInstallProductW");
  found.configureProduct = FindFunction<decltype(found.configureProduct)>(msi, "MsiConfigureProductExW");
  found.enableLog = FindFunction<decltype(found.enableLog)>(msi, "MsiEnableLogW");
  // All or nothing: without the service every call fails as one.
  if (found.setInternalUI != nullptr && found.setExternalUI != nullptr &&
      found.installProduct != nullptr && found.configureProduct != nullptr &&
      found.enableLog != nullptr) {
    g_msi = found;
  }
  return TRUE;
}

// The handler's first message may arrive on one of the service's threads.
const MsiEntryPoints& Msi() {
  InitOnceExecuteOnce(&g_bound, BindMsi, nullptr, nullptr);
  return g_msi;
}

// The service gets its own fixed context text; the handler's real context
// (the operations' progress state) stays here. The service calls back on
// its own threads too, so these are written before the service is told.
constexpr wchar_t kServiceContext[] = L"INSTALL_01";
InstallUiHandler g_handler = nullptr;
void* g_handlerContext = nullptr;

INT WINAPI ExternalUiAdaptor(LPVOID, UINT messageType, LPCWSTR message) {
  return g_handler != nullptr ? g_handler(g_handlerContext, messageType, AsUtf16(message)) : 0;
}

// The service holds this mutex while it runs any installation's script. It
// says so itself (1618) on Windows; asking first also covers services that
// do not, and costs nothing. A mutex we cannot open counts as free.
bool AnotherInstallRunning() {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Global\\_MSIExecute");
  if (mutex == nullptr) return false;
  const DWORD state = WaitForSingleObject(mutex, 0);
  if (state == WAIT_OBJECT_0 || state == WAIT_ABANDONED) ReleaseMutex(mutex);
  CloseHandle(mutex);
  return state == WAIT_TIMEOUT;
}

}  // namespace

// The service's log of one call goes to a file of its own, then into the
// run's log.
template <typename Call>
unsigned int Win32InstallerService::WithServiceLog(Call call) {
  wchar_t path[MAX_PATH];
  const bool logged = m_log != nullptr && m_log->NameServiceLog(path);
  if (logged) Msi().enableLog(kVerboseLogMode, path, INSTALLLOGATTRIBUTES_FLUSHEACHLINE);
  const unsigned int code = call();
  if (logged) {
    Msi().enableLog(0, nullptr, 0);
    m_log->TakeServiceLog(path);
  }
  return code;
}

// msi.dll and what it loads take tens of milliseconds.
void Win32InstallerService::Prepare() { Msi(); }

void Win32InstallerService::SetInternalUI(unsigned int level, void* owner) {
  if (Msi().setInternalUI == nullptr) return;
  // The service answers with the previous owner in the same variable.
  HWND window = static_cast<HWND>(owner);
  Msi().setInternalUI(static_cast<INSTALLUILEVEL>(level), &window);
}

void Win32InstallerService::SetExternalUI(InstallUiHandler handler, unsigned int messageFilter,
                                          void* context) {
  g_handler = handler;
  g_handlerContext = context;
  if (Msi().setExternalUI == nullptr) return;
  Msi().setExternalUI(handler != nullptr ? ExternalUiAdaptor : nullptr, messageFilter,
                      const_cast<wchar_t*>(kServiceContext));
}

unsigned int Win32InstallerService::InstallProduct(const char16_t* packagePath,
                                                   const char16_t* commandLine) {
  if (Msi().installProduct == nullptr) return ERROR_INSTALL_SERVICE_FAILURE;
  if (AnotherInstallRunning()) return ERROR_INSTALL_ALREADY_RUNNING;
  return WithServiceLog([&] { return Msi().installProduct(AsWide(packagePath), AsWide(commandLine)); });
}

unsigned int Win32InstallerService::ConfigureProduct(const char16_t* productCode, int installLevel,
                                                     int installState, const char16_t* commandLine) {
  if (Msi().configureProduct == nullptr) return ERROR_INSTALL_SERVICE_FAILURE;
  if (AnotherInstallRunning()) return ERROR_INSTALL_ALREADY_RUNNING;
  return WithServiceLog([&] {
    return Msi().configureProduct(AsWide(productCode), installLevel,
                                  static_cast<INSTALLSTATE>(installState), AsWide(commandLine));
  });
}
