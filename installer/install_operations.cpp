#include "installer/install_operations.h"

#include "core/text.h"
#include "detect/detection.h"
#include "installer/message_handler.h"
#include "installer/package_extraction.h"
#include "product/product_config.h"

namespace {

constexpr unsigned int kServiceUiLevel = kInstallUiLevelNone | kInstallUiLevelSourceResOnly;

static_assert(kLongestFolder + sizeof "MAXDIR=\"\"" == kPathCapacity);

}  // namespace

InstallOperations::InstallOperations(const InstallerServices& services, int actionTextId)
    : m_services(services), m_actionTextId(actionTextId) {
  m_progress.effects = &services.effects;
  m_progress.service = &services.service;
}

// Points the handler at the dialog and registers it; the service's own
// dialogs (source resolution) are owned by the dialog too, so that they
// do not open behind our topmost window. The progress state is left as
// the previous call left it.
void InstallOperations::PrepareService(void* dialogWindow, void* progressBar) {
  m_progress.dialogWindow = dialogWindow;
  m_progress.progressBar = progressBar;
  m_progress.cancelButton = nullptr;
  m_progress.actionTextId = m_actionTextId;
  m_services.service.SetInternalUI(kServiceUiLevel, dialogWindow);
  m_services.service.SetExternalUI(InstallerMessageHandler, kHandlerMessageFilter, &m_progress);
}

OperationResult InstallOperations::RemovePreviousVersion(void* dialogWindow, void* progressBar) {
  if (!IsProductRegistered(m_services.registry)) return {};
  PrepareService(dialogWindow, progressBar);
  const unsigned int code = m_services.service.ConfigureProduct(
      ProductConfig::ProductCode, kInstallLevelDefault, kInstallStateAbsent);
  if (IsProductRegistered(m_services.registry)) return Failure(OperationStep::RemoveProduct, code);
  return {OperationStep::None, code};
}

OperationResult InstallOperations::ExtractAndInstall(void* dialogWindow, void* progressBar,
                                                     const char16_t* folder) {
  // Fits exactly when the folder has at most kLongestFolder units.
  char16_t commandLine[kPathCapacity];
  if (folder == nullptr || !JoinText(commandLine, kPathCapacity, {u"MAXDIR=\"", folder, u"\""})) {
    return Failure(OperationStep::CheckFolder, kErrorFilenameTooLong);
  }
  ExtractedPackage package(m_services.packageFile);
  const OperationResult extracted = package.Extract();
  if (!extracted.Succeeded()) return extracted;
  PrepareService(dialogWindow, progressBar);
  const unsigned int code = m_services.service.InstallProduct(package.Path(), commandLine);
  // A package left behind is the temp folder's to clear; the install's
  // outcome stands either way.
  package.Release();
  return {OperationStep::None, code};
}

OperationResult InstallOperations::InstallPackage(void* dialogWindow, void* progressBar,
                                                  const char16_t* folder) {
  OperationResult result = ExtractAndInstall(dialogWindow, progressBar, folder);
  if (IsProductRegistered(m_services.registry)) return {OperationStep::None, result.code};
  if (result.Succeeded()) result.failedStep = OperationStep::InstallProduct;
  return result;
}
