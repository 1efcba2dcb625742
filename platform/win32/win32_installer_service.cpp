#include "platform/win32/win32_installer_service.h"

#include <windows.h>
#include <msi.h>

#include "system/system_library.h"
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
static_assert(static_cast<UINT>(ExitCode::AnotherInstall) == ERROR_INSTALL_ALREADY_RUNNING &&
              static_cast<UINT>(ExitCode::UserExit) == ERROR_INSTALL_USEREXIT &&
              static_cast<UINT>(ExitCode::RestartRequired) == ERROR_SUCCESS_REBOOT_REQUIRED &&
              static_cast<UINT>(ExitCode::RestartStarted) == ERROR_SUCCESS_REBOOT_INITIATED);
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

SystemCalls<MsiEntryPoints> g_msi([](MsiEntryPoints& c) {
  return BindSystemCall(L"msi.dll", "MsiSetInternalUI", &c.setInternalUI) &&
         BindSystemCall(L"msi.dll", "MsiSetExternalUIW", &c.setExternalUI) &&
         BindSystemCall(L"msi.dll", "MsiInstallProductW", &c.installProduct) &&
         BindSystemCall(L"msi.dll", "MsiConfigureProductExW", &c.configureProduct) &&
         BindSystemCall(L"msi.dll", "MsiEnableLogW", &c.enableLog);
});

// Null without the service: all or nothing, so that every call fails as
// one. The handler's first message may arrive on one of the service's
// threads.
const MsiEntryPoints* Msi() { return g_msi.Get(); }

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
// says so itself (ERROR_INSTALL_ALREADY_RUNNING) on Windows; asking first also covers services that
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
ServiceResult Win32InstallerService::WithServiceLog(Call call) {
  wchar_t path[MAX_PATH];
  const bool logged = m_log != nullptr && m_log->NameServiceLog(path);
  if (logged) Msi()->enableLog(kVerboseLogMode, path, INSTALLLOGATTRIBUTES_FLUSHEACHLINE);
  const UINT code = call();
  if (logged) {
    Msi()->enableLog(0, nullptr, 0);
    m_log->TakeServiceLog(path);
  }
  return ServiceResultOf(code);
}

// msi.dll and what it loads take tens of milliseconds.
void Win32InstallerService::Prepare() { Msi(); }

void Win32InstallerService::SetDialogOwner(void* window) { m_owner = static_cast<HWND>(window); }

void Win32InstallerService::SetInternalUI(unsigned int level) {
  if (Msi() == nullptr) return;
  // The service answers with the previous owner in the same variable.
  HWND window = m_owner;
  Msi()->setInternalUI(static_cast<INSTALLUILEVEL>(level), &window);
}

void Win32InstallerService::SetExternalUI(InstallUiHandler handler, unsigned int messageFilter,
                                          void* context) {
  g_handler = handler;
  g_handlerContext = context;
  if (Msi() == nullptr) return;
  Msi()->setExternalUI(handler != nullptr ? ExternalUiAdaptor : nullptr, messageFilter,
                      const_cast<wchar_t*>(kServiceContext));
}

ServiceResult Win32InstallerService::InstallProduct(const char16_t* packagePath, const char16_t* commandLine) {
  if (Msi() == nullptr) return ServiceResultOf(ERROR_INSTALL_SERVICE_FAILURE);
  if (AnotherInstallRunning()) return ServiceResultOf(ERROR_INSTALL_ALREADY_RUNNING);
  return WithServiceLog([&] { return Msi()->installProduct(AsWide(packagePath), AsWide(commandLine)); });
}

ServiceResult Win32InstallerService::ConfigureProduct(const char16_t* productCode, int installLevel,
                                                      int installState, const char16_t* commandLine) {
  if (Msi() == nullptr) return ServiceResultOf(ERROR_INSTALL_SERVICE_FAILURE);
  if (AnotherInstallRunning()) return ServiceResultOf(ERROR_INSTALL_ALREADY_RUNNING);
  return WithServiceLog([&] {
    return Msi()->configureProduct(AsWide(productCode), installLevel,
                                  static_cast<INSTALLSTATE>(installState), AsWide(commandLine));
  });
}
