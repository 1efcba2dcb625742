#include "ui/dialog_layout.h"

#include <algorithm>

#include "res/resource.h"
#include "ui/dialog_helpers.h"
#include "ui/framework/picture_scale.h"

namespace {

// The template's two pictures at each scale, in PictureScale's order.
constexpr WORD kBannerPictures[] = {IDB_SIDE_BANNER, IDB_SIDE_BANNER_150, IDB_SIDE_BANNER_200};
constexpr WORD kSeparatorPictures[] = {IDB_SEPARATOR, IDB_SEPARATOR_150, IDB_SEPARATOR_200};
// Between the failure's line and the log link, in dialog units.
constexpr LONG kLogLinkGapUnits = 4;

constexpr UINT kPlaceOnly = SWP_NOZORDER | SWP_NOACTIVATE;

void ShowPicture(HWND dialog, int control, WORD picture, CBitmap& shown) {
  HBITMAP bitmap = AfxLoadPicture(MAKEINTRESOURCEW(picture));
  if (bitmap == nullptr) return;  // what shows stays, also for a picture that cannot be decoded
  // The control hands back what it showed, the template's picture or ours:
  // either is ours to delete now. It takes the new picture's size itself.
  auto previous = reinterpret_cast<HBITMAP>(
      SendDlgItemMessageW(dialog, control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  shown.Detach();
  if (previous != nullptr) DeleteObject(previous);
  shown.Attach(bitmap);
}

void ShowPicturesFor(HWND dialog, UINT dpi, DialogArt& art) {
  const auto scale = static_cast<size_t>(NearestPictureScale(dpi));
  ShowPicture(dialog, IDC_SIDE_BANNER, kBannerPictures[scale], art.banner);
  ShowPicture(dialog, IDC_SEPARATOR, kSeparatorPictures[scale], art.separator);
}

}  // namespace

RECT ChildRect(HWND dialog, int id) {
  RECT rect = {};
  ::GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void FitAcceptLine(HWND dialog) {
  // The label takes the width of its text and a space in the font the
  // window got, whatever the dpi, and the link follows it: the template's
  // width cuts "the" off under some fonts.
  HWND label = GetDlgItem(dialog, IDC_AGREE_LABEL);
  wchar_t text[64] = L"";
  const int length = ::GetWindowTextW(label, text, 63);
  text[length] = L' ';
  text[length + 1] = L'\0';
  const SIZE extent = TextExtent(label, text, 0);
  if (extent.cx <= 0) return;
  const RECT at = ChildRect(dialog, IDC_AGREE_LABEL);
  ::SetWindowPos(label, nullptr, 0, 0, extent.cx, std::max<LONG>(at.bottom - at.top, extent.cy),
                 kPlaceOnly | SWP_NOMOVE);
  ::SetWindowPos(GetDlgItem(dialog, IDC_TERMS_LINK), nullptr, at.left + extent.cx,
                 ChildRect(dialog, IDC_TERMS_LINK).top, 0, 0, kPlaceOnly | SWP_NOSIZE);
}

void PlaceBelowLine(HWND dialog, const wchar_t* line) {
  // The line wraps inside its control's width, which grows down to hold
  // it; the log link goes below, where a longer line cannot reach.
  HWND control = GetDlgItem(dialog, IDC_ACTION_TEXT);
  const RECT at = ChildRect(dialog, IDC_ACTION_TEXT);
  const SIZE extent = TextExtent(control, line, at.right - at.left);
  const int height = std::max<LONG>(at.bottom - at.top, extent.cy);
  ::SetWindowPos(control, nullptr, 0, 0, at.right - at.left, height, kPlaceOnly | SWP_NOMOVE);
  RECT gap = {0, 0, 0, kLogLinkGapUnits};
  MapDialogRect(dialog, &gap);
  ::SetWindowPos(GetDlgItem(dialog, IDC_LOG_LINK), nullptr, ChildRect(dialog, IDC_LOG_LINK).left,
                 at.top + height + gap.bottom, 0, 0, kPlaceOnly | SWP_NOSIZE);
}

void LoadArt(CDialog& dialog, DialogArt& art) {
  const wchar_t* icon = MAKEINTRESOURCEW(IDI_INSTALLER);
  art.icon = LoadIconW(AfxFindResourceHandle(icon, RT_GROUP_ICON), icon);
  dialog.SetIcon(art.icon, TRUE);
  dialog.SetIcon(art.icon, FALSE);
  const UINT dpi = CWnd::GetDpiForWindow(dialog.m_hWnd);
  const bool decoded = NearestPictureScale(dpi) != PictureScale::Percent100;
  if (decoded) art.decoding.Begin();
  art.continueButton.AutoLoad(IDC_CONTINUE, &dialog);
  art.configureButton.AutoLoad(IDC_CONFIGURE, &dialog);
  art.finishedButton.AutoLoad(IDC_FINISHED, &dialog);
  if (decoded) ShowPicturesFor(dialog.m_hWnd, dpi, art);
}

void ShowArtFor(HWND dialog, UINT dpi, DialogArt& art) {
  if (NearestPictureScale(dpi) != PictureScale::Percent100) art.decoding.Begin();
  for (CBitmapButton* button : {&art.continueButton, &art.configureButton, &art.finishedButton}) {
    button->LoadForDpi(dpi);
  }
  ShowPicturesFor(dialog, dpi, art);
}
