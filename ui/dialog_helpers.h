// What both dialogs share beyond the framework: the white background, the
// measure of a control's text, the platform's folder chooser and its file
// viewer.
#pragma once

#include "installer/cancel_gate.h"
#include "installer/package_file_seam.h"
#include "ui/framework/afxwin.h"

// The background and text colours of both dialogs.
inline constexpr COLORREF kWhite = 0x00FFFFFF;
inline constexpr COLORREF kDarkBlue = 0x00672300;  // red 0, green 35, blue 103

// Whether the button id of dialog is visible and enabled.
bool CanPress(HWND dialog, int id);
// Makes id the button Enter presses, and gives it the focus when it can
// take it: after a screen change the control that had it may be hidden,
// and keys would reach no control at all.
void MakePrimary(HWND dialog, int id);
// Clicks the button id once the dialog's queue reaches the click.
void PressLater(HWND dialog, int id);

// Paints window, minimised, as its icon in the middle of the client area.
void PaintMinimized(CWnd& window, HICON icon);

// Fills the whole client area of window white.
BOOL EraseBackgroundWhite(CWnd* window, CDC* pDC);

// Shows the platform's folder browser owned by owner. True, with the chosen
// folder in path (260 units), when a file-system folder was chosen; false,
// with path as it was, when the user cancelled or the choice has no path.
bool ChooseFolder(HWND owner, wchar_t* path);

// The size text takes in control's own font: on one line (wrapWidth 0), or
// wrapped at wrapWidth pixels as a static control wraps it.
SIZE TextExtent(HWND control, const wchar_t* text, int wrapWidth);

// Opens the file at path in the viewer registered for it, or in Notepad where
// none is.
void OpenInViewer(HWND owner, const wchar_t* path);

// The boxes of the main dialog, owned by it: whether the user wants to
// cancel the install (No is the default), why a cancel is refused, and
// what is wrong with a typed folder (false then).
bool ConfirmCancel(HWND owner);
void SayCancelRefused(HWND owner, CancelRefusal refusal);
bool FolderIsUsable(HWND owner, PackageFileSeam& files, const wchar_t* folder);
