#include "fake_installer.h"

#include <algorithm>

#include "installer/in_use.h"
#include "recording_observer.h"

void FakeInstallerService::SetInternalUI(unsigned int level) {
  m_log.push_back("SetInternalUI " + Hex(level));
}

void FakeInstallerService::SetExternalUI(InstallUiHandler h, unsigned int messageFilter, void* c) {
  handler = h;
  context = c;
  m_log.push_back("SetExternalUI " + Hex(messageFilter));
}

bool FakeInstallerService::SendMessages() {
  if (onStart) onStart();
  bool cancelled = false;
  for (std::size_t i = 0; i < messages.size() && !cancelled; ++i) {
    if (handler == nullptr) break;  // no handler: the service logs them
    const TraceMessage& m = messages[i];
    answers.push_back(handler(context, m.type, m.hasText ? m.text.c_str() : nullptr));
    cancelled = answers.back() == 2;  // IDCANCEL
    if (afterMessage) afterMessage(i);
  }
  return cancelled;
}

ServiceResult FakeInstallerService::InstallProduct(const char16_t* packagePath, const char16_t* commandLine) {
  m_log.push_back("InstallProduct " + Narrow(packagePath) + " " + Narrow(commandLine));
  if (SendMessages()) return ServiceResultOf(1602);
  if (onInstall) onInstall();
  return ServiceResultOf(NextResult(installResults, installResult));
}

ServiceResult FakeInstallerService::ConfigureProduct(const char16_t* productCode, int installLevel,
                                                     int installState, const char16_t* commandLine) {
  m_log.push_back("ConfigureProduct " + Narrow(productCode) + " " + std::to_string(installLevel) +
                  " " + std::to_string(installState) + " " + Narrow(commandLine));
  if (SendMessages()) return ServiceResultOf(1602);
  if (onRemove) onRemove();
  return ServiceResultOf(NextResult(removeResults, removeResult));
}

unsigned int FakeInstallerService::NextResult(std::vector<unsigned int>& queue, unsigned int otherwise) {
  if (queue.empty()) return otherwise;
  const unsigned int next = queue.front();
  queue.erase(queue.begin());
  return next;
}

std::uint32_t FakePackageFiles::TempFolder(std::uint32_t capacity, char16_t* buffer) {
  if (noTempFolder) return 0;
  const auto length = static_cast<std::uint32_t>(tempFolder.size());
  if (length + 1 > capacity) return length + 1;
  tempFolder.copy(buffer, length);
  buffer[length] = 0;
  return length;
}

bool FakePackageFiles::RandomBytes(std::uint8_t* bytes, std::size_t size) {
  if (noRandom) return Fail(87);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(nextRandom >> (8 * (7 - i % 8)));
  ++nextRandom;
  return true;
}

bool FakePackageFiles::CreateFolder(const char16_t* path, bool adminsOnly) {
  m_log.push_back("CreateFolder " + Narrow(path) + (adminsOnly ? " admins-only" : " default"));
  if (createFolderError != 0) return Fail(createFolderError);
  if (folders.count(path) != 0 || files.count(path) != 0) return Fail(183);
  folders.insert(path);
  return true;
}

PackageFileHandle FakePackageFiles::Add(const std::u16string& path, bool writes, bool othersMayWrite) {
  auto* handle = reinterpret_cast<PackageFileHandle>(m_nextHandle++);
  m_handles[handle] = {path, writes, othersMayWrite};
  return handle;
}

bool FakePackageFiles::CreateNewFile(const char16_t* path, bool adminsOnly, PackageFileHandle* file) {
  m_log.push_back("CreateNewFile " + Narrow(path) + (adminsOnly ? " admins-only" : " default"));
  const std::u16string name = path;
  if (folders.count(name.substr(0, name.rfind(u'\\'))) == 0) return Fail(3);
  if (files.count(name) != 0 || folders.count(name) != 0) return Fail(80);
  files[name];
  *file = Add(name, true, false);
  return true;
}

