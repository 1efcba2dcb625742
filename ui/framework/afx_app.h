// The application and the framework's global calls:
//   CWinApp                    the one application object: start-up, message loop
//   AfxWinMain                 the framework's entry, called by wWinMain
//   AfxGetApp, AfxGetInstanceHandle, AfxFindResourceHandle
//   AfxInitRichEdit            the rich edit control class, from the system folder
//   AfxEnableControlContainer  a no-op
#pragma once

#include <windows.h>

#include "ui/framework/message_map.h"

class CWnd;

class CWinApp : public CCmdTarget {
 public:
  CWinApp();
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Runs once at start; FALSE ends the process without a message loop.
  virtual BOOL InitInstance() { return TRUE; }
  virtual int Run();
  virtual int ExitInstance() { return 0; }
  void OnHelp() {}

  // The installer keeps no profile settings: a no-op kept for the
  // start-up's call.
  void SetRegistryKey(const wchar_t*) {}

  HINSTANCE m_hInstance = nullptr;
  CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// The module that holds resource name of type.
HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type);
// Makes the rich edit control class "RichEdit20W" available; loaded once,
// from the system folder only.
BOOL AfxInitRichEdit();
// The installer hosts no ActiveX controls: a no-op kept for the start-up's
// call.
inline void AfxEnableControlContainer() {}

// The framework's entry: called by wWinMain.
int AfxWinMain(HINSTANCE instance);
