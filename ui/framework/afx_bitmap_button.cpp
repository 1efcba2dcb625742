#include "ui/framework/afx_bitmap_button.h"

#include "ui/framework/afx_picture.h"
#include "ui/framework/picture_scale.h"

CBitmapButton::~CBitmapButton() { FreeBitmaps(); }

void CBitmapButton::FreeBitmaps() {
  for (int look = 0; look < kLooks; ++look) {
    if (m_bitmaps[look] != nullptr) DeleteObject(m_bitmaps[look]);
    m_bitmaps[look] = nullptr;
    m_tried[look] = false;
  }
}

BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent) {
  if (!SubclassDlgItem(id, parent)) return FALSE;
  return LoadForDpi(GetDpiForWindow(parent->m_hWnd));
}

BOOL CBitmapButton::LoadForDpi(UINT dpi) {
  // The caption stays the button's text: it names the pictures each time.
  const int length = GetWindowTextLengthW(m_hWnd);
  CString caption;
  GetWindowTextW(m_hWnd, caption.GetBufferSetLength(length), length + 1);
  caption.ReleaseBuffer();
  if (caption.IsEmpty()) return FALSE;
  const wchar_t* suffix = PictureNameSuffix(NearestPictureScale(dpi));
  // A button drawn at 100 % only still has its pictures.
  if (!TakeScale(caption, suffix) && !TakeScale(caption, L"")) return FALSE;
  SizeToContent();
  InvalidateRect(m_hWnd, nullptr, TRUE);
  return TRUE;
}

BOOL CBitmapButton::TakeScale(const CString& caption, const wchar_t* suffix) {
  FreeBitmaps();
  const wchar_t* letters[kLooks] = {L"U", L"D", L"F", L"X"};
  for (int look = 0; look < kLooks; ++look) {
    m_names[look] = caption;
    m_names[look] += letters[look];
    m_names[look] += suffix;
  }
  return Picture(kUp) != nullptr;
}

HBITMAP CBitmapButton::Picture(Look look) {
  if (!m_tried[look]) {
    m_tried[look] = true;
    const wchar_t* name = m_names[look];
    if (name[0] != L'\0') m_bitmaps[look] = AfxLoadPicture(name);
  }
  return m_bitmaps[look];
}

void CBitmapButton::SizeToContent() {
  BITMAP info{};
  HBITMAP up = Picture(kUp);
  if (up == nullptr || GetObjectW(up, sizeof info, &info) == 0) return;
  SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CBitmapButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message != WM_DRAWITEM) return false;
  DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  *result = TRUE;
  return true;
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT* item) {
  // The first state that has a picture of its own, else the up picture.
  const UINT state = item->itemState;
  HBITMAP bitmap = nullptr;
  if (state & ODS_SELECTED) bitmap = Picture(kDown);
  if (bitmap == nullptr && (state & ODS_FOCUS)) bitmap = Picture(kFocus);
  if (bitmap == nullptr && (state & ODS_DISABLED)) bitmap = Picture(kDisabled);
  if (bitmap == nullptr) bitmap = Picture(kUp);
  if (bitmap == nullptr) return;
  HDC memory = CreateCompatibleDC(item->hDC);
  if (memory == nullptr) return;
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const RECT& r = item->rcItem;
  BitBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
}
