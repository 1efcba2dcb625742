// Modal dialogs:
//   CDataExchange, DDX_Control, DDX_Text   moving values between members and controls
//   CDialog                                a modal dialog from a template, with its dispatch
//   ON_WM_PAINT, ON_WM_QUERYDRAGICON,
//   ON_WM_ERASEBKGND, ON_WM_CTLCOLOR        message-map entries of Win32 messages
#pragma once

#include <windows.h>

#include "ui/framework/afx_gdi.h"
#include "ui/framework/afx_string.h"
#include "ui/framework/afx_window.h"
#include "ui/framework/message_map.h"

// ---------------------------------------------------------------------------
// Data exchange.

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;  // TRUE: controls to members
};

// Binds control to the dialog's control id the first time.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// Moves text between the dialog's control id and value.
void DDX_Text(CDataExchange* pDX, int id, CString& value);

// ---------------------------------------------------------------------------
// Dialogs.

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);

  // Creates the window from the template, runs it until it is ended and
  // gives the end code (-1 when the window could not be created).
  virtual INT_PTR DoModal();
  virtual BOOL OnInitDialog();
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

  virtual void OnOK();
  virtual void OnCancel();
  // The window has moved to a monitor of another dpi, and the dialog manager
  // has laid it out and scaled its font for it: what it draws itself (its
  // pictures) follows here.
  virtual void OnDpiChanged(UINT dpi);

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  // Default painting for dialogs that paint nothing of their own.
  void OnPaint() { ::DefWindowProcW(m_hWnd, WM_PAINT, 0, 0); }

  UINT m_nIDHelp;
  CWnd* m_pParentWnd;

  DECLARE_MESSAGE_MAP()

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void SetMessageResult(LRESULT result);
};

// ---------------------------------------------------------------------------
// Win32 message-map entries.

#define ON_WM_PAINT()                                                       \
  {WM_PAINT, 0, 0, [](CCmdTarget* target, std::uintptr_t, std::intptr_t) -> std::intptr_t { \
     static_cast<ThisClass*>(target)->OnPaint();                            \
     return 0;                                                              \
   }},

#define ON_WM_QUERYDRAGICON()                                               \
  {WM_QUERYDRAGICON, 0, 0,                                                  \
   [](CCmdTarget* target, std::uintptr_t, std::intptr_t) -> std::intptr_t { \
     return reinterpret_cast<std::intptr_t>(static_cast<ThisClass*>(target)->OnQueryDragIcon()); \
   }},

#define ON_WM_ERASEBKGND()                                                  \
  {WM_ERASEBKGND, 0, 0,                                                     \
   [](CCmdTarget* target, std::uintptr_t wParam, std::intptr_t) -> std::intptr_t { \
     CDC dc(reinterpret_cast<HDC>(wParam));                                 \
     return static_cast<ThisClass*>(target)->OnEraseBkgnd(&dc);             \
   }},

// Every control-colour request (WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC)
// arrives here as WM_CTLCOLOR with its kind in the code.
#define ON_WM_CTLCOLOR()                                                    \
  {WM_CTLCOLOR, 0, 0,                                                       \
   [](CCmdTarget* target, std::uintptr_t wParam, std::intptr_t lParam) -> std::intptr_t { \
     const auto* request = reinterpret_cast<const CtlColorRequest*>(lParam); \
     CDC dc(reinterpret_cast<HDC>(wParam));                                 \
     return reinterpret_cast<std::intptr_t>(                                \
         static_cast<ThisClass*>(target)->OnCtlColor(&dc, request->control, request->kind)); \
   }},

// A message of the window's own (WM_APP and up): LRESULT fn(WPARAM, LPARAM),
// whose result is the message's.
#define ON_MESSAGE(message, memberFxn)                                      \
  {message, 0, 0,                                                           \
   [](CCmdTarget* target, std::uintptr_t wParam, std::intptr_t lParam) -> std::intptr_t { \
     return static_cast<ThisClass*>(target)->memberFxn(wParam, lParam);     \
   }},

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// What the dispatcher hands an ON_WM_CTLCOLOR entry.
struct CtlColorRequest {
  CWnd* control;  // the object bound to the control, or a temporary one
  UINT kind;      // CTLCOLOR_MSGBOX (0) to CTLCOLOR_STATIC (6)
};
