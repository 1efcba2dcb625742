// Commands on the machine: the registry, files, the temp folder, the
// installer's loaded libraries, and helper programs that set it up.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <sstream>

#include "machine.h"
#include "robot.h"

namespace e2e {

bool Robot::SetReg(const Words& args) {
  if (!WriteRegString(args[0], args[1], args[2])) return FailAndStop("cannot write the value");
  return true;
}

// The 64-bit view, which a 32-bit installer must not read on 64-bit Windows.
bool Robot::SetReg64(const Words& args) {
  if (!WriteRegString(args[0], args[1], args[2], KEY_WOW64_64KEY)) return FailAndStop("cannot write the value");
  return true;
}

bool Robot::WaitReg(const Words& args) {
  std::wstring data;
  if (!Poll(TimeoutArg(args, 3, kDefaultWaitMs), [&] { return ReadRegString(args[0], args[1], &data) && data == args[2]; }))
    return FailAndStop("value " + Narrow(args[1]) + " stayed " + Shown(data) + ", want " + Shown(args[2]));
  return true;
}

bool Robot::ExpectReg(const Words& args) {
  std::wstring data;
  if (!ReadRegString(args[0], args[1], &data)) return FailAndGoOn("no value " + Narrow(args[1]));
  if (data != args[2]) FailAndGoOn("value is " + Shown(data) + ", want " + Shown(args[2]));
  return true;
}

bool Robot::ExpectNoReg(const Words& args) {
  std::wstring data;
  if (args.size() < 2 ? KeyExists(args[0]) : ReadRegString(args[0], args[1], &data))
    FailAndGoOn(args.size() < 2 ? "the key exists" : "the value exists: " + Shown(data));
  return true;
}

bool Robot::ExpectFile(const Words& args) {
  if (!FileExists(args[0])) FailAndGoOn("no such file");
  return true;
}

bool Robot::ExpectNoFile(const Words& args) {
  if (FileExists(args[0])) FailAndGoOn("the file exists");
  return true;
}

bool Robot::ExpectTempUnchanged(const Words&) {
  if (!RequireLaunched()) return false;
  for (const auto& [folder, before] : m_tempBefore) {
    std::string added;
    for (const std::wstring& name : ListFolder(folder))
      if (!before.count(name)) added += " " + Narrow(name);
    if (!added.empty()) FailAndGoOn("left in " + Narrow(folder) + ":" + added);
  }
  return true;
}

// No library of the running installer comes from the folder (its own
// executable aside). Wine may map its built-in library for a planted one and
// still name it by the planted file's path, so this sees a lookup that the
// marker file of the planted DLL would miss.
bool Robot::ExpectNoModuleIn(const Words& args) {
  if (!Running()) return FailAndStop("the installer is not running");
  HMODULE modules[512];
  DWORD bytes = 0;
  if (!K32EnumProcessModules(m_process.hProcess, modules, sizeof modules, &bytes))
    return FailAndGoOn("cannot list the installer's modules (error " + std::to_string(GetLastError()) + ")");
  std::wstring folder = args[0];
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  for (DWORD i = 1; i < bytes / sizeof(HMODULE); ++i) {  // the first is the executable
    wchar_t path[MAX_PATH] = L"";
    K32GetModuleFileNameExW(m_process.hProcess, modules[i], path, MAX_PATH);
    if (_wcsnicmp(path, folder.c_str(), folder.size()) == 0) FailAndGoOn("loaded from there: " + Narrow(path));
  }
  return true;
}

bool Robot::CopyFileCommand(const Words& args) {
  if (!CopyFileW(args[0].c_str(), args[1].c_str(), FALSE))
    return FailAndStop("cannot copy (error " + std::to_string(GetLastError()) + ")");
  return true;
}

// Runs a helper program (msiexec to set the machine up) and wants exit 0.
namespace {

std::wstring CommandLineOf(const Words& args, size_t first) {
  std::wstring commandLine;
  for (size_t i = first; i < args.size(); ++i) {
    if (!commandLine.empty()) commandLine += L' ';
    commandLine += args[i].find(L' ') != std::wstring::npos ? L"\"" + args[i] + L"\"" : args[i];
  }
  return commandLine;
}

}  // namespace

bool Robot::RunProgram(const Words& args) {
  long seconds = 0;
  if (!ParseInt(args[0], &seconds) || seconds <= 0) return StopWithScriptError("run <seconds> <command line>");
  std::wstring commandLine = CommandLineOf(args, 1);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return FailAndStop("cannot start it (error " + std::to_string(GetLastError()) + ")");
  const DWORD waited = WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds) * 1000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  if (waited != WAIT_OBJECT_0) return FailAndStop("timed out");
  if (code != 0) return FailAndStop("exit code " + std::to_string(code));
  return true;
}

// A helper program that goes on beside the installer (a host with the
// plug-in loaded); the robot ends it at the end if it is still there.
bool Robot::StartProgram(const Words& args) {
  if (m_helper.hProcess != nullptr) return StopWithScriptError("one started program at a time");
  std::wstring commandLine = CommandLineOf(args, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_helper))
    return FailAndStop("cannot start it (error " + std::to_string(GetLastError()) + ")");
  CloseHandle(m_helper.hThread);
  m_helper.hThread = nullptr;
  return true;
}

