#include "installer/install_operations.h"

#include <cstdlib>

#include "app/product_config.h"
#include "detect/detection.h"
#include "detect/owned_text.h"
#include "installer/message_handler.h"
#include "installer/package_extraction.h"
#include "installer/progress_context.h"
#include "res/resource.h"

namespace {

constexpr unsigned int kServiceUiLevel = kInstallUiLevelNone | kInstallUiLevelSourceResOnly;

OwnedText NewPathBuffer() {
  return OwnedText(static_cast<char16_t*>(std::malloc(kPathCapacity * sizeof(char16_t))));
}

bool FitsCommandLine(const char16_t* folder) {
  if (folder == nullptr) return false;
  std::size_t n = 0;
  while (n <= kLongestFolder && folder[n] != 0) ++n;
  return n <= kLongestFolder;
}

// Points the handler at the dialog and registers it. The progress state is
// left as the previous call left it.
void PrepareService(const InstallerServices& services, void* dialogWindow, void* progressBar) {
  g_progressContext.dialogWindow = dialogWindow;
  g_progressContext.progressBar = progressBar;
  g_progressContext.cancelButton = nullptr;
  g_progressContext.actionTextId = IDC_ACTION_TEXT;
  services.service.SetInternalUI(kServiceUiLevel);
  services.service.SetExternalUI(InstallerMessageHandler, kHandlerMessageFilter,
                                 const_cast<char16_t*>(kHandlerContext));
}

void ExtractAndInstall(const InstallerServices& services, void* dialogWindow, void* progressBar,
                       const char16_t* folder) {
  const OwnedText packagePath = NewPathBuffer();
  const OwnedText commandLine = NewPathBuffer();
  if (!packagePath || !commandLine) return;
  FormatKeyPath(commandLine.get(), kPathCapacity, {u"MAXDIR=\"", folder, u"\""});
  if (!ExtractPackage(services.packageFile, packagePath.get())) return;
  PrepareService(services, dialogWindow, progressBar);
  services.service.InstallProduct(packagePath.get(), commandLine.get());
  services.packageFile.RemoveFile(packagePath.get());
}

}  // namespace

int RemovePreviousVersion(const InstallerServices& services, void* dialogWindow,
                          void* progressBar) {
  if (!IsProductRegistered(services.registry)) return 1;
  PrepareService(services, dialogWindow, progressBar);
  services.service.ConfigureProduct(ProductConfig::ProductCode, kInstallLevelDefault,
                                    kInstallStateAbsent);
  return IsProductRegistered(services.registry) ? 0 : 1;
}

int InstallPackage(const InstallerServices& services, void* dialogWindow, void* progressBar,
                   const char16_t* folder) {
  if (FitsCommandLine(folder)) ExtractAndInstall(services, dialogWindow, progressBar, folder);
  return IsProductRegistered(services.registry) ? 1 : 0;
}
