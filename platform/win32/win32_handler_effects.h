// The message handler's effects over user32 and the thread's ANSI
// code page.
#pragma once

#include "installer/handler_effects.h"

class Win32HandlerEffects final : public HandlerEffects {
 public:
  int ShowMessageBox(void* owner, const char16_t* text, const char16_t* caption,
                     unsigned int style) override;
  int ShowMessageBoxInLanguage(void* owner, const char16_t* text, const char16_t* caption,
                               unsigned int style, std::uint16_t language) override;
  void Beep(unsigned int type) override;
  void SendToWindow(void* window, unsigned int message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  void SetControlText(void* dialog, int controlId, const char16_t* text) override;
  void ShowWindow(void* window, int command) override;
  int ToNarrow(const char16_t* text, char* buffer, int bufferBytes) override;
};
