// The real machine behind the install and remove operations.
#pragma once

#include "installer/install_operations.h"

// The registry, msi.dll, the package files of the running executable and
// the handler's effects over user32: objects built at compile time, so this
// only hands them out. The start-up passes them on to the dialog.
InstallerServices& Win32InstallerServices();
