#include "ui/framework/afxwin.h"

#include <climits>
#include <cstdlib>
#include <cwchar>
#include <initializer_list>

namespace {

// The window property that leads from a window to the object bound to it.
const wchar_t kObjectProperty[] = L"KelvaneFrameworkObject";

CWinApp* g_app = nullptr;
// The rich edit library, once loaded.
HMODULE g_richEdit = nullptr;

}  // namespace

// ---------------------------------------------------------------------------

void AfxThrowMemoryException() { std::abort(); }

CString::~CString() { std::free(m_data); }

bool CString::operator==(const wchar_t* text) const {
  return std::wcscmp(GetString(), text != nullptr ? text : L"") == 0;
}

void CString::Replace(int keep, const wchar_t* text) {
  const std::size_t added = text != nullptr ? std::wcslen(text) : 0;
  if (added >= static_cast<std::size_t>(INT_MAX - keep)) AfxThrowMemoryException();
  const int length = keep + static_cast<int>(added);
  // A new buffer before the old one goes: text may point into it.
  auto* grown = static_cast<wchar_t*>(std::malloc((static_cast<std::size_t>(length) + 1) * sizeof(wchar_t)));
  if (grown == nullptr) AfxThrowMemoryException();
  if (keep > 0) std::wmemcpy(grown, m_data, static_cast<std::size_t>(keep));
  if (added > 0) std::wmemcpy(grown + keep, text, added);
  grown[length] = L'\0';
  std::free(m_data);
  m_data = grown;
  m_length = length;
  m_capacity = length + 1;
}

wchar_t* CString::GetBufferSetLength(int length) {
  if (length < 0) length = 0;
  if (length == INT_MAX) AfxThrowMemoryException();
  auto* buffer = static_cast<wchar_t*>(std::calloc(static_cast<std::size_t>(length) + 1, sizeof(wchar_t)));
  if (buffer == nullptr) AfxThrowMemoryException();
  std::free(m_data);
  m_data = buffer;
  m_length = 0;
  m_capacity = length + 1;
  return buffer;
}

void CString::ReleaseBuffer() {
  if (m_data == nullptr) return;
  m_data[m_capacity - 1] = L'\0';
  m_length = static_cast<int>(std::wcslen(m_data));
}

// ---------------------------------------------------------------------------

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd) { m_hDC = BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() { EndPaint(m_hWnd, &m_ps); }

// ---------------------------------------------------------------------------

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

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

// ---------------------------------------------------------------------------

CBitmapButton::~CBitmapButton() { FreeBitmaps(); }

void CBitmapButton::FreeBitmaps() {
  for (HBITMAP* bitmap : {&m_bitmap, &m_bitmapSel, &m_bitmapFocus, &m_bitmapDisabled}) {
    if (*bitmap != nullptr) DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
}

BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent) {
  if (!SubclassDlgItem(id, parent)) return FALSE;
  const int length = GetWindowTextLengthW(m_hWnd);
  CString base;
  GetWindowTextW(m_hWnd, base.GetBufferSetLength(length), length + 1);
  base.ReleaseBuffer();
  if (base.IsEmpty()) return FALSE;
  CString up = base, down = base, focus = base, disabled = base;
  up += L"U";
  down += L"D";
  focus += L"F";
  disabled += L"X";
  if (!LoadBitmaps(up, down, focus, disabled)) return FALSE;
  SizeToContent();
  return TRUE;
}

BOOL CBitmapButton::LoadBitmaps(const wchar_t* up, const wchar_t* down, const wchar_t* focus,
                                const wchar_t* disabled) {
  FreeBitmaps();
  auto load = [](const wchar_t* name) -> HBITMAP {
    if (name == nullptr) return nullptr;
    return LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name);
  };
  m_bitmap = load(up);
  if (m_bitmap == nullptr) return FALSE;
  m_bitmapSel = load(down);
  m_bitmapFocus = load(focus);
  m_bitmapDisabled = load(disabled);
  return TRUE;
}

