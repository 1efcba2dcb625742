// Picture buttons:
//   CBitmapButton  an owner-drawn button showing a bitmap per state
#pragma once

#include "ui/framework/afx_string.h"
#include "ui/framework/afx_window.h"

// An owner-drawn button that shows one of up to four pictures by state:
// up, pressed, focused, disabled.
class CBitmapButton : public CButton {
 public:
  CBitmapButton() = default;
  ~CBitmapButton() override;

  // Takes over button id of parent and loads the bitmaps named by its
  // caption followed by U (required), D, F and X, at the scale nearest the
  // parent's dpi (then 150 or 200 follows); resizes it to U.
  BOOL AutoLoad(UINT id, CWnd* parent);
  // Loads the pictures again for a window now at dpi.
  BOOL LoadForDpi(UINT dpi);

  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  virtual void DrawItem(const DRAWITEMSTRUCT* item);

 private:
  BOOL LoadBitmaps(const wchar_t* up, const wchar_t* down, const wchar_t* focus,
                   const wchar_t* disabled);
  BOOL LoadScaled(const CString& caption, const wchar_t* suffix);
  void SizeToContent();
  void FreeBitmaps();
  HBITMAP m_bitmap = nullptr;          // up
  HBITMAP m_bitmapSel = nullptr;       // pressed
  HBITMAP m_bitmapFocus = nullptr;     // focused
  HBITMAP m_bitmapDisabled = nullptr;  // disabled
};
