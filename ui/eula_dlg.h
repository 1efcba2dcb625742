// The terms of use, streamed from the executable's own resource into a
// read-only rich text area.
#pragma once

#include <memory>

#include "ui/framework/afxwin.h"

class CEulaDlg : public CDialog {
 public:
  CEulaDlg();
  ~CEulaDlg() override;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnBnClickedOk();

  DECLARE_MESSAGE_MAP()

 private:
  std::unique_ptr<CBitmapButton> m_pCloseButton;
};

// Feeds the text area from the memory file named by cookie; always 0 (no
// error); a delivery of 0 bytes ends the stream.
DWORD CALLBACK TermsStreamCallback(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* delivered);
