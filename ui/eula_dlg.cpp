#include "ui/eula_dlg.h"

#include <richedit.h>

#include "res/resource.h"
#include "ui/trellin_dlg.h"

BEGIN_MESSAGE_MAP(CEulaDlg, CDialog)
  ON_WM_ERASEBKGND()
  ON_BN_CLICKED(IDOK, OnBnClickedOk)
END_MESSAGE_MAP()

CEulaDlg::CEulaDlg() : CDialog(IDD_TERMS_DIALOG, nullptr) {
  AfxInitRichEdit();
  m_pCloseButton = std::make_unique<CBitmapButton>();
}

CEulaDlg::~CEulaDlg() = default;

BOOL CEulaDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_pCloseButton->AutoLoad(IDOK, this);

  HWND textArea = GetDlgItem(IDC_TERMS_TEXT);
  HINSTANCE module = AfxGetInstanceHandle();
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_TERMS_RTF), L"" RESOURCE_TYPE_RTF);
  const DWORD size = resource != nullptr ? SizeofResource(module, resource) : 0;
  HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
  const auto* bytes = static_cast<const std::uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);

  // Read in place: the document is never copied.
  CMemFile document;
  document.Attach(bytes, size, 0);
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&document);
  stream.dwError = 0;
  stream.pfnCallback = &TermsStreamCallback;
  ::SendMessageW(textArea, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  document.Detach();
  return TRUE;
}

BOOL CEulaDlg::OnEraseBkgnd(CDC* pDC) { return EraseBackgroundWhite(this, pDC); }

void CEulaDlg::OnBnClickedOk() { OnOK(); }

DWORD CALLBACK TermsStreamCallback(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered) {
  auto* file = reinterpret_cast<CFile*>(cookie);
  *delivered = wanted > 0 ? static_cast<LONG>(file->Read(buffer, static_cast<unsigned int>(wanted))) : 0;
  return 0;
}
