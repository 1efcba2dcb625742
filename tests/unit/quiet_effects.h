// HandlerEffects that do nothing but convert text (with the double-byte
// stand-in), for driving the handler at speed: fuzzing and benchmarks.
#pragma once

#include "fake_narrowing.h"
#include "installer/handler_effects.h"

class QuietEffects : public HandlerEffects {
 public:
  int ShowMessageBox(void*, const char16_t*, const char16_t*, unsigned int) override { return 1; }
  int ShowMessageBoxInLanguage(void*, const char16_t*, const char16_t*, unsigned int,
                               std::uint16_t) override {
    return 1;
  }
  void Beep(unsigned int) override {}
  void SendToWindow(void*, unsigned int, std::uintptr_t, std::intptr_t) override {}
  void SetControlText(void*, int, const char16_t*) override {}
  void ShowWindow(void*, int) override {}
  int ToNarrow(const char16_t* text, char* buffer, int bufferBytes) override {
    return FakeToNarrow(text, buffer, bufferBytes);
  }
};
