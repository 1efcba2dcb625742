#include "installer/install_operations.h"

#include "core/text.h"
#include "detect/detection.h"
#include "installer/folder_check.h"
#include "installer/message_handler.h"
#include "product/product_config.h"

namespace {

// Interactive runs let the service ask for a missing source; unattended
// ones get no window from it at all.
constexpr unsigned int kServiceUiLevel = kInstallUiLevelNone | kInstallUiLevelSourceResOnly;
constexpr unsigned int kUnattendedUiLevel = kInstallUiLevelNone;

// Windows errors for a folder that is refused.
constexpr std::uint32_t kErrorInvalidName = 123;  // ERROR_INVALID_NAME
constexpr std::uint32_t kErrorDirectory = 267;    // ERROR_DIRECTORY

static_assert(kLongestFolder + sizeof "MAXDIR=\"\"" == kPathCapacity);
static_assert(sizeof kNoRestartProperty + sizeof kNoShutdownProperty <= 64 * sizeof(char16_t));

OperationResult FolderFailure(FolderProblem problem) {
  switch (problem) {
    case FolderProblem::TooLong: return Failure(OperationStep::CheckFolder, kErrorFilenameTooLong);
    case FolderProblem::IsFile: return Failure(OperationStep::CheckFolder, kErrorDirectory);
    default: return Failure(OperationStep::CheckFolder, kErrorInvalidName);
  }
}

}  // namespace

InstallOperations::InstallOperations(const InstallerServices& services,
                                     InstallObserver& observer, UiMode mode)
    : m_services(services), m_mode(mode), m_cancel(services.threads), m_package(services.packageFile) {
  m_progress.observer = &observer;
  m_progress.codePage = &services.codePage;
  m_progress.service = &services.service;
  m_progress.log = &services.log;
  m_progress.unattended = mode != UiMode::Full;
  m_progress.cancel = &m_cancel;
  JoinText(m_properties, sizeof m_properties / sizeof m_properties[0],
           {kNoRestartProperty, mode == UiMode::Full ? u"" : u" ", mode == UiMode::Full ? u"" : kNoShutdownProperty});
}

// Sets the service's own UI and registers the handler. The progress state
// is left as the previous call left it.
void InstallOperations::PrepareService() {
  m_services.service.SetInternalUI(m_mode == UiMode::Full ? kServiceUiLevel : kUnattendedUiLevel);
  // Without a window there is nothing for the handler to show; the service
  // then writes every message to its log, but for its questions about
  // programs that hold files, which only the handler answers with "go on".
  m_services.service.SetExternalUI(InstallerMessageHandler,
                                   m_mode == UiMode::Quiet ? kFilesInUseMessageFilter : kHandlerMessageFilter,
                                   &m_progress);
}

template <typename Call>
ServiceResult InstallOperations::CallService(const char16_t* what, Call call) {
  ServiceResult result = call();
  for (int retry = 1; result.status == ServiceStatus::Busy && retry <= kBusyRetries; ++retry) {
    char16_t number[11];
    LogLine(m_services.log, {what, u": another installation is running; try ",
                             DecimalText(static_cast<std::uint32_t>(retry), number), u" of 3 in 3 s"});
    static_assert(kBusyRetries == 3 && kBusyRetryPauseMs == 3000, "the line above says so");
    // A cancel ends the wait at once; the run then ends cancelled.
    if (m_cancel.WaitForRequest(kBusyRetryPauseMs)) {
      LogLine(m_services.log, {what, u": the wait for the other installation is cancelled"});
      break;
    }
    result = call();
  }
  return result;
}

void InstallOperations::WritePackageAhead(const std::atomic<bool>* stop) {
  if (m_package.Path() != nullptr) return;
  m_writtenAhead = m_package.Extract(stop).Succeeded();
  if (m_writtenAhead) LogResult(m_services.log, u"Writing out the package", {});
}

OperationResult InstallOperations::PreparePackage(const char16_t* folder, bool repair) {
  if (!m_writtenAhead) DiscardPackage();
  m_writtenAhead = false;
  const FolderProblem problem = CheckFolder(m_services.packageFile, folder);
  if (problem != FolderProblem::None) {
    DiscardPackage();
    return FolderFailure(problem);
  }
  // Fits: the folder has at most kLongestFolder units.
  JoinText(m_commandLine, sizeof m_commandLine / sizeof m_commandLine[0],
           {u"MAXDIR=\"", folder, u"\" ", m_properties, repair ? u" " : u"", repair ? kRepairProperties : u""});
  if (m_package.Path() != nullptr) return {};
  const OperationResult result = m_package.Extract();
  LogResult(m_services.log, u"Writing out the package", result);
  return result;
}

void InstallOperations::DiscardPackage() {
  m_package.Release();
  m_writtenAhead = false;
  m_packageUsed = false;
}

OperationResult InstallOperations::RemovePreviousVersion() {
  if (!IsProductRegistered(m_services.registry)) return {};
  PrepareService();
  constexpr const char16_t* kWhat = u"Removing the installed version";
  LogLine(m_services.log, {kWhat, u": ", ProductConfig::ProductCode});
  OperationResult result = ServiceCall(CallService(kWhat, [&] {
    return m_services.service.ConfigureProduct(ProductConfig::ProductCode, kInstallLevelDefault,
                                               kInstallStateAbsent, m_properties);
  }));
  if (IsProductRegistered(m_services.registry)) result.failedStep = OperationStep::RemoveProduct;
  LogResult(m_services.log, kWhat, result);
  return result;
}

OperationResult InstallOperations::InstallPackage() {
  OperationResult result = Failure(OperationStep::NoPackage, kErrorFileNotFound);
  constexpr const char16_t* kWhat = u"Installing the package";
  if (m_package.Path() != nullptr && !m_packageUsed) {
    PrepareService();
    LogLine(m_services.log, {kWhat, u": ", m_package.Path(), u" ", m_commandLine});
    result = ServiceCall(CallService(kWhat, [&] {
      return m_services.service.InstallProduct(m_package.Path(), m_commandLine);
    }));
    // Installed once; it goes with DiscardPackage, after the result is shown.
    m_packageUsed = true;
  }
  if (IsProductRegistered(m_services.registry)) {
    result.failedStep = OperationStep::None;
  } else if (result.Succeeded()) {
    result.failedStep = OperationStep::InstallProduct;
  }
  LogResult(m_services.log, kWhat, result);
  return result;
}
