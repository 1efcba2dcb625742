#include "app/trellin_app.h"

#include "platform/win32/win32_services.h"
#include "ui/trellin_dlg.h"

namespace {
constexpr UINT kIdHelp = 0xE146;  // ID_HELP
constexpr DWORD kWin95Classes = 0xFF;  // ICC_WIN95_CLASSES
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

  // The composition root: the one place that chooses the real machine.
  const InstallerServices& services = Win32InstallerServices();
  {
    CTrellinDlg dialog(services);
    m_pMainWnd = &dialog;
    // Every way out of the dialog ends the same way.
    dialog.DoModal();
    m_pMainWnd = nullptr;
    m_exitCode = dialog.ExitCode();
  }
  return FALSE;
}

int CTrellinApp::ExitInstance() { return m_exitCode; }

// The one application object, constructed before the entry point runs.
CTrellinApp theApp;
