#include "installer/message_handler.h"

#include <cstdint>

#include "installer/handler_effects.h"
#include "installer/installer_service_seam.h"
#include "installer/progress_context.h"
#include "installer/run_log.h"


namespace {

constexpr unsigned int kMessageKindMask = 0xFF000000;
constexpr unsigned int kMessageStyleMask = 0x00FFFFFF;
constexpr unsigned int kIconMask = 0xF0;  // MB_ICONMASK

constexpr int kAnswerNotHandled = 0;
constexpr int kAnswerHandled = 1;  // IDOK

// Signed 32-bit arithmetic that wraps as the processor does instead of
// overflowing.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t WrappingNegate(std::int32_t a) {
  return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a));
}

// A progress-bar position or step goes in wParam as a signed int.
std::uintptr_t AsWParam(std::int32_t value) {
  return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(value));
}

void OnActionData(HandlerEffects& effects, ProgressContext& progress, const char16_t* message) {
  if (progress.progressTotal == 0) return;
  effects.SetControlText(progress.dialogWindow, progress.actionTextId, message);
  if (progress.stepOnActionData != 0) effects.SendToWindow(progress.progressBar, kPbmStepIt, 0, 0);
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

void OnProgress(HandlerEffects& effects, ProgressContext& progress, const char16_t* message) {
  if (!ParseProgressMessage(progress, message)) return;
  const std::int32_t* field = progress.progressField;
  switch (field[1]) {
    case kProgressReset: {
      progress.progressTotal = field[2];
      progress.forwardProgress = field[3] == 0 ? 1 : 0;
      progress.startPosition = progress.forwardProgress != 0 ? 0 : progress.progressTotal;
      effects.SendToWindow(progress.progressBar, kPbmSetRange32, 0, progress.progressTotal);
      // A reset after a script shows the script's bar as finished.
      const std::int32_t position =
          progress.scriptInProgress != 0 ? progress.progressTotal : progress.startPosition;
      effects.SendToWindow(progress.progressBar, kPbmSetPos, AsWParam(position), 0);
      progress.currentPosition = 0;
      progress.scriptInProgress = field[4] == 1 ? 1 : 0;
      if (progress.scriptInProgress != 0) {
        effects.SetControlText(progress.dialogWindow, progress.actionTextId, u"Please wait...");
      }
      break;
    }
    case kProgressActionInfo:
      if (field[3] != 0) {
        const std::int32_t step = progress.forwardProgress != 0 ? field[2] : WrappingNegate(field[2]);
        effects.SendToWindow(progress.progressBar, kPbmSetStep, AsWParam(step), 0);
        progress.stepOnActionData = 1;
      } else {
        progress.stepOnActionData = 0;
      }
      break;
    case kProgressReport:
      if (progress.progressTotal == 0) break;
      progress.currentPosition = WrappingAdd(progress.currentPosition, field[2]);
      effects.SendToWindow(progress.progressBar, kPbmSetPos, AsWParam(ReportPosition(progress)), 0);
      break;
    default:
      break;
  }
}

void OnCommonData(HandlerEffects& effects, ProgressContext& progress, const char16_t* message) {
  if (!ParseCommonDataMessage(progress, message)) return;
  const std::int32_t* field = progress.commonDataField;
  if (field[1] == kCommonDataLanguage) {
    progress.languageId = static_cast<std::uint16_t>(field[2] & 0xFFFF);
  } else if (field[1] == kCommonDataCancelButton) {
    effects.ShowWindow(progress.cancelButton, field[2] != 0 ? kSwShow : kSwHide);
  }
}

}  // namespace

int InstallerMessageHandler(void* context, unsigned int messageType, const char16_t* message) {
  auto* state = static_cast<ProgressContext*>(context);
  if (state == nullptr || state->effects == nullptr) return kAnswerNotHandled;
  ProgressContext& progress = *state;
  HandlerEffects& effects = *progress.effects;

  if (progress.firstCall == 1) {
    if (progress.service != nullptr && !progress.unattended) {
      progress.service->SetInternalUI(kInstallUiLevelBasic, progress.dialogWindow);
    }
    progress.firstCall = 0;
  }
  if (message == nullptr) return kAnswerNotHandled;
  const unsigned int kind = messageType & kMessageKindMask;
  // What went wrong, in the run's log too: a service that is answered here
  // may not log the message itself.
  if (progress.log != nullptr && (kind == kInstallMessageFatalExit || kind == kInstallMessageError ||
                                  kind == kInstallMessageWarning)) {
    LogLine(*progress.log, {u"The service says: ", message});
  }
  // Unanswered, the service takes its default and logs the message.
  if (progress.unattended && (kind == kInstallMessageFatalExit || kind == kInstallMessageError ||
                              kind == kInstallMessageWarning)) {
    return kAnswerNotHandled;
  }

  const unsigned int style = messageType & kMessageStyleMask;
  // The boxes are owned by the dialog: an unowned box opens behind the
  // topmost installer window while the install waits for it.
  switch (kind) {
    case kInstallMessageFatalExit:
      return effects.ShowMessageBox(progress.dialogWindow, message, u"FatalError", style);
    case kInstallMessageError:
      effects.Beep(messageType & kIconMask);
      return effects.ShowMessageBoxInLanguage(progress.dialogWindow, message, u"Error", style,
                                              progress.languageId);
    case kInstallMessageWarning:
      return effects.ShowMessageBox(progress.dialogWindow, message, u"Warning", style);
    case kInstallMessageActionStart:
      progress.stepOnActionData = 0;
      return kAnswerHandled;
    case kInstallMessageActionData:
      OnActionData(effects, progress, message);
      return kAnswerHandled;
    case kInstallMessageProgress:
      OnProgress(effects, progress, message);
      return kAnswerHandled;
    case kInstallMessageCommonData:
      OnCommonData(effects, progress, message);
      return kAnswerHandled;
    case kInstallMessageUser:
    case kInstallMessageInfo:
    case kInstallMessageOutOfDiskSpace:
    case kInstallMessageInitialize:
    case kInstallMessageTerminate:
    case kInstallMessageShowDialog:
      return kAnswerHandled;
    default:  // files in use, resolve source, and every later kind
      return kAnswerNotHandled;
  }
}
