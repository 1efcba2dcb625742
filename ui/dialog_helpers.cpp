#include "ui/dialog_helpers.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>

#include "core/wide.h"
#include "installer/folder_check.h"
#include "system/system_library.h"

namespace {

// The shell and COM, bound when the folder chooser or the viewer is first
// asked for: most runs use neither, and the start should not load them.
struct ShellCalls {
  decltype(&SHBrowseForFolderW) browseForFolder = nullptr;
  decltype(&SHGetPathFromIDListW) pathFromIdList = nullptr;
  decltype(&ShellExecuteW) execute = nullptr;
  decltype(&CoInitializeEx) initializeCom = nullptr;
  decltype(&CoUninitialize) uninitializeCom = nullptr;
  decltype(&CoTaskMemFree) freeTaskMemory = nullptr;
};
// Null when a library or one of its calls is missing.
SystemCalls<ShellCalls> g_shell([](ShellCalls& c) {
  return BindSystemCall(L"shell32.dll", "SHBrowseForFolderW", &c.browseForFolder) &&
         BindSystemCall(L"shell32.dll", "SHGetPathFromIDListW", &c.pathFromIdList) &&
         BindSystemCall(L"shell32.dll", "ShellExecuteW", &c.execute) &&
         BindSystemCall(L"ole32.dll", "CoInitializeEx", &c.initializeCom) &&
         BindSystemCall(L"ole32.dll", "CoUninitialize", &c.uninitializeCom) &&
         BindSystemCall(L"ole32.dll", "CoTaskMemFree", &c.freeTaskMemory);
});

// File-system folders only: a virtual folder has no path to install to.
constexpr UINT kChooseFolderFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE |
                                    BIF_NEWDIALOGSTYLE | BIF_BROWSEINCLUDEURLS | BIF_UAHINT;  // 0x1F1

}  // namespace

bool CanPress(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return IsWindowVisible(button) && IsWindowEnabled(button);
}

void MakePrimary(HWND dialog, int id) {
  SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
  if (CanPress(dialog, id)) SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

void PressLater(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PaintMinimized(CWnd& window, HICON icon) {
  CPaintDC dc(&window);
  window.SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  RECT client;
  window.GetClientRect(&client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  dc.DrawIcon(x, y, icon);
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

bool ChooseFolder(HWND owner, wchar_t* path) {
  const ShellCalls* shell = g_shell.Get();
  if (shell == nullptr) return false;
  // The new dialog style needs COM on this thread.
  const HRESULT com = shell->initializeCom(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  // The browser writes the folder's display name ("Host 2013"), not its
  // path: a buffer of its own, so that it can never pass for the folder.
  wchar_t displayName[MAX_PATH] = L"";
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = L"Choose a folder";
  info.ulFlags = kChooseFolderFlags;
  info.lpfn = nullptr;
  info.lParam = 0;
  info.iImage = 0;
  bool chosen = false;
  PIDLIST_ABSOLUTE item = shell->browseForFolder(&info);
  if (item != nullptr) {
    wchar_t chosenPath[MAX_PATH] = L"";
    if (shell->pathFromIdList(item, chosenPath) && chosenPath[0] != L'\0') {
      std::wmemcpy(path, chosenPath, MAX_PATH);
      chosen = true;
    }
    shell->freeTaskMemory(item);
  }
  if (SUCCEEDED(com)) shell->uninitializeCom();
  return chosen;
}

void OpenInViewer(HWND owner, const wchar_t* path) {
  const ShellCalls* shell = g_shell.Get();
  if (shell == nullptr) return;
  const auto opened =
      reinterpret_cast<INT_PTR>(shell->execute(owner, L"open", path, nullptr, nullptr, SW_SHOWNORMAL));
  if (opened <= 32) {
    CString quoted = L"\"";
    quoted += path;
    quoted += L"\"";
    shell->execute(owner, nullptr, L"notepad.exe", quoted.GetString(), nullptr, SW_SHOWNORMAL);
  }
}

SIZE TextExtent(HWND control, const wchar_t* text, int wrapWidth) {
  RECT rect = {0, 0, wrapWidth, 0};
  HDC dc = GetDC(control);
  if (dc == nullptr) return {0, 0};
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
  DrawTextW(dc, text, -1, &rect,
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  if (previous != nullptr) SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

bool ConfirmCancel(HWND owner) {
  return MessageBoxW(owner, L"Do you want to cancel the installation?", L"Cancel Installation",
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void SayCancelRefused(HWND owner, CancelRefusal refusal) {
  MessageBoxW(owner, AsWide(CancelRefusalText(refusal)), L"Cancel Installation", MB_OK | MB_ICONINFORMATION);
}

bool FolderIsUsable(HWND owner, PackageFileSeam& files, const wchar_t* folder) {
  const FolderProblem problem = CheckFolder(files, AsUtf16(folder));
  if (problem == FolderProblem::None) return true;
  MessageBoxW(owner, AsWide(FolderProblemText(problem)), L"Installation Folder", MB_OK | MB_ICONWARNING);
  return false;
}
