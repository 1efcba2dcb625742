#include "detect/detection.h"

#include <cstdlib>

#include "product/product_config.h"
#include "detect/registry_access.h"
#include "detect/version_compare.h"

namespace {

// A heap key path made of parts; null when memory is short or the parts do
// not fit 260 units (a cut key path would name another key).
OwnedText KeyPath(std::initializer_list<const char16_t*> parts) {
  OwnedText path(static_cast<char16_t*>(std::malloc(kPathCapacity * sizeof(char16_t))));
  if (path && !JoinText(path.get(), kPathCapacity, parts)) path.reset();
  return path;
}

}  // namespace

OwnedText ReadProductValue(RegistrySeam& registry, const char16_t* valueName) {
  const OwnedText path = KeyPath(
      {u"SOFTWARE\\", ProductConfig::MakerKey, u"\\", ProductConfig::ProductKey, u"\\"});
  if (!path) return nullptr;
  return ReadMachineString(registry, path.get(), valueName);
}

InstallState DetectInstallState(RegistrySeam& registry) {
  const OwnedText installed = ReadProductValue(registry, u"Version");
  // A registered product whose version cannot be read is offered the
  // upgrade, not told that it is up to date.
  if (!installed) {
    return IsProductRegistered(registry) ? InstallState::OlderInstalled : InstallState::NotInstalled;
  }
  // The installed text is the reader's own buffer and serves as the second
  // scratch copy.
  const OwnedText package = DuplicateText(ProductConfig::PackageVersion);
  if (!package) return InstallState::NotInstalled;
  return CompareVersions(package.get(), installed.get()) > 0 ? InstallState::OlderInstalled
                                                             : InstallState::UpToDate;
}

bool IsProductRegistered(RegistrySeam& registry) {
  const OwnedText path =
      KeyPath({u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", ProductConfig::ProductCode});
  if (!path) return false;
  return ReadMachineString(registry, path.get(), u"DisplayVersion") != nullptr;
}

OwnedText DetectInstallFolder(RegistrySeam& registry) {
  OwnedText folder = ReadMachineString(registry, ProductConfig::HostKey, u"Installdir");
  if (folder) return folder;

  std::size_t size = 0;
  const OwnedText programFiles = registry.DuplicateEnvironment(u"ProgramFiles", &size);
  // Without a Program Files folder there is no sensible default to offer;
  // the package then falls back to its own.
  if (!programFiles) return DuplicateText(u"");

  const std::size_t capacity =
      TextLength(programFiles.get()) + TextLength(ProductConfig::FolderSuffix) + 1;
  folder.reset(static_cast<char16_t*>(std::malloc(capacity * sizeof(char16_t))));
  if (!folder) return nullptr;
  JoinText(folder.get(), capacity, {programFiles.get(), ProductConfig::FolderSuffix});
  return folder;
}
