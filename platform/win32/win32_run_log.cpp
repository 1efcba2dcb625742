#include "platform/win32/win32_run_log.h"

#include "core/wide.h"
#include "product/product_config.h"

namespace {

// A line is at most 1023 units of UTF-16, which take at most 3 bytes each
// in UTF-8 (a pair of surrogates takes 4 for its two units).
constexpr int kLineBytes = 4096;
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr DWORD kServiceBlock = 8192;

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
  // UTF-8 with its mark, so that any folder or message reads as it was,
  // in Notepad as in the tools that read logs.
  WriteBytes(kUtf8Mark, sizeof kUtf8Mark - 1);
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
  wchar_t stamp[64];
  wsprintfW(stamp, L"[%04u-%02u-%02u %02u:%02u:%02u] Installer: ", now.wYear, now.wMonth, now.wDay,
            now.wHour, now.wMinute, now.wSecond);
  char text[kLineBytes];
  int at = WideCharToMultiByte(CP_UTF8, 0, stamp, -1, text, kLineBytes, nullptr, nullptr) - 1;
  if (at < 0) at = 0;
  const int converted = WideCharToMultiByte(CP_UTF8, 0, AsWide(line), -1, text + at,
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
    AcquireSRWLockExclusive(&m_writing);
    CopyServiceLog(file);
    ReleaseSRWLockExclusive(&m_writing);
    CloseHandle(file);
  }
  DeleteFileW(path);
}

namespace {

// The service's log is in the system's code page, unless it begins with the
// mark of UTF-16 or UTF-8; returns the mark's length.
DWORD EncodingOf(const char* bytes, DWORD size, ServiceLogEncoding* encoding) {
  *encoding = ServiceLogEncoding::CodePage;
  if (size >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    *encoding = ServiceLogEncoding::Utf16;
    return 2;
  }
  if (size >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF') {
    *encoding = ServiceLogEncoding::Utf8;
    return 3;
  }
  return 0;
}

// Where the bytes may be cut without cutting a character: after their last
// line end (no code page has a line end inside a character), or 0.
DWORD AfterLastLineEnd(const char* bytes, DWORD size, ServiceLogEncoding encoding) {
  if (encoding == ServiceLogEncoding::Utf16) {
    for (DWORD at = size - size % 2; at >= 2; at -= 2)
      if (bytes[at - 2] == '\n' && bytes[at - 1] == 0) return at;
    return 0;
  }
  for (DWORD at = size; at >= 1; --at)
    if (bytes[at - 1] == '\n') return at;
  return 0;
}

}  // namespace

struct Win32RunLog::ServiceLogBuffers {
  char block[kServiceBlock];
  wchar_t wide[kServiceBlock];
  char utf8[3 * kServiceBlock];
};

// size bytes of the block, as UTF-8.
void Win32RunLog::WriteAsUtf8(ServiceLogBuffers& buffers, const char* bytes, DWORD size,
                              ServiceLogEncoding encoding) {
  if (encoding == ServiceLogEncoding::Utf8) {
    WriteBytes(bytes, size);
    return;
  }
  int units = 0;
  if (encoding == ServiceLogEncoding::Utf16) {
    units = static_cast<int>(size / 2);
    CopyMemory(buffers.wide, bytes, size - size % 2);
  } else if (size > 0) {
    units = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), buffers.wide, kServiceBlock);
  }
  const int written = units > 0 ? WideCharToMultiByte(CP_UTF8, 0, buffers.wide, units, buffers.utf8,
                                                      sizeof buffers.utf8, nullptr, nullptr)
                                : 0;
  if (written > 0) WriteBytes(buffers.utf8, static_cast<DWORD>(written));
}

// Block by block; each block is converted up to its last line end and the
// rest carried to the next, unless one line fills it.
void Win32RunLog::CopyServiceLog(HANDLE file) {
  ServiceLogBuffers buffers;
  char* const block = buffers.block;
  DWORD held = 0, read = 0;
  ServiceLogEncoding encoding = ServiceLogEncoding::CodePage;
  bool first = true, more = true;
  while (more) {
    more = ReadFile(file, block + held, kServiceBlock - held, &read, nullptr) && read > 0;
    if (more) held += read;
    // Only the first block may begin with a mark.
    const DWORD mark = first ? EncodingOf(block, held, &encoding) : 0;
    first = false;
    DWORD end = held;
    if (more && encoding != ServiceLogEncoding::Utf8) {
      end = mark + AfterLastLineEnd(block + mark, held - mark, encoding);
      // One line fills the block: it goes as it is, in whole units.
      if (end == mark && held == kServiceBlock)
        end = encoding == ServiceLogEncoding::Utf16 ? held - (held - mark) % 2 : held;
    }
    WriteAsUtf8(buffers, block + mark, end - mark, encoding);
    MoveMemory(block, block + end, held - end);
    held -= end;
  }
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
