// The whole run from the command line to the exit code, the same for every
// mode: what is shown goes through the user interface given, which the
// start-up builds (a window) and tests fake.
#pragma once

#include <cstddef>

#include "installer/command_line.h"
#include "installer/install_operations.h"
#include "installer/install_runner.h"

class InstallerUi {
 public:
  virtual ~InstallerUi() = default;
  // The switches and exit codes, in a box.
  virtual void ShowUsage(const char16_t* text) = 0;
  // A failure before any window, in a box.
  virtual void ShowError(const char16_t* text) = 0;
  // The window over the run (Full or Passive), whose session has begun,
  // until it closes; the window starts and stops the run. operation: an
  // install, or a removal or repair, which start at once. folder: where it
  // starts (null: the package's default). logPath: the run's log, offered
  // on failure (empty: none). False when the window could not be opened.
  virtual bool RunWindow(InstallRunner& runner, UiMode mode, Operation operation, const char16_t* folder,
                         const char16_t* logPath) = 0;
};

// Reads commandLine (program name first, as GetCommandLineW gives it),
// opens the log, chooses the mode, checks an unattended run's folder,
// runs the session and keeps the log only when asked for or when the run
// failed. Returns the process's exit code.
int RunInstaller(const char16_t* commandLine, const InstallerServices& services, InstallerUi& ui);

// The text of /? (and of a refused command line), in buffer.
inline constexpr std::size_t kUsageCapacity = 2048;
const char16_t* UsageText(char16_t (&buffer)[kUsageCapacity]);
