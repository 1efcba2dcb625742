// The installer service seam over msi.dll.
#pragma once

#include "installer/installer_service_seam.h"
#include "platform/win32/win32_run_log.h"

#include <msi.h>

#include <atomic>

// Every message kind of a verbose log (msiexec's /l*v).
inline constexpr DWORD kVerboseLogMode =
    INSTALLLOGMODE_FATALEXIT | INSTALLLOGMODE_ERROR | INSTALLLOGMODE_WARNING | INSTALLLOGMODE_USER |
    INSTALLLOGMODE_INFO | INSTALLLOGMODE_RESOLVESOURCE | INSTALLLOGMODE_OUTOFDISKSPACE |
    INSTALLLOGMODE_ACTIONSTART | INSTALLLOGMODE_ACTIONDATA | INSTALLLOGMODE_COMMONDATA |
    INSTALLLOGMODE_PROPERTYDUMP | INSTALLLOGMODE_VERBOSE;

class Win32InstallerService final : public InstallerServiceSeam {
 public:
  void Prepare() override;
  void SetDialogOwner(void* window) override;
  void SetInternalUI(unsigned int level) override;
  // The service calls the handler through a WINAPI adaptor; one handler is
  // registered at a time, as with the service itself.
  void SetExternalUI(InstallUiHandler handler, unsigned int messageFilter, void* context) override;
  ServiceResult InstallProduct(const char16_t* packagePath, const char16_t* commandLine) override;
  ServiceResult ConfigureProduct(const char16_t* productCode, int installLevel, int installState,
                                 const char16_t* commandLine) override;

  // log: the run's log, which gets the service's log of each call while it
  // is open (null: never).
  constexpr explicit Win32InstallerService(Win32RunLog* log = nullptr) : m_log(log) {}

 private:
  template <typename Call>
  ServiceResult WithServiceLog(Call call);

  Win32RunLog* m_log = nullptr;
  // Read on the service's threads too (the first message sets the level).
  std::atomic<HWND> m_owner{nullptr};
};