std::size_t FakePackageFiles::Write(PackageFileHandle file, const std::uint8_t* bytes,
                                    std::size_t size) {
  const std::size_t written = size < writeLimit ? size : writeLimit;
  std::vector<std::uint8_t>& content = files.at(m_handles.at(file).path);
  content.insert(content.end(), bytes, bytes + written);
  m_log.push_back("Write " + std::to_string(size));
  if (onWrite) onWrite();
  return written;
}

bool FakePackageFiles::HeldAgainstWriting(const std::u16string& path) const {
  for (const auto& [handle, open] : m_handles)
    if (open.path == path && !open.othersMayWrite) return true;
  return false;
}

bool FakePackageFiles::OpenElsewhereToWrite(const std::u16string& path) {
  if (HeldAgainstWriting(path)) return false;
  Add(path, true, true);
  return true;
}

bool FakePackageFiles::OpenForReading(const char16_t* path, bool allowWriters,
                                      PackageFileHandle* file) {
  m_log.push_back("OpenForReading " + Narrow(path) + (allowWriters ? " writers-allowed" : " writers-denied"));
  if (beforeOpenForReading) beforeOpenForReading(path);
  if (files.count(path) == 0) return Fail(2);
  // Sharing: a reader that lets nobody write cannot open beside a writer.
  for (const auto& [handle, open] : m_handles)
    if (open.path == path && open.writes && !allowWriters) return Fail(32);
  *file = Add(path, false, allowWriters);
  return true;
}

bool FakePackageFiles::Close(PackageFileHandle file) {
  const Open closed = m_handles.at(file);
  m_handles.erase(file);
  m_log.push_back("Close " + Narrow(closed.path) + (closed.writes ? " writer" : " reader"));
  if (closed.writes && closeFails) return Fail(1117);  // ERROR_IO_DEVICE
  return true;
}

bool FakePackageFiles::RemoveFile(const char16_t* path) {
  m_log.push_back("RemoveFile " + Narrow(path));
  if (removeFailures > 0) {
    --removeFailures;
    return Fail(32);
  }
  if (files.count(path) == 0) return Fail(2);
  for (const auto& [handle, open] : m_handles)
    if (open.path == path) return Fail(32);  // no handle lets others delete
  files.erase(path);
  return true;
}

bool FakePackageFiles::RemoveFolder(const char16_t* path) {
  m_log.push_back("RemoveFolder " + Narrow(path));
  if (removeFailures > 0) {
    --removeFailures;
    return Fail(32);
  }
  if (folders.count(path) == 0) return Fail(3);
  const std::u16string inside = std::u16string(path) + u"\\";
  for (const auto& [name, content] : files)
    if (name.compare(0, inside.size(), inside) == 0) return Fail(145);  // ERROR_DIR_NOT_EMPTY
  folders.erase(path);
  return true;
}

void FakePackageFiles::Pause(std::uint32_t milliseconds) {
  m_log.push_back("Pause " + std::to_string(milliseconds));
}

bool FakePackageFiles::IsFile(const char16_t* path) {
  m_log.push_back("IsFile " + Narrow(path));
  return files.count(path) != 0;
}

bool FakePackageFiles::IsFolder(const char16_t* path) { return folders.count(path) != 0; }

bool FakePackageFiles::MoveReplacing(const char16_t* from, const char16_t* to) {
  m_log.push_back("MoveReplacing " + Narrow(from) + " " + Narrow(to));
  if (moveFails || files.count(from) == 0) return Fail(5);
  files[to] = files[from];
  files.erase(from);
  return true;
}

std::uint32_t FakePackageFiles::LastError() { return lastError; }

bool FakePackageFiles::OpenPackage(PackageFileHandle* package, std::uint64_t* size) {
  if (noPackage) return Fail(1814);
  if (packageCut) return Fail(38);
  *package = Add(u"(carried package)", false, false);
  *size = this->package.size();
  m_packageRead = 0;
  return true;
}

