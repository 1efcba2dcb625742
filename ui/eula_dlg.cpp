#include "ui/eula_dlg.h"

#include <richedit.h>

#include "res/resource.h"
#include "res/resource_bytes.h"
#include "ui/dialog_helpers.h"

BEGIN_MESSAGE_MAP(CEulaDlg, CDialog)
  ON_WM_ERASEBKGND()
  ON_BN_CLICKED(IDOK, OnBnClickedOk)
END_MESSAGE_MAP()

CEulaDlg::CEulaDlg() : CDialog(IDD_TERMS_DIALOG, nullptr) { AfxInitRichEdit(); }

BOOL CEulaDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_closeButton.AutoLoad(IDOK, this);

  m_textArea.SubclassDlgItem(IDC_TERMS_TEXT, this);
  const ResourceBytes terms =
      LoadResourceBytes(AfxGetInstanceHandle(), IDR_TERMS_RTF, L"" RESOURCE_TYPE_RTF);

  // Read in place: the document is never copied.
  CMemFile document;
  document.Attach(terms.bytes, static_cast<unsigned int>(terms.size), 0);
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&document);
  stream.dwError = 0;
  stream.pfnCallback = &TermsStreamCallback;
  m_textArea.StreamIn(SF_RTF, stream);
  document.Detach();
  return TRUE;
}

void CEulaDlg::OnDpiChanged(UINT dpi) { m_closeButton.LoadForDpi(dpi); }

BOOL CEulaDlg::OnEraseBkgnd(CDC* pDC) { return EraseBackgroundWhite(this, pDC); }

void CEulaDlg::OnBnClickedOk() { OnOK(); }

DWORD CALLBACK TermsStreamCallback(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered) {
  auto* file = reinterpret_cast<CFile*>(cookie);
  *delivered = wanted > 0 ? static_cast<LONG>(file->Read(buffer, static_cast<unsigned int>(wanted))) : 0;
  return 0;
}
