#include "ui/wizard_flow.h"

#include "core/text.h"
#include "product/product_config.h"
#include "res/resource.h"

namespace {

using enum ScreenOp;

constexpr ScreenAction H(int control) { return {Hide, control}; }
constexpr ScreenAction S(int control) { return {Show, control}; }
constexpr ScreenAction E(int control) { return {Enable, control}; }
constexpr ScreenAction D(int control) { return {Disable, control}; }
constexpr ScreenAction Status(StatusText text) { return {SetStatus, 0, text}; }
constexpr ScreenAction Do(ScreenOp op) { return {op}; }

// Welcome: what detection found, and the offer to install.
constexpr ScreenAction kWelcomeNotInstalled[] = {
    Status(StatusText::DisplayName), H(IDC_FINISHED), D(IDC_CONTINUE), H(IDC_PROGRESS),
    E(IDC_STATUS_TEXT), Do(UpdateData)};
constexpr ScreenAction kWelcomeUpToDate[] = {
    Status(StatusText::UpToDate), H(IDC_CONFIGURE), H(IDC_FOLDER), H(IDC_AGREE_LABEL),
    H(IDC_TERMS_LINK), H(IDC_AGREE), H(IDC_CONTINUE), H(IDC_PROGRESS), H(IDC_ACTION_TEXT),
    E(IDC_STATUS_TEXT), Do(UpdateData)};
constexpr ScreenAction kWelcomeOlderInstalled[] = {
    Status(StatusText::DisplayName), H(IDC_FINISHED), D(IDC_CONTINUE), H(IDC_PROGRESS),
    H(IDC_ACTION_TEXT), E(IDC_STATUS_TEXT), Do(UpdateData)};

// Back at Welcome from Installing: the offer again, CONTINUE enabled as the
// terms stay accepted.
constexpr ScreenAction kWelcomeAgain[] = {
    Status(StatusText::DisplayName), H(IDC_PROGRESS),  H(IDC_ACTION_TEXT), H(IDC_FINISHED),
    S(IDC_CONFIGURE),   S(IDC_FOLDER),     S(IDC_AGREE_LABEL), S(IDC_TERMS_LINK),
    S(IDC_AGREE),       S(IDC_CONTINUE),   E(IDC_CONTINUE),    E(IDC_STATUS_TEXT), Do(UpdateData)};

// Installing: the session's steps run with both buttons out of reach.
// FINISHED is disabled before it shows, so it is never seen enabled here.
constexpr ScreenAction kInstalling[] = {
    H(IDC_CONFIGURE),  H(IDC_FOLDER),   H(IDC_AGREE_LABEL), H(IDC_TERMS_LINK),
    H(IDC_AGREE),      D(IDC_CONTINUE), H(IDC_CONTINUE),    S(IDC_PROGRESS),
    S(IDC_ACTION_TEXT), D(IDC_FINISHED), S(IDC_FINISHED),   Do(UpdateData)};

// Finished: the outcome, judged by fresh detection.
#define FINISHED_LAYOUT                                                                    \
  H(IDC_CONFIGURE), H(IDC_FOLDER), H(IDC_AGREE_LABEL), H(IDC_TERMS_LINK), H(IDC_AGREE),   \
      H(IDC_CONTINUE), S(IDC_FINISHED), E(IDC_FINISHED)
constexpr ScreenAction kFinishedSuccess[] = {FINISHED_LAYOUT, Do(ProgressFull),
                                             Status(StatusText::Successful), Do(UpdateData)};
constexpr ScreenAction kFinishedFailure[] = {FINISHED_LAYOUT, H(IDC_PROGRESS), H(IDC_ACTION_TEXT),
                                             Status(StatusText::Failed), Do(UpdateData)};
#undef FINISHED_LAYOUT

}  // namespace

std::span<const ScreenAction> WizardScreen(WizardStep step, InstallState state) {
  switch (step) {
    case WizardStep::Welcome:
      switch (state) {
        case InstallState::NotInstalled: return kWelcomeNotInstalled;
        case InstallState::UpToDate: return kWelcomeUpToDate;
        case InstallState::OlderInstalled: return kWelcomeOlderInstalled;
      }
      break;
    case WizardStep::WelcomeAgain:
      switch (state) {
        case InstallState::NotInstalled:
        case InstallState::OlderInstalled: return kWelcomeAgain;
        case InstallState::UpToDate: return kWelcomeUpToDate;
      }
      break;
    case WizardStep::Installing:
      switch (state) {
        case InstallState::NotInstalled:
        case InstallState::UpToDate:
        case InstallState::OlderInstalled: return kInstalling;
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

int PrimaryButton(InstallState state) {
  return state == InstallState::UpToDate ? IDC_FINISHED : IDC_CONTINUE;
}

int FirstFocus(InstallState state, bool passive) {
  return state != InstallState::UpToDate && !passive ? IDC_AGREE : PrimaryButton(state);
}

const char16_t* StatusLiteral(StatusText text) {
  switch (text) {
    case StatusText::UpToDate: return u" is up-to-date";
    case StatusText::Uninstalling: return u"Uninstalling previous Version.";
    case StatusText::Failed: return u"Installation Failed";
    case StatusText::Successful: return u"Installation Successful";
    case StatusText::Cancelling: return u"Cancelling...";
    case StatusText::Cancelled: return u"Installation Cancelled";
    case StatusText::Removing: return u"Uninstalling ";
    case StatusText::Repairing: return u"Repairing ";
    case StatusText::RemovalSuccessful: return u"Removal Successful";
    case StatusText::RemovalFailed: return u"Removal Failed";
    case StatusText::RemovalCancelled: return u"Removal Cancelled";
    case StatusText::None:
    case StatusText::DisplayName: break;
  }
  return u"";
}

StatusText FinishedStatus(StatusText text, const InstallOutcome& outcome) {
  if (text == StatusText::Failed && outcome.verdict == Verdict::Cancelled) text = StatusText::Cancelled;
  if (outcome.operation == Operation::Uninstall) {
    if (text == StatusText::Successful) return StatusText::RemovalSuccessful;
    if (text == StatusText::Failed) return StatusText::RemovalFailed;
    if (text == StatusText::Cancelled) return StatusText::RemovalCancelled;
  }
  return text;
}

const char16_t* StatusLine(StatusText text, const InstallOutcome& outcome, char16_t (&buffer)[kStatusLineCapacity]) {
  const bool nameFirst = text == StatusText::DisplayName || text == StatusText::UpToDate;
  const bool nameAfter = text == StatusText::Removing || text == StatusText::Repairing;
  const char16_t* literal = StatusLiteral(FinishedStatus(text, outcome));
  if (!JoinText(buffer, kStatusLineCapacity,
                {nameFirst ? ProductConfig::DisplayName : u"", literal, nameAfter ? ProductConfig::DisplayName : u""})) {
    CopyText(buffer, kStatusLineCapacity, literal);
  }
  return buffer;
}

StatusText StageStatus(InstallStage stage) {
  switch (stage) {
    case InstallStage::RemovingOlder: return StatusText::Uninstalling;
    case InstallStage::Removing: return StatusText::Removing;
    case InstallStage::Repairing: return StatusText::Repairing;
    case InstallStage::Installing: break;
  }
  return StatusText::DisplayName;
}

bool StartsAtOnce(Operation operation, InstallState state) {
  return operation == Operation::Uninstall || (operation == Operation::Repair && state == InstallState::UpToDate);
}
