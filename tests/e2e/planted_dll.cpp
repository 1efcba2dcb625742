// Stands in for a DLL that an attacker drops beside the installer in a
// downloads folder. It does no harm: when a process loads it, it writes
// "<its own name>-was-loaded.txt" beside itself, naming that process, so a
// scenario can tell whether the installer picked it up.
#include <windows.h>

#include <cwchar>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t mark[MAX_PATH + 32], host[MAX_PATH];
  const DWORD length = GetModuleFileNameW(instance, mark, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || GetModuleFileNameW(nullptr, host, MAX_PATH) == 0) return TRUE;
  wchar_t* dot = wcsrchr(mark, L'.');
  if (dot != nullptr) *dot = L'\0';
  wcscat(mark, L"-was-loaded.txt");
  HANDLE file = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, host, static_cast<DWORD>(wcslen(host) * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
  }
  return TRUE;
}
