// In-memory stand-ins for the installer service and the package files,
// writing what they are asked into one shared call log so that tests can
// check the order across both.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "installer/in_use_seam.h"
#include "installer/installer_service_seam.h"
#include "installer/package_file_seam.h"
#include "installer/thread_seam.h"
#include "message_trace.h"

using CallLog = std::vector<std::string>;

class FakeInstallerService : public InstallerServiceSeam {
 public:
  explicit FakeInstallerService(CallLog& log) : m_log(log) {}

  // Sent through the registered handler during each install or removal.
  std::vector<TraceMessage> messages;
  std::vector<int> answers;
  // Runs at the end of each install or removal (e.g. to change the registry).
  std::function<void()> onInstall;
  std::function<void()> onRemove;
  // Runs at the start of each, before its messages, and after each message
  // with its index.
  std::function<void()> onStart;
  std::function<void(std::size_t)> afterMessage;
  // What the two calls return: the queued codes first, one a call, then
  // the code below.
  unsigned int installResult = 0;
  unsigned int removeResult = 0;
  std::vector<unsigned int> installResults;
  std::vector<unsigned int> removeResults;

  InstallUiHandler handler = nullptr;
  void* context = nullptr;
  void SetDialogOwner(void*) override {}
  void SetInternalUI(unsigned int level) override;
  void SetExternalUI(InstallUiHandler handler, unsigned int messageFilter, void* context) override;
  ServiceResult InstallProduct(const char16_t* packagePath, const char16_t* commandLine) override;
  ServiceResult ConfigureProduct(const char16_t* productCode, int installLevel, int installState,
                                 const char16_t* commandLine) override;

 private:
  // Sends the messages; true when one was answered with cancel (the call
  // then stops, changes nothing and returns ERROR_INSTALL_USEREXIT).
  bool SendMessages();
  static unsigned int NextResult(std::vector<unsigned int>& queue, unsigned int otherwise);
  CallLog& m_log;
};

class FakePackageFiles : public PackageFileSeam {
 public:
  explicit FakePackageFiles(CallLog& log) : m_log(log) {}

  // The machine. The temp folder exists unless createFolderError says
  // otherwise.
  std::u16string tempFolder = u"C:\\Temp\\";
  bool noTempFolder = false;
  bool noRandom = false;
  std::uint64_t nextRandom = 0x0123456789ABCDEF;  // 8 bytes, then the next number
  bool elevated = true;
  std::uint32_t createFolderError = 0;  // a folder cannot be made, for this reason
  bool moveFails = false;               // a rename fails
  std::vector<std::uint8_t> package = {0xD0, 0xCF, 0x11, 0xE0, 0x00, 0x1A, 0x0D, 0x0A};
  bool noPackage = false;
  bool packageCut = false;                     // the attached bytes end early: no open
  std::size_t packageReadable = SIZE_MAX;      // bytes read before a read fails
  std::size_t packagePiece = 8u << 20;         // the most one read gives
  std::size_t writeLimit = SIZE_MAX;  // a write stops after this many bytes
  bool closeFails = false;            // closing a writing handle fails
  int removeFailures = 0;             // deletes that fail for a moment before one works
  std::uint32_t lastError = 5;        // ERROR_ACCESS_DENIED
  // Called after each write, on the writing thread.
  std::function<void()> onWrite;
  // Called before a file is opened to read, e.g. to open it elsewhere.
  std::function<void(const std::u16string& path)> beforeOpenForReading;

  std::map<std::u16string, std::vector<std::uint8_t>> files;
  std::set<std::u16string> folders;
  int OpenFiles() const { return static_cast<int>(m_handles.size()); }
  // Whether an open handle keeps anyone else from opening path to write.
  bool HeldAgainstWriting(const std::u16string& path) const;
  // Opens path to write as another process would; false when a handle of
  // ours forbids it. The handle stays open.
  bool OpenElsewhereToWrite(const std::u16string& path);

