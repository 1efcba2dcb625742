#include "fake_handler_effects.h"

#include <cstdio>

#include "fake_narrowing.h"

namespace {

std::string WindowName(void* window) {
  if (window == nullptr) return "null";
  if (window == kFakeDialog) return "dialog";
  if (window == kFakeProgressBar) return "bar";
  return "other";
}

std::string Hex(unsigned int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

}  // namespace

std::string Narrow(const std::u16string& text) {
  std::string narrow;
  for (const char16_t unit : text) narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
  return narrow;
}

int RecordingEffects::ShowMessageBox(void* owner, const char16_t* text, const char16_t* caption,
                                     unsigned int style) {
  events.push_back("box " + WindowName(owner) + " '" + Narrow(text) + "' '" + Narrow(caption) +
                   "' " + Hex(style));
  return boxAnswer;
}

int RecordingEffects::ShowMessageBoxInLanguage(void* owner, const char16_t* text,
                                               const char16_t* caption, unsigned int style,
                                               std::uint16_t language) {
  ShowMessageBox(owner, text, caption, style);
  events.back() += " lang " + std::to_string(language);
  return boxAnswer;
}

void RecordingEffects::Beep(unsigned int type) { events.push_back("beep " + Hex(type)); }

void RecordingEffects::SendToWindow(void* window, unsigned int message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
  // Progress-bar messages carry ints; wParam is sign-extended like WPARAM.
  const auto w = static_cast<std::int32_t>(wParam);
  const auto l = static_cast<std::int32_t>(lParam);
  const char* name = message == kPbmSetPos       ? "setpos"
                     : message == kPbmSetStep    ? "setstep"
                     : message == kPbmStepIt     ? "stepit"
                     : message == kPbmSetRange32 ? "setrange"
                                                 : "message";
  std::string event = std::string(name) + " " + WindowName(window);
  if (message != kPbmStepIt) event += " " + std::to_string(message == kPbmSetRange32 ? l : w);
  events.push_back(event);
  if (window != kFakeProgressBar) return;
  // The control keeps its position within its range.
  auto clamp = [this](std::int64_t p) { return p < 0 ? 0 : p > barMax ? barMax : p; };
  if (message == kPbmSetRange32) {
    barMax = l;
    barPosition = clamp(barPosition);
  } else if (message == kPbmSetPos) {
    barPosition = clamp(w);
  } else if (message == kPbmSetStep) {
    barStep = w;
  } else if (message == kPbmStepIt) {
    barPosition = clamp(barPosition + barStep);
  }
}

void RecordingEffects::SetControlText(void* dialog, int controlId, const char16_t* text) {
  events.push_back("text " + WindowName(dialog) + " " + std::to_string(controlId) + " '" +
                   Narrow(text) + "'");
  if (dialog == kFakeDialog) actionText = text;
}

void RecordingEffects::ShowWindow(void* window, int command) {
  events.push_back("show " + WindowName(window) + " " + std::to_string(command));
}

int RecordingEffects::ToNarrow(const char16_t* text, char* buffer, int bufferBytes) {
  ++conversions;
  return failConversion ? 0 : FakeToNarrow(text, buffer, bufferBytes);
}
