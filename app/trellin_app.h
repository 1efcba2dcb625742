// The application object: start-up runs the installer dialog and ends.
#pragma once

#include "installer/command_line.h"
#include "installer/install_operations.h"
#include "ui/framework/afxwin.h"

class CTrellinApp : public CWinApp {
 public:
  CTrellinApp();

  // Runs the whole installer; FALSE, so the process ends when it returns.
  BOOL InitInstance() override;
  // The exit code of the process: how the installer's run ended.
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()

 private:
  // The run after the command line was read, with the log open: the exit code.
  int Run(const InstallerServices& services, const InstallOptions& options,
          CommandLineError error, const char16_t* offending);

  int m_exitCode = 0;
};
