// Everything the installer message handler does to the world, as one seam:
// message boxes, the beep, progress-bar messages,
// control text, show/hide, and the text conversion for the parsers. The
// start-up builds the Win32 side; tests use a recording fake. (The service's
// UI level goes through the service seam.)
#pragma once

#include <cstdint>

// Progress-bar messages (PBM_*) and show commands (SW_*).
inline constexpr unsigned int kPbmSetPos = 0x402;
inline constexpr unsigned int kPbmSetStep = 0x404;
inline constexpr unsigned int kPbmStepIt = 0x405;
inline constexpr unsigned int kPbmSetRange32 = 0x406;
inline constexpr int kSwHide = 0;
inline constexpr int kSwShow = 5;

class HandlerEffects {
 public:
  virtual ~HandlerEffects() = default;

  // A modal box (MessageBoxW, or MessageBoxExW with a language); returns
  // the button pressed.
  virtual int ShowMessageBox(void* owner, const char16_t* text, const char16_t* caption,
                             unsigned int style) = 0;
  virtual int ShowMessageBoxInLanguage(void* owner, const char16_t* text,
                                       const char16_t* caption, unsigned int style,
                                       std::uint16_t language) = 0;

  // MessageBeep with the icon bits of a message type.
  virtual void Beep(unsigned int type) = 0;

  // SendMessageW; a null window is passed on and does nothing.
  virtual void SendToWindow(void* window, unsigned int message, std::uintptr_t wParam,
                            std::intptr_t lParam) = 0;

  // SetDlgItemTextW.
  virtual void SetControlText(void* dialog, int controlId, const char16_t* text) = 0;

  // ShowWindow; a null window is allowed and does nothing.
  virtual void ShowWindow(void* window, int command) = 0;

  // WideCharToMultiByte in the thread's ANSI code page of the whole text
  // with its terminator into buffer (bufferBytes bytes): the bytes written,
  // terminator included, or 0 when it does not fit or cannot be converted.
  virtual int ToNarrow(const char16_t* text, char* buffer, int bufferBytes) = 0;
};
