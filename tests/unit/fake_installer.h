// In-memory stand-ins for the installer service and the package files,
// writing what they are asked into one shared call log so that tests can
// check the order across both.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "installer/installer_service_seam.h"
#include "installer/package_file_seam.h"
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
  // What the two calls return.
  unsigned int installResult = 0;
  unsigned int removeResult = 0;

  InstallUiHandler handler = nullptr;
  void* context = nullptr;
  void* internalUiOwner = reinterpret_cast<void*>(1);  // as the last SetInternalUI gave it

  void SetInternalUI(unsigned int level, void* owner) override;
  void SetExternalUI(InstallUiHandler handler, unsigned int messageFilter, void* context) override;
  unsigned int InstallProduct(const char16_t* packagePath, const char16_t* commandLine) override;
  unsigned int ConfigureProduct(const char16_t* productCode, int installLevel,
                                int installState) override;

 private:
  void SendMessages();
  CallLog& m_log;
};

class FakePackageFiles : public PackageFileSeam {
 public:
  explicit FakePackageFiles(CallLog& log) : m_log(log) {}

  // The machine.
  std::u16string tempFolder = u"C:\\Temp\\";
  bool noTempFolder = false;
  bool tempNameFails = false;
  std::vector<std::uint8_t> package = {0xD0, 0xCF, 0x11, 0xE0, 0x00, 0x1A, 0x0D, 0x0A};
  bool noPackage = false;
  std::size_t writeLimit = SIZE_MAX;  // a write stops after this many bytes
  bool closeFails = false;
  std::uint32_t lastError = 5;  // ERROR_ACCESS_DENIED
  // Called right after a temp name is made, e.g. to plant a file.
  std::function<void(const std::u16string& name)> afterTempName;

  std::map<std::u16string, std::vector<std::uint8_t>> files;
  int OpenFiles() const { return m_open; }

  std::uint32_t TempFolder(std::uint32_t capacity, char16_t* buffer) override;
  std::uint32_t CreateTempName(const char16_t* folder, const char16_t* prefix,
                               char16_t* name) override;
  bool CreateNewFile(const char16_t* path, PackageFileHandle* file) override;
  std::size_t Write(PackageFileHandle file, const std::uint8_t* bytes, std::size_t size) override;
  bool Close(PackageFileHandle file) override;
  void RemoveFile(const char16_t* path) override;
  std::uint32_t LastError() override;
  bool PackageBytes(const std::uint8_t** bytes, std::size_t* size) override;

 private:
  CallLog& m_log;
  std::map<PackageFileHandle, std::u16string> m_handles;
  unsigned int m_nextUnique = 0x1A2B;
  int m_open = 0;
};
