#include "installer/run_installer.h"

#include "core/text.h"
#include "installer/exit_code.h"
#include "installer/folder_check.h"
#include "installer/install_runner.h"
#include "installer/package_extraction.h"
#include "installer/run_log.h"
#include "product/product_config.h"

namespace {

constexpr char16_t kUsageSwitches[] =
    u"Usage: " PRODUCT_EXE_FILE_TEXT u" [/quiet | /passive] [/norestart] [/log <file>] "
    u"[MAXDIR=<folder> | /extract <folder> | /uninstall | /repair]\n\n"
    u"/quiet (also /q, /s, /silent): no window at all.\n"
    u"/passive: shows the progress only, needs no click and closes itself at the end.\n"
    u"/norestart: never restarts Windows. The installer never does so by itself; exit code ";
constexpr char16_t kUsageAfterRestartCode[] =
    u" says that a restart is needed.\n"
    u"/log <file>: writes the log to the file and keeps it. Without /log the log is written in "
    u"the temp folder and removed after a successful install.\n"
    u"MAXDIR=<folder> (also INSTALLDIR=): the installation folder; quote it when it holds "
    u"blanks.\n"
    u"/extract <folder>: writes the installation package, " PRODUCT_PACKAGE_FILE_TEXT u", to the folder.\n"
    u"/uninstall (also /x): removes the installed plug-in.\n"
    u"/repair: reinstalls the installed version's missing or older files and its registry values.\n"
    u"/? or /help: this list.\n\n"
    u"With /quiet or /passive you accept the Terms of Use.\n\n"
    u"Exit codes: ";

const char16_t* OperationName(Operation operation) {
  switch (operation) {
    case Operation::Extract: return u"extract";
    case Operation::Uninstall: return u"uninstall";
    case Operation::Repair: return u"repair";
    case Operation::Install: break;
  }
  return u"install";
}

const char16_t* ModeName(UiMode mode) {
  switch (mode) {
    case UiMode::Quiet: return u"quiet";
    case UiMode::Passive: return u"passive";
    case UiMode::Full: break;
  }
  return u"full";
}

// The folder from the command line, else the one detection finds (null
// when there is none; the package then picks its default).
OwnedText StartFolder(RegistrySeam& registry, const InstallOptions& options) {
  if (options.hasFolder) return DuplicateText(options.folder);
  return DetectInstallFolder(registry);
}

// How a run ended, for the exit code and the log's fate.
struct RunEnd {
  ExitCode code;
  bool failed;  // the log stays
};

// The run once the log is open.
RunEnd RunWithLog(const char16_t* commandLine, const InstallOptions& options, CommandLineError error,
               const char16_t* offending, const InstallerServices& services, InstallerUi& ui) {
  RunLog& log = services.log;
  LogLine(log, {u"" PRODUCT_INSTALLER_NAME_TEXT, u" for ", ProductConfig::DisplayName, u" ",
                ProductConfig::PackageVersion});
  LogLine(log, {u"Command line: ", commandLine});
  if (error != CommandLineError::None) {
    LogLine(log, {u"The command line is refused from here on: ", offending});
    char16_t usage[kUsageCapacity];
    if (options.mode != UiMode::Quiet) ui.ShowUsage(UsageText(usage));
    return {ExitCode::InvalidCommandLine, true};
  }
  LogLine(log, {u"Mode: ", ModeName(options.mode), u"; ", OperationName(options.operation), u"; folder: ",
                options.operation == Operation::Extract ? options.extractFolder
                : options.hasFolder                     ? options.folder
                                                        : u"(as detected)"});
  // The package itself, for a distribution system: nothing is detected,
  // nothing installed, and no window opens.
  if (options.operation == Operation::Extract) {
    char16_t written[kPathCapacity];
    const OperationResult result =
        WritePackageTo(services.packageFile, options.extractFolder, ProductConfig::PackageFileName, written);
    if (result.Succeeded()) {
      LogLine(log, {u"The package is written to ", written});
      return {ExitCode::Success, false};
    }
    char16_t reason[kFailureReasonCapacity];
    LogResult(log, u"Writing out the package", result);
    LogLine(log, {u"Extraction failed: ", FailureReason(result, reason)});
    return {result.failedStep == OperationStep::ExtractFolder ? ExitCode::CannotMake : ExitCode::InstallFailure, true};
  }

  const OwnedText folder = StartFolder(services.registry, options);
  if (options.mode != UiMode::Full && options.operation != Operation::Uninstall) {
    // No one is there to correct the folder: it is checked before anything.
    const FolderProblem problem = CheckFolder(services.packageFile, folder ? folder.get() : u"");
    if (problem != FolderProblem::None) {
      LogLine(log, {u"The folder is refused: ", FolderProblemText(problem)});
      return {ExitCode::InvalidCommandLine, true};
    }
  }
  InstallSession session(services, options.mode, options.operation);
  session.Begin();
  InstallRunner runner(session, services.threads);
  if (options.mode == UiMode::Quiet) {
    runner.Start(folder.get());
  } else if (!ui.RunWindow(runner, options.mode, options.operation, folder.get(), log.Path())) {
    // Every way out of the window ends the same way, but for a window that
    // never opened: nothing was chosen then, and the caller must not read
    // "the user left".
    runner.Stop();
    LogLine(log, {u"The window could not be opened."});
    return {ExitCode::InstallFailure, true};
  }
  runner.Stop();
  return {session.Outcome().exitCode, session.Outcome().Failed()};
}

}  // namespace

const char16_t* UsageText(char16_t (&buffer)[kUsageCapacity]) {
  char16_t number[11];
  buffer[0] = 0;
  AppendText(buffer, kUsageCapacity, kUsageSwitches);
  AppendText(buffer, kUsageCapacity,
             DecimalText(static_cast<std::uint32_t>(ExitCode::RestartRequired), number));
  AppendText(buffer, kUsageCapacity, kUsageAfterRestartCode);
  bool first = true;
  for (const ExitCodeMeaning& exit : kExitCodeMeanings) {
    if (!first) AppendText(buffer, kUsageCapacity, u", ");
    first = false;
    JoinText(buffer + TextLength(buffer), kUsageCapacity - TextLength(buffer),
             {DecimalText(static_cast<std::uint32_t>(exit.code), number), u" ", exit.meaning});
  }
  AppendText(buffer, kUsageCapacity, u".");
  return buffer;
}

int RunInstaller(const char16_t* commandLine, const InstallerServices& services, InstallerUi& ui) {
  InstallOptions options;
  const char16_t* offending = nullptr;
  const CommandLineError error = ParseCommandLine(commandLine, &options, &offending);
  if (error == CommandLineError::None && options.help) {
    char16_t usage[kUsageCapacity];
    ui.ShowUsage(UsageText(usage));
    return ExitCodeNumber(ExitCode::Success);
  }

  RunLog& log = services.log;
  if (!log.Open(options.hasLog ? options.logPath : nullptr) && options.hasLog) {
    // A log that was asked for and cannot be written: nothing is changed.
    if (options.mode != UiMode::Quiet) ui.ShowError(u"The log file cannot be written.");
    return ExitCodeNumber(ExitCode::LogFailure);
  }
  const RunEnd end = RunWithLog(commandLine, options, error, offending, services, ui);

  char16_t code[11];
  LogLine(log, {u"Exit code ", DecimalText(static_cast<std::uint32_t>(end.code), code)});
  // A log in the temp folder is for failures; a run that failed nothing
  // leaves nothing behind.
  if (!options.hasLog && !end.failed) {
    log.Remove();
  } else {
    log.Close();
  }
  return ExitCodeNumber(end.code);
}
