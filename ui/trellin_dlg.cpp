#include "ui/trellin_dlg.h"

#include <algorithm>

#include "core/wide.h"
#include "installer/exit_code.h"
#include "installer/failure_reason.h"
#include "installer/folder_check.h"
#include "product/product_config.h"
#include "res/resource.h"
#include "ui/accessible_name.h"
#include "ui/dialog_helpers.h"
#include "ui/eula_dlg.h"
#include "ui/framework/picture_scale.h"

namespace {

constexpr wchar_t kFolderBoxCaption[] = L"Installation Folder";
// What a screen reader says for the accept box: its label and link.
constexpr wchar_t kAgreeName[] = L"I Agree to the Terms of Use";
// The links' texts, without their markup.
constexpr wchar_t kTermsLinkName[] = L"Terms of Use";
constexpr wchar_t kLogLinkName[] = L"Open the installation log";
// The template's two pictures at each scale, in PictureScale's order.
constexpr WORD kBannerPictures[] = {IDB_SIDE_BANNER, IDB_SIDE_BANNER_150, IDB_SIDE_BANNER_200};
constexpr WORD kSeparatorPictures[] = {IDB_SEPARATOR, IDB_SEPARATOR_150, IDB_SEPARATOR_200};
// Between the failure's line and the log link, in dialog units.
constexpr LONG kLogLinkGapUnits = 4;
constexpr wchar_t kBusyBoxCaption[] = L"Installation in Progress";
constexpr wchar_t kCancelBoxCaption[] = L"Cancel Installation";
constexpr wchar_t kCancelQuestion[] = L"Do you want to cancel the installation?";
constexpr wchar_t kCancelTooLate[] =
    L"The previous version has been removed; the installation cannot be cancelled now.";
// How long the window waits for the worker to return once it has said that
// it is done (it has nothing left to do but return).
constexpr DWORD kWorkerEndMs = 10000;

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
END_MESSAGE_MAP()

CTrellinDlg::CTrellinDlg(InstallSession& session, const InstallerServices& services, UiMode mode,
                         const char16_t* folder, const char16_t* logPath)
    : CDialog(IDD_INSTALLER_DIALOG, nullptr), m_session(session), m_services(services),
      m_mode(mode), m_startFolder(folder), m_logPath(logPath) {
  session.Observe(*this);
  const wchar_t* icon = MAKEINTRESOURCEW(IDI_INSTALLER);
  m_hIcon = LoadIconW(AfxFindResourceHandle(icon, RT_GROUP_ICON), icon);
  m_whiteBrush.CreateSolidBrush(kWhite);
}

void CTrellinDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_PROGRESS, m_progress);
  DDX_Control(pDX, IDC_AGREE, m_agreeCheck);
  DDX_Text(pDX, IDC_STATUS_TEXT, m_statusText);
  DDX_Text(pDX, IDC_ACTION_TEXT, m_actionText);
  DDX_Text(pDX, IDC_FOLDER, m_folder);
}

BOOL CTrellinDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_installState = m_session.Outcome().found;
  m_folder = m_startFolder != nullptr ? AsWide(m_startFolder) : L"";
  ShowIn(m_hWnd);
  m_services.service.SetDialogOwner(m_hWnd);

  m_continueButton.AutoLoad(IDC_CONTINUE, this);
  m_configureButton.AutoLoad(IDC_CONFIGURE, this);
  m_finishedButton.AutoLoad(IDC_FINISHED, this);
  // The template's pictures are the 100 % ones.
  const UINT dpi = GetDpiForWindow(m_hWnd);
  if (NearestPictureScale(dpi) != PictureScale::Percent100) ShowPicturesFor(dpi);
  SetAccessibleName(GetDlgItem(IDC_AGREE), kAgreeName);
  SetAccessibleName(GetDlgItem(IDC_FOLDER), kFolderBoxCaption);
  SetAccessibleName(GetDlgItem(IDC_TERMS_LINK), kTermsLinkName);
  SetAccessibleName(GetDlgItem(IDC_LOG_LINK), kLogLinkName);

  m_step = WizardStep::Welcome;
  ShowScreen();
  SetPrimaryButton(m_installState == InstallState::UpToDate ? IDC_FINISHED : IDC_CONTINUE);

  SetWindowText(AsWide(ProductConfig::DisplayName));
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  FitAcceptLine();

  // A passive run takes the terms as accepted (the command line says so)
  // and presses the screen's button itself, once the window is up.
  if (m_mode == UiMode::Passive) {
    if (m_installState == InstallState::UpToDate) {
      Press(IDC_FINISHED);
    } else {
      m_agreeCheck.SetCheck(BST_CHECKED);
      m_continueButton.EnableWindow(TRUE);
      Press(IDC_CONTINUE);
    }
  }
  // The first focus is the window's choice, whatever the tab order: the one
  // thing Welcome needs from the user, or else the one button there is. Not
  // the folder box, which would open with its text selected and scrolled
  // to its end.
  int first = IDC_AGREE;
  if (m_installState == InstallState::UpToDate) {
    first = IDC_FINISHED;
  } else if (m_mode == UiMode::Passive) {
    first = IDC_CONTINUE;
  }
  SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(first)), TRUE);
  return FALSE;  // the focus is set
}

