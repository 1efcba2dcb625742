// Our own small dialog framework over Win32, whole: the application object,
// modal dialogs with message maps and data exchange, picture buttons, and
// the few control, GDI and resource helpers the installer's two dialogs use.
//   afx_string.h         CString, AfxThrowMemoryException
//   afx_gdi.h            CDC, CPaintDC, CBrush
//   afx_window.h         CWnd and the control wrappers
//   afx_bitmap_button.h  CBitmapButton
//   afx_picture.h        AfxLoadPicture (a bitmap, or a PNG decoded)
//   afx_dialog.h         data exchange, CDialog, the ON_WM_* entries
//   afx_app.h            CWinApp, AfxWinMain and the other Afx* calls
//   message_map.h        message maps (portable)
//   mem_file.h           CMemFile (portable)
#pragma once

#include "ui/framework/afx_app.h"
#include "ui/framework/afx_bitmap_button.h"
#include "ui/framework/afx_dialog.h"
#include "ui/framework/afx_gdi.h"
#include "ui/framework/afx_picture.h"
#include "ui/framework/afx_string.h"
#include "ui/framework/afx_window.h"
#include "ui/framework/mem_file.h"
#include "ui/framework/message_map.h"
