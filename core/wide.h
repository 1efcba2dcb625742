// Win32 code only: the portable core holds text as char16_t; Win32 takes
// wchar_t, which is the same 16-bit unit on Windows.
#pragma once

#include <cwchar>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

inline const wchar_t* AsWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* AsWide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
inline const char16_t* AsUtf16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
inline char16_t* AsUtf16(wchar_t* text) { return reinterpret_cast<char16_t*>(text); }
