// The installer's main window: what detection found, the terms, the folder,
// and the three screens of the install.
#pragma once

#include "detect/detection.h"
#include "installer/command_line.h"
#include "installer/install_operations.h"
#include "ui/framework/afxwin.h"
#include "ui/wizard_flow.h"

class CTrellinDlg : public CDialog {
 public:
  // services: the machine the dialog detects on and installs to, built by
  // the start-up. options: the command line's (Full or Passive). logPath:
  // the run's log file, offered on failure; empty without one.
  CTrellinDlg(const InstallerServices& services, const InstallOptions& options,
              const wchar_t* logPath);

  // How the run ended, once the dialog has: the process's exit code.
  int ExitCode() const;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  void OnPaint();
  HCURSOR OnQueryDragIcon();
  BOOL OnEraseBkgnd(CDC* pDC);
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  void OnBnClickedContinue();
  void OnBnClickedAgree();
  void OnBnClickedConfigure();
  void OnNMClickTermsLink(NMHDR* pNMHDR, LRESULT* pResult);
  void OnBnClickedFinished();
  void OnNMClickLogLink(NMHDR* pNMHDR, LRESULT* pResult);
  void OnDpiChanged(UINT dpi) override;

  DECLARE_MESSAGE_MAP()

 private:
  // Turns the window into the screen of m_step for m_installState; in the
  // Installing step also removes and installs, returning when they are over.
  void RunWizardStep();
  void DetectInstallState();
  // Says what is wrong with the folder text in a box owned by the dialog.
  bool FolderIsUsable();
  bool CanPress(int id) const;
  void SetPrimaryButton(int id);
  void DiscardQueuedInput();
  void SetStatus(StatusText text);
  // After the Finished screen: what a failure needs said, and a passive
  // run's end.
  void AfterOutcome();
  void Press(int id);
  // The banner and the separator at the scale nearest dpi.
  void ShowPicturesFor(UINT dpi);
  void ShowPicture(int control, WORD picture, CBitmap& shown);

  const InstallerServices& m_services;
  const InstallOptions& m_options;
  const wchar_t* m_logPath;
  InstallOperations m_operations;
  HICON m_hIcon;
  CBrush m_whiteBrush;
  CBitmapButton m_continueButton;
  CBitmapButton m_configureButton;
  CBitmapButton m_finishedButton;
  CBitmap m_banner;     // once the template's own picture is replaced
  CBitmap m_separator;  // likewise
  CButton m_agreeCheck;
  CProgressCtrl m_progress;
  CString m_statusText;
  CString m_actionText;
  CString m_folder;
  InstallState m_installState = InstallState::NotInstalled;
  WizardStep m_step = WizardStep::Welcome;
  FlowOutcome m_outcome;
};
