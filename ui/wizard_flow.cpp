#include "ui/wizard_flow.h"

#include "res/resource.h"

namespace {

using enum FlowOp;

constexpr FlowAction H(int control) { return {Hide, control}; }
constexpr FlowAction S(int control) { return {Show, control}; }
constexpr FlowAction E(int control) { return {Enable, control}; }
constexpr FlowAction D(int control) { return {Disable, control}; }
constexpr FlowAction Status(StatusText text) { return {SetStatus, 0, text}; }
constexpr FlowAction Do(FlowOp op) { return {op}; }

// Welcome: what detection found, and the offer to install.
constexpr FlowAction kWelcomeNotInstalled[] = {
    Status(StatusText::DisplayName), H(IDC_FINISHED), D(IDC_CONTINUE), H(IDC_PROGRESS),
    E(IDC_STATUS_TEXT), Do(UpdateData)};
constexpr FlowAction kWelcomeUpToDate[] = {
    Status(StatusText::UpToDate), H(IDC_CONFIGURE), H(IDC_FOLDER), H(IDC_AGREE_LABEL),
    H(IDC_TERMS_LINK), H(IDC_AGREE), H(IDC_CONTINUE), H(IDC_PROGRESS), H(IDC_ACTION_TEXT),
    E(IDC_STATUS_TEXT), Do(UpdateData)};
constexpr FlowAction kWelcomeOlderInstalled[] = {
    Status(StatusText::DisplayName), H(IDC_FINISHED), D(IDC_CONTINUE), H(IDC_PROGRESS),
    H(IDC_ACTION_TEXT), E(IDC_STATUS_TEXT), Do(UpdateData)};

// Installing: the long operations run with both buttons out of reach. The
// package is checked and written out before anything is removed, so that a
// failure leaves an older version in place.
#define INSTALLING_LAYOUT                                                                  \
  H(IDC_CONFIGURE), H(IDC_FOLDER), H(IDC_AGREE_LABEL), H(IDC_TERMS_LINK), H(IDC_AGREE),   \
      D(IDC_CONTINUE), H(IDC_CONTINUE), S(IDC_PROGRESS), S(IDC_ACTION_TEXT), S(IDC_FINISHED), \
      D(IDC_FINISHED), Do(UpdateData)
constexpr FlowAction kInstallingNotInstalled[] = {INSTALLING_LAYOUT, Do(PreparePackage),
                                                  Status(StatusText::DisplayName), Do(InstallPackage)};
constexpr FlowAction kInstallingUpToDate[] = {INSTALLING_LAYOUT};
constexpr FlowAction kInstallingOlderInstalled[] = {
    INSTALLING_LAYOUT,           Do(PreparePackage),               Status(StatusText::Uninstalling),
    Do(MarqueeOn),               Do(UpdateData),                   Do(RemovePreviousVersion),
    Do(MarqueeOff),              Status(StatusText::DisplayName),  Do(UpdateData),
    Do(InstallPackage)};
#undef INSTALLING_LAYOUT

// Finished: the outcome, judged by fresh detection.
#define FINISHED_LAYOUT                                                                    \
  H(IDC_CONFIGURE), H(IDC_FOLDER), H(IDC_AGREE_LABEL), H(IDC_TERMS_LINK), H(IDC_AGREE),   \
      H(IDC_CONTINUE), S(IDC_FINISHED), E(IDC_FINISHED)
constexpr FlowAction kFinishedSuccess[] = {FINISHED_LAYOUT, Do(ProgressRange100), Do(ProgressPos100),
                                           Status(StatusText::Successful), Do(UpdateData)};
constexpr FlowAction kFinishedFailure[] = {FINISHED_LAYOUT, H(IDC_PROGRESS), H(IDC_ACTION_TEXT),
                                           Status(StatusText::Failed), Do(UpdateData)};
#undef FINISHED_LAYOUT

}  // namespace

std::span<const FlowAction> WizardActions(WizardStep step, InstallState state) {
  switch (step) {
    case WizardStep::Welcome:
      switch (state) {
        case InstallState::NotInstalled: return kWelcomeNotInstalled;
        case InstallState::UpToDate: return kWelcomeUpToDate;
        case InstallState::OlderInstalled: return kWelcomeOlderInstalled;
      }
      break;
    case WizardStep::Installing:
      switch (state) {
        case InstallState::NotInstalled: return kInstallingNotInstalled;
        case InstallState::UpToDate: return kInstallingUpToDate;
        case InstallState::OlderInstalled: return kInstallingOlderInstalled;
      }
      break;
    case WizardStep::Finished:
      switch (state) {
        case InstallState::UpToDate: return kFinishedSuccess;
        case InstallState::NotInstalled:
        case InstallState::OlderInstalled: return kFinishedFailure;
      }
      break;
  }
  return {};
}

const char16_t* StatusLiteral(StatusText text) {
  switch (text) {
    case StatusText::UpToDate: return u" is up-to-date";
    case StatusText::Uninstalling: return u"Uninstalling previous Version.";
    case StatusText::Failed: return u"Installation Failed";
    case StatusText::Successful: return u"Installation Successful";
    case StatusText::SuccessfulRestart:
      return u"Installation Successful. Windows must restart to finish the installation.";
    case StatusText::None:
    case StatusText::DisplayName: break;
  }
  return u"";
}

bool RunFlowOperation(const FlowAction& action, InstallOperations& operations,
                      const char16_t* folder, void* dialogWindow, void* progressBar,
                      FlowOutcome& outcome) {
  switch (action.op) {
    case FlowOp::PreparePackage:
      outcome.operationsRan = true;
      outcome.last = operations.PreparePackage(folder);
      return outcome.last.Succeeded();
    case FlowOp::RemovePreviousVersion:
      outcome.operationsRan = true;
      outcome.last = operations.RemovePreviousVersion(dialogWindow, progressBar);
      if (outcome.last.Succeeded()) return true;
      operations.DiscardPackage();
      return false;
    case FlowOp::InstallPackage:
      outcome.last = operations.InstallPackage(dialogWindow, progressBar);
      return true;
    default:
      return true;
  }
}

StatusText FinishedStatus(StatusText text, const FlowOutcome& outcome) {
  constexpr std::uint32_t kRestartRequired = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED
  if (text == StatusText::Successful && outcome.last.code == kRestartRequired) {
    return StatusText::SuccessfulRestart;
  }
  return text;
}
