#include "installer/exit_code.h"

#include <gtest/gtest.h>

#include <string>

#include "installer/failure_reason.h"

namespace {

// The exit code of each way a run may end, and for a failure the line the
// user reads under "Installation Failed" and the log keeps.
TEST(ExitCodeFor, TellsTheCallerHowTheRunEndedAndTheUserWhy) {
  const OperationResult none;
  struct {
    const char* what;
    InstallState installed;
    OperationResult last;
    bool ran;
    int expected;
    const char16_t* reason;  // for a failure
  } cases[] = {
      {"left at Welcome", InstallState::NotInstalled, none, false, 1602, nullptr},
      {"left with an older version", InstallState::OlderInstalled, none, false, 1602, nullptr},
      {"already up to date", InstallState::UpToDate, none, false, 0, nullptr},
      {"installed", InstallState::UpToDate, {OperationStep::None, 0}, true, 0, nullptr},
      {"installed, restart needed", InstallState::UpToDate, {OperationStep::None, 3010}, true, 3010, nullptr},
      {"installed, restart started", InstallState::UpToDate, {OperationStep::None, 1641}, true, 1641, nullptr},
      {"installed over a refusal", InstallState::UpToDate, {OperationStep::None, 1603}, true, 0, nullptr},
      {"another install running", InstallState::NotInstalled, {OperationStep::InstallProduct, 1618}, true, 1618,
       u"Another installation is in progress. Wait until it has finished, then run this installer again."},
      {"removal refused", InstallState::OlderInstalled, {OperationStep::RemoveProduct, 1605}, true, 1605,
       u"The older version could not be removed (error 1605)."},
      {"removal said yes, still registered", InstallState::OlderInstalled, {OperationStep::RemoveProduct, 0}, true,
       1603, u"The older version is still registered after its removal."},
      {"install refused", InstallState::NotInstalled, {OperationStep::InstallProduct, 1603}, true, 1603,
       u"The Windows Installer service reported error 1603."},
      {"service said yes, nothing registered", InstallState::NotInstalled, {OperationStep::InstallProduct, 0}, true,
       1603, u"The Windows Installer service reported success, but nothing was registered."},
      {"restart code, nothing registered", InstallState::NotInstalled, {OperationStep::InstallProduct, 3010}, true,
       1603, u"The Windows Installer service reported success, but nothing was registered."},
      {"no temp folder", InstallState::NotInstalled, {OperationStep::TempFolder, 5}, true, 1603,
       u"The installation package could not be written to the temp folder (error 5)."},
      {"disk full", InstallState::NotInstalled, {OperationStep::WriteFile, 112}, true, 1603,
       u"The installation package could not be written to the temp folder (error 112)."},
      {"folder refused", InstallState::OlderInstalled, {OperationStep::CheckFolder, 206}, true, 1603,
       u"The installation folder cannot be used (error 206)."},
  };
  for (const auto& c : cases) {
    const int code = ExitCodeFor(c.installed, c.last, c.ran);
    EXPECT_EQ(code, c.expected) << c.what;
    EXPECT_EQ(IsFailureExitCode(code), c.reason != nullptr) << c.what;
    if (c.reason == nullptr) continue;
    char16_t reason[kFailureReasonCapacity];
    EXPECT_EQ(std::u16string(FailureReason(c.last, reason)), c.reason) << c.what;
  }
}

TEST(FailureReason, EveryStepHasALineThatFitsWhateverItsCode) {
  for (int step = static_cast<int>(OperationStep::None); step <= static_cast<int>(OperationStep::InstallProduct);
       ++step) {
    for (std::uint32_t code : {0u, 2u, 4294967295u}) {
      char16_t reason[kFailureReasonCapacity];
      EXPECT_NE(FailureReason({static_cast<OperationStep>(step), code}, reason)[0], u'\0') << step << " " << code;
    }
  }
}

}  // namespace
