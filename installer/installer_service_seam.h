// What the install and remove operations need from the Windows Installer
// service: its UI level, the external UI handler, and the two calls that
// change the machine. The product wires msi.dll; unit tests wire a fake.
#pragma once

#include <cstdint>

#include "installer/exit_code.h"

// The handler shape the service calls back (INSTALLUI_HANDLERW, without
// the calling convention, which the Win32 side adds).
using InstallUiHandler = int (*)(void* context, unsigned int messageType, const char16_t* message);

// Message kinds: the top byte of a message type (INSTALLMESSAGE_*).
inline constexpr unsigned int kInstallMessageFatalExit = 0x00000000;
inline constexpr unsigned int kInstallMessageError = 0x01000000;
inline constexpr unsigned int kInstallMessageWarning = 0x02000000;
inline constexpr unsigned int kInstallMessageUser = 0x03000000;
inline constexpr unsigned int kInstallMessageInfo = 0x04000000;
inline constexpr unsigned int kInstallMessageFilesInUse = 0x05000000;
inline constexpr unsigned int kInstallMessageResolveSource = 0x06000000;
inline constexpr unsigned int kInstallMessageOutOfDiskSpace = 0x07000000;
inline constexpr unsigned int kInstallMessageActionStart = 0x08000000;
inline constexpr unsigned int kInstallMessageActionData = 0x09000000;
inline constexpr unsigned int kInstallMessageProgress = 0x0A000000;
inline constexpr unsigned int kInstallMessageCommonData = 0x0B000000;
inline constexpr unsigned int kInstallMessageInitialize = 0x0C000000;
inline constexpr unsigned int kInstallMessageTerminate = 0x0D000000;
inline constexpr unsigned int kInstallMessageShowDialog = 0x0E000000;
inline constexpr unsigned int kInstallMessageRmFilesInUse = 0x19000000;

// UI levels (INSTALLUILEVEL_*).
inline constexpr unsigned int kInstallUiLevelNone = 2;
inline constexpr unsigned int kInstallUiLevelBasic = 3;
inline constexpr unsigned int kInstallUiLevelSourceResOnly = 0x100;

// ConfigureProduct arguments (INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT).
inline constexpr int kInstallLevelDefault = 0;
inline constexpr int kInstallStateAbsent = 2;

class InstallerServiceSeam {
 public:
  virtual ~InstallerServiceSeam() = default;
  // Loads the service's client ahead of the first call, at a moment when
  // the wait goes unnoticed; every call loads it anyway when it must.
  virtual void Prepare() {}

  // The window that owns the service's own dialogs from now on (null:
  // none), so that they open over it. Only the window that shows the
  // install sets it; to the installer's code it is an opaque value.
  virtual void SetDialogOwner(void* window) = 0;

  // The level of the service's own UI for the following calls, its dialogs
  // owned by the window set above (MsiSetInternalUI).
  virtual void SetInternalUI(unsigned int level) = 0;

  // Registers handler for the message kinds whose bit is set in
  // messageFilter; the previous handler is dropped (MsiSetExternalUIW).
  // The handler gets context back with every message.
  virtual void SetExternalUI(InstallUiHandler handler, unsigned int messageFilter,
                             void* context) = 0;

  // Both block until the service has finished and return its result
  // (ServiceResultOf its code), which the operations do not judge success
  // by; Busy when another installation is running (MsiInstallProductW,
  // MsiConfigureProductExW).
  virtual ServiceResult InstallProduct(const char16_t* packagePath, const char16_t* commandLine) = 0;
  virtual ServiceResult ConfigureProduct(const char16_t* productCode, int installLevel, int installState,
                                         const char16_t* commandLine) = 0;
};
