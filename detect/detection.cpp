#include "detect/detection.h"

#include <cstdlib>

#include "app/product_config.h"
#include "detect/registry_access.h"
#include "detect/version_compare.h"

namespace {

OwnedText NewKeyPath() {
  return OwnedText(static_cast<char16_t*>(std::malloc(kKeyPathCapacity * sizeof(char16_t))));
}

// SOFTWARE\<maker>\<product key>\ : the key the package writes "Version" to.
OwnedText ProductKeyPath() {
  OwnedText path = NewKeyPath();
  if (path) {
    FormatKeyPath(path.get(), kKeyPathCapacity,
                  {u"SOFTWARE\\", ProductConfig::MakerKey, u"\\", ProductConfig::ProductKey, u"\\"});
  }
  return path;
}

}  // namespace

void FormatKeyPath(char16_t* path, std::size_t capacity,
                   std::initializer_list<const char16_t*> parts) {
  std::size_t n = 0;
  for (const char16_t* part : parts) {
    for (; *part != 0 && n + 1 < capacity; ++part) path[n++] = *part;
  }
  path[n] = 0;
}

InstallState DetectInstallState(RegistrySeam& registry) {
  const OwnedText path = ProductKeyPath();
  if (!path) return InstallState::NotInstalled;
  const OwnedText installed = ReadMachineString(registry, path.get(), u"Version");
  if (!installed) return InstallState::NotInstalled;
  // The installed text is the reader's own buffer and serves as the second
  // scratch copy.
  const OwnedText package = CopyText(ProductConfig::PackageVersion);
  if (!package) return InstallState::NotInstalled;
  return CompareVersions(package.get(), installed.get()) > 0 ? InstallState::OlderInstalled
                                                             : InstallState::UpToDate;
}

bool IsProductRegistered(RegistrySeam& registry) {
  const OwnedText path = NewKeyPath();
  if (!path) return false;
  FormatKeyPath(path.get(), kKeyPathCapacity,
                {u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", ProductConfig::ProductCode});
  return ReadMachineString(registry, path.get(), u"DisplayVersion") != nullptr;
}

OwnedText DetectInstallFolder(RegistrySeam& registry) {
  OwnedText folder = ReadMachineString(registry, ProductConfig::HostKey, u"Installdir");
  if (folder) return folder;

  std::size_t size = 0;
  const OwnedText programFiles = registry.DuplicateEnvironment(u"ProgramFiles", &size);
  // Without a Program Files folder there is no sensible default to offer;
  // the package then falls back to its own.
  if (!programFiles) return CopyText(u"");

  const std::size_t head = TextLength(programFiles.get());
  const std::size_t tail = TextLength(ProductConfig::FolderSuffix);
  folder.reset(static_cast<char16_t*>(std::malloc((head + tail + 1) * sizeof(char16_t))));
  if (!folder) return nullptr;
  for (std::size_t i = 0; i < head; ++i) folder[i] = programFiles[i];
  for (std::size_t i = 0; i <= tail; ++i) folder[head + i] = ProductConfig::FolderSuffix[i];
  return folder;
}
