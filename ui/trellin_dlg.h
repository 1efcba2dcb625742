// The installer's main window: what detection found, the terms, the folder,
// and the three screens of the install.
#pragma once

#include "detect/detection.h"
#include "installer/command_line.h"
#include "installer/install_operations.h"
#include "installer/install_runner.h"
#include "ui/dialog_layout.h"
#include "ui/framework/afxwin.h"
#include "ui/install_view.h"
#include "ui/wizard_flow.h"

// The window shows the run and asks it to start, to cancel and to stop;
// the runner owns the run, and the session judges its outcome.
class CTrellinDlg : public CDialog, private InstallViewOwner {
 public:
  // runner: the run, whose session has begun (what it found is the Welcome
  // screen's). services: the machine, for the folder check and the
  // service's own dialogs. mode: Full or Passive. folder: where the
  // install starts (null: the package's default). logPath: the run's log
  // file, offered on failure; empty without one.
  // operation: an install, or a removal or a repair of the package's own
  // version, which start at once.
  CTrellinDlg(InstallRunner& runner, const InstallerServices& services, UiMode mode, Operation operation,
              const char16_t* folder, const char16_t* logPath);
  // The run goes on without the window, and is stopped before an install.
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
  LRESULT OnViewMessage(WPARAM what, LPARAM data) { return m_view.OnViewMessage(what, data); }
  LRESULT OnTimerMessage(WPARAM id, LPARAM);

  DECLARE_MESSAGE_MAP()

 private:
  // Turns the window into the screen of m_step for m_installState.
  void ShowScreen();
  // CONTINUE, or the start of a removal or repair: the service starts.
  void StartRun();
  void OnStage(InstallStage stage) override;
  void OnCancelDropped() override;
  void OnFinished(const InstallOutcome& outcome) override;
  // Escape, the close box and Alt+F4 while installing.
  void AskToCancel();
  void ShowStatus(StatusText text);
  void SetStatus(StatusText text);
  // After the Finished screen: what a failure needs said, and a passive
  // run's end.
  void AfterOutcome();

  InstallRunner& m_runner;
  const InstallerServices& m_services;
  const UiMode m_mode;
  const Operation m_operation;
  const char16_t* m_startFolder;
  const char16_t* m_logPath;
  InstallView m_view{this};
  CBrush m_whiteBrush;
  DialogArt m_art;
  CButton m_agreeCheck;
  CString m_statusText;
  CString m_folder;
  InstallState m_installState = InstallState::NotInstalled;
  WizardStep m_step = WizardStep::Welcome;
  // What the status says while the stage runs.
  StatusText m_stageStatus = StatusText::DisplayName;
  InstallOutcome m_outcome;
  // A cancel was taken: the status says so until the run ends.
  bool m_cancelling = false;
};
