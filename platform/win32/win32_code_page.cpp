#include "platform/win32/win32_code_page.h"

#include <windows.h>

#include "core/wide.h"

int Win32CodePage::ToNarrow(const char16_t* text, char* buffer, int bufferBytes) {
  return WideCharToMultiByte(CP_THREAD_ACP, 0, AsWide(text), -1, buffer, bufferBytes, nullptr,
                             nullptr);
}
