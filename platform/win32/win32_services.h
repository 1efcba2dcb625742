// The real machine behind the install and remove operations.
#pragma once

#include "installer/install_operations.h"

// The registry, msi.dll, the package files of the running executable, the
// code page and the run's log file: objects built at compile time, so this
// only hands them out. The start-up passes them on.
InstallerServices& Win32InstallerServices();
