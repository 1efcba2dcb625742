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
constinit InstallerServices g_services{g_registry, g_service, g_packageFile, g_effects};

}  // namespace

InstallerServices& Win32InstallerServices() { return g_services; }