bool Robot::ExpectStartedAlive(const Words&) {
  if (m_helper.hProcess == nullptr) return StopWithScriptError("nothing was started");
  if (WaitForSingleObject(m_helper.hProcess, 0) != WAIT_TIMEOUT) FailAndGoOn("the started program has ended");
  return true;
}

bool Robot::WaitStartedExit(const Words& args) {
  if (m_helper.hProcess == nullptr) return StopWithScriptError("nothing was started");
  // Whatever the installer does meanwhile: it may show the box the program
  // holds up, or have ended.
  if (WaitForSingleObject(m_helper.hProcess, TimeoutArg(args, 0, kDefaultWaitMs)) != WAIT_OBJECT_0)
    return FailAndStop("the started program is still running");
  CloseHandle(m_helper.hProcess);
  m_helper.hProcess = nullptr;
  return true;
}

bool Robot::PrintReg(const Words& args) {
  std::wstring data;
  const bool found = ReadRegString(args[0], args[1], &data);
  std::printf("    %s = %s\n", Narrow(args[1]).c_str(), found ? Shown(data).c_str() : "(not set)");
  return true;
}

namespace {

// The file's bytes, or false when it cannot be read.
bool ReadBytes(const std::wstring& path, std::string* bytes) {
  std::ifstream file(path.c_str(), std::ios::binary);
  if (!file) return false;
  std::ostringstream all;
  all << file.rdbuf();
  *bytes = all.str();
  return true;
}

// Each text (from the script's words) that bytes lacks, or "".
std::string Missing(const std::string& bytes, const Words& args, size_t from) {
  std::string missing;
  for (size_t i = from; i < args.size(); ++i)
    if (bytes.find(Narrow(args[i])) == std::string::npos) missing += " " + Shown(args[i]);
  return missing;
}

}  // namespace

// Another installation, as the service marks it, for the installer to wait on.
bool Robot::HoldMutex(const Words& args) {
  if (m_heldMutex != nullptr) return StopWithScriptError("a mutex is held already");
  m_heldMutex = CreateMutexW(nullptr, TRUE, args[0].c_str());
  if (m_heldMutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS)
    return FailAndStop("cannot own the mutex " + Narrow(args[0]));
  return true;
}

bool Robot::ReleaseMutexCommand(const Words&) {
  if (m_heldMutex == nullptr) return StopWithScriptError("no mutex is held");
  ReleaseMutex(m_heldMutex);
  CloseHandle(m_heldMutex);
  m_heldMutex = nullptr;
  return true;
}

bool Robot::ExpectSameFile(const Words& args) {
  std::string one, other;
  if (!ReadBytes(args[0], &one)) return FailAndGoOn("cannot read " + Narrow(args[0]));
  if (!ReadBytes(args[1], &other)) return FailAndGoOn("cannot read " + Narrow(args[1]));
  if (one != other) FailAndGoOn("the files differ: " + std::to_string(one.size()) + " and " + std::to_string(other.size()) + " bytes");
  return true;
}

bool Robot::ExpectFileContains(const Words& args) {
  std::string bytes;
  if (!ReadBytes(args[0], &bytes)) return FailAndGoOn("cannot read " + Narrow(args[0]));
  const std::string missing = Missing(bytes, args, 1);
  if (!missing.empty()) FailAndGoOn("the file lacks" + missing);
  return true;
}

// The one file the installer added to a temp folder under this name; its
// texts are checked, then it is deleted, so that expect-temp-unchanged
// judges the rest.
bool Robot::ExpectNewTempFile(const Words& args) {
  if (!RequireLaunched()) return false;
  std::vector<std::wstring> found;
  for (const auto& [folder, before] : m_tempBefore)
    for (const std::wstring& name : ListFolder(folder))
      if (!before.count(name) && name.rfind(args[0], 0) == 0) found.push_back(folder + L"\\" + name);
  if (found.size() != 1)
    return FailAndGoOn(std::to_string(found.size()) + " new files named " + Narrow(args[0]) + "* in temp");
  std::string bytes;
  if (!ReadBytes(found[0], &bytes)) return FailAndGoOn("cannot read " + Narrow(found[0]));
  const std::string missing = Missing(bytes, args, 1);
  if (!missing.empty()) FailAndGoOn(Narrow(found[0]) + " lacks" + missing);
  DeleteFileW(found[0].c_str());
  return true;
}

// The package the installer writes out, in a new work folder of its own
// in temp (Kel<16 digits>\package.msi): there at all, or as large as the
// file given (the write is done).
bool Robot::WaitPackage(const Words& args) {
  if (!RequireLaunched()) return false;
  LONGLONG wanted = 0;
  if (args[0] != L"any") {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(args[0].c_str(), GetFileExInfoStandard, &data))
      return StopWithScriptError("no file " + Narrow(args[0]));
    wanted = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  LONGLONG largest = -1;
  const bool there = Poll(TimeoutArg(args, 1, kDefaultWaitMs), [&] {
    for (const auto& [folder, before] : m_tempBefore) {
      for (const std::wstring& name : ListFolder(folder)) {
        if (before.count(name) || name.rfind(L"Kel", 0) != 0) continue;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW((folder + L"\\" + name + L"\\package.msi").c_str(), GetFileExInfoStandard, &data))
          continue;
        const LONGLONG size = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > largest) largest = size;
        if (size >= wanted) return true;
      }
    }
    return false;
  });
  if (!there) return FailAndStop("no package in temp, or only " + std::to_string(largest) + " bytes of it");
  return true;
}

}  // namespace e2e
