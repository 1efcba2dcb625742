// The application and the framework's global calls:
//   CWinApp                    the one application object: start-up, message loop
//   AfxWinMain                 the framework's entry, called by wWinMain
//   AfxGetApp, AfxGetInstanceHandle, AfxGetResourceHandle, AfxFindResourceHandle
//   AfxInitRichEdit            the rich edit control class, from the system folder
//   AfxEnableControlContainer
#pragma once

#include <windows.h>

#include "ui/framework/afx_string.h"
#include "ui/framework/message_map.h"

class CWnd;

class CWinApp : public CCmdTarget {
 public:
  explicit CWinApp(const wchar_t* appName = nullptr);
  ~CWinApp() override;

  // Runs once at start; FALSE ends the process without a message loop.
  virtual BOOL InitInstance() { return TRUE; }
  virtual int Run();
  virtual int ExitInstance() { return 0; }
  void OnHelp() {}

  // Where profile settings would be stored; nothing is written.
  void SetRegistryKey(const wchar_t* key) { m_registryKey = key; }
  const wchar_t* GetRegistryKey() const { return m_registryKey; }

  HINSTANCE m_hInstance = nullptr;
  CWnd* m_pMainWnd = nullptr;
  const wchar_t* m_pszAppName;

 private:
  CString m_registryKey;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module that holds resource name of type.
HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type);
// Makes the rich edit control class "RichEdit20W" available; loaded once,
// from the system folder only.
BOOL AfxInitRichEdit();
// The installer hosts no ActiveX controls: nothing to enable.
inline void AfxEnableControlContainer() {}

// The framework's entry: called by wWinMain.
int AfxWinMain(HINSTANCE instance);
