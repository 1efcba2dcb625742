// Where the main dialog puts what the template cannot place for every font
// and dpi: the accept line, a failure's line with the log link below it,
// and the pictures for the window's dpi.
#pragma once

#include "ui/framework/afxwin.h"

// A control's place in the dialog's client area.
RECT ChildRect(HWND dialog, int id);

// Sizes the accept label to its text and puts the link right after it.
void FitAcceptLine(HWND dialog);

// The action text control grows down to hold line, wrapped in its width,
// and the log link goes below it.
void PlaceBelowLine(HWND dialog, const wchar_t* line);

// What the dialog draws in pictures: its three picture buttons, and the
// banner and the separator once they replace the template's own (the
// dialog keeps the bitmaps shown, and deletes what they replace).
struct DialogArt {
  HICON icon = nullptr;  // the window's, a shared resource
  CBitmapButton continueButton;
  CBitmapButton configureButton;
  CBitmapButton finishedButton;
  CBitmap banner;
  CBitmap separator;
  // Up from the first dpi that needs decoded pictures, for the window's life.
  CPictureDecoding decoding;
};
// Binds the buttons, gives the window its icon and shows every picture at
// the scale nearest the window's dpi; the template's are the 100 % ones.
void LoadArt(CDialog& dialog, DialogArt& art);
// Again, for a window that moved to another dpi.
void ShowArtFor(HWND dialog, UINT dpi, DialogArt& art);
