#include "installer/exit_code.h"

#include <gtest/gtest.h>

#include <string>

#include "installer/operation_result.h"

namespace {

TEST(ServiceResultOf, TranslatesTheServiceCodes) {
  const struct {
    std::uint32_t code;
    ServiceStatus status;
    bool claimsSuccess;
  } cases[] = {
      {0, ServiceStatus::Done, true},          {3010, ServiceStatus::RestartRequired, true},
      {1641, ServiceStatus::RestartStarted, true}, {1618, ServiceStatus::Busy, false},
      {1602, ServiceStatus::UserExit, false},  {1603, ServiceStatus::Failed, false},
      {1605, ServiceStatus::Failed, false},    {4294967295u, ServiceStatus::Failed, false},
  };
  for (const auto& c : cases) {
    const ServiceResult result = ServiceResultOf(c.code);
    EXPECT_EQ(result.status, c.status) << c.code;
    EXPECT_EQ(result.code, c.code);
    EXPECT_EQ(result.ClaimsSuccess(), c.claimsSuccess) << c.code;
  }
}

// The line the user reads under "Installation Failed" and the log keeps.
TEST(FailureReason, TellsTheUserWhy) {
  auto call = [](OperationStep step, std::uint32_t code) {
    OperationResult result = ServiceCall(ServiceResultOf(code));
    result.failedStep = step;
    return result;
  };
  const struct {
    const char* what;
    OperationResult last;
    const char16_t* reason;
  } cases[] = {
      {"another install running", call(OperationStep::InstallProduct, 1618),
       u"Another installation is in progress. Wait until it has finished, then run this installer again."},
      {"removal refused", call(OperationStep::RemoveProduct, 1605),
       u"The older version could not be removed (error 1605)."},
      {"removal said yes, still registered", call(OperationStep::RemoveProduct, 0),
       u"The older version is still registered after its removal."},
      {"install refused", call(OperationStep::InstallProduct, 1603),
       u"The Windows Installer service reported error 1603."},
      {"a user exit nobody asked for", call(OperationStep::InstallProduct, 1602),
       u"The Windows Installer service reported error 1602."},
      {"service said yes, nothing registered", call(OperationStep::InstallProduct, 0),
       u"The Windows Installer service reported success, but nothing was registered."},
      {"restart code, nothing registered", call(OperationStep::InstallProduct, 3010),
       u"The Windows Installer service reported success, but nothing was registered."},
      {"no temp folder", Failure(OperationStep::TempFolder, 5),
       u"The installation package could not be written to the temp folder (error 5)."},
      {"disk full", Failure(OperationStep::WriteFile, 112),
       u"The installation package could not be written to the temp folder (error 112)."},
      {"folder refused", Failure(OperationStep::CheckFolder, 206),
       u"The installation folder cannot be used (error 206)."},
  };
  for (const auto& c : cases) {
    char16_t reason[kFailureReasonCapacity];
    EXPECT_EQ(std::u16string(FailureReason(c.last, reason)), c.reason) << c.what;
  }
}

TEST(FailureReason, EveryStepHasANameAndALineThatFitsWhateverItsCode) {
  for (int step = static_cast<int>(OperationStep::None); step <= static_cast<int>(OperationStep::PackageRead);
       ++step) {
    EXPECT_NE(StepName(static_cast<OperationStep>(step))[0], u'\0') << step;
    for (std::uint32_t code : {0u, 2u, 4294967295u}) {
      char16_t reason[kFailureReasonCapacity];
      EXPECT_NE(FailureReason(Failure(static_cast<OperationStep>(step), code), reason)[0], u'\0') << step << " " << code;
    }
  }
}

}  // namespace
