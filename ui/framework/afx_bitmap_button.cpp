#include "ui/framework/afx_bitmap_button.h"

#include <initializer_list>

#include "core/wide.h"
#include "ui/framework/afx_app.h"
#include "ui/framework/afx_string.h"
#include "ui/picture_scale.h"

CBitmapButton::~CBitmapButton() { FreeBitmaps(); }

void CBitmapButton::FreeBitmaps() {
  for (HBITMAP* bitmap : {&m_bitmap, &m_bitmapSel, &m_bitmapFocus, &m_bitmapDisabled}) {
    if (*bitmap != nullptr) DeleteObject(*bitmap);
    *bitmap = nullptr;
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
  const wchar_t* suffix = AsWide(PictureNameSuffix(NearestPictureScale(dpi)));
  // A button drawn at 100 % only still has its pictures.
  if (!LoadScaled(caption, suffix) && !LoadScaled(caption, L"")) return FALSE;
  SizeToContent();
  InvalidateRect(m_hWnd, nullptr, TRUE);
  return TRUE;
}

BOOL CBitmapButton::LoadScaled(const CString& caption, const wchar_t* suffix) {
  CString names[4];
  const wchar_t* looks[] = {L"U", L"D", L"F", L"X"};
  for (int i = 0; i < 4; ++i) {
    names[i] = caption;
    names[i] += looks[i];
    names[i] += suffix;
  }
  return LoadBitmaps(names[0], names[1], names[2], names[3]);
}

BOOL CBitmapButton::LoadBitmaps(const wchar_t* up, const wchar_t* down, const wchar_t* focus,
                                const wchar_t* disabled) {
  FreeBitmaps();
  auto load = [](const wchar_t* name) -> HBITMAP {
    if (name == nullptr) return nullptr;
    return LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name);
  };
  m_bitmap = load(up);
  if (m_bitmap == nullptr) return FALSE;
  m_bitmapSel = load(down);
  m_bitmapFocus = load(focus);
  m_bitmapDisabled = load(disabled);
  return TRUE;
}

void CBitmapButton::SizeToContent() {
  BITMAP info{};
  if (m_bitmap == nullptr || GetObjectW(m_bitmap, sizeof info, &info) == 0) return;
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
  HBITMAP bitmap = m_bitmap;
  const UINT state = item->itemState;
  if ((state & ODS_SELECTED) && m_bitmapSel != nullptr) {
    bitmap = m_bitmapSel;
  } else if ((state & ODS_FOCUS) && m_bitmapFocus != nullptr) {
    bitmap = m_bitmapFocus;
  } else if ((state & ODS_DISABLED) && m_bitmapDisabled != nullptr) {
    bitmap = m_bitmapDisabled;
  }
  if (bitmap == nullptr) return;
  HDC memory = CreateCompatibleDC(item->hDC);
  if (memory == nullptr) return;
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const RECT& r = item->rcItem;
  BitBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
}
