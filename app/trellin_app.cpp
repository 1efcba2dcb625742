#include "app/trellin_app.h"

#include "core/wide.h"
#include "installer/exit_code.h"
#include "installer/folder_check.h"
#include "installer/run_log.h"
#include "platform/win32/win32_run_log.h"
#include "platform/win32/win32_services.h"
#include "product/product_config.h"
#include "ui/trellin_dlg.h"
#include "ui/unattended.h"

namespace {

constexpr UINT kIdHelp = 0xE146;  // ID_HELP
constexpr DWORD kWin95Classes = 0xFF;  // ICC_WIN95_CLASSES
constexpr int kExitInvalidCommandLine = 87;  // ERROR_INVALID_PARAMETER
constexpr int kExitLogFailed = 1622;         // ERROR_INSTALL_LOG_FAILURE

constexpr wchar_t kUsage[] =
    L"Usage: " PRODUCT_EXE_FILE_TEXT L" [/quiet | /passive] [/norestart] [/log <file>] "
    L"[MAXDIR=<folder>]\n\n"
    L"/quiet (also /q, /s, /silent): no window at all.\n"
    L"/passive: shows the progress only, needs no click and closes itself at the end.\n"
    L"/norestart: never restarts Windows. The installer never does so by itself; exit code "
    L"3010 says that a restart is needed.\n"
    L"/log <file>: writes the log to the file and keeps it. Without /log the log is written in "
    L"the temp folder and removed after a successful install.\n"
    L"MAXDIR=<folder> (also INSTALLDIR=): the installation folder; quote it when it holds "
    L"blanks.\n"
    L"/? or /help: this list.\n\n"
    L"With /quiet or /passive you accept the Terms of Use.\n\n"
    L"Exit codes: 0 installed or up to date, 3010 installed and Windows must restart, 1602 "
    L"cancelled, 1603 failed, 1618 another installation is running, 1622 the log cannot be "
    L"written, 87 the command line is wrong.";

void ShowUsage() {
  MessageBoxW(nullptr, kUsage, AsWide(ProductConfig::DisplayName), MB_OK | MB_ICONINFORMATION);
}

const char16_t* ModeName(UiMode mode) {
  switch (mode) {
    case UiMode::Quiet: return u"quiet";
    case UiMode::Passive: return u"passive";
    case UiMode::Full: break;
  }
  return u"full";
}

}  // namespace

BEGIN_MESSAGE_MAP(CTrellinApp, CWinApp)
  ON_COMMAND(kIdHelp, OnHelp)
END_MESSAGE_MAP()

CTrellinApp::CTrellinApp() = default;

BOOL CTrellinApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = kWin95Classes;
  InitCommonControlsEx(&controls);

  CWinApp::InitInstance();
  AfxEnableControlContainer();
  SetRegistryKey(L"Local AppWizard-Generated Applications");

  InstallOptions options;
  const char16_t* offending = nullptr;
  const CommandLineError error = ParseCommandLine(AsUtf16(GetCommandLineW()), &options, &offending);
  if (error == CommandLineError::None && options.help) {
    ShowUsage();
    m_exitCode = kExitSuccess;
    return FALSE;
  }

  // The composition root: the one place that chooses the real machine.
  const InstallerServices& services = Win32InstallerServices();
  if (!OpenRunLog(options.hasLog ? AsWide(options.logPath) : nullptr) && options.hasLog) {
    // A log that was asked for and cannot be written: nothing is changed.
    if (options.mode != UiMode::Quiet) {
      MessageBoxW(nullptr, L"The log file cannot be written.", AsWide(ProductConfig::DisplayName),
                  MB_OK | MB_ICONERROR);
    }
    m_exitCode = kExitLogFailed;
    return FALSE;
  }
  m_exitCode = Run(services, options, error, offending);

  char16_t code[11];
  LogLine(services.log, {u"Exit code ", DecimalText(static_cast<std::uint32_t>(m_exitCode), code)});
  // A log in the temp folder is for failures; a run that failed nothing
  // leaves nothing behind.
  if (!options.hasLog && !IsFailureExitCode(m_exitCode)) {
    RunLogFile().Remove();
  } else {
    RunLogFile().Close();
  }
  return FALSE;
}

int CTrellinApp::Run(const InstallerServices& services, const InstallOptions& options,
                     CommandLineError error, const char16_t* offending) {
  RunLog& log = services.log;
  LogLine(log, {u"" PRODUCT_INSTALLER_NAME_TEXT, u" for ", ProductConfig::DisplayName, u" ",
                ProductConfig::PackageVersion});
  LogLine(log, {u"Command line: ", AsUtf16(GetCommandLineW())});
  if (error != CommandLineError::None) {
    LogLine(log, {u"The command line is refused from here on: ", offending});
    if (options.mode != UiMode::Quiet) ShowUsage();
    return kExitInvalidCommandLine;
  }
  LogLine(log, {u"Mode: ", ModeName(options.mode), u"; folder: ",
                options.hasFolder ? options.folder : u"(as detected)"});

  if (options.mode != UiMode::Full) {
    // No one is there to correct the folder: it is checked before anything.
    const OwnedText folder = StartFolder(services.registry, options);
    const FolderProblem problem = CheckFolder(services.packageFile, folder ? folder.get() : u"");
    if (problem != FolderProblem::None) {
      LogLine(log, {u"The folder is refused: ", FolderProblemText(problem)});
      return kExitInvalidCommandLine;
    }
    if (options.mode == UiMode::Quiet) return RunQuietly(services, folder.get());
  }
  CTrellinDlg dialog(services, options, RunLogFile().Path());
  m_pMainWnd = &dialog;
  // Every way out of the dialog ends the same way, but for a window that
  // never opened: nothing was chosen then, and the caller must not read
  // "the user left".
  const INT_PTR ended = dialog.DoModal();
  m_pMainWnd = nullptr;
  if (ended == -1) {
    LogLine(log, {u"The window could not be opened."});
    return kExitInstallFailed;
  }
  return dialog.ExitCode();
}

int CTrellinApp::ExitInstance() { return m_exitCode; }

// The one application object, constructed before the entry point runs.
CTrellinApp theApp;
