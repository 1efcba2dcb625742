// The terms of use, streamed from the executable's own resource into a
// read-only rich text area.
#pragma once

#include "ui/framework/afxwin.h"

class CEulaDlg : public CDialog {
 public:
  CEulaDlg();

 protected:
  BOOL OnInitDialog() override;
  void OnDpiChanged(UINT dpi) override;
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnBnClickedOk();

  DECLARE_MESSAGE_MAP()

 private:
  CBitmapButton m_closeButton;
  CRichEditCtrl m_textArea;
};

// Feeds the text area from the memory file named by cookie; always 0 (no
// error); a delivery of 0 bytes ends the stream.
DWORD CALLBACK TermsStreamCallback(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered);
