// The machine's state as a scenario sets it up and checks it: the registry
// (HKLM, 32-bit view: where a 32-bit installer and its package live), files
// and the temp folder.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

constexpr REGSAM kView32 = KEY_WOW64_32KEY;

bool ReadRegString(const std::wstring& key, const std::wstring& value, std::wstring* data);
bool KeyExists(const std::wstring& key);
bool WriteRegString(const std::wstring& key, const std::wstring& value, const std::wstring& data,
                    REGSAM view = kView32);
bool FileExists(const std::wstring& path);
// The names in a folder (without . and ..); empty when there is no folder.
std::set<std::wstring> ListFolder(const std::wstring& folder);
// The temp folder as GetTempPathW would choose it from the robot's
// environment with these variables set instead.
std::wstring TempFolderFor(const std::vector<std::pair<std::wstring, std::wstring>>& overrides);

}  // namespace e2e
