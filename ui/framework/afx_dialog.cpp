#include "ui/framework/afx_dialog.h"

#include "ui/framework/afx_app.h"

namespace {

// The framework's own message, after the dialog manager's answer to a dpi
// change; above what the installer's code uses.
constexpr UINT kWmAfterDpiChanged = WM_APP + 0x3F00;

}  // namespace

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

void CDialog::OnDpiChanged(UINT) {}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->Attach(window);
    return dialog->OnInitDialog();
  }
  // Only the dialog binds its own window, so what is bound to it is a
  // CDialog; the few messages before WM_INITDIALOG find nothing.
  auto* dialog = static_cast<CDialog*>(CWnd::FromHandleAttached(window));
  if (dialog == nullptr) return FALSE;
  return dialog->Dispatch(message, wParam, lParam);
}

// Written only when it changes: each write is a request to the window
// manager, and most answers are 0, which the dialog manager has set already.
void CDialog::SetMessageResult(LRESULT result) {
  if (GetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT) != result) SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
}

// FALSE leaves a message to the dialog manager's own handling.
INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  const AFX_MSGMAP* map = GetMessageMap();
  if (message == WM_DRAWITEM) {
    // Owner-drawn controls draw themselves.
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    CWnd* control = CWnd::FromHandleAttached(item->hwndItem);
    LRESULT result = 0;
    if (control != nullptr && control->OnChildNotify(message, wParam, lParam, &result)) {
      SetMessageResult(result);
      return TRUE;
    }
    return FALSE;
  }
  if (message == WM_COMMAND) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map, WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
    if (entry == nullptr) return FALSE;
    entry->pfn(this, wParam, lParam);
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map, WM_NOTIFY, header->code,
                                                     static_cast<std::uint32_t>(header->idFrom));
    if (entry == nullptr) return FALSE;
    SetMessageResult(entry->pfn(this, wParam, lParam));
    return TRUE;
  }
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map, WM_CTLCOLOR, 0, 0);
    if (entry == nullptr) return FALSE;
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
  if (message == WM_DPICHANGED) {
    // The dialog manager answers first: it resizes the window and lays out
    // the template again for the new dpi; the dialog follows after that.
    PostMessageW(m_hWnd, kWmAfterDpiChanged, LOWORD(wParam), 0);
    return FALSE;
  }
  if (message == kWmAfterDpiChanged) {
    OnDpiChanged(static_cast<UINT>(wParam));
    return TRUE;
  }
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map, message, 0, 0);
  if (entry == nullptr) return FALSE;
  const INT_PTR result = entry->pfn(this, wParam, lParam);
  if (message == WM_QUERYDRAGICON) return result;
  SetMessageResult(result);
  return TRUE;
}
