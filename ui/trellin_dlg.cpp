#include "ui/trellin_dlg.h"

#include "core/wide.h"
#include "product/product_config.h"
#include "res/resource.h"
#include "ui/accessible_name.h"
#include "ui/dialog_helpers.h"
#include "ui/eula_dlg.h"

namespace {

constexpr wchar_t kBusyBoxCaption[] = L"Installation in Progress";
constexpr UINT_PTR kPrepareTimer = 1;

}  // namespace

BEGIN_MESSAGE_MAP(CTrellinDlg, CDialog)
  ON_WM_PAINT()
  ON_WM_QUERYDRAGICON()
  ON_WM_ERASEBKGND()
  ON_WM_CTLCOLOR()
  ON_BN_CLICKED(IDC_CONTINUE, OnBnClickedContinue)
  ON_BN_CLICKED(IDC_AGREE, OnBnClickedAgree)
  ON_BN_CLICKED(IDC_CONFIGURE, OnBnClickedConfigure)
  ON_NOTIFY(NM_CLICK, IDC_TERMS_LINK, OnNMClickTermsLink)
  ON_NOTIFY(NM_RETURN, IDC_TERMS_LINK, OnNMClickTermsLink)
  ON_BN_CLICKED(IDC_FINISHED, OnBnClickedFinished)
  ON_NOTIFY(NM_CLICK, IDC_LOG_LINK, OnNMClickLogLink)
  ON_NOTIFY(NM_RETURN, IDC_LOG_LINK, OnNMClickLogLink)
  ON_MESSAGE(kWmInstallView, OnViewMessage)
  ON_MESSAGE(WM_TIMER, OnTimerMessage)
END_MESSAGE_MAP()

CTrellinDlg::CTrellinDlg(InstallRunner& runner, const InstallerServices& services, UiMode mode,
                         Operation operation, const char16_t* folder, const char16_t* logPath)
    : CDialog(IDD_INSTALLER_DIALOG, nullptr), m_runner(runner), m_services(services), m_mode(mode),
      m_operation(operation), m_startFolder(folder), m_logPath(logPath) {
  runner.Observe(m_view);
  m_whiteBrush.CreateSolidBrush(kWhite);
}

CTrellinDlg::~CTrellinDlg() {
  // Nothing more reaches the window; a package written ahead goes.
  m_view.ShowIn(nullptr);
  m_runner.Stop();
}

void CTrellinDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_AGREE, m_agreeCheck);
  DDX_Text(pDX, IDC_STATUS_TEXT, m_statusText);
  DDX_Text(pDX, IDC_FOLDER, m_folder);
}

BOOL CTrellinDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_installState = m_runner.Outcome().found;
  m_folder = m_startFolder != nullptr ? AsWide(m_startFolder) : L"";
  m_view.ShowIn(m_hWnd);
  m_services.service.SetDialogOwner(m_hWnd);

  LoadArt(*this, m_art);
  NameDialogControls(m_hWnd);

  m_step = WizardStep::Welcome;
  ShowScreen();
  MakePrimary(m_hWnd, PrimaryButton(m_installState));

  SetWindowText(AsWide(ProductConfig::DisplayName));
  FitAcceptLine(m_hWnd);
  // The service loads beside the window while the user reads, once Welcome
  // is painted: a timer's message comes after the window's paints, and a
  // worker loading msi.dll meanwhile would hold the loader from the window.
  ::SetTimer(m_hWnd, kPrepareTimer, 0, nullptr);

  if (StartsAtOnce(m_operation, m_installState)) {
    m_stageStatus = StageStatus(m_operation == Operation::Uninstall ? InstallStage::Removing : InstallStage::Repairing);
    ShowStatus(m_stageStatus);
    StartRun();
    return FALSE;  // the focus is set
  }

  // A passive run takes the terms as accepted (the command line says so)
  // and presses the screen's button itself, once the window is up.
  const bool passive = m_mode == UiMode::Passive;
  if (passive && m_installState != InstallState::UpToDate) {
    m_agreeCheck.SetCheck(BST_CHECKED);
    m_art.continueButton.EnableWindow(TRUE);
  }
  if (passive) PressLater(m_hWnd, PrimaryButton(m_installState));
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(FirstFocus(m_installState, passive))), TRUE);
  return FALSE;  // the focus is set
}