RECT CTrellinDlg::ChildRect(int id) const {
  RECT rect = {};
  ::GetWindowRect(GetDlgItem(id), &rect);
  MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void CTrellinDlg::FitAcceptLine() {
  // The label takes the width of its text and a space in the font the
  // window got, whatever the dpi, and the link follows it: the template's
  // width cuts "the" off under some fonts.
  HWND label = GetDlgItem(IDC_AGREE_LABEL);
  wchar_t text[64] = L"";
  const int length = ::GetWindowTextW(label, text, 63);
  text[length] = L' ';
  text[length + 1] = L'\0';
  const SIZE extent = TextExtent(label, text, 0);
  if (extent.cx <= 0) return;
  const RECT at = ChildRect(IDC_AGREE_LABEL);
  ::SetWindowPos(label, nullptr, 0, 0, extent.cx, std::max<LONG>(at.bottom - at.top, extent.cy),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(GetDlgItem(IDC_TERMS_LINK), nullptr, at.left + extent.cx, ChildRect(IDC_TERMS_LINK).top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTrellinDlg::ShowFailureReason() {
  char16_t reason[kFailureReasonCapacity];
  m_actionText = AsWide(FailureReason(m_outcome.last, reason));
  SetDlgItemTextW(m_hWnd, IDC_ACTION_TEXT, m_actionText.GetString());
  ::ShowWindow(GetDlgItem(IDC_ACTION_TEXT), SW_SHOWNORMAL);
  PlaceBelowFailureReason();
}

void CTrellinDlg::PlaceBelowFailureReason() {
  // The line wraps inside its control's width, which grows down to hold
  // it; the log link goes below, where a longer line cannot reach.
  HWND line = GetDlgItem(IDC_ACTION_TEXT);
  const RECT at = ChildRect(IDC_ACTION_TEXT);
  const SIZE extent = TextExtent(line, m_actionText.GetString(), at.right - at.left);
  const int height = std::max<LONG>(at.bottom - at.top, extent.cy);
  ::SetWindowPos(line, nullptr, 0, 0, at.right - at.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT gap = {0, 0, 0, kLogLinkGapUnits};
  MapDialogRect(m_hWnd, &gap);
  ::SetWindowPos(GetDlgItem(IDC_LOG_LINK), nullptr, ChildRect(IDC_LOG_LINK).left, at.top + height + gap.bottom, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTrellinDlg::Press(int id) {
  ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(id)));
}

void CTrellinDlg::ShowPicturesFor(UINT dpi) {
  const auto scale = static_cast<size_t>(NearestPictureScale(dpi));
  ShowPicture(IDC_SIDE_BANNER, kBannerPictures[scale], m_banner);
  ShowPicture(IDC_SEPARATOR, kSeparatorPictures[scale], m_separator);
}

void CTrellinDlg::ShowPicture(int control, WORD picture, CBitmap& shown) {
  const wchar_t* name = MAKEINTRESOURCEW(picture);
  HBITMAP bitmap = LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name);
  if (bitmap == nullptr) return;  // what shows stays
  // The control hands back what it showed, the template's picture or ours:
  // either is ours to delete now. It takes the new picture's size itself.
  auto previous = reinterpret_cast<HBITMAP>(
      SendDlgItemMessageW(m_hWnd, control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  shown.Detach();
  if (previous != nullptr) DeleteObject(previous);
  shown.Attach(bitmap);
}

void CTrellinDlg::OnDpiChanged(UINT dpi) {
  for (CBitmapButton* button : {&m_continueButton, &m_configureButton, &m_finishedButton}) button->LoadForDpi(dpi);
  ShowPicturesFor(dpi);
  // The texts' extents changed with the font.
  FitAcceptLine();
  if (m_step == WizardStep::Finished && ::IsWindowVisible(GetDlgItem(IDC_ACTION_TEXT))) PlaceBelowFailureReason();
}

void CTrellinDlg::SetStatus(StatusText text) {
  const bool named = text == StatusText::DisplayName || text == StatusText::UpToDate;
  m_statusText = named ? AsWide(ProductConfig::DisplayName) : L"";
  m_statusText += AsWide(StatusLiteral(FinishedStatus(text, m_outcome)));
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
      case ScreenOp::ProgressRange100: m_progress.SetRange(0, 100); break;
      case ScreenOp::ProgressPos100: m_progress.SetPos(100); break;
    }
  }
}

void CTrellinDlg::OnBnClickedContinue() {
  UpdateData(TRUE);
  // A typed folder that cannot be installed to is said now, before anything
  // is removed; the user stays here with the text as typed. (A passive
  // run's folder was checked before the window opened.)
  if (m_mode == UiMode::Full && !FolderIsUsable()) return;
  m_step = WizardStep::Installing;
  // The service starts first; the screen turns while it works.
  StartInstall();
  ShowScreen();
  // No control of this screen takes the focus; without one the keys would
  // reach the window as system keys, and Escape would not ask to cancel.
  ::SetFocus(m_hWnd);
}

CTrellinDlg::~CTrellinDlg() {
  StopWorker();
  if (m_go != nullptr) CloseHandle(m_go);
}

void CTrellinDlg::StartWorker() {
  if (m_worker != nullptr) return;
  if (m_go == nullptr) m_go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (m_go != nullptr) m_worker = CreateThread(nullptr, 0, InstallThread, this, 0, nullptr);
}

void CTrellinDlg::StartInstall() {
  // The folder box may change no more, but the worker gets a copy of its own.
  if (!CopyText(m_installFolder, kPathCapacity, AsUtf16(m_folder.GetString()))) {
    m_installFolder[0] = 0;  // longer than any folder the check lets through
  }
  StartWorker();
  if (m_worker != nullptr) {
    SetEvent(m_go);
    return;
  }
  // Without a thread the install runs here, as a window that does not paint.
  m_session.Run(m_installFolder);
}

void CTrellinDlg::StopWorker() {
  if (m_worker == nullptr) return;
  m_leaving = true;
  SetEvent(m_go);
  JoinWorker();
}

void CTrellinDlg::JoinWorker() {
  if (m_worker == nullptr) return;
  WaitForSingleObject(m_worker, kWorkerEndMs);
  CloseHandle(m_worker);
  m_worker = nullptr;
}

DWORD WINAPI CTrellinDlg::InstallThread(void* dialog) {
  auto* self = static_cast<CTrellinDlg*>(dialog);
  self->m_session.PrepareAhead();
  // Not the window's thread: it waits as long as the user reads.
  WaitForSingleObject(self->m_go, INFINITE);
  if (self->m_leaving) {
    self->m_session.Discard();
  } else {
    self->m_session.Run(self->m_installFolder);
  }
  return 0;
}

void CTrellinDlg::OnStage(InstallStage stage) {
  // The status alone: the action text is the service's, and stays.
  ShowStatus(stage == InstallStage::RemovingOlder ? StatusText::Uninstalling : StatusText::DisplayName);
}

void CTrellinDlg::OnFinished(const InstallOutcome& outcome) {
  JoinWorker();
  m_cancelling = false;
  m_outcome = outcome;
  m_installState = outcome.state;
  m_step = WizardStep::Finished;
  ShowScreen();
  SetPrimaryButton(IDC_FINISHED);
  AfterOutcome();
}

void CTrellinDlg::AfterOutcome() {
  if (m_installState != InstallState::UpToDate) {
    // What failed, in a line under the status; a cancel says enough itself.
    if (!m_outcome.cancelled) ShowFailureReason();
    if (m_logPath[0] != u'\0') ::ShowWindow(GetDlgItem(IDC_LOG_LINK), SW_SHOWNORMAL);
    if (m_outcome.last.code == kServiceBusy && m_mode == UiMode::Full) {
      MessageBoxW(m_hWnd, AsWide(kAnotherInstallText), kBusyBoxCaption, MB_OK | MB_ICONWARNING);
    }
  }
  if (m_mode == UiMode::Passive) Press(IDC_FINISHED);
}

void CTrellinDlg::OnBnClickedFinished() { CDialog::OnOK(); }

void CTrellinDlg::OnNMClickLogLink(NMHDR*, LRESULT* pResult) {
  OpenInViewer(m_hWnd, AsWide(m_logPath));
  *pResult = 0;
}

bool CTrellinDlg::CanPress(int id) const {
  HWND button = GetDlgItem(id);
  return IsWindowVisible(button) && IsWindowEnabled(button);
}

void CTrellinDlg::OnOK() {
  // Enter (the dialog's OK) presses the screen's primary button when it
  // can be pressed, and does nothing else.
  if (m_step == WizardStep::Installing) return;
  if (CanPress(IDC_CONTINUE)) {
    OnBnClickedContinue();
  } else if (CanPress(IDC_FINISHED)) {
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

void CTrellinDlg::ShowStatus(StatusText text) {
  SetStatus(text);
  SetDlgItemTextW(m_hWnd, IDC_STATUS_TEXT, m_statusText.GetString());
}

void CTrellinDlg::AskToCancel() {
  if (m_cancelling) return;
  if (!m_session.CancelAllowed()) {
    MessageBoxW(m_hWnd, kCancelTooLate, kCancelBoxCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  const int answer =
      MessageBoxW(m_hWnd, kCancelQuestion, kCancelBoxCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  // The install may have ended while the box was open.
  if (answer != IDYES || m_step != WizardStep::Installing) return;
  if (!m_session.RequestCancel()) {
    MessageBoxW(m_hWnd, kCancelTooLate, kCancelBoxCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  m_cancelling = true;
  ShowStatus(StatusText::Cancelling);
}

void CTrellinDlg::SetPrimaryButton(int id) {
  SendMessage(DM_SETDEFID, static_cast<WPARAM>(id), 0);
  // The focus too, when it can go there: after the install the control that
  // had it is hidden, and keys would reach no control at all.
  if (CanPress(id)) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(id)), TRUE);
}

bool CTrellinDlg::FolderIsUsable() {
  const FolderProblem problem = CheckFolder(m_services.packageFile, AsUtf16(m_folder.GetString()));
  if (problem == FolderProblem::None) return true;
  MessageBoxW(m_hWnd, AsWide(FolderProblemText(problem)), kFolderBoxCaption, MB_OK | MB_ICONWARNING);
  return false;
}

void CTrellinDlg::OnBnClickedAgree() {
  UpdateData(TRUE);
  const bool agreed = m_agreeCheck.GetCheck() == BST_CHECKED;
  m_continueButton.EnableWindow(agreed);
  // The install is the next thing the user can start: its service loads
  // and its package is written now, while the user moves to CONTINUE, not
  // after the click.
  if (agreed) {
    m_services.service.Prepare();
    StartWorker();
  }
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
  if (!IsIconic()) {
    CDialog::OnPaint();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  RECT client;
  GetClientRect(&client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CTrellinDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

BOOL CTrellinDlg::OnEraseBkgnd(CDC* pDC) { return EraseBackgroundWhite(this, pDC); }

HBRUSH CTrellinDlg::OnCtlColor(CDC* pDC, CWnd*, UINT) {
  pDC->SetBkColor(kWhite);
  pDC->SetTextColor(kDarkBlue);
  return m_whiteBrush;
}
