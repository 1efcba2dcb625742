// Runs that no one watches: the folder a run starts with, and the install
// without any window (/quiet).
#pragma once

#include "core/text.h"
#include "detect/registry_seam.h"
#include "installer/command_line.h"
#include "installer/install_operations.h"

// The folder from the command line, else the one detection finds (null
// when there is none; the package then picks its default).
OwnedText StartFolder(RegistrySeam& registry, const InstallOptions& options);

// The Installing step's operations for what detection finds, with no
// window, judged by fresh detection as the window judges them; each step
// goes to the log. Returns the process's exit code.
int RunQuietly(const InstallerServices& services, const char16_t* folder);
