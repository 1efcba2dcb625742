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

  // Takes over button id of parent and finds the bitmaps named by its
  // caption followed by U (required), D, F and X, at the scale nearest the
  // parent's dpi (then 150 or 200 follows); resizes it to U.
  BOOL AutoLoad(UINT id, CWnd* parent);
  // Takes the pictures again for a window now at dpi.
  BOOL LoadForDpi(UINT dpi);

  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  virtual void DrawItem(const DRAWITEMSTRUCT* item);

 private:
  enum Look { kUp, kDown, kFocus, kDisabled, kLooks };
  // Up is loaded at once (it gives the size); the others when first drawn,
  // so that opening the window pays only for what it shows.
  BOOL TakeScale(const CString& caption, const wchar_t* suffix);
  HBITMAP Picture(Look look);
  void SizeToContent();
  void FreeBitmaps();
  CString m_names[kLooks];
  HBITMAP m_bitmaps[kLooks] = {};
  bool m_tried[kLooks] = {};
};
