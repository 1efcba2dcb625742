#include "installer/message_handler.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/text.h"
#include "installer/handler_effects.h"
#include "installer/installer_service_seam.h"
#include "installer/progress_context.h"

#if defined(__SANITIZE_ADDRESS__)
#define INSTALLER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define INSTALLER_ASAN 1
#endif
#endif
#if defined(INSTALLER_ASAN)
#include <sanitizer/asan_interface.h>
#endif

namespace {

constexpr unsigned int kMessageKindMask = 0xFF000000;
constexpr unsigned int kMessageStyleMask = 0x00FFFFFF;
constexpr unsigned int kIconMask = 0xF0;  // MB_ICONMASK

constexpr int kAnswerNotHandled = 0;
constexpr int kAnswerHandled = 1;  // IDOK

// Longest text (terminator included) that is converted at all.
constexpr std::size_t kLongestConvertedText = 0x3FFFFFFF;

// Sub-types of a progress message (field 1) and of common data.
constexpr std::int32_t kProgressReset = 0;
constexpr std::int32_t kProgressActionInfo = 1;
constexpr std::int32_t kProgressReport = 2;
constexpr std::int32_t kProgressAddition = 3;
constexpr std::int32_t kCommonDataLanguage = 0;
constexpr std::int32_t kCommonDataCaption = 1;
constexpr std::int32_t kCommonDataCancelButton = 2;

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

// The narrow copy of one message text in the thread's ANSI code page,
// two bytes a unit. It fits in this object (on the parser's stack) for
// the texts the service sends; only longer ones go to the heap.
class NarrowCopy {
 public:
  NarrowCopy(HandlerEffects& effects, const char16_t* text) {
    const std::size_t length = BoundedLength(text, kLongestConvertedText) + 1;
    if (length > kLongestConvertedText) return;
    const std::size_t bytes = 2 * length;
    char* buffer = m_fixed;
    if (bytes > sizeof m_fixed) {
      m_heap.reset(static_cast<char*>(std::malloc(bytes)));
      if (!m_heap) return;
      buffer = m_heap.get();
    }
    buffer[0] = 0;
    const int written = effects.ToNarrow(text, buffer, static_cast<int>(bytes));
    if (written <= 0 || static_cast<std::size_t>(written) > bytes) return;
    // Trust the terminator only where it really is.
    const void* end = std::memchr(buffer, 0, static_cast<std::size_t>(written));
    if (end == nullptr) return;
    m_text = buffer;
    m_end = static_cast<char*>(const_cast<void*>(end));
    Poison(m_end + 1, bytes - static_cast<std::size_t>(m_end + 1 - buffer));
  }
  ~NarrowCopy() { Poison(nullptr, 0); }
  NarrowCopy(const NarrowCopy&) = delete;
  NarrowCopy& operator=(const NarrowCopy&) = delete;

  char* text() const { return m_text; }  // null without a copy
  char* end() const { return m_end; }    // the terminator

 private:
  // In sanitizer builds the buffer past the terminator is made unreadable,
  // so that a parser reading beyond the text fails there and then.
  void Poison([[maybe_unused]] char* from, [[maybe_unused]] std::size_t bytes) {
#if defined(INSTALLER_ASAN)
    if (m_poisoned != nullptr) ASAN_UNPOISON_MEMORY_REGION(m_poisoned, m_poisonedBytes);
    if (from != nullptr) ASAN_POISON_MEMORY_REGION(from, bytes);
    m_poisoned = from;
    m_poisonedBytes = bytes;
#endif
  }