void CTrellinDlg::OnDpiChanged(UINT dpi) {
  ShowArtFor(m_hWnd, dpi, m_art);
  // The texts' extents changed with the font.
  FitAcceptLine(m_hWnd);
  if (m_step == WizardStep::Finished && m_outcome.reason[0] != 0) PlaceBelowLine(m_hWnd, AsWide(m_outcome.reason));
}

void CTrellinDlg::SetStatus(StatusText text) {
  char16_t line[kStatusLineCapacity];
  m_statusText = AsWide(StatusLine(text, m_outcome, line));
}

void CTrellinDlg::ShowStatus(StatusText text) {
  SetStatus(text);
  SetDlgItemTextW(m_hWnd, IDC_STATUS_TEXT, m_statusText.GetString());
}

void CTrellinDlg::ShowScreen() {
  for (const ScreenAction& action : WizardScreen(m_step, m_installState)) {
    switch (action.op) {
      case ScreenOp::Hide: ::ShowWindow(GetDlgItem(action.control), SW_HIDE); break;
      case ScreenOp::Show: ::ShowWindow(GetDlgItem(action.control), SW_SHOWNORMAL); break;
      case ScreenOp::Enable: ::EnableWindow(GetDlgItem(action.control), TRUE); break;
      case ScreenOp::Disable: ::EnableWindow(GetDlgItem(action.control), FALSE); break;
      case ScreenOp::SetStatus: SetStatus(action.text); break;
      case ScreenOp::UpdateData: UpdateData(FALSE); break;
      case ScreenOp::ProgressFull: m_view.ShowFull(); break;
    }
  }
}

void CTrellinDlg::OnBnClickedContinue() {
  UpdateData(TRUE);
  // A typed folder that cannot be installed to is said now, before anything
  // is removed; the user stays here with the text as typed. (A passive
  // run's folder was checked before the window opened.)
  if (m_mode == UiMode::Full && !FolderIsUsable(m_hWnd, m_services.packageFile, m_folder.GetString())) return;
  StartRun();
}

void CTrellinDlg::StartRun() {
  m_step = WizardStep::Installing;
  // The service starts first; the screen turns while it works.
  m_runner.Start(AsUtf16(m_folder.GetString()));
  ShowScreen();
  // No control of this screen takes the focus; without one the keys would
  // reach the window as system keys, and Escape would not ask to cancel.
  ::SetFocus(m_hWnd);
}

void CTrellinDlg::OnStage(InstallStage stage) {
  m_stageStatus = StageStatus(stage);
  // The status alone: the action text is the view's. A cancel under way
  // still says so.
  ShowStatus(m_cancelling ? StatusText::Cancelling : m_stageStatus);
}

void CTrellinDlg::OnCancelDropped() {
  m_cancelling = false;
  ShowStatus(m_stageStatus);
  SayCancelRefused(m_hWnd, CancelRefusal::PreviousVersionRemoved);
}

void CTrellinDlg::OnFinished(const InstallOutcome& outcome) {
  m_cancelling = false;
  m_outcome = outcome;
  // The Finished screen shows what was asked done, or not: a removal done
  // is a success too.
  m_installState = Succeeded(outcome.verdict) ? InstallState::UpToDate : InstallState::NotInstalled;
  // The user went back before anything changed: Welcome, as it was.
  if (outcome.verdict == Verdict::Left) {
    m_installState = outcome.state;
    m_step = WizardStep::WelcomeAgain;
    ShowScreen();
    m_step = WizardStep::Welcome;
    MakePrimary(m_hWnd, IDC_CONTINUE);
    return;
  }
  m_step = WizardStep::Finished;
  ShowScreen();
  MakePrimary(m_hWnd, IDC_FINISHED);
  AfterOutcome();
}

