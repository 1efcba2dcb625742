#include "platform/win32/win32_services.h"

#include "platform/win32/win32_handler_effects.h"
#include "platform/win32/win32_installer_service.h"
#include "platform/win32/win32_package_file.h"
#include "platform/win32/win32_registry.h"

namespace {

// Built at compile time, so there is no order of construction to get wrong
// and no guarded first use (which would pull in the exception machinery).
constinit Win32Registry g_registry;
constinit Win32InstallerService g_service;
constinit Win32PackageFile g_packageFile;
constinit Win32HandlerEffects g_effects;
constinit Win32RunLog g_log;
constinit InstallerServices g_services{g_registry, g_service, g_packageFile, g_effects, g_log};

}  // namespace

InstallerServices& Win32InstallerServices() { return g_services; }

bool OpenRunLog(const wchar_t* path) {
  g_service.SetLog(&g_log);
  return g_log.Open(path);
}

Win32RunLog& RunLogFile() { return g_log; }
