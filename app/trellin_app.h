// The application object: start-up runs the installer dialog and ends.
#pragma once

#include "ui/framework/afxwin.h"

class CTrellinApp : public CWinApp {
 public:
  CTrellinApp();

  // Runs the whole installer; FALSE, so the process ends when it returns.
  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()
};
