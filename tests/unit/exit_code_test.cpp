#include "installer/exit_code.h"

#include <gtest/gtest.h>

namespace {

TEST(ExitCodeFor, TellsTheCallerHowTheRunEnded) {
  const OperationResult none;
  struct {
    const char* what;
    InstallState installed;
    OperationResult last;
    bool ran;
    int expected;
  } cases[] = {
      {"left at Welcome", InstallState::NotInstalled, none, false, 1602},
      {"left with an older version", InstallState::OlderInstalled, none, false, 1602},
      {"already up to date", InstallState::UpToDate, none, false, 0},
      {"installed", InstallState::UpToDate, {OperationStep::None, 0}, true, 0},
      {"installed, restart needed", InstallState::UpToDate, {OperationStep::None, 3010}, true, 3010},
      {"installed, restart started", InstallState::UpToDate, {OperationStep::None, 1641}, true, 1641},
      {"installed over a refusal", InstallState::UpToDate, {OperationStep::None, 1603}, true, 0},
      {"another install running", InstallState::NotInstalled, {OperationStep::InstallProduct, 1618}, true, 1618},
      {"removal refused", InstallState::OlderInstalled, {OperationStep::RemoveProduct, 1605}, true, 1605},
      {"service said yes, nothing registered", InstallState::NotInstalled, {OperationStep::InstallProduct, 0}, true, 1603},
      {"restart code, nothing registered", InstallState::NotInstalled, {OperationStep::InstallProduct, 3010}, true, 1603},
      {"no temp folder", InstallState::NotInstalled, {OperationStep::TempFolder, 5}, true, 1603},
      {"folder refused", InstallState::OlderInstalled, {OperationStep::CheckFolder, 206}, true, 1603},
  };
  for (const auto& c : cases) EXPECT_EQ(ExitCodeFor(c.installed, c.last, c.ran), c.expected) << c.what;
}

}  // namespace
