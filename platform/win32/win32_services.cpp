#include "platform/win32/win32_services.h"

#include "platform/win32/win32_handler_effects.h"
#include "platform/win32/win32_installer_service.h"
#include "platform/win32/win32_package_file.h"
#include "platform/win32/win32_registry.h"

InstallerServices& Win32InstallerServices() {
  static Win32Registry registry;
  static Win32InstallerService service;
  static Win32PackageFile packageFile;
  static Win32HandlerEffects effects;
  static InstallerServices services = [] {
    WireHandlerEffects(&effects);
    return InstallerServices{registry, service, packageFile};
  }();
  return services;
}
