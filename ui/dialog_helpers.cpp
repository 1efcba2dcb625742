#include "ui/dialog_helpers.h"

#include <shlobj.h>

namespace {

constexpr UINT kChooseFolderFlags = BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE |
                                    BIF_BROWSEINCLUDEURLS | BIF_UAHINT;  // 0x1F0

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
