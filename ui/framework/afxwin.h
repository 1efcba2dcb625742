// Our own small dialog framework over Win32: the application object, modal
// dialogs with message maps and data exchange, picture buttons, and the few
// control, GDI and resource helpers the installer's two dialogs use.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "ui/framework/mem_file.h"
#include "ui/framework/message_map.h"

class CWnd;
class CDialog;

// Ends the process: without exceptions there is nothing that could catch a
// failed allocation, and the UI cannot go on without its texts.
[[noreturn]] void AfxThrowMemoryException();

// ---------------------------------------------------------------------------
// Text.

// A terminated UTF-16 text on the heap. Not std::wstring: the library's
// string pulls the runtime's exception machinery into the executable.
class CString {
 public:
  CString() = default;
  CString(const wchar_t* text) { Replace(0, text); }
  CString(const CString& other) { Replace(0, other.GetString()); }
  ~CString();
  CString& operator=(const CString& other) {
    Replace(0, other.GetString());
    return *this;
  }
  CString& operator=(const wchar_t* text) {
    Replace(0, text);
    return *this;
  }
  CString& operator+=(const wchar_t* text) {
    Replace(m_length, text);
    return *this;
  }
  bool IsEmpty() const { return m_length == 0; }
  int GetLength() const { return m_length; }
  const wchar_t* GetString() const { return m_data != nullptr ? m_data : L""; }
  operator const wchar_t*() const { return GetString(); }
  // A null text compares like the empty one.
  bool operator==(const wchar_t* text) const;

  // Room for length units and a terminator, zeroed, for an API to fill;
  // ReleaseBuffer then takes the text up to its first terminator.
  wchar_t* GetBufferSetLength(int length);
  void ReleaseBuffer();

 private:
  // Keeps the first keep units and appends text (which may lie inside this
  // string) in a new buffer.
  void Replace(int keep, const wchar_t* text);

  wchar_t* m_data = nullptr;
  int m_length = 0;
  int m_capacity = 0;  // units, terminator included
};

// ---------------------------------------------------------------------------
// GDI.

class CDC {
 public:
  CDC() = default;
  explicit CDC(HDC dc) : m_hDC(dc) {}
  HDC GetSafeHdc() const { return m_hDC; }
  COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
  COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop) {
    return ::PatBlt(m_hDC, x, y, width, height, rop);
  }
  BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

  HDC m_hDC = nullptr;
};

// Begins painting a window on construction and ends it on destruction.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  PAINTSTRUCT m_ps{};

 private:
  HWND m_hWnd;
};

// Owns a brush from creation or attachment until destruction.
class CBrush {
 public:
  CBrush() = default;
  ~CBrush() { DeleteObject(); }
  CBrush(const CBrush&) = delete;
  CBrush& operator=(const CBrush&) = delete;

  BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
  BOOL Attach(HBRUSH brush) {
    DeleteObject();
    m_hObject = brush;
    return brush != nullptr;
  }
  void DeleteObject() {
    if (m_hObject != nullptr) ::DeleteObject(m_hObject);
    m_hObject = nullptr;
  }
  operator HBRUSH() const { return m_hObject; }

 private:
  HBRUSH m_hObject = nullptr;
};

// ---------------------------------------------------------------------------
// Windows.

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  // Binds the object to an existing window, so that the window's parent can
  // pass it the notifications it reflects (owner drawing).
  BOOL Attach(HWND window);
  HWND Detach();
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  static CWnd* FromHandleAttached(HWND window);

  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
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
  void SetCheck(int check) { ::SendMessageW(m_hWnd, BM_SETCHECK, check, 0); }
};

class CProgressCtrl : public CWnd {
 public:
  void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, lower, upper); }
  int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, position, 0)); }
};

// An owner-drawn button that shows one of up to four pictures by state:
// up, pressed, focused, disabled.
class CBitmapButton : public CButton {
 public:
  CBitmapButton() = default;
  ~CBitmapButton() override;

  // Takes over button id of parent and loads the bitmaps named by its
  // caption followed by U (required), D, F and X; resizes it to U.
  BOOL AutoLoad(UINT id, CWnd* parent);
  BOOL LoadBitmaps(const wchar_t* up, const wchar_t* down, const wchar_t* focus,
                   const wchar_t* disabled);
  void SizeToContent();

  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  virtual void DrawItem(const DRAWITEMSTRUCT* item);

 private:
  void FreeBitmaps();
  HBITMAP m_bitmap = nullptr;          // up
  HBITMAP m_bitmapSel = nullptr;       // pressed
  HBITMAP m_bitmapFocus = nullptr;     // focused
  HBITMAP m_bitmapDisabled = nullptr;  // disabled
};

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

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  // Default painting for dialogs that paint nothing of their own.
  void OnPaint() { ::DefWindowProcW(m_hWnd, WM_PAINT, 0, 0); }

  // What the dialog procedure does with a message no entry answers.
  virtual INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  UINT m_nIDHelp;
  CWnd* m_pParentWnd;

  DECLARE_MESSAGE_MAP()

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

// ---------------------------------------------------------------------------
// The application.

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

#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// What the dispatcher hands an ON_WM_CTLCOLOR entry.
struct CtlColorRequest {
  CWnd* control;  // the object bound to the control, or a temporary one
  UINT kind;      // CTLCOLOR_MSGBOX (0) to CTLCOLOR_STATIC (6)
};
