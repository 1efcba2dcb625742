// The entry point: closes the DLL search to the system folder, then hands
// over to the framework, which runs the application object's start-up.
#include <windows.h>

#include "ui/framework/afx_app.h"

namespace {

// Loads system libraries from the system folder only: the installer runs
// elevated, often from a downloads folder where anyone may have left a DLL.
void RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault != nullptr) {
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  } else {
    // Older systems without the call: at least take the current folder out.
    SetDllDirectoryW(L"");
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // First of all: nothing may load a library at run time before this.
  RestrictDllSearchToSystemFolder();
  return AfxWinMain(instance);
}
