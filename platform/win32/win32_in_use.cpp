#include "platform/win32/win32_in_use.h"

#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <restartmanager.h>
#include <tlhelp32.h>

#include <cwchar>
#include <memory>
#include <new>

#include "core/text.h"
#include "core/wide.h"
#include "system/system_library.h"

namespace {

// Bounds on what is looked at, so that a machine of any size is walked in
// a moment: components of every product, programs named by Restart
// Manager, the pending renames' size, and the files of a folder looked at.
constexpr DWORD kMostComponents = 100000;
constexpr DWORD kMostClients = 256;
constexpr UINT kMostRestartManagerPrograms = 64;
constexpr DWORD kLargestPendingRenames = 1u << 20;
constexpr int kMostFolderFiles = 4096;

struct MsiComponentCalls {
  decltype(&MsiEnumComponentsW) enumComponents = nullptr;
  decltype(&MsiEnumClientsW) enumClients = nullptr;
  decltype(&MsiGetComponentPathW) componentPath = nullptr;
  decltype(&MsiGetProductInfoW) productInfo = nullptr;
  decltype(&MsiOpenDatabaseW) openDatabase = nullptr;
  decltype(&MsiDatabaseOpenViewW) openView = nullptr;
  decltype(&MsiViewExecute) execute = nullptr;
  decltype(&MsiViewFetch) fetch = nullptr;
  decltype(&MsiRecordGetStringW) recordString = nullptr;
  decltype(&MsiCloseHandle) close = nullptr;
};
SystemCalls<MsiComponentCalls> g_msi([](MsiComponentCalls& c) {
  return BindSystemCall(L"msi.dll", "MsiEnumComponentsW", &c.enumComponents) &&
         BindSystemCall(L"msi.dll", "MsiEnumClientsW", &c.enumClients) &&
         BindSystemCall(L"msi.dll", "MsiGetComponentPathW", &c.componentPath) &&
         BindSystemCall(L"msi.dll", "MsiGetProductInfoW", &c.productInfo) &&
         BindSystemCall(L"msi.dll", "MsiOpenDatabaseW", &c.openDatabase) &&
         BindSystemCall(L"msi.dll", "MsiDatabaseOpenViewW", &c.openView) &&
         BindSystemCall(L"msi.dll", "MsiViewExecute", &c.execute) &&
         BindSystemCall(L"msi.dll", "MsiViewFetch", &c.fetch) &&
         BindSystemCall(L"msi.dll", "MsiRecordGetStringW", &c.recordString) &&
         BindSystemCall(L"msi.dll", "MsiCloseHandle", &c.close);
});

// An msi.dll handle, closed on every path.
class MsiHandle {
 public:
  explicit MsiHandle(const MsiComponentCalls& msi) : m_msi(msi) {}
  ~MsiHandle() {
    if (m_handle != 0) m_msi.close(m_handle);
  }
  MsiHandle(const MsiHandle&) = delete;
  MsiHandle& operator=(const MsiHandle&) = delete;
  MSIHANDLE* operator&() { return &m_handle; }
  MSIHANDLE get() const { return m_handle; }

