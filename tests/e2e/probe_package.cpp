// Tries what another process of the user could do to a package while the
// installer's service reads it: for every *.msi below the temp folder, open
// it to write, delete it, rename it. Prints each attempt; exits 0 when it
// found a package and every attempt failed, 1 otherwise.
// Usage: probe_package
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void FindPackages(const std::wstring& folder, std::vector<std::wstring>* found) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      FindPackages(folder + name + L"\\", found);
    } else if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".msi") == 0) {
      found->push_back(folder + name);
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
}

// Prints the attempt; true when it was refused.
bool Refused(const char* what, const std::wstring& path, bool done) {
  const DWORD error = GetLastError();
  if (done) {
    std::printf("probe_package: %s %ls: it worked\n", what, path.c_str());
    return false;
  }
  std::printf("probe_package: %s %ls: refused (error %lu)\n", what, path.c_str(), error);
  return true;
}

}  // namespace

int wmain() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) {
    std::printf("probe_package: no temp folder\n");
    return 1;
  }
  std::vector<std::wstring> packages;
  FindPackages(temp, &packages);
  if (packages.empty()) {
    std::printf("probe_package: no package below %ls\n", temp);
    return 1;
  }
  bool allRefused = true;
  for (const std::wstring& path : packages) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    allRefused &= Refused("open to write", path, file != INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    allRefused &= Refused("rename", path, MoveFileW(path.c_str(), (path + L".moved").c_str()) != FALSE);
    allRefused &= Refused("delete", path, DeleteFileW(path.c_str()) != FALSE);
  }
  std::fflush(stdout);
  return allRefused ? 0 : 1;
}
