#include "ui/framework/afx_window.h"

CWnd::~CWnd() {
  if (m_hWnd != nullptr && FromHandleAttached(m_hWnd) == this) SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
}

BOOL CWnd::Attach(HWND window) {
  if (window == nullptr) return FALSE;
  m_hWnd = window;
  // Reading the user data is a read of the process's own memory, where a
  // window property may be a request to the window manager, and the lookup
  // runs for every message the dialog gets.
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (window != nullptr && FromHandleAttached(window) == this) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  m_hWnd = nullptr;
  return window;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return Attach(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

CWnd* CWnd::FromHandleAttached(HWND window) {
  return reinterpret_cast<CWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

UINT CWnd::GetDpiForWindow(HWND window) {
  // Bound by name: the call is new in Windows 10 (1607).
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  HMODULE user = GetModuleHandleW(L"user32.dll");
  auto perWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
  if (perWindow != nullptr) {
    const UINT dpi = perWindow(window);
    if (dpi != 0) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }
