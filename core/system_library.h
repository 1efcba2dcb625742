// Win32 code only: the system libraries that not every run needs are bound
// where they are first used, not by the loader at start, and only from the
// system folder, so that a DLL of the same name beside the executable is
// never loaded. Each call counts one more load; none is ever freed, as the
// process keeps what it has bound.
#pragma once

#include <windows.h>

inline HMODULE LoadSystemLibrary(const wchar_t* library) {
  return LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The function name of module as the type Function; null when either is
// missing.
template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
