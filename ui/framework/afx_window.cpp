#include "ui/framework/afx_window.h"

namespace {

// The window property that leads from a window to the object bound to it.
const wchar_t kObjectProperty[] = L"KelvaneFrameworkObject";

}  // namespace

CWnd::~CWnd() {
  if (m_hWnd != nullptr && FromHandleAttached(m_hWnd) == this) RemovePropW(m_hWnd, kObjectProperty);
}

BOOL CWnd::Attach(HWND window) {
  if (window == nullptr) return FALSE;
  m_hWnd = window;
  SetPropW(window, kObjectProperty, this);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (window != nullptr && FromHandleAttached(window) == this) RemovePropW(window, kObjectProperty);
  m_hWnd = nullptr;
  return window;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return Attach(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

CWnd* CWnd::FromHandleAttached(HWND window) {
  return static_cast<CWnd*>(GetPropW(window, kObjectProperty));
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
