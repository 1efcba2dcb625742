#include "ui/framework/afx_app.h"

#include "core/system_library.h"

namespace {

CWinApp* g_app = nullptr;
// The rich edit library, once loaded.
HMODULE g_richEdit = nullptr;

}  // namespace

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

int CWinApp::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetInstanceHandle() {
  return g_app != nullptr && g_app->m_hInstance != nullptr ? g_app->m_hInstance
                                                           : GetModuleHandleW(nullptr);
}

HINSTANCE AfxFindResourceHandle(const wchar_t*, const wchar_t*) {
  // Every resource lives in the executable itself: no satellite modules.
  return AfxGetInstanceHandle();
}

BOOL AfxInitRichEdit() {
  // Not a function-local static: its guard would pull in the runtime's
  // exception machinery. Only the UI thread gets here.
  if (g_richEdit == nullptr) {
    g_richEdit = LoadSystemLibrary(L"riched20.dll");
  }
  return g_richEdit != nullptr;
}

int AfxWinMain(HINSTANCE instance) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 1;
  app->m_hInstance = instance;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
