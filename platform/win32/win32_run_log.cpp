#include "platform/win32/win32_run_log.h"

#include "core/wide.h"
#include "product/product_config.h"

namespace {

constexpr int kLineBytes = 4096;

// The temp folder with a name of ours in it: <exe>_<yyyymmddhhmmss>_<pid><suffix>.
bool TempLogName(wchar_t (&path)[MAX_PATH], const wchar_t* suffix) {
  const DWORD length = GetTempPathW(MAX_PATH, path);
  if (length == 0 || length >= MAX_PATH) return false;
  SYSTEMTIME now;
  GetLocalTime(&now);
  // wsprintfW writes at most 1024 units; a name is far shorter.
  wchar_t name[1024];
  wsprintfW(name, L"%s_%04u%02u%02u%02u%02u%02u_%lu%s", L"" PRODUCT_EXE_NAME_TEXT, now.wYear,
            now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, GetCurrentProcessId(),
            suffix);
  return lstrlenW(name) < static_cast<int>(MAX_PATH - length) && lstrcpyW(path + length, name) != nullptr;
}

}  // namespace

bool Win32RunLog::Open(const char16_t* path) {
  Close();
  m_path[0] = L'\0';
  if (path != nullptr && *path != u'\0') {
    const DWORD length = GetFullPathNameW(AsWide(path), MAX_PATH, m_path, nullptr);
    if (length == 0 || length >= MAX_PATH) m_path[0] = L'\0';
  } else if (!TempLogName(m_path, L".log")) {
    m_path[0] = L'\0';
  }
  if (m_path[0] == L'\0') return false;
  // Others may read it while we write: a distribution system may follow it.
  HANDLE file = CreateFileW(m_path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    m_path[0] = L'\0';
    return false;
  }
  m_file = file;
  return true;
}

const char16_t* Win32RunLog::Path() const { return AsUtf16(m_path); }

void Win32RunLog::WriteBytes(const char* bytes, DWORD size) {
  DWORD written = 0;
  if (m_file != nullptr) WriteFile(m_file, bytes, size, &written, nullptr);
}

void Win32RunLog::Write(const char16_t* line) {
  if (m_file == nullptr) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  // In the system's code page, as the service writes its own lines.
  wchar_t stamp[64];
  wsprintfW(stamp, L"[%04u-%02u-%02u %02u:%02u:%02u] Installer: ", now.wYear, now.wMonth, now.wDay,
            now.wHour, now.wMinute, now.wSecond);
  char text[kLineBytes];
  int at = WideCharToMultiByte(CP_ACP, 0, stamp, -1, text, kLineBytes, nullptr, nullptr) - 1;
  if (at < 0) at = 0;
  const int converted = WideCharToMultiByte(CP_ACP, 0, AsWide(line), -1, text + at,
                                            kLineBytes - at - 2, nullptr, nullptr);
  at += converted > 0 ? converted - 1 : 0;
  text[at++] = '\r';
  text[at++] = '\n';
  AcquireSRWLockExclusive(&m_writing);
  WriteBytes(text, static_cast<DWORD>(at));
  ReleaseSRWLockExclusive(&m_writing);
}

bool Win32RunLog::NameServiceLog(wchar_t (&path)[MAX_PATH]) {
  if (m_file == nullptr) return false;
  static unsigned int calls = 0;
  wchar_t suffix[32];
  wsprintfW(suffix, L"_msi%u.log", ++calls);
  return TempLogName(path, suffix);
}

void Win32RunLog::TakeServiceLog(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char block[16384];
    DWORD read = 0;
    AcquireSRWLockExclusive(&m_writing);
    while (ReadFile(file, block, sizeof block, &read, nullptr) && read > 0) WriteBytes(block, read);
    ReleaseSRWLockExclusive(&m_writing);
    CloseHandle(file);
  }
  DeleteFileW(path);
}

void Win32RunLog::Close() {
  if (m_file != nullptr) CloseHandle(m_file);
  m_file = nullptr;
}

void Win32RunLog::Remove() {
  Close();
  if (m_path[0] != L'\0') DeleteFileW(m_path);
  m_path[0] = L'\0';
}