bool FakePackageFiles::ReadPackage(PackageFileHandle, const std::uint8_t** bytes, std::size_t* size) {
  if (m_packageRead >= packageReadable) return Fail(23);  // ERROR_CRC
  std::size_t piece = package.size() - m_packageRead;
  if (piece > packagePiece) piece = packagePiece;
  if (piece > packageReadable - m_packageRead) piece = packageReadable - m_packageRead;
  *bytes = package.data() + m_packageRead;
  *size = piece;
  m_packageRead += piece;
  return true;
}

void FakePackageFiles::ClosePackage(PackageFileHandle handle) { m_handles.erase(handle); }

namespace {

class InstantEvent final : public ThreadEvent {
 public:
  explicit InstantEvent(CallLog& log) : m_log(log) {}
  void Set() override { m_set = true; }
  void Reset() override { m_set = false; }
  bool Wait(std::uint32_t milliseconds) override {
    if (milliseconds != kWaitForever) m_log.push_back("Wait " + std::to_string(milliseconds));
    return m_set;
  }

 private:
  CallLog& m_log;
  bool m_set = false;
};

}  // namespace

std::unique_ptr<ThreadEvent> InstantThreads::NewEvent() { return std::make_unique<InstantEvent>(m_log); }

void InstantThreads::Sleep(std::uint32_t milliseconds) { m_log.push_back("Sleep " + std::to_string(milliseconds)); }

void FakeInUse::ForEachComponentFile(const char16_t*, Visitor& visitor) {
  for (const std::u16string& file : componentFiles) visitor.File(file.c_str(), nullptr);
}

void FakeInUse::ForEachModule(Visitor& visitor) {
  ++looks;
  if (onLook) onLook();
  for (const Process& process : processes) {
    if (!visitor.Module(process.id, process.executable.c_str(), process.executable.c_str())) return;
    for (const std::u16string& module : process.modules) {
      if (!visitor.Module(process.id, process.executable.c_str(), module.c_str())) return;
    }
  }
}

void FakeInUse::ForEachProgram(Visitor& visitor) {
  for (const Process& process : processes) {
    if (!visitor.Module(process.id, process.executable.c_str(), process.executable.c_str())) return;
  }
}

void FakeInUse::ForEachFileIn(const char16_t* folder, Visitor& visitor) {
  std::vector<std::u16string> files = lockedFiles;
  for (const Process& process : processes) files.insert(files.end(), process.modules.begin(), process.modules.end());
  for (const std::u16string& file : files) {
    if (PathIsIn(file.c_str(), folder)) visitor.File(file.c_str(), nullptr);
  }
}

bool FakeInUse::Busy(const char16_t* file) {
  for (const std::u16string& locked : lockedFiles) {
    if (SamePath(locked.c_str(), file)) return true;
  }
  for (const Process& process : processes) {
    for (const std::u16string& module : process.modules) {
      if (SamePath(module.c_str(), file)) return true;
    }
  }
  return false;
}

void FakeInUse::ForEachRestartManagerHolder(const char16_t* const* files, std::size_t count, Visitor& visitor) {
  for (std::size_t i = 0; i < count; ++i) askedRestartManager.push_back(files[i]);
  for (const Holder& holder : restartManager) visitor.Holder(holder.id, holder.name.c_str(), holder.executable.c_str());
}

bool FakeInUse::Describe(const char16_t* executable, char16_t* buffer, std::size_t capacity) {
  for (const Process& process : processes) {
    if (process.executable != executable || process.description.empty()) continue;
    const std::size_t n = std::min(process.description.size(), capacity - 1);
    process.description.copy(buffer, n);
    buffer[n] = 0;
    return true;
  }
  return false;
}

void FakeInUse::ForEachPendingRename(Visitor& visitor) {
  for (const auto& [from, to] : pendingRenames) visitor.File(from.c_str(), to.c_str());
}
