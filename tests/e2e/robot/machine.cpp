#include "machine.h"

#include <cwchar>

#include "text.h"

namespace e2e {

bool ReadRegString(const std::wstring& key, const std::wstring& value, std::wstring* data) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | kView32, &handle) != ERROR_SUCCESS)
    return false;
  DWORD type = 0, size = 0;
  LONG status = RegQueryValueExW(handle, value.c_str(), nullptr, &type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    status = RegQueryValueExW(handle, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    text.resize(wcsnlen(text.c_str(), size / sizeof(wchar_t)));
    *data = text;
  }
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

bool KeyExists(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | kView32, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

bool WriteRegString(const std::wstring& key, const std::wstring& value, const std::wstring& data,
                    REGSAM view) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const LONG status = RegSetValueExW(handle, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::set<std::wstring> ListFolder(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0) names.insert(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

std::wstring TempFolderFor(const std::vector<std::pair<std::wstring, std::wstring>>& overrides) {
  auto lookup = [&](const wchar_t* name) {
    for (const auto& [key, value] : overrides)
      if (_wcsicmp(key.c_str(), name) == 0) return value;
    return Env(name);
  };
  for (const wchar_t* name : {L"TMP", L"TEMP", L"USERPROFILE"}) {
    std::wstring value = lookup(name);
    if (!value.empty()) {
      while (value.size() > 3 && value.back() == L'\\') value.pop_back();
      return value;
    }
  }
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  return windows;
}

}  // namespace e2e
