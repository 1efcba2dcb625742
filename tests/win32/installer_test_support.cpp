#include "installer_test_support.h"

#include <commctrl.h>
#include <msi.h>

#include <cstdio>

#include "product/product_config.h"
#include "detect/detection.h"
#include "core/wide.h"
#include "platform/win32/win32_registry.h"
#include "res/resource.h"

namespace {

// Long enough for any install of a fixture package, short of the outer
// timeout of the whole run.
constexpr DWORD kInstallerCallTimeoutMs = 180 * 1000;

std::wstring ProductKeyPath() {
  return std::wstring(L"Software\\") + AsWide(ProductConfig::MakerKey) + L"\\" +
         AsWide(ProductConfig::ProductKey);
}

class Watchdog {
 public:
  explicit Watchdog(const char* what) {
    CreateTimerQueueTimer(&m_timer, nullptr, Fire, const_cast<char*>(what),
                          kInstallerCallTimeoutMs, 0, WT_EXECUTEONLYONCE);
  }
  ~Watchdog() {
    if (m_timer != nullptr) DeleteTimerQueueTimer(nullptr, m_timer, INVALID_HANDLE_VALUE);
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  static VOID CALLBACK Fire(PVOID what, BOOLEAN) {
    std::fprintf(stderr, "installer call did not return within %lu s: %s\n",
                 kInstallerCallTimeoutMs / 1000, static_cast<const char*>(what));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
  }
  HANDLE m_timer = nullptr;
};

TracingService* g_tracing = nullptr;
InstallUiHandler g_forward = nullptr;

int RecordAndForward(void* context, unsigned int type, const char16_t* message) {
  g_tracing->trace.push_back({type, message != nullptr, message ? message : u""});
  return g_forward != nullptr ? g_forward(context, type, message) : 0;
}

// The window hands the view's messages to the view, as the dialog does.
LRESULT CALLBACK TestDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<InstallView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == kWmInstallView && view != nullptr) return view->OnViewMessage(wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

constexpr wchar_t kTestDialogClass[] = L"KelvaneTestDialog";

}  // namespace

TestDialog::TestDialog() {
  const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = TestDialogProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kTestDialogClass;
  RegisterClassW(&windowClass);  // fails harmlessly when registered before
  m_window = CreateWindowExW(0, kTestDialogClass, L"Installer test", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                             120, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<InstallView*>(this)));
  m_progressBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 20,
                                  m_window, reinterpret_cast<HMENU>(IDC_PROGRESS), nullptr, nullptr);
  CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 40, 300, 20, m_window,
                  reinterpret_cast<HMENU>(IDC_ACTION_TEXT), nullptr, nullptr);
  ShowIn(m_window);
}

TestDialog::~TestDialog() {
  if (m_window != nullptr) DestroyWindow(m_window);
}

void TestDialog::Pump() const {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

int TestDialog::BarPosition() const {
  Pump();
  return static_cast<int>(SendMessageW(m_progressBar, PBM_GETPOS, 0, 0));
}

int TestDialog::BarMaximum() const {
  Pump();
  return static_cast<int>(SendMessageW(m_progressBar, PBM_GETRANGE, FALSE, 0));
}

std::wstring TestDialog::ActionText() const {
  Pump();
  wchar_t text[512] = {};
  GetDlgItemTextW(m_window, IDC_ACTION_TEXT, text, 512);
  return text;
}

int TestDialog::ShowBox(const ServiceQuestion& question, const wchar_t* caption) {
  if (showBoxes) return InstallView::ShowBox(question, caption);
  boxes.push_back({m_window, question.text, caption, question.style, question.language});
  return IDOK;
}

void TracingService::SetExternalUI(InstallUiHandler handler, unsigned int messageFilter,
                                   void* context) {
  g_tracing = this;
  g_forward = handler;
  m_real.SetExternalUI(RecordAndForward, messageFilter, context);
}

ServiceResult TracingService::InstallProduct(const char16_t* packagePath, const char16_t* commandLine) {
  const Watchdog watchdog("MsiInstallProductW");
  const ServiceResult result = m_real.InstallProduct(packagePath, commandLine);
  lastResult = result.code;
  return result;
}

ServiceResult TracingService::ConfigureProduct(const char16_t* productCode, int installLevel,
                                              int installState, const char16_t* commandLine) {
  const Watchdog watchdog("MsiConfigureProductExW");
  const ServiceResult result = m_real.ConfigureProduct(productCode, installLevel, installState, commandLine);
  lastResult = result.code;
  return result;
}

void TracingService::Save(const char* name, const char* what) const {
  wchar_t folder[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"KELVANE_TRACE_DIR", folder, MAX_PATH) == 0) return;
  wchar_t path[MAX_PATH] = {};
  swprintf(path, MAX_PATH, L"%ls\\%hs-%ls.trace", folder, name, IsWow64() ? L"win64" : L"win32");
  FILE* file = _wfopen(path, L"wb");
  if (file == nullptr) return;
  std::fprintf(file, "# %s\n# Captured from Wine's installer service (%s prefix).\n", what,
               IsWow64() ? "64-bit" : "32-bit");
  for (const TraceMessage& message : trace) std::fprintf(file, "%s\n", FormatTraceLine(message).c_str());
  std::fclose(file);
}

bool IsWow64() {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  return wow64 != FALSE;
}

void RemoveProductTraces() {
  Win32Registry registry;
  if (IsProductRegistered(registry)) {
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    MsiSetExternalUIW(nullptr, 0, nullptr);
    const Watchdog watchdog("clean-up removal");
    MsiConfigureProductW(AsWide(ProductConfig::ProductCode), INSTALLLEVEL_DEFAULT,
                         INSTALLSTATE_ABSENT);
  }
  // Parents only go when nothing else is below them.
  const std::wstring key = ProductKeyPath();
  for (std::wstring path = key; path.size() > sizeof "Software" - 1;
       path.resize(path.rfind(L'\\'))) {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), KEY_WOW64_32KEY, 0);
  }
}

std::wstring MachineValue(const wchar_t* key, const wchar_t* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &opened) !=
      ERROR_SUCCESS) {
    return L"<missing>";
  }
  wchar_t value[1024] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  DWORD type = 0;
  const LONG status =
      RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(opened);
  return status == ERROR_SUCCESS && type == REG_SZ ? value : L"<missing>";
}

std::vector<std::wstring> TempNamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"Kel*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::wstring TempFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return folder;
}
