// Names for screen readers where a control's own text would say the wrong
// thing or nothing.
//
// A reader names a control by what the platform's accessibility proxy reads
// from it: its text. The accept box has none (its words are the label and the
// link beside it), and the folder box's text is its value, the folder. Such a
// control answers the reader's request (WM_GETOBJECT) itself, with its own
// accessible object or the platform's proxy wrapped so that only the name
// differs. A link's name would be its markup where the platform's link has
// no accessible object of its own (Wine's).
#pragma once

#include <windows.h>

// From now on, readers name control by name, which must outlive the control.
void SetAccessibleName(HWND control, const wchar_t* name);

// The names of the main dialog's controls that need one: the accept box,
// the folder box and the two links.
void NameDialogControls(HWND dialog);
