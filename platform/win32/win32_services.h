// The real machine behind the install and remove operations.
#pragma once

#include "installer/install_operations.h"

// The registry, msi.dll and the package files of the running executable,
// built on first use; the first call also wires the message handler's
// Win32 effects.
InstallerServices& Win32InstallerServices();
