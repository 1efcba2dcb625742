#include "ui/framework/afx_bitmap_button.h"

#include <initializer_list>

#include "ui/framework/afx_app.h"
#include "ui/framework/afx_string.h"

CBitmapButton::~CBitmapButton() { FreeBitmaps(); }

void CBitmapButton::FreeBitmaps() {
  for (HBITMAP* bitmap : {&m_bitmap, &m_bitmapSel, &m_bitmapFocus, &m_bitmapDisabled}) {
    if (*bitmap != nullptr) DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
}

BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent) {
  if (!SubclassDlgItem(id, parent)) return FALSE;
  const int length = GetWindowTextLengthW(m_hWnd);
  CString base;
  GetWindowTextW(m_hWnd, base.GetBufferSetLength(length), length + 1);
  base.ReleaseBuffer();
  if (base.IsEmpty()) return FALSE;
  CString up = base, down = base, focus = base, disabled = base;
  up += L"U";
  down += L"D";
  focus += L"F";
  disabled += L"X";
  if (!LoadBitmaps(up, down, focus, disabled)) return FALSE;
  SizeToContent();
  return TRUE;
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
