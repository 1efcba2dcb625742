// The plug-in module the package installs: a small DLL that tells the host
// what it is. It stays free of the C runtime so the package stays small.
#include <windows.h>

#include "product_identity.h"

// A test's older build of the plug-in says its own version.
#ifndef PLUGIN_VERSION_TEXT
#define PLUGIN_VERSION_TEXT PRODUCT_PACKAGE_VERSION_TEXT
#endif

__declspec(dllexport) const wchar_t* PluginDescription(void) {
  return L"" PRODUCT_DISPLAY_NAME_TEXT;
}

__declspec(dllexport) const wchar_t* PluginVersion(void) {
  return L"" PLUGIN_VERSION_TEXT;
}

BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
