// The installer's main window: what detection found, the terms, the folder,
// and the three screens of the install.
#pragma once

#include "detect/detection.h"
#include "installer/command_line.h"
#include "installer/install_operations.h"
#include "installer/install_session.h"
#include "ui/framework/afxwin.h"
#include "ui/install_view.h"
#include "ui/wizard_flow.h"

// The window is the session's observer: it shows the steps the session
// runs and the outcome the session judges.
class CTrellinDlg : public CDialog, private InstallView {
 public:
  // session: the run, begun (what it found is the Welcome screen's). services:
  // the machine it runs on, for the folder check and the service's own
  // dialogs. mode: Full or Passive. folder: where the install starts (null:
  // the package's default). logPath: the run's log file, offered on
  // failure; empty without one.
  CTrellinDlg(InstallSession& session, const InstallerServices& services, UiMode mode,
              const char16_t* folder, const char16_t* logPath);
  ~CTrellinDlg() override;

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
  // Turns the window into the screen of m_step for m_installState.
  void ShowScreen();
  // The worker: started when the terms are accepted, it writes the package
  // out while the user moves to CONTINUE, then waits to run the session.
  // The window's thread keeps its message loop and hears of the end by
  // message.
  void StartWorker();
  void StartInstall();
  // The dialog ends without an install: the worker deletes the package.
  void StopWorker();
  // Waits, bounded, for a worker that has nothing left to do but return.
  void JoinWorker();
  static DWORD WINAPI InstallThread(void* dialog);
  void OnStage(InstallStage stage) override;
  void OnFinished(const InstallOutcome& outcome) override;
  // Escape, the close box and Alt+F4 while installing.
  void AskToCancel();
  void ShowStatus(StatusText text);
  // Says what is wrong with the folder text in a box owned by the dialog.
  bool FolderIsUsable();
  bool CanPress(int id) const;
  void SetPrimaryButton(int id);
  void SetStatus(StatusText text);
  // After the Finished screen: what a failure needs said, and a passive
  // run's end.
  void AfterOutcome();
  void Press(int id);
  // A control's place in the client area.
  RECT ChildRect(int id) const;
  // Sizes the accept label to its text and puts the link right after it.
  void FitAcceptLine();
  // On a failure's Finished screen: what failed, in the action text's place,
  // and the log link below it.
  void ShowFailureReason();
  void PlaceBelowFailureReason();
  // The banner and the separator at the scale nearest dpi.
  void ShowPicturesFor(UINT dpi);
  void ShowPicture(int control, WORD picture, CBitmap& shown);

  InstallSession& m_session;
  const InstallerServices& m_services;
  const UiMode m_mode;
  const char16_t* m_startFolder;
  const char16_t* m_logPath;
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
  InstallOutcome m_outcome;
  HANDLE m_worker = nullptr;
  // Set when the worker may go on from the written package: to install, or
  // to delete it when m_leaving. Both fields are written before it is set.
  HANDLE m_go = nullptr;
  bool m_leaving = false;
  char16_t m_installFolder[kPathCapacity] = {};  // the worker's copy
  bool m_cancelling = false;
};
