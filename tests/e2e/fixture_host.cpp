// A stand-in for the host application with the plug-in open: it loads the
// plug-in's library from where the package put it and keeps it loaded until
// the test says to end (HKLM\Software\KelvaneTest's HostEnd is "1"), having
// said which version it loaded (HostLoaded). With --report it says which
// version is there (HostReported) and ends at once.
#include <windows.h>

namespace {

constexpr wchar_t kKey[] = L"Software\\KelvaneTest";

void Say(const wchar_t* name, const wchar_t* text) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
}

bool ToldToEnd() {
  wchar_t data[4] = L"";
  DWORD size = sizeof data - sizeof data[0];
  HKEY key;
  bool end = false;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    end = RegQueryValueExW(key, L"HostEnd", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS &&
          data[0] == L'1';
    RegCloseKey(key);
  }
  return end;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const bool report = argc == 3 && lstrcmpW(argv[1], L"--report") == 0;
  HMODULE plugin = LoadLibraryW(argv[argc - 1]);
  using VersionFn = const wchar_t* (*)();
  auto version = plugin != nullptr
                     ? reinterpret_cast<VersionFn>(reinterpret_cast<void*>(GetProcAddress(plugin, "PluginVersion")))
                     : nullptr;
  Say(report ? L"HostReported" : L"HostLoaded", version != nullptr ? version() : L"none");
  if (report) return 0;
  // The test, not time, ends it.
  while (!ToldToEnd()) Sleep(100);
  return 0;
}
