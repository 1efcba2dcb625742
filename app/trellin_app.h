// The application object: start-up runs the installer and ends.
#pragma once

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
  int m_exitCode = 0;
};
