// The numbers a run deals in, and the one place that gives them: the
// process's exit code, for scripts and distribution systems (the codes of
// the service's own command line), and the result codes of the service's
// calls, which the seam translates into a service result as it returns.
#pragma once

#include <cstdint>

enum class ExitCode : std::uint32_t {
  Success = 0,
  CannotMake = 82,          // ERROR_CANNOT_MAKE: /extract's folder cannot be written
  InvalidCommandLine = 87,  // ERROR_INVALID_PARAMETER
  UserExit = 1602,          // ERROR_INSTALL_USEREXIT
  InstallFailure = 1603,    // ERROR_INSTALL_FAILURE
  UnknownProduct = 1605,    // ERROR_UNKNOWN_PRODUCT: nothing to remove
  AnotherInstall = 1618,    // ERROR_INSTALL_ALREADY_RUNNING
  LogFailure = 1622,        // ERROR_INSTALL_LOG_FAILURE
  RestartStarted = 1641,    // ERROR_SUCCESS_REBOOT_INITIATED
  RestartRequired = 3010,   // ERROR_SUCCESS_REBOOT_REQUIRED
  // Any other value is the service's own code, passed through.
};

inline int ExitCodeNumber(ExitCode code) { return static_cast<int>(code); }

// Every exit code a run may end with but the service's own failures, which
// pass through, and what it means, in the order the usage text lists them.
struct ExitCodeMeaning {
  ExitCode code;
  const char16_t* meaning;
};
inline constexpr ExitCodeMeaning kExitCodeMeanings[] = {
    {ExitCode::Success, u"installed, up to date, removed or extracted"},
    {ExitCode::RestartRequired, u"done, and Windows must restart"},
    {ExitCode::UserExit, u"cancelled"},
    {ExitCode::InstallFailure, u"failed"},
    {ExitCode::UnknownProduct, u"nothing to remove"},
    {ExitCode::AnotherInstall, u"another installation is running"},
    {ExitCode::LogFailure, u"the log cannot be written"},
    {ExitCode::CannotMake, u"the folder of /extract cannot be written"},
    {ExitCode::InvalidCommandLine, u"the command line is wrong"},
};

// What one call of the service came to.
enum class ServiceStatus : std::uint8_t {
  Done,
  RestartRequired,  // done; a restart finishes it
  RestartStarted,   // done; the service has started a restart
  Busy,             // another installation holds the service
  UserExit,         // ended as cancelled (by our answer, or by the package)
  Failed,           // any other code
};

struct ServiceResult {
  ServiceStatus status = ServiceStatus::Done;
  std::uint32_t code = 0;  // the service's own number, for the log and to pass through

  bool ClaimsSuccess() const {
    return status == ServiceStatus::Done || status == ServiceStatus::RestartRequired ||
           status == ServiceStatus::RestartStarted;
  }
};

// The seam's translation of a call's result code.
ServiceResult ServiceResultOf(std::uint32_t code);

// A failed call's code as the run's exit code.
inline ExitCode PassedThrough(const ServiceResult& result) { return static_cast<ExitCode>(result.code); }
