#include "platform/win32/win32_services.h"

#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_in_use.h"
#include "platform/win32/win32_installer_service.h"
#include "platform/win32/win32_package_file.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_run_log.h"
#include "platform/win32/win32_threads.h"

namespace {

// Built at compile time, so there is no order of construction to get wrong
// and no guarded first use (which would pull in the exception machinery).
constinit Win32Registry g_registry;
constinit Win32RunLog g_log;
constinit Win32InstallerService g_service{&g_log};
constinit Win32PackageFile g_packageFile;
constinit Win32CodePage g_codePage;
constinit Win32Threads g_threads;
constinit Win32InUse g_inUse;
constinit InstallerServices g_services{g_registry, g_service, g_packageFile, g_codePage, g_log, g_threads, g_inUse};

}  // namespace

InstallerServices& Win32InstallerServices() { return g_services; }
