#include "platform/win32/win32_handler_effects.h"

#include <windows.h>
#include <commctrl.h>
#include "core/wide.h"

static_assert(kPbmSetPos == PBM_SETPOS && kPbmSetStep == PBM_SETSTEP && kPbmStepIt == PBM_STEPIT &&
              kPbmSetRange32 == PBM_SETRANGE32);
static_assert(kSwHide == SW_HIDE && kSwShow == SW_SHOW);

namespace {

HWND AsWindow(void* window) { return static_cast<HWND>(window); }

}  // namespace

int Win32HandlerEffects::ShowMessageBox(void* owner, const char16_t* text, const char16_t* caption,
                                        unsigned int style) {
  return MessageBoxW(AsWindow(owner), AsWide(text), AsWide(caption), style);
}

int Win32HandlerEffects::ShowMessageBoxInLanguage(void* owner, const char16_t* text,
                                                  const char16_t* caption, unsigned int style,
                                                  std::uint16_t language) {
  return MessageBoxExW(AsWindow(owner), AsWide(text), AsWide(caption), style, language);
}

void Win32HandlerEffects::Beep(unsigned int type) { MessageBeep(type); }

void Win32HandlerEffects::SendToWindow(void* window, unsigned int message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
  SendMessageW(AsWindow(window), message, wParam, lParam);
}

void Win32HandlerEffects::SetControlText(void* dialog, int controlId, const char16_t* text) {
  SetDlgItemTextW(AsWindow(dialog), controlId, AsWide(text));
}

void Win32HandlerEffects::ShowWindow(void* window, int command) {
  ::ShowWindow(AsWindow(window), command);
}

int Win32HandlerEffects::ToNarrow(const char16_t* text, char* buffer, int bufferBytes) {
  return WideCharToMultiByte(CP_THREAD_ACP, 0, AsWide(text), -1, buffer, bufferBytes, nullptr,
                             nullptr);
}
