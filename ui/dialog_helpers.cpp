#include "ui/dialog_helpers.h"

#include <shlobj.h>

#include <cwchar>

namespace {

// File-system folders only: a virtual folder has no path to install to.
constexpr UINT kChooseFolderFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE |
                                    BIF_NEWDIALOGSTYLE | BIF_BROWSEINCLUDEURLS | BIF_UAHINT;  // 0x1F1

}  // namespace

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
  // The new dialog style needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
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
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (item != nullptr) {
    wchar_t chosenPath[MAX_PATH] = L"";
    if (SHGetPathFromIDListW(item, chosenPath) && chosenPath[0] != L'\0') {
      std::wmemcpy(path, chosenPath, MAX_PATH);
      chosen = true;
    }
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}
