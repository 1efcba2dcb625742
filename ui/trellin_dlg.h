// The installer's main window: what detection found, the terms, the folder,
// and the three screens of the install.
#pragma once

#include <memory>

#include "detect/detection.h"
#include "ui/framework/afxwin.h"
#include "ui/wizard_flow.h"

class CTrellinDlg : public CDialog {
 public:
  CTrellinDlg();
  ~CTrellinDlg() override;

  // Turns the window into the screen of m_step for m_installState; in the
  // Installing step also removes and installs, returning when they are over.
  void RunWizardStep();

  HICON m_hIcon;
  CBrush m_whiteBrush;
  std::unique_ptr<CBitmapButton> m_pContinueButton;
  std::unique_ptr<CBitmapButton> m_pConfigureButton;
  std::unique_ptr<CBitmapButton> m_pFinishedButton;
  std::unique_ptr<CButton> m_pAgreeCheck;
  std::unique_ptr<CString> m_pStatusText;
  std::unique_ptr<CString> m_pActionText;
  std::unique_ptr<CString> m_pFolder;
  std::unique_ptr<CProgressCtrl> m_pProgress;
  InstallState m_installState = InstallState::NotInstalled;
  WizardStep m_step = WizardStep::Welcome;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  void OnPaint();
  HCURSOR OnQueryDragIcon();
  BOOL OnEraseBkgnd(CDC* pDC);
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  void OnBnClickedContinue();
  void OnBnClickedAgree();
  void OnBnClickedConfigure();
  void OnNMClickTermsLink(NMHDR* pNMHDR, LRESULT* pResult);
  void OnBnClickedFinished();

  DECLARE_MESSAGE_MAP()

 private:
  void DetectInstallState();
  void SetStatus(StatusText text);
  void SendToProgress(UINT message, WPARAM wParam, LPARAM lParam);
};

// Shows the platform's folder browser owned by owner; afterwards path (260
// units) holds the chosen folder, or is left as it was when cancelled.
void ChooseFolder(HWND owner, wchar_t* path);

// Fills the whole client area of window white: the background of both dialogs.
BOOL EraseBackgroundWhite(CWnd* window, CDC* pDC);
