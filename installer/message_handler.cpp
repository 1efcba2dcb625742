#include "installer/message_handler.h"

#include <cstdint>

#include "installer/cancel_gate.h"
#include "installer/in_use.h"
#include "installer/install_observer.h"
#include "installer/installer_service_seam.h"
#include "installer/progress_context.h"
#include "installer/run_log.h"

namespace {

constexpr unsigned int kMessageKindMask = 0xFF000000;
constexpr unsigned int kMessageStyleMask = 0x00FFFFFF;

constexpr int kAnswerNotHandled = 0;
constexpr int kAnswerHandled = 1;  // IDOK
constexpr int kAnswerCancel = 2;   // IDCANCEL
constexpr int kAnswerRetry = 4;    // IDRETRY
constexpr int kAnswerIgnore = 5;   // IDIGNORE

// Signed 32-bit arithmetic that wraps as the processor does instead of
// overflowing.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t WrappingNegate(std::int32_t a) {
  return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a));
}

void OnActionStart(InstallObserver& observer, ProgressContext& progress, const char16_t* message) {
  progress.stepOnActionData = 0;
  // An action without a description leaves the text of the one before.
  const char16_t* description = ActionDescription(message);
  if (description != nullptr) observer.ActionText(description);
}

void OnActionData(InstallObserver& observer, ProgressContext& progress, const char16_t* message) {
  if (progress.progressTotal == 0) return;
  // Data without a template of the package's is a row of numbered fields,
  // which says nothing to a user.
  if (!IsNumberedFields(message)) observer.ActionText(message);
  if (progress.stepOnActionData != 0) observer.StepProgress();
}

// The bar position for the running count: forward it is the count; backward
// the bar runs from full to empty, so total minus the count, kept on the bar.
std::int32_t ReportPosition(const ProgressContext& progress) {
  if (progress.forwardProgress != 0) return progress.currentPosition;
  std::int64_t position =
      static_cast<std::int64_t>(progress.progressTotal) - progress.currentPosition;
  if (position > progress.progressTotal) position = progress.progressTotal;
  if (position < 0) position = 0;
  return static_cast<std::int32_t>(position);
}

void OnProgress(InstallObserver& observer, ProgressContext& progress, const char16_t* message) {
  if (!ParseProgressMessage(progress, message)) return;
  const std::int32_t* field = progress.progressField;
  switch (field[1]) {
    case kProgressReset: {
      progress.progressTotal = field[2];
      progress.forwardProgress = field[3] == 0 ? 1 : 0;
      progress.startPosition = progress.forwardProgress != 0 ? 0 : progress.progressTotal;
      // The service reports its rollback backward.
      if (progress.cancel != nullptr) progress.cancel->RollingBack(progress.forwardProgress == 0);
      observer.ProgressRange(progress.progressTotal);
      // A reset after a script shows the script's bar as finished.
      observer.ProgressPosition(progress.scriptInProgress != 0 ? progress.progressTotal
                                                               : progress.startPosition);
      progress.currentPosition = 0;
      progress.scriptInProgress = field[4] == 1 ? 1 : 0;
      if (progress.scriptInProgress != 0) observer.ActionText(u"Please wait...");
      break;
    }
    case kProgressActionInfo:
      if (field[3] != 0) {
        observer.ProgressStep(progress.forwardProgress != 0 ? field[2] : WrappingNegate(field[2]));
        progress.stepOnActionData = 1;
      } else {
        progress.stepOnActionData = 0;
      }
      break;
    case kProgressReport:
      if (progress.progressTotal == 0) break;
      progress.currentPosition = WrappingAdd(progress.currentPosition, field[2]);
      observer.ProgressPosition(ReportPosition(progress));
      break;
    default:
      break;
  }
}

void OnCommonData(ProgressContext& progress, const char16_t* message) {
  if (!ParseCommonDataMessage(progress, message)) return;
  const std::int32_t* field = progress.commonDataField;
  if (field[1] == kCommonDataLanguage) {
    progress.languageId = static_cast<std::uint16_t>(field[2] & 0xFFFF);
  } else if (field[1] == kCommonDataCancelButton && progress.cancel != nullptr) {
    // The service shows or hides its Cancel button: whether it may be
    // cancelled now.
    progress.cancel->ServiceAllows(field[2] != 0);
  }
}

// The answer to a message the service lets us cancel at: cancel when the
// gate says so.
int AnswerOrCancel(ProgressContext& progress) {
  if (progress.cancel == nullptr || !progress.cancel->AnswerCancel()) return kAnswerHandled;
  if (progress.cancelAnswered == 0 && progress.log != nullptr) {
    LogLine(*progress.log, {u"Cancelling: the service's next message is answered with cancel"});
  }
  progress.cancelAnswered = 1;
  return kAnswerCancel;
}

