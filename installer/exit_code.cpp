#include "installer/exit_code.h"

int ExitCodeFor(InstallState installed, const OperationResult& last, bool operationsRan) {
  if (!operationsRan) {
    return installed == InstallState::UpToDate ? kExitSuccess : kExitUserLeft;
  }
  const int code = static_cast<int>(last.code);
  // The registration decides success; the service's code says whether a
  // restart is still to come.
  if (installed == InstallState::UpToDate) {
    return code == kExitRestartRequired || code == kExitRestartStarted ? code : kExitSuccess;
  }
  switch (last.failedStep) {
    case OperationStep::RemoveProduct:
    case OperationStep::InstallProduct:
      // The service's own code, unless it claimed success.
      return ServiceClaimsSuccess(last.code) ? kExitInstallFailed : code;
    default:
      // A step of ours: the Windows error is for the log, not the caller.
      return kExitInstallFailed;
  }
}

bool IsFailureExitCode(int code) {
  return code != kExitUserLeft && !ServiceClaimsSuccess(static_cast<std::uint32_t>(code));
}
