// The process's exit code, for scripts and distribution systems: what the
// run ended with, in the codes of the service's own command line. The one
// place that gives them their numbers.
#pragma once

#include <cstdint>

#include "detect/detection.h"
#include "installer/operation_result.h"

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitInvalidCommandLine = 87;  // ERROR_INVALID_PARAMETER
inline constexpr int kExitUserLeft = 1602;          // ERROR_INSTALL_USEREXIT
inline constexpr int kExitInstallFailed = 1603;     // ERROR_INSTALL_FAILURE
inline constexpr int kExitAnotherInstall = 1618;    // ERROR_INSTALL_ALREADY_RUNNING
inline constexpr int kExitLogFailed = 1622;         // ERROR_INSTALL_LOG_FAILURE
inline constexpr int kExitRestartStarted = 1641;    // ERROR_SUCCESS_REBOOT_INITIATED
inline constexpr int kExitRestartRequired = 3010;   // ERROR_SUCCESS_REBOOT_REQUIRED

// Every code a run may end with but the service's own failures, which pass
// through, and what it means, in the order the usage text lists them.
struct ExitCodeMeaning {
  int code;
  const char16_t* meaning;
};
inline constexpr ExitCodeMeaning kExitCodeMeanings[] = {
    {kExitSuccess, u"installed or up to date"},
    {kExitRestartRequired, u"installed and Windows must restart"},
    {kExitUserLeft, u"cancelled"},
    {kExitInstallFailed, u"failed"},
    {kExitAnotherInstall, u"another installation is running"},
    {kExitLogFailed, u"the log cannot be written"},
    {kExitInvalidCommandLine, u"the command line is wrong"},
};

// Whether the service's code for a call says that it succeeded (a restart
// to come included), whatever the registration shows.
inline bool ServiceClaimsSuccess(std::uint32_t code) {
  return code == kExitSuccess || code == kExitRestartRequired || code == kExitRestartStarted;
}

// installed: the state fresh detection found at the end. last: the result of
// the last operation that ran, or an empty result when none ran (the user
// left at Welcome, or the product was up to date already).
int ExitCodeFor(InstallState installed, const OperationResult& last, bool operationsRan);

// Whether a run that ended with code failed (anything but installed, up to
// date, a restart to come, or the user leaving before any change).
bool IsFailureExitCode(int code);