  std::uint32_t TempFolder(std::uint32_t capacity, char16_t* buffer) override;
  bool RandomBytes(std::uint8_t* bytes, std::size_t size) override;
  bool IsElevated() override { return elevated; }
  bool CreateFolder(const char16_t* path, bool adminsOnly) override;
  bool CreateNewFile(const char16_t* path, bool adminsOnly, PackageFileHandle* file) override;
  std::size_t Write(PackageFileHandle file, const std::uint8_t* bytes, std::size_t size) override;
  bool OpenForReading(const char16_t* path, bool allowWriters, PackageFileHandle* file) override;
  bool Close(PackageFileHandle file) override;
  bool RemoveFile(const char16_t* path) override;
  bool RemoveFolder(const char16_t* path) override;
  void Pause(std::uint32_t milliseconds) override;
  bool IsFile(const char16_t* path) override;
  bool IsFolder(const char16_t* path) override;
  bool MoveReplacing(const char16_t* from, const char16_t* to) override;
  std::uint32_t LastError() override;
  bool OpenPackage(PackageFileHandle* package, std::uint64_t* size) override;
  bool ReadPackage(PackageFileHandle package, const std::uint8_t** bytes, std::size_t* size) override;
  void ClosePackage(PackageFileHandle package) override;

 private:
  struct Open {
    std::u16string path;
    bool writes;
    bool othersMayWrite;
  };
  PackageFileHandle Add(const std::u16string& path, bool writes, bool othersMayWrite);
  bool Fail(std::uint32_t error) {
    lastError = error;
    return false;
  }

  CallLog& m_log;
  std::map<PackageFileHandle, Open> m_handles;
  std::size_t m_packageRead = 0;
  std::uintptr_t m_nextHandle = 1;
};

// Events that never block: a wait with a limit is logged ("Wait 3000") and
// returns at once, set or not; no thread can be started, so a runner runs
// where it is asked to.
class InstantThreads : public ThreadSeam {
 public:
  explicit InstantThreads(CallLog& log) : m_log(log) {}
  std::unique_ptr<ThreadEvent> NewEvent() override;
  std::unique_ptr<WorkerThread> Start(void (*)(void*), void*) override { return nullptr; }
  void Sleep(std::uint32_t milliseconds) override;

 private:
  CallLog& m_log;
};

// The running programs and what the service knows, as a test sets them.
class FakeInUse : public InUseSeam {
 public:
  struct Process {
    std::uint32_t id;
    std::u16string executable;
    std::vector<std::u16string> modules;  // beside the executable
    std::u16string description;           // of its version block; empty: none
  };
  struct Holder {
    std::uint32_t id;
    std::u16string name;
    std::u16string executable;
  };
  std::vector<std::u16string> componentFiles;
  std::vector<Process> processes;
  // Files held against writers by a program whose modules do not show it.
  std::vector<std::u16string> lockedFiles;
  // What Restart Manager names when asked about any file.
  std::vector<Holder> restartManager;
  std::vector<std::pair<std::u16string, std::u16string>> pendingRenames;
  // Called as each look at the processes begins.
  std::function<void()> onLook;
  int looks = 0;
  std::vector<std::u16string> askedRestartManager;

  void ForEachComponentFile(const char16_t* productCode, Visitor& visitor) override;
  void ForEachModule(Visitor& visitor) override;
  // The processes' executables; the files of a folder are the modules
  // loaded from it and the locked files in it; a file is busy when a
  // process has it loaded or it is locked.
  void ForEachProgram(Visitor& visitor) override;
  void ForEachFileIn(const char16_t* folder, Visitor& visitor) override;
  bool Busy(const char16_t* file) override;
  void ForEachRestartManagerHolder(const char16_t* const* files, std::size_t count, Visitor& visitor) override;
  bool Describe(const char16_t* executable, char16_t* buffer, std::size_t capacity) override;
  void ForEachPendingRename(Visitor& visitor) override;
};
