// Windows and the plain controls:
//   CWnd           a window and the object bound to it
//   CButton        push button or check box
//   CProgressCtrl  progress bar
//   CRichEditCtrl  rich text area (its class comes from AfxInitRichEdit)
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "ui/framework/message_map.h"

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Binds the object to an existing window through the window's user data
  // (GWLP_USERDATA: the system's controls leave it to their parent), the
  // one way from a window back to its object: the dialog procedure finds
  // its dialog by it, and a parent the control it passes a notification to
  // (owner drawing, control colours).
  BOOL Attach(HWND window);
  HWND Detach();
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  // The object bound to window, or null.
  static CWnd* FromHandleAttached(HWND window);
  // The dpi the window is shown at: its monitor's (Windows 10 and later),
  // else the system's.
  static UINT GetDpiForWindow(HWND window);

  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
  // Sets the big or the small icon; gives the one it replaces.
  HICON SetIcon(HICON icon, BOOL big) {
    const WPARAM which = big ? ICON_BIG : ICON_SMALL;
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
  }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }

  // A notification that the parent passes back to the control it concerns;
  // true when the control handled it.
  virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  HWND m_hWnd = nullptr;
};

class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(int state) { ::SendMessageW(m_hWnd, BM_SETCHECK, state, 0); }
};

class CProgressCtrl : public CWnd {
 public:
  void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
  // Gives the previous position.
  int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, position, 0)); }
  // Moves a marquee bar every interval milliseconds (0: the control's
  // default), or stops it.
  BOOL SetMarquee(BOOL on, UINT interval) {
    return static_cast<BOOL>(SendMessage(PBM_SETMARQUEE, on, interval));
  }
};

class CRichEditCtrl : public CWnd {
 public:
  // Replaces the content with what stream delivers in format (SF_RTF,
  // SF_TEXT); gives the number of characters read.
  long StreamIn(int format, EDITSTREAM& stream) {
    return static_cast<long>(SendMessage(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream)));
  }
};
