#include "ui/trellin_dlg.h"

#include <shlobj.h>

#include "app/product_config.h"
#include "installer/install_operations.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"
#include "res/resource.h"
#include "ui/eula_dlg.h"

namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kDarkBlue = 0x00672300;  // red 0, green 35, blue 103
constexpr UINT kChooseFolderFlags = BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE |
                                    BIF_BROWSEINCLUDEURLS | BIF_UAHINT;  // 0x1F0
constexpr LPARAM kMarqueeInterval = 100;  // milliseconds between marquee moves
constexpr LPARAM kRange0To100 = 0x00640000;

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
  ON_BN_CLICKED(IDC_FINISHED, OnBnClickedFinished)
END_MESSAGE_MAP()

CTrellinDlg::CTrellinDlg() : CDialog(IDD_INSTALLER_DIALOG, nullptr) {
  const wchar_t* icon = MAKEINTRESOURCEW(IDI_INSTALLER);
  m_hIcon = LoadIconW(AfxFindResourceHandle(icon, RT_GROUP_ICON), icon);
  m_pContinueButton = std::make_unique<CBitmapButton>();
  m_pConfigureButton = std::make_unique<CBitmapButton>();
  m_pFinishedButton = std::make_unique<CBitmapButton>();
  m_pProgress = std::make_unique<CProgressCtrl>();
  m_pAgreeCheck = std::make_unique<CButton>();
  m_pStatusText = std::make_unique<CString>();
  m_pActionText = std::make_unique<CString>();
  m_pFolder = std::make_unique<CString>();
  m_whiteBrush.CreateSolidBrush(kWhite);
}

CTrellinDlg::~CTrellinDlg() = default;

void CTrellinDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_PROGRESS, *m_pProgress);
  DDX_Control(pDX, IDC_AGREE, *m_pAgreeCheck);
  DDX_Text(pDX, IDC_STATUS_TEXT, *m_pStatusText);
  DDX_Text(pDX, IDC_ACTION_TEXT, *m_pActionText);
  DDX_Text(pDX, IDC_FOLDER, *m_pFolder);
}

BOOL CTrellinDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  DetectInstallState();
  const OwnedText folder = DetectInstallFolder(Win32InstallerServices().registry);
  *m_pFolder = folder ? AsWide(folder.get()) : L"";

  m_pContinueButton->AutoLoad(IDC_CONTINUE, this);
  m_pConfigureButton->AutoLoad(IDC_CONFIGURE, this);
  m_pFinishedButton->AutoLoad(IDC_FINISHED, this);

  m_step = WizardStep::Welcome;
  RunWizardStep();

  SetWindowText(AsWide(ProductConfig::DisplayName));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  return TRUE;
}

void CTrellinDlg::DetectInstallState() {
  m_installState = ::DetectInstallState(Win32InstallerServices().registry);
}

void CTrellinDlg::SetStatus(StatusText text) {
  const bool named = text == StatusText::DisplayName || text == StatusText::UpToDate;
  *m_pStatusText = named ? AsWide(ProductConfig::DisplayName) : L"";
  *m_pStatusText += AsWide(StatusLiteral(text));
}

void CTrellinDlg::SendToProgress(UINT message, WPARAM wParam, LPARAM lParam) {
  ::SendMessageW(GetDlgItem(IDC_PROGRESS), message, wParam, lParam);
}

void CTrellinDlg::RunWizardStep() {
  HWND progressBar = GetDlgItem(IDC_PROGRESS);
  for (const FlowAction& action : WizardActions(m_step, m_installState)) {
    switch (action.op) {
      case FlowOp::Hide: ::ShowWindow(GetDlgItem(action.control), SW_HIDE); break;
      case FlowOp::Show: ::ShowWindow(GetDlgItem(action.control), SW_SHOWNORMAL); break;
      case FlowOp::Enable: ::EnableWindow(GetDlgItem(action.control), TRUE); break;
      case FlowOp::Disable: ::EnableWindow(GetDlgItem(action.control), FALSE); break;
      case FlowOp::SetStatus: SetStatus(action.text); break;
      case FlowOp::UpdateData: UpdateData(FALSE); break;
      case FlowOp::MarqueeOn: SendToProgress(PBM_SETMARQUEE, TRUE, kMarqueeInterval); break;
      case FlowOp::MarqueeOff: SendToProgress(PBM_SETMARQUEE, FALSE, kMarqueeInterval); break;
      case FlowOp::ProgressRange100: SendToProgress(PBM_SETRANGE, 0, kRange0To100); break;
      case FlowOp::ProgressPos100: SendToProgress(PBM_SETPOS, 100, 0); break;
      case FlowOp::RemovePreviousVersion:
        if (!::RemovePreviousVersion(Win32InstallerServices(), m_hWnd, progressBar)) return;
        break;
      case FlowOp::InstallPackage:
        ::InstallPackage(Win32InstallerServices(), m_hWnd, progressBar, AsUtf16(m_pFolder->GetString()));
        break;
    }
  }
}

void CTrellinDlg::OnBnClickedContinue() {
  UpdateData(TRUE);
  m_step = WizardStep::Installing;
  DetectInstallState();
  RunWizardStep();
  m_step = WizardStep::Finished;
  DetectInstallState();
  RunWizardStep();
}

void CTrellinDlg::OnBnClickedFinished() { OnOK(); }

void CTrellinDlg::OnBnClickedAgree() {
  UpdateData(TRUE);
  const LRESULT check = m_pAgreeCheck->SendMessage(BM_GETCHECK, 0, 0);
  m_pContinueButton->EnableWindow(check == BST_CHECKED);
}

void CTrellinDlg::OnBnClickedConfigure() {
  UpdateData(TRUE);
  wchar_t path[MAX_PATH];
  path[0] = L'\0';
  ChooseFolder(m_hWnd, path);
  if (path[0] != L'\0') *m_pFolder = path;
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

BOOL EraseBackgroundWhite(CWnd* window, CDC* pDC) {
  RECT client;
  window->GetClientRect(&client);
  CBrush white;
  white.CreateSolidBrush(kWhite);
  HGDIOBJ previous = pDC->SelectObject(static_cast<HBRUSH>(white));
  const BOOL filled = pDC->PatBlt(0, 0, client.right - client.left, client.bottom - client.top, PATCOPY);
  pDC->SelectObject(previous);
  return filled;
}

void ChooseFolder(HWND owner, wchar_t* path) {
  // The new dialog style needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.pszDisplayName = path;
  info.lpszTitle = L"Choose a folder";
  info.ulFlags = kChooseFolderFlags;
  info.lpfn = nullptr;
  info.lParam = 0;
  info.iImage = 0;
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (item != nullptr) {
    SHGetPathFromIDListW(item, path);
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) CoUninitialize();
}
