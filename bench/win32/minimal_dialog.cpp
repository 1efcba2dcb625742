// The floors of the start-up figure: the least a Win32 program can do to
// show the installer's main dialog template with its status text set. It
// carries the same resources as the installer, so the loader maps the same
// image.
//
// With "pictures", the least a program can do to show what the user sees
// at Welcome: also the window's icons and the picture buttons drawn from
// the same bitmaps (Install disabled, the folder button up), and the
// controls that screen hides hidden. Without it, the template alone: a
// second reference.
//
// Usage: minimal_dialog [pictures]
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <initializer_list>

#include "product_identity.h"
#include "res/resource.h"

namespace {

// A picture button of the first screen: its bitmap for the look it shows.
struct Button {
  int id;
  const wchar_t* picture;
  HBITMAP bitmap;
};

struct Screen {
  bool pictures = false;
  Button buttons[2] = {{IDC_CONTINUE, L"CONTINUEX", nullptr}, {IDC_CONFIGURE, L"CONFIGUREU", nullptr}};
};

void ShowPictures(HWND dialog, Screen& screen, HINSTANCE instance) {
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_INSTALLER));
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  for (int hidden : {IDC_PROGRESS, IDC_ACTION_TEXT, IDC_LOG_LINK, IDC_FINISHED}) {
    ShowWindow(GetDlgItem(dialog, hidden), SW_HIDE);
  }
  EnableWindow(GetDlgItem(dialog, IDC_CONTINUE), FALSE);
  for (Button& button : screen.buttons) {
    button.bitmap = LoadBitmapW(instance, button.picture);
    BITMAP size{};
    if (button.bitmap == nullptr || GetObjectW(button.bitmap, sizeof size, &size) == 0) continue;
    SetWindowPos(GetDlgItem(dialog, button.id), nullptr, 0, 0, size.bmWidth, size.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Draw(const DRAWITEMSTRUCT& item, const Screen& screen) {
  for (const Button& button : screen.buttons) {
    if (static_cast<int>(item.CtlID) != button.id || button.bitmap == nullptr) continue;
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(memory, button.bitmap);
    BitBlt(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
  }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static Screen* screen;
  switch (message) {
    case WM_INITDIALOG:
      screen = reinterpret_cast<Screen*>(lParam);
      if (screen->pictures) ShowPictures(dialog, *screen, GetModuleHandleW(nullptr));
      SetDlgItemTextW(dialog, IDC_STATUS_TEXT, L"" PRODUCT_DISPLAY_NAME_TEXT);
      return TRUE;
    case WM_DRAWITEM:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), *screen);
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
  Screen screen;
  screen.pictures = __argc == 2 && std::wcscmp(__wargv[1], L"pictures") == 0;
  // The template holds a link and a progress bar.
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LINK_CLASS | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_INSTALLER_DIALOG), nullptr, DialogProc,
                                         reinterpret_cast<LPARAM>(&screen));
  for (const Button& button : screen.buttons) {
    if (button.bitmap != nullptr) DeleteObject(button.bitmap);
  }
  return static_cast<int>(result);
}
