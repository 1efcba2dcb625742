// The installer's command line, for scripts and distribution systems:
//   /quiet (/q, /s, /silent)  no window at all
//   /passive                  the progress only, no click, closes itself
//   /norestart                never restart the machine (the default too)
//   /log <file>               the log goes to file and stays
//   /? (/help)                the list of switches
//   MAXDIR=<folder>           the target folder (INSTALLDIR= names it too)
//   /extract <folder>         the package itself, written to the folder
//   /uninstall (/x)           removes the installed product
//   /repair                   reinstalls the installed version
// The three operations combine with /quiet, /passive, /norestart and /log
// only (not with each other, nor with a folder to install to).
// Switches begin with / or -, and case does not matter; a word in double
// quotes may hold blanks ("/log" "C:\Logs\plug-in.log", MAXDIR="C:\My Host").
#pragma once

#include "core/text.h"

enum class UiMode { Full, Passive, Quiet };

// What the run does.
enum class Operation { Install, Extract, Uninstall, Repair };

struct InstallOptions {
  UiMode mode = UiMode::Full;
  Operation operation = Operation::Install;
  char16_t extractFolder[kPathCapacity] = {};
  bool noRestart = false;
  bool help = false;
  bool hasFolder = false;
  char16_t folder[kPathCapacity] = {};
  bool hasLog = false;
  char16_t logPath[kPathCapacity] = {};
};

enum class CommandLineError {
  None,
  Unknown,       // a word that is no switch or property of ours
  MissingValue,  // /log without its file
  TooLong,       // a folder or log path longer than a path buffer
  Combination,   // switches that do not go together (two operations, an operation and MAXDIR)
};

// Reads the whole command line, program name first (as GetCommandLineW
// gives it). On an error, options is left as it was but for its mode (read
// from every word, so that a quiet run reports the error quietly too), and
// *word (when given) points at the first offending word's start.
CommandLineError ParseCommandLine(const char16_t* commandLine, InstallOptions* options,
                                  const char16_t** word = nullptr);