void CTrellinDlg::AfterOutcome() {
  // What failed, or why Windows must restart, in a line under the status;
  // a cancel says enough itself.
  if (m_outcome.reason[0] != 0) {
    m_view.ShowLine(AsWide(m_outcome.reason));
    PlaceBelowLine(m_hWnd, AsWide(m_outcome.reason));
  }
  if (m_installState != InstallState::UpToDate) {
    if (m_logPath[0] != u'\0') ::ShowWindow(GetDlgItem(IDC_LOG_LINK), SW_SHOWNORMAL);
    const OperationResult& failure = m_outcome.failure;
    if (failure.called && failure.service.status == ServiceStatus::Busy && m_mode == UiMode::Full) {
      MessageBoxW(m_hWnd, AsWide(kAnotherInstallText), kBusyBoxCaption, MB_OK | MB_ICONWARNING);
    }
  }
  if (m_mode == UiMode::Passive) PressLater(m_hWnd, IDC_FINISHED);
}

LRESULT CTrellinDlg::OnTimerMessage(WPARAM id, LPARAM) {
  if (id != kPrepareTimer) return 0;
  ::KillTimer(m_hWnd, kPrepareTimer);
  m_runner.Prepare();
  return 0;
}

void CTrellinDlg::OnBnClickedFinished() { CDialog::OnOK(); }

void CTrellinDlg::OnNMClickLogLink(NMHDR*, LRESULT* pResult) {
  OpenInViewer(m_hWnd, AsWide(m_logPath));
  *pResult = 0;
}

void CTrellinDlg::OnOK() {
  // Enter (the dialog's OK) presses the screen's primary button when it
  // can be pressed, and does nothing else.
  if (m_step == WizardStep::Installing) return;
  if (CanPress(m_hWnd, IDC_CONTINUE)) {
    OnBnClickedContinue();
  } else if (CanPress(m_hWnd, IDC_FINISHED)) {
    OnBnClickedFinished();
  }
}

void CTrellinDlg::OnCancel() {
  // Escape and the close box end the installer before and after the
  // install; while it runs they offer to cancel it.
  if (m_step == WizardStep::Installing) {
    AskToCancel();
    return;
  }
  CDialog::OnCancel();
}

void CTrellinDlg::AskToCancel() {
  // A cancel under way says so until the run ends.
  if (m_cancelling) return;
  // Refused at once with its reason; else asked, and asked of the run again,
  // which may have ended or moved on while the box was open.
  CancelRefusal refusal = m_runner.CanCancel();
  if (refusal == CancelRefusal::None) {
    if (!ConfirmCancel(m_hWnd) || m_step != WizardStep::Installing) return;
    refusal = m_runner.RequestCancel();
  }
  if (refusal != CancelRefusal::None) {
    SayCancelRefused(m_hWnd, refusal);
    return;
  }
  m_cancelling = true;
  ShowStatus(StatusText::Cancelling);
}

void CTrellinDlg::OnBnClickedAgree() {
  UpdateData(TRUE);
  const bool agreed = m_agreeCheck.GetCheck() == BST_CHECKED;
  m_art.continueButton.EnableWindow(agreed);
  // The install is the next thing the user can start: its package is
  // written now, while the user moves to CONTINUE, not after the click.
  if (agreed) m_runner.WriteAhead();
}

void CTrellinDlg::OnBnClickedConfigure() {
  UpdateData(TRUE);
  wchar_t path[MAX_PATH];
  if (ChooseFolder(m_hWnd, path)) m_folder = path;
  UpdateData(FALSE);
}

void CTrellinDlg::OnNMClickTermsLink(NMHDR*, LRESULT* pResult) {
  CEulaDlg terms;
  terms.DoModal();
  *pResult = 0;
}

void CTrellinDlg::OnPaint() {
  if (IsIconic()) {
    PaintMinimized(*this, m_art.icon);
  } else {
    CDialog::OnPaint();
  }
}

HCURSOR CTrellinDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_art.icon); }

BOOL CTrellinDlg::OnEraseBkgnd(CDC* pDC) { return EraseBackgroundWhite(this, pDC); }

HBRUSH CTrellinDlg::OnCtlColor(CDC* pDC, CWnd*, UINT) {
  pDC->SetBkColor(kWhite);
  pDC->SetTextColor(kDarkBlue);
  return m_whiteBrush;
}
