#include "fake_installer.h"

#include <cstdio>

#include "fake_handler_effects.h"

namespace {

std::string Hex(unsigned int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

}  // namespace

void FakeInstallerService::SetInternalUI(unsigned int level, void* owner) {
  internalUiOwner = owner;
  m_log.push_back("SetInternalUI " + Hex(level));
}

void FakeInstallerService::SetExternalUI(InstallUiHandler h, unsigned int messageFilter, void* c) {
  handler = h;
  context = c;
  m_log.push_back("SetExternalUI " + Hex(messageFilter));
}

void FakeInstallerService::SendMessages() {
  for (const TraceMessage& m : messages) {
    answers.push_back(handler(context, m.type, m.hasText ? m.text.c_str() : nullptr));
  }
}

unsigned int FakeInstallerService::InstallProduct(const char16_t* packagePath,
                                                  const char16_t* commandLine) {
  m_log.push_back("InstallProduct " + Narrow(packagePath) + " " + Narrow(commandLine));
  SendMessages();
  if (onInstall) onInstall();
  return installResult;
}

unsigned int FakeInstallerService::ConfigureProduct(const char16_t* productCode, int installLevel,
                                                    int installState) {
  m_log.push_back("ConfigureProduct " + Narrow(productCode) + " " + std::to_string(installLevel) +
                  " " + std::to_string(installState));
  SendMessages();
  if (onRemove) onRemove();
  return removeResult;
}

std::uint32_t FakePackageFiles::TempFolder(std::uint32_t capacity, char16_t* buffer) {
  if (noTempFolder) return 0;
  const auto length = static_cast<std::uint32_t>(tempFolder.size());
  if (length + 1 > capacity) return length + 1;
  tempFolder.copy(buffer, length);
  buffer[length] = 0;
  return length;
}

std::uint32_t FakePackageFiles::CreateTempName(const char16_t* folder, const char16_t* prefix,
                                               char16_t* name) {
  if (tempNameFails) return 0;
  char hex[8];
  std::snprintf(hex, sizeof hex, "%X", m_nextUnique);
  std::u16string made = std::u16string(folder) + std::u16string(prefix, 3);
  for (const char* c = hex; *c; ++c) made += static_cast<char16_t>(*c);
  made += u".tmp";
  // The platform's name buffer is MAX_PATH units.
  if (made.size() + 1 > 260) return 0;
  made.copy(name, made.size());
  name[made.size()] = 0;
  files[made];
  m_log.push_back("CreateTempName " + Narrow(made));
  if (afterTempName) afterTempName(made);
  return m_nextUnique++;
}

bool FakePackageFiles::CreateNewFile(const char16_t* path, PackageFileHandle* file) {
  m_log.push_back("CreateNewFile " + Narrow(path));
  if (files.count(path) != 0) return false;
  files[path];
  *file = reinterpret_cast<PackageFileHandle>(static_cast<std::uintptr_t>(m_handles.size() + 1));
  m_handles[*file] = path;
  ++m_open;
  return true;
}

std::uint32_t FakePackageFiles::LastError() { return lastError; }

std::size_t FakePackageFiles::Write(PackageFileHandle file, const std::uint8_t* bytes,
                                    std::size_t size) {
  const std::size_t written = size < writeLimit ? size : writeLimit;
  std::vector<std::uint8_t>& content = files[m_handles.at(file)];
  content.insert(content.end(), bytes, bytes + written);
  m_log.push_back("Write " + std::to_string(size));
  return written;
}

bool FakePackageFiles::Close(PackageFileHandle file) {
  m_handles.at(file);
  --m_open;
  m_log.push_back("Close");
  return !closeFails;
}

void FakePackageFiles::RemoveFile(const char16_t* path) {
  m_log.push_back("RemoveFile " + Narrow(path));
  files.erase(path);
}

bool FakePackageFiles::PackageBytes(const std::uint8_t** bytes, std::size_t* size) {
  if (noPackage) return false;
  *bytes = package.data();
  *size = package.size();
  return true;
}
