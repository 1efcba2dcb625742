// The real machine behind the install and remove operations.
#pragma once

#include "installer/install_operations.h"

// The registry, msi.dll, the package files of the running executable and
// the handler's effects over user32: objects built at compile time, so this
// only hands them out. The start-up passes them on to the dialog.
InstallerServices& Win32InstallerServices();

// Opens the run's log at path (null: a new file in the temp folder) and
// hands it to the service too, for its own log of each call. False when
// no file could be opened; the run then goes on without a log.
bool OpenRunLog(const wchar_t* path);

// The run's log file, to say where it is and to keep or remove it at the end.
class Win32RunLog;
Win32RunLog& RunLogFile();
