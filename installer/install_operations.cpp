#include "installer/install_operations.h"

#include "core/text.h"
#include "detect/detection.h"
#include "installer/folder_check.h"
#include "installer/message_handler.h"
#include "product/product_config.h"

namespace {

constexpr unsigned int kServiceUiLevel = kInstallUiLevelNone | kInstallUiLevelSourceResOnly;

// Windows errors for a folder that is refused.
constexpr std::uint32_t kErrorInvalidName = 123;  // ERROR_INVALID_NAME
constexpr std::uint32_t kErrorDirectory = 267;    // ERROR_DIRECTORY

static_assert(kLongestFolder + sizeof "MAXDIR=\"\"" == kPathCapacity);

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The service creates the folder and every missing folder above it; a file
// in the way fails the install only once it is under way.
bool AnyPartIsFile(PackageFileSeam& files, const char16_t* folder) {
  const std::size_t length = TextLength(folder);
  // From the first name below the drive's root, "C:\".
  for (std::size_t end = 4; end <= length; ++end) {
    if ((end < length && !IsSeparator(folder[end])) || IsSeparator(folder[end - 1])) continue;
    char16_t part[kPathCapacity];
    for (std::size_t i = 0; i < end; ++i) part[i] = folder[i];
    part[end] = 0;
    if (files.IsFile(part)) return true;
  }
  return false;
}

}  // namespace

FolderProblem CheckFolder(PackageFileSeam& files, const char16_t* folder) {
  const FolderProblem problem = CheckFolderText(folder);
  if (problem == FolderProblem::None && AnyPartIsFile(files, folder)) return FolderProblem::IsFile;
  return problem;
}

namespace {

OperationResult FolderFailure(FolderProblem problem) {
  switch (problem) {
    case FolderProblem::TooLong: return Failure(OperationStep::CheckFolder, kErrorFilenameTooLong);
    case FolderProblem::IsFile: return Failure(OperationStep::CheckFolder, kErrorDirectory);
    default: return Failure(OperationStep::CheckFolder, kErrorInvalidName);
  }
}

}  // namespace

InstallOperations::InstallOperations(const InstallerServices& services, int actionTextId)
    : m_services(services), m_actionTextId(actionTextId), m_package(services.packageFile) {
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

OperationResult InstallOperations::PreparePackage(const char16_t* folder) {
  DiscardPackage();
  const FolderProblem problem = CheckFolder(m_services.packageFile, folder);
  if (problem != FolderProblem::None) return FolderFailure(problem);
  // Fits: the folder has at most kLongestFolder units.
  JoinText(m_commandLine, kPathCapacity, {u"MAXDIR=\"", folder, u"\""});
  return m_package.Extract();
}

void InstallOperations::DiscardPackage() { m_package.Release(); }

OperationResult InstallOperations::RemovePreviousVersion(void* dialogWindow, void* progressBar) {
  if (!IsProductRegistered(m_services.registry)) return {};
  PrepareService(dialogWindow, progressBar);
  const unsigned int code = m_services.service.ConfigureProduct(
      ProductConfig::ProductCode, kInstallLevelDefault, kInstallStateAbsent);
  if (IsProductRegistered(m_services.registry)) return Failure(OperationStep::RemoveProduct, code);
  return {OperationStep::None, code};
}

OperationResult InstallOperations::InstallPackage(void* dialogWindow, void* progressBar) {
  OperationResult result = Failure(OperationStep::NoPackage, kErrorFileNotFound);
  if (m_package.Path() != nullptr) {
    PrepareService(dialogWindow, progressBar);
    result = {OperationStep::None, m_services.service.InstallProduct(m_package.Path(), m_commandLine)};
    // A package left behind is the temp folder's to clear; the install's
    // outcome stands either way.
    m_package.Release();
  }
  if (IsProductRegistered(m_services.registry)) return {OperationStep::None, result.code};
  if (result.Succeeded()) result.failedStep = OperationStep::InstallProduct;
  return result;
}
