// A recording HandlerEffects: every effect becomes a line of text in
// events, and a model of the progress bar and the action-text control
// keeps what a user would see.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "installer/handler_effects.h"

// Opaque window values the tests hand to the operations.
inline void* const kFakeDialog = reinterpret_cast<void*>(0xD1A0);
inline void* const kFakeProgressBar = reinterpret_cast<void*>(0xBA50);

class RecordingEffects : public HandlerEffects {
 public:
  // Behaviour.
  int boxAnswer = 1;            // the button every box returns
  bool failConversion = false;  // ToNarrow answers 0

  // What the handler did, e.g. "box dialog 'text' 'Error' 0x30 lang 1033".
  std::vector<std::string> events;
  int conversions = 0;

  // The progress bar and the action text as the controls would hold them.
  std::int64_t barMax = 100;
  std::int64_t barPosition = 0;
  std::int64_t barStep = 10;
  std::u16string actionText;

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

// Printable ASCII form of a UTF-16 text, for events and messages.
std::string Narrow(const std::u16string& text);
