#include "platform/win32/win32_installer_service.h"

#include <windows.h>
#include <msi.h>

#include "platform/win32/wide.h"

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
static_assert(kInstallLevelDefault == INSTALLLEVEL_DEFAULT &&
              kInstallStateAbsent == INSTALLSTATE_ABSENT);

namespace {

InstallUiHandler g_handler = nullptr;

INT WINAPI ExternalUiAdaptor(LPVOID context, UINT messageType, LPCWSTR message) {
  return g_handler != nullptr ? g_handler(context, messageType, AsUtf16(message)) : 0;
}

}  // namespace

void Win32InstallerService::SetInternalUI(unsigned int level) {
  MsiSetInternalUI(static_cast<INSTALLUILEVEL>(level), nullptr);
}

void Win32InstallerService::SetExternalUI(InstallUiHandler handler, unsigned int messageFilter,
                                          void* context) {
  g_handler = handler;
  MsiSetExternalUIW(handler != nullptr ? ExternalUiAdaptor : nullptr, messageFilter, context);
}

unsigned int Win32InstallerService::InstallProduct(const char16_t* packagePath,
                                                   const char16_t* commandLine) {
  return MsiInstallProductW(AsWide(packagePath), AsWide(commandLine));
}

unsigned int Win32InstallerService::ConfigureProduct(const char16_t* productCode, int installLevel,
                                                     int installState) {
  return MsiConfigureProductW(AsWide(productCode), installLevel,
                              static_cast<INSTALLSTATE>(installState));
}
