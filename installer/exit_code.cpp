#include "installer/exit_code.h"

ServiceResult ServiceResultOf(std::uint32_t code) {
  switch (static_cast<ExitCode>(code)) {
    case ExitCode::Success: return {ServiceStatus::Done, code};
    case ExitCode::RestartRequired: return {ServiceStatus::RestartRequired, code};
    case ExitCode::RestartStarted: return {ServiceStatus::RestartStarted, code};
    case ExitCode::AnotherInstall: return {ServiceStatus::Busy, code};
    case ExitCode::UserExit: return {ServiceStatus::UserExit, code};
    default: return {ServiceStatus::Failed, code};
  }
}
