#include "ui/unattended.h"

#include "installer/exit_code.h"
#include "ui/wizard_flow.h"

OwnedText StartFolder(RegistrySeam& registry, const InstallOptions& options) {
  if (options.hasFolder) return DuplicateText(options.folder);
  return DetectInstallFolder(registry);
}

int RunQuietly(const InstallerServices& services, const char16_t* folder) {
  InstallOperations operations(services, 0, UiMode::Quiet);
  const InstallState before = DetectInstallState(services.registry);
  LogInstallState(services.log, u"Found", before);
  FlowOutcome outcome;
  for (const FlowAction& action : WizardActions(WizardStep::Installing, before)) {
    if (!RunFlowOperation(action, operations, folder != nullptr ? folder : u"", nullptr, nullptr,
                          outcome)) {
      break;
    }
  }
  const InstallState after = DetectInstallState(services.registry);
  LogInstallState(services.log, u"At the end", after);
  return ExitCodeFor(after, outcome.last, outcome.operationsRan);
}