void CBitmapButton::SizeToContent() {
  BITMAP info{};
  if (m_bitmap == nullptr || GetObjectW(m_bitmap, sizeof info, &info) == 0) return;
  SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CBitmapButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message != WM_DRAWITEM) return false;
  DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  *result = TRUE;
  return true;
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT* item) {
  HBITMAP bitmap = m_bitmap;
  const UINT state = item->itemState;
  if ((state & ODS_SELECTED) && m_bitmapSel != nullptr) {
    bitmap = m_bitmapSel;
  } else if ((state & ODS_FOCUS) && m_bitmapFocus != nullptr) {
    bitmap = m_bitmapFocus;
  } else if ((state & ODS_DISABLED) && m_bitmapDisabled != nullptr) {
    bitmap = m_bitmapDisabled;
  }
  if (bitmap == nullptr) return;
  HDC memory = CreateCompatibleDC(item->hDC);
  if (memory == nullptr) return;
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const RECT& r = item->rcItem;
  BitBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
}

// ---------------------------------------------------------------------------

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.m_hWnd == nullptr) control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  HWND control = pDX->m_pDlgWnd->GetDlgItem(id);
  if (pDX->m_bSaveAndValidate) {
    const int length = GetWindowTextLengthW(control);
    GetWindowTextW(control, value.GetBufferSetLength(length), length + 1);
    value.ReleaseBuffer();
  } else {
    SetWindowTextW(control, value);
  }
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog, CCmdTarget)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
  // Without a parent of its own the dialog is owned by the main window.
  HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
  if (owner == nullptr && AfxGetApp() != nullptr && AfxGetApp()->m_pMainWnd != this &&
      AfxGetApp()->m_pMainWnd != nullptr) {
    owner = AfxGetApp()->m_pMainWnd->m_hWnd;
  }
  const wchar_t* name = MAKEINTRESOURCEW(m_nIDHelp);
  const INT_PTR result = DialogBoxParamW(AfxFindResourceHandle(name, RT_DIALOG), name, owner,
                                         &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  Detach();
  return result;
}

BOOL CDialog::OnInitDialog() { return UpdateData(FALSE); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange exchange(this, saveAndValidate);
  DoDataExchange(&exchange);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CDialog::WindowProc(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    dialog->Attach(window);
    return dialog->OnInitDialog();
  }
  auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  return dialog->Dispatch(message, wParam, lParam);
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  const AFX_MSGMAP* map = GetMessageMap();
  if (message == WM_DRAWITEM) {
    // Owner-drawn controls draw themselves.
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    CWnd* control = CWnd::FromHandleAttached(item->hwndItem);
    LRESULT result = 0;
    if (control != nullptr && control->OnChildNotify(message, wParam, lParam, &result)) {
      SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
      return TRUE;
    }
    return WindowProc(message, wParam, lParam);
  }
  if (message == WM_COMMAND) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map, WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
    if (entry == nullptr) return WindowProc(message, wParam, lParam);
    entry->pfn(this, wParam, lParam);
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map, WM_NOTIFY, header->code,
                                                     static_cast<std::uint32_t>(header->idFrom));
    if (entry == nullptr) return WindowProc(message, wParam, lParam);
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, entry->pfn(this, wParam, lParam));
    return TRUE;
  }
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map, WM_CTLCOLOR, 0, 0);
    if (entry == nullptr) return WindowProc(message, wParam, lParam);
    HWND controlWindow = reinterpret_cast<HWND>(lParam);
    CWnd temporary;
    CWnd* control = CWnd::FromHandleAttached(controlWindow);
    if (control == nullptr) {
      temporary.m_hWnd = controlWindow;
      control = &temporary;
    }
    CtlColorRequest request{control, message - WM_CTLCOLORMSGBOX};
    const INT_PTR brush = entry->pfn(this, wParam, reinterpret_cast<LPARAM>(&request));
    temporary.m_hWnd = nullptr;
    // Control-colour answers go back as the procedure's own result.
    return brush;
  }
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map, message, 0, 0);
  if (entry == nullptr) return WindowProc(message, wParam, lParam);
  const INT_PTR result = entry->pfn(this, wParam, lParam);
  if (message == WM_QUERYDRAGICON) return result;
  SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

// ---------------------------------------------------------------------------

CWinApp::CWinApp(const wchar_t* appName) : m_pszAppName(appName) { g_app = this; }

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

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

HINSTANCE AfxFindResourceHandle(const wchar_t*, const wchar_t*) {
  // Every resource lives in the executable itself: no satellite modules.
  return AfxGetResourceHandle();
}

BOOL AfxInitRichEdit() {
  // Not a function-local static: its guard would pull in the runtime's
  // exception machinery. Only the UI thread gets here.
  if (g_richEdit == nullptr) {
    g_richEdit = LoadLibraryExW(L"riched20.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
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
