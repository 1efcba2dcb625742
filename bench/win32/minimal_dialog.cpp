// The floor of the start-up figure: the least a Win32 program can do to show
// the installer's main dialog template with its status text set. It carries
// the same resources as the installer, so the loader maps the same image.
#include <windows.h>
#include <commctrl.h>

#include "product_identity.h"
#include "res/resource.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, IDC_STATUS_TEXT, L"" PRODUCT_DISPLAY_NAME_TEXT);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The template holds a link and a progress bar.
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LINK_CLASS | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  return static_cast<int>(
      DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_INSTALLER_DIALOG), nullptr, DialogProc, 0));
}