 private:
  const MsiComponentCalls& m_msi;
  MSIHANDLE m_handle = 0;
};

// The file of one of the product's components, when it is installed on this
// machine; a key path in the registry ("02:\...") holds no file.
void VisitComponentFile(const MsiComponentCalls& msi, const wchar_t* product, const wchar_t* component,
                        InUseSeam::Visitor& visitor) {
  wchar_t path[MAX_PATH];
  DWORD size = MAX_PATH;
  if (msi.componentPath(product, component, path, &size) == INSTALLSTATE_LOCAL &&
      !(path[0] >= L'0' && path[0] <= L'9')) {
    visitor.File(AsUtf16(path), nullptr);
  }
}

// The product's components from the copy of its package the service keeps:
// a moment, where walking every component of the machine takes seconds on
// a desktop with many products. False when that copy cannot be read.
bool VisitCachedComponents(const MsiComponentCalls& msi, const wchar_t* product, InUseSeam::Visitor& visitor) {
  wchar_t package[MAX_PATH];
  DWORD size = MAX_PATH;
  if (msi.productInfo(product, INSTALLPROPERTY_LOCALPACKAGE, package, &size) != ERROR_SUCCESS) return false;
  MsiHandle database(msi);
  MsiHandle view(msi);
  if (msi.openDatabase(package, MSIDBOPEN_READONLY, &database) != ERROR_SUCCESS ||
      msi.openView(database.get(), L"SELECT `ComponentId` FROM `Component`", &view) != ERROR_SUCCESS ||
      msi.execute(view.get(), 0) != ERROR_SUCCESS) {
    return false;
  }
  for (DWORD i = 0; i < kMostComponents; ++i) {
    MsiHandle record(msi);
    if (msi.fetch(view.get(), &record) != ERROR_SUCCESS) break;
    wchar_t component[39];
    DWORD length = 39;
    if (msi.recordString(record.get(), 1, component, &length) == ERROR_SUCCESS) {
      VisitComponentFile(msi, product, component, visitor);
    }
  }
  return true;
}

// Restart Manager is not there before Vista, and not every run needs it.
struct RestartManagerCalls {
  decltype(&RmStartSession) startSession = nullptr;
  decltype(&RmRegisterResources) registerResources = nullptr;
  decltype(&RmGetList) getList = nullptr;
  decltype(&RmEndSession) endSession = nullptr;
};
SystemCalls<RestartManagerCalls> g_rm([](RestartManagerCalls& c) {
  return BindSystemCall(L"rstrtmgr.dll", "RmStartSession", &c.startSession) &&
         BindSystemCall(L"rstrtmgr.dll", "RmRegisterResources", &c.registerResources) &&
         BindSystemCall(L"rstrtmgr.dll", "RmGetList", &c.getList) &&
         BindSystemCall(L"rstrtmgr.dll", "RmEndSession", &c.endSession);
});

struct VersionCalls {
  decltype(&GetFileVersionInfoSizeW) infoSize = nullptr;
  decltype(&GetFileVersionInfoW) info = nullptr;
  decltype(&VerQueryValueW) query = nullptr;
};
SystemCalls<VersionCalls> g_version([](VersionCalls& c) {
  return BindSystemCall(L"version.dll", "GetFileVersionInfoSizeW", &c.infoSize) &&
         BindSystemCall(L"version.dll", "GetFileVersionInfoW", &c.info) &&
         BindSystemCall(L"version.dll", "VerQueryValueW", &c.query);
});

struct HandleCloser {
  void operator()(HANDLE handle) const {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

OwnedHandle Snapshot(DWORD flags, DWORD processId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(flags, processId);
  return OwnedHandle(snapshot == INVALID_HANDLE_VALUE ? nullptr : snapshot);
}

// The process's executable, by the system's name for it; empty when the
// process cannot be opened.
void ExecutableOf(DWORD processId, wchar_t (&path)[MAX_PATH]) {
  path[0] = L'\0';
  const OwnedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  DWORD size = MAX_PATH;
  if (process && !QueryFullProcessImageNameW(process.get(), 0, path, &size)) path[0] = L'\0';
}

void HexDigits(unsigned value, int digits, wchar_t* out) {
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  for (int i = digits - 1; i >= 0; --i, value >>= 4) out[i] = kDigits[value & 0xF];
}

}  // namespace

void Win32InUse::ForEachComponentFile(const char16_t* productCode, Visitor& visitor) {
  const MsiComponentCalls* msi = g_msi.Get();
  if (msi == nullptr || VisitCachedComponents(*msi, AsWide(productCode), visitor)) return;
  // Without that copy, every component the service knows, and its clients.
  for (DWORD i = 0; i < kMostComponents; ++i) {
    wchar_t component[39];
    if (msi->enumComponents(i, component) != ERROR_SUCCESS) return;
    for (DWORD j = 0; j < kMostClients; ++j) {
      wchar_t product[39];
      if (msi->enumClients(component, j, product) != ERROR_SUCCESS) break;
      if (_wcsicmp(product, AsWide(productCode)) != 0) continue;
      VisitComponentFile(*msi, AsWide(productCode), component, visitor);
      break;
    }
  }
}

namespace {

// Each process but ours, with its executable; with modules, each of its
// modules too. False from the visitor stops.
void WalkProcesses(InUseSeam::Visitor& visitor, bool modules) {
  const OwnedHandle processes = Snapshot(TH32CS_SNAPPROCESS, 0);
  if (!processes) return;
  const DWORD self = GetCurrentProcessId();
  PROCESSENTRY32W process{};
  process.dwSize = sizeof process;
  for (BOOL more = Process32FirstW(processes.get(), &process); more; more = Process32NextW(processes.get(), &process)) {
    if (process.th32ProcessID == 0 || process.th32ProcessID == self) continue;
    wchar_t executable[MAX_PATH];
    ExecutableOf(process.th32ProcessID, executable);
    if (executable[0] == L'\0') CopyText(AsUtf16(executable), MAX_PATH, AsUtf16(process.szExeFile));
    // A process of the other width, or one we may not read, shows its
    // executable alone.
    const OwnedHandle loaded =
        modules ? Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, process.th32ProcessID) : OwnedHandle();
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    if (!loaded || !Module32FirstW(loaded.get(), &module)) {
      if (!visitor.Module(process.th32ProcessID, AsUtf16(executable), AsUtf16(executable))) return;
      continue;
    }
    do {
      if (!visitor.Module(process.th32ProcessID, AsUtf16(executable), AsUtf16(module.szExePath))) return;
    } while (Module32NextW(loaded.get(), &module));
  }
}

}  // namespace

void Win32InUse::ForEachModule(Visitor& visitor) { WalkProcesses(visitor, true); }

void Win32InUse::ForEachProgram(Visitor& visitor) { WalkProcesses(visitor, false); }

void Win32InUse::ForEachFileIn(const char16_t* folder, Visitor& visitor) {
  wchar_t pattern[MAX_PATH];
  const std::size_t length = TextLength(folder);
  const bool slash = length > 0 && (folder[length - 1] == u'\\' || folder[length - 1] == u'/');
  if (!JoinText(AsUtf16(pattern), MAX_PATH, {folder, slash ? u"*" : u"\\*"})) return;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileExW(pattern, FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  int seen = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    wchar_t path[MAX_PATH];
    if (JoinText(AsUtf16(path), MAX_PATH, {folder, slash ? u"" : u"\\", AsUtf16(found.cFileName)})) {
      visitor.File(AsUtf16(path), nullptr);
    }
  } while (++seen < kMostFolderFiles && FindNextFileW(search, &found));
  FindClose(search);
}

bool Win32InUse::Busy(const char16_t* file) {
  // Writing the bytes of a file that a process has mapped as a program or
  // a library is refused, as is any write while it is open without
  // FILE_SHARE_WRITE: exactly what would keep the service from replacing
  // it. The file is only opened, never changed.
  HANDLE opened = CreateFileW(AsWide(file), FILE_WRITE_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened != INVALID_HANDLE_VALUE) {
    CloseHandle(opened);
    return false;
  }
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

void Win32InUse::ForEachRestartManagerHolder(const char16_t* const* files, std::size_t count, Visitor& visitor) {
  const RestartManagerCalls* rm = g_rm.Get();
  if (rm == nullptr || count == 0) return;
  DWORD session = 0;
  wchar_t key[CCH_RM_SESSION_KEY + 1] = L"";
  if (rm->startSession(&session, 0, key) != ERROR_SUCCESS) return;
  static_assert(sizeof(char16_t) == sizeof(wchar_t));
  // The session's list, read only by Restart Manager.
  auto* names = const_cast<LPCWSTR*>(reinterpret_cast<const LPCWSTR*>(files));
  if (rm->registerResources(session, static_cast<UINT>(count), names, 0, nullptr, 0, nullptr) == ERROR_SUCCESS) {
    std::unique_ptr<RM_PROCESS_INFO[]> programs(new (std::nothrow) RM_PROCESS_INFO[kMostRestartManagerPrograms]);
    UINT needed = 0;
    UINT listed = kMostRestartManagerPrograms;
    DWORD reasons = 0;
    // More than fit: those that fit are named.
    const DWORD listedResult = programs ? rm->getList(session, &needed, &listed, programs.get(), &reasons)
                                        : ERROR_OUTOFMEMORY;
    if (listedResult == ERROR_SUCCESS) {
      for (UINT i = 0; i < listed && i < kMostRestartManagerPrograms; ++i) {
        wchar_t executable[MAX_PATH];
        ExecutableOf(programs[i].Process.dwProcessId, executable);
        programs[i].strAppName[CCH_RM_MAX_APP_NAME] = L'\0';
        visitor.Holder(programs[i].Process.dwProcessId, AsUtf16(programs[i].strAppName), AsUtf16(executable));
      }
    }
  }
  rm->endSession(session);
}

bool Win32InUse::Describe(const char16_t* executable, char16_t* buffer, std::size_t capacity) {
  const VersionCalls* version = g_version.Get();
  if (version == nullptr || executable == nullptr || capacity == 0) return false;
  DWORD ignored = 0;
  const DWORD size = version->infoSize(AsWide(executable), &ignored);
  if (size == 0 || size > (1u << 20)) return false;
  std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[size]);
  if (!block || !version->info(AsWide(executable), 0, size, block.get())) return false;
  // The first language the block names, else US English in Unicode.
  unsigned language = 0x0409;
  unsigned codePage = 0x04B0;
  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  UINT length = 0;
  if (version->query(block.get(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
      translation != nullptr && length >= sizeof *translation) {
    language = translation->language;
    codePage = translation->codePage;
  }
  wchar_t query[] = L"\\StringFileInfo\\xxxxxxxx\\FileDescription";
  HexDigits(language, 4, query + 16);
  HexDigits(codePage, 4, query + 20);
  wchar_t* description = nullptr;
  if (!version->query(block.get(), query, reinterpret_cast<void**>(&description), &length) || description == nullptr ||
      length == 0) {
    return false;
  }
  // The value's length counts its terminator when it has one.
  std::size_t n = 0;
  for (; n < length && n + 1 < capacity && description[n] != L'\0'; ++n) buffer[n] = static_cast<char16_t>(description[n]);
  buffer[n] = 0;
  // Trailing blanks say nothing.
  while (n > 0 && buffer[n - 1] == u' ') buffer[--n] = 0;
  return n > 0;
}

void Win32InUse::ForEachPendingRename(Visitor& visitor) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return;
  }
  DWORD type = 0;
  DWORD bytes = 0;
  std::unique_ptr<wchar_t[]> value;
  if (RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      type == REG_MULTI_SZ && bytes > 0 && bytes <= kLargestPendingRenames) {
    // Room for two more terminators than the value may carry.
    const DWORD units = bytes / sizeof(wchar_t) + 2;
    value.reset(new (std::nothrow) wchar_t[units]);
    if (value && RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, &type,
                                  reinterpret_cast<BYTE*>(value.get()), &bytes) == ERROR_SUCCESS) {
      const DWORD read = bytes / sizeof(wchar_t) < units - 2 ? bytes / sizeof(wchar_t) : units - 2;
      value[read] = L'\0';
      value[read + 1] = L'\0';
      // Pairs: the file, then where it goes (empty: deleted).
      for (const wchar_t* at = value.get(); *at != L'\0' && at < value.get() + read;) {
        const wchar_t* to = at + std::wcslen(at) + 1;
        if (to > value.get() + read) break;
        visitor.File(AsUtf16(at), AsUtf16(to));
        at = to + std::wcslen(to) + 1;
      }
    }
  }
  RegCloseKey(key);
}