  char m_fixed[kNarrowCopyFixedBytes];
  std::unique_ptr<char, FreeDeleter> m_heap;
  char* m_text = nullptr;
  char* m_end = nullptr;
#if defined(INSTALLER_ASAN)
  char* m_poisoned = nullptr;
  std::size_t m_poisonedBytes = 0;
#endif
};

// Steps over a field marker and the two characters after it; false when
// the text ends among them.
bool SkipMarker(char*& cursor, const char* end) {
  if (end - cursor < 3) return false;
  cursor += 3;
  return true;
}

// What reading one field decides about the text.
enum class FieldResult { Next, Accept, Reject };

// The grammar both texts share: a marker, two characters not looked at, the
// field's value (read by readField, which leaves the cursor on the
// separator), then one separator; the text may end after a value or after
// its separator.
template <typename ReadField>
bool ParseFields(char* cursor, const char* end, ReadField readField) {
  if (cursor == end) return false;
  for (;;) {
    const char marker = *cursor;
    if (!SkipMarker(cursor, end)) return false;
    const FieldResult result = readField(marker, cursor);
    if (result != FieldResult::Next) return result == FieldResult::Accept;
    if (cursor == end) return true;
    ++cursor;
    if (cursor == end) return true;
  }
}

bool ParseProgressText(char* text, const char* end, std::int32_t* field) {
  return ParseFields(text, end, [field](char marker, char*& cursor) {
    switch (marker) {
      case '1':
        if (*cursor < '0' || *cursor > '9') return FieldResult::Reject;
        field[1] = *cursor++ - '0';
        return FieldResult::Next;
      case '2':
        field[2] = ReadNumberToken(&cursor);
        return field[1] == kProgressReport || field[1] == kProgressAddition ? FieldResult::Accept
                                                                            : FieldResult::Next;
      case '3':
        field[3] = ReadNumberToken(&cursor);
        return field[1] == kProgressActionInfo ? FieldResult::Accept : FieldResult::Next;
      case '4':
        field[4] = ReadNumberToken(&cursor);
        return FieldResult::Accept;
      default:
        return FieldResult::Reject;
    }
  });
}

bool ParseCommonDataText(char* text, const char* end, std::int32_t* field) {
  return ParseFields(text, end, [field, end](char marker, char*& cursor) {
    switch (marker) {
      case '1':
        if (cursor == end) return FieldResult::Reject;
        field[1] = *cursor++ - '0';
        // Caption texts are not used; their field 2 is text, not a number.
        return field[1] == kCommonDataCaption ? FieldResult::Reject : FieldResult::Next;
      case '2':
        field[2] = ReadNumberToken(&cursor);
        return FieldResult::Accept;
      default:
        return FieldResult::Reject;
    }
  });
}

// Converts message and parses the narrow copy into fields.
bool ParseMessage(HandlerEffects* effects, const char16_t* message,
                  bool (*parse)(char*, const char*, std::int32_t*), std::int32_t* fields) {
  if (effects == nullptr || message == nullptr) return false;
  const NarrowCopy copy(*effects, message);
  return copy.text() != nullptr && parse(copy.text(), copy.end(), fields);
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

int ReadNumberToken(char** cursor) {
  char* start = *cursor;
  char* stop = start;
  while (*stop != ' ' && *stop != 0) ++stop;
  *stop = 0;
  *cursor = stop;
  return ReadSaturatedInt(start);
}

bool ParseProgressMessage(ProgressContext& progress, const char16_t* message) {
  return ParseMessage(progress.effects, message, ParseProgressText, progress.progressField);
}

bool ParseCommonDataMessage(ProgressContext& progress, const char16_t* message) {
  return ParseMessage(progress.effects, message, ParseCommonDataText, progress.commonDataField);
}

int InstallerMessageHandler(void* context, unsigned int messageType, const char16_t* message) {
  auto* state = static_cast<ProgressContext*>(context);
  if (state == nullptr || state->effects == nullptr) return kAnswerNotHandled;
  ProgressContext& progress = *state;
  HandlerEffects& effects = *progress.effects;

  if (progress.firstCall == 1) {
    if (progress.service != nullptr) progress.service->SetInternalUI(kInstallUiLevelBasic);
    progress.firstCall = 0;
  }
  if (message == nullptr) return kAnswerNotHandled;

  const unsigned int style = messageType & kMessageStyleMask;
  // The boxes are owned by the dialog: an unowned box opens behind the
  // topmost installer window while the install waits for it.
  switch (messageType & kMessageKindMask) {
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
