#include "ui/framework/afx_app.h"

#include "system/system_library.h"

namespace {

CWinApp* g_app = nullptr;
BindOnce g_richEditLoaded;

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
  return g_richEditLoaded([] { return LoadSystemLibrary(L"riched20.dll") != nullptr; });
}

int AfxWinMain(HINSTANCE instance) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 1;
  app->m_hInstance = instance;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
