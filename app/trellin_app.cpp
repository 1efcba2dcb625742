#include "app/trellin_app.h"

#include "core/wide.h"
#include "installer/run_installer.h"
#include "platform/win32/win32_services.h"
#include "product/product_config.h"
#include "ui/trellin_dlg.h"

namespace {

constexpr UINT kIdHelp = 0xE146;  // ID_HELP
constexpr DWORD kWin95Classes = 0xFF;  // ICC_WIN95_CLASSES

// What the run shows: boxes before any window, and the main dialog.
class WindowUi final : public InstallerUi {
 public:
  WindowUi(CWinApp& app, const InstallerServices& services) : m_app(app), m_services(services) {}

  void ShowUsage(const char16_t* text) override { ShowBox(text, MB_ICONINFORMATION); }
  void ShowError(const char16_t* text) override { ShowBox(text, MB_ICONERROR); }

  bool RunWindow(InstallRunner& runner, UiMode mode, Operation operation, const char16_t* folder,
                 const char16_t* logPath) override {
    CTrellinDlg dialog(runner, m_services, mode, operation, folder, logPath);
    m_app.m_pMainWnd = &dialog;
    const INT_PTR ended = dialog.DoModal();
    m_app.m_pMainWnd = nullptr;
    return ended != -1;
  }

 private:
  static void ShowBox(const char16_t* text, UINT icon) {
    MessageBoxW(nullptr, AsWide(text), AsWide(ProductConfig::DisplayName), MB_OK | icon);
  }

  CWinApp& m_app;
  const InstallerServices& m_services;
};

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
  WindowUi ui(*this, services);
  m_exitCode = RunInstaller(AsUtf16(GetCommandLineW()), services, ui);
  return FALSE;
}

int CTrellinApp::ExitInstance() { return m_exitCode; }

// The one application object, constructed before the entry point runs.
CTrellinApp theApp;
