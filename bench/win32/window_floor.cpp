// The floor of a window's install and upgrade: the installer's dialog
// template, whose CONTINUE hands the service's calls (as install_floor
// "asked" makes them) to a thread started and waiting beforehand, and whose
// status then reads "Installation Successful". Nothing else on the screen
// changes while the service works: no screen turn, no progress, no action
// text. The robot times it as it times ours, so ours minus this is what our
// screens cost, and this minus install_floor's "asked" what any window and
// its robot cost.
//
// Usage: window_floor install|upgrade <package>
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "bench/win32/service_calls.h"
#include "res/resource.h"

namespace {

constexpr UINT kWmDone = WM_APP;

struct Run {
  bool upgrade = false;
  const wchar_t* package = nullptr;
  HANDLE go = nullptr;
  HWND dialog = nullptr;
  // Written before go is set, read after it is: the event orders them.
  bool continued = false;
};

DWORD WINAPI Worker(void* context) {
  auto* run = static_cast<Run*>(context);
  service_calls::SetUi(true);
  WaitForSingleObject(run->go, INFINITE);
  if (!run->continued) return 0;
  PostMessageW(run->dialog, kWmDone, service_calls::InstallOrUpgrade(run->upgrade, run->package, true), 0);
  return 0;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static Run* run;
  switch (message) {
    case WM_INITDIALOG:
      run = reinterpret_cast<Run*>(lParam);
      run->dialog = dialog;
      SetDlgItemTextW(dialog, IDC_STATUS_TEXT, L"" PRODUCT_DISPLAY_NAME_TEXT);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_CONTINUE) {
        run->continued = true;
        SetEvent(run->go);
      }
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 1);
      return TRUE;
    case kWmDone:
      SetDlgItemTextW(dialog, IDC_STATUS_TEXT,
                      wParam == ERROR_SUCCESS ? L"Installation Successful" : L"Installation Failed");
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  Run run;
  if (__argc != 3 || (std::wcscmp(__wargv[1], L"install") != 0 && std::wcscmp(__wargv[1], L"upgrade") != 0)) {
    return 2;
  }
  run.upgrade = std::wcscmp(__wargv[1], L"upgrade") == 0;
  run.package = __wargv[2];
  run.go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE worker = CreateThread(nullptr, 0, Worker, &run, 0, nullptr);
  if (run.go == nullptr || worker == nullptr) return 1;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LINK_CLASS | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_INSTALLER_DIALOG), nullptr, DialogProc,
                  reinterpret_cast<LPARAM>(&run));
  // Closed before CONTINUE, the worker still waits, and goes without a call.
  SetEvent(run.go);
  WaitForSingleObject(worker, INFINITE);
  return 0;
}