// The service asks what to do about programs that hold files it replaces
// (INSTALLMESSAGE_FILESINUSE, or INSTALLMESSAGE_RMFILESINUSE when it uses
// Restart Manager). The user answers in the window's box: Try Again has the
// service look again (IDRETRY), Continue goes on without closing anything
// and a restart finishes the install (IDIGNORE), Cancel cancels the run as
// the user's cancel. Never IDOK, which to Restart Manager means "shut the
// programs down". Nobody to ask: go on, and the log names them.
int OnFilesInUse(InstallObserver& observer, ProgressContext& progress, bool restartManager, const char16_t* message) {
  HoldingPrograms programs;
  ParseFilesInUseMessage(message, restartManager, programs);
  for (std::size_t i = 0; i < programs.Kept(); ++i) {
    if (progress.heldBy != nullptr) {
      progress.heldBy->Add(programs[i].processId, programs[i].name, programs[i].executable);
    }
    if (progress.log != nullptr) {
      char16_t number[11];
      LogLine(*progress.log, {u"The service says this program uses files: ", ProgramName(programs, i), u" (",
                              programs[i].executable, u", process ", DecimalText(programs[i].processId, number),
                              u")"});
    }
  }
  if (progress.unattended) return kAnswerIgnore;
  char16_t text[kInUseTextCapacity];
  const ServiceQuestion question{QuestionKind::FilesInUse, InUseText(programs, text), kInUseBoxStyle, 0};
  switch (observer.Ask(question)) {
    case kAnswerTryAgain: return kAnswerRetry;
    case kAnswerCancel:
      if (progress.cancel != nullptr) progress.cancel->UserCancelled();
      return kAnswerCancel;
    default: return kAnswerIgnore;
  }
}

bool IsQuestion(unsigned int kind) {
  return kind == kInstallMessageFatalExit || kind == kInstallMessageError ||
         kind == kInstallMessageWarning;
}

QuestionKind KindOfQuestion(unsigned int kind) {
  if (kind == kInstallMessageFatalExit) return QuestionKind::FatalExit;
  return kind == kInstallMessageError ? QuestionKind::Error : QuestionKind::Warning;
}

}  // namespace

int InstallerMessageHandler(void* context, unsigned int messageType, const char16_t* message) {
  auto* state = static_cast<ProgressContext*>(context);
  if (state == nullptr || state->observer == nullptr || state->codePage == nullptr) {
    return kAnswerNotHandled;
  }
  ProgressContext& progress = *state;
  InstallObserver& observer = *progress.observer;

  if (progress.firstCall == 1) {
    if (progress.service != nullptr && !progress.unattended) {
      progress.service->SetInternalUI(kInstallUiLevelBasic);
    }
    progress.firstCall = 0;
  }
  if (message == nullptr) return kAnswerNotHandled;
  const unsigned int kind = messageType & kMessageKindMask;
  if (IsQuestion(kind)) {
    // What went wrong, in the run's log too: a service that is answered
    // here may not log the message itself.
    if (progress.log != nullptr) LogLine(*progress.log, {u"The service says: ", message});
    // Unanswered, the service takes its default and logs the message.
    if (progress.unattended) return kAnswerNotHandled;
    // Only errors follow the language the service announced.
    const ServiceQuestion question{KindOfQuestion(kind), message, messageType & kMessageStyleMask,
                                   kind == kInstallMessageError ? progress.languageId
                                                                : std::uint16_t{0}};
    const int answer = observer.Ask(question);
    if (answer == kAnswerCancel && progress.cancel != nullptr) progress.cancel->UserCancelled();
    return answer;
  }
  switch (kind) {
    case kInstallMessageActionStart:
      OnActionStart(observer, progress, message);
      return AnswerOrCancel(progress);
    case kInstallMessageActionData:
      OnActionData(observer, progress, message);
      return AnswerOrCancel(progress);
    case kInstallMessageProgress:
      OnProgress(observer, progress, message);
      return AnswerOrCancel(progress);
    case kInstallMessageCommonData:
      OnCommonData(progress, message);
      return kAnswerHandled;
    case kInstallMessageFilesInUse:
      return OnFilesInUse(observer, progress, false, message);
    case kInstallMessageRmFilesInUse:
      return OnFilesInUse(observer, progress, true, message);
    case kInstallMessageUser:
    case kInstallMessageInfo:
    case kInstallMessageOutOfDiskSpace:
    case kInstallMessageInitialize:
    case kInstallMessageTerminate:
    case kInstallMessageShowDialog:
      return kAnswerHandled;
    default:  // resolve source, and every other kind
      return kAnswerNotHandled;
  }
}
