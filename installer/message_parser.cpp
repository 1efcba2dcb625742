#include "installer/message_parser.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/text.h"
#include "installer/code_page_seam.h"
#include "installer/in_use.h"

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

// Longest text (terminator included) that is converted at all.
constexpr std::size_t kLongestConvertedText = 0x3FFFFFFF;

// The narrow copy of one message text in the thread's ANSI code page,
// two bytes a unit. It fits in this object (on the parser's stack) for
// the texts the service sends; only longer ones go to the heap.
class NarrowCopy {
 public:
  NarrowCopy(CodePageSeam& codePage, const char16_t* text) {
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
    const int written = codePage.ToNarrow(text, buffer, static_cast<int>(bytes));
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

// The same fields through the service's template for common data,
// "Message type: [1], Argument: [2]{, [3]}", which Wine's service gives a
// common-data message that a package's custom action sends.
bool ParseTemplatedCommonData(char* text, const char* end, std::int32_t* field) {
  constexpr char kType[] = "Message type: ";
  constexpr char kArgument[] = ", Argument: ";
  constexpr std::size_t kTypeLength = sizeof kType - 1;
  constexpr std::size_t kArgumentLength = sizeof kArgument - 1;
  if (static_cast<std::size_t>(end - text) < kTypeLength + 1 + kArgumentLength ||
      std::memcmp(text, kType, kTypeLength) != 0) {
    return false;
  }
  char* cursor = text + kTypeLength;
  if (*cursor < '0' || *cursor > '9') return false;
  field[1] = *cursor++ - '0';
  if (field[1] == kCommonDataCaption) return false;
  if (static_cast<std::size_t>(end - cursor) < kArgumentLength ||
      std::memcmp(cursor, kArgument, kArgumentLength) != 0) {
    return false;
  }
  cursor += kArgumentLength;
  // The argument ends at the comma before field 3, or at the end.
  char* stop = cursor;
  while (stop != end && *stop != ',') ++stop;
  *stop = 0;
  field[2] = ReadSaturatedInt(cursor);
  return true;
}

bool ParseCommonDataText(char* text, const char* end, std::int32_t* field) {
  if (*text == 'M') return ParseTemplatedCommonData(text, end, field);
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
bool ParseMessage(CodePageSeam* codePage, const char16_t* message,
                  bool (*parse)(char*, const char*, std::int32_t*), std::int32_t* fields) {
  if (codePage == nullptr || message == nullptr) return false;
  const NarrowCopy copy(*codePage, message);
  return copy.text() != nullptr && parse(copy.text(), copy.end(), fields);
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
  return ParseMessage(progress.codePage, message, ParseProgressText, progress.progressField);
}

bool ParseCommonDataMessage(ProgressContext& progress, const char16_t* message) {
  return ParseMessage(progress.codePage, message, ParseCommonDataText, progress.commonDataField);
}

const char16_t* ActionDescription(const char16_t* message) {
  if (message == nullptr) return nullptr;
  // The time ends at the first ": " (the word before it is the language's).
  const char16_t* at = message;
  while (*at != 0 && !(at[0] == u':' && at[1] == u' ')) ++at;
  if (*at == 0) return nullptr;
  at += 2;
  // The name is an identifier, which holds no blank.
  while (*at != 0 && *at != u' ') ++at;
  if (*at == 0 || at == message || at[-1] != u'.') return nullptr;
  while (*at == u' ') ++at;
  return *at != 0 ? at : nullptr;
}

bool IsNumberedFields(const char16_t* message) {
  return message != nullptr && message[0] == u'1' && message[1] == u':' &&
         (message[2] == 0 || message[2] == u' ');
}

namespace {

// Longest files-in-use text looked at, and the most fields read of it.
constexpr std::size_t kLongestFilesInUseText = 32 * 1024;
constexpr std::size_t kMostFilesInUseFields = 2 * HoldingPrograms::kKept + 1;

struct Field {
  const char16_t* start = nullptr;
  std::size_t length = 0;
};

// Whether text at i holds the marker "<number>:" followed by a blank or the
// end.
bool MarkerAt(const char16_t* text, std::size_t i, std::size_t length, std::size_t number, std::size_t* after) {
  char16_t digits[11];
  const char16_t* marker = DecimalText(static_cast<std::uint32_t>(number), digits);
  std::size_t n = 0;
  for (; marker[n] != 0; ++n) {
    if (i + n >= length || text[i + n] != marker[n]) return false;
  }
  if (i + n >= length || text[i + n] != u':') return false;
  if (i + n + 1 < length && text[i + n + 1] != u' ') return false;
  *after = i + n + 1 < length ? i + n + 2 : i + n + 1;
  return true;
}

// Splits "1: a 2: b 3: c" into its values; a value runs to the blank before
// the next number's marker. False when the text does not start with "1:".
bool SplitNumberedFields(const char16_t* text, Field (&fields)[kMostFilesInUseFields], std::size_t* count) {
  const std::size_t length = BoundedLength(text, kLongestFilesInUseText);
  std::size_t at = 0;
  if (!MarkerAt(text, 0, length, 1, &at)) return false;
  *count = 0;
  for (std::size_t number = 1; *count < kMostFilesInUseFields; ++number) {
    const std::size_t start = at;
    std::size_t end = length;
    std::size_t next = length;
    for (std::size_t i = start; i < length; ++i) {
      if (text[i] == u' ' && MarkerAt(text, i + 1, length, number + 1, &next)) {
        end = i;
        break;
      }
    }
    std::size_t trimmed = end;
    while (trimmed > start && text[trimmed - 1] == u' ') --trimmed;
    fields[(*count)++] = {text + start, trimmed - start};
    if (end == length) break;
    at = next;
  }
  return true;
}

bool IsNumber(const Field& field) {
  if (field.length == 0 || field.length > 20) return false;
  for (std::size_t i = 0; i < field.length; ++i) {
    if (field.start[i] < u'0' || field.start[i] > u'9') return false;
  }
  return true;
}

// 0 (no process) for a number no process id can be.
std::uint32_t NumberOf(const Field& field) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < field.length && value <= 0xFFFFFFFFu; ++i) value = value * 10 + (field.start[i] - u'0');
  return value > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(value);
}

// A field as a terminated text, cut to the buffer.
const char16_t* TextOf(const Field& field, char16_t* buffer, std::size_t capacity) {
  const std::size_t n = field.length < capacity - 1 ? field.length : capacity - 1;
  for (std::size_t i = 0; i < n; ++i) buffer[i] = field.start[i];
  buffer[n] = 0;
  return buffer;
}

}  // namespace

void ParseFilesInUseMessage(const char16_t* message, bool restartManager, HoldingPrograms& programs) {
  if (message == nullptr) return;
  Field fields[kMostFilesInUseFields];
  std::size_t count = 0;
  if (!SplitNumberedFields(message, fields, &count)) return;
  std::size_t first = 0;
  // Restart Manager's record counts its programs first.
  if (restartManager && count % 2 == 1 && IsNumber(fields[0])) first = 1;
  for (std::size_t i = first; i < count; i += 2) {
    const Field& one = fields[i];
    const Field none;
    const Field& other = i + 1 < count ? fields[i + 1] : none;
    char16_t name[kProgramNameCapacity];
    char16_t executable[kPathCapacity];
    if (restartManager) {
      // The process id and the application's name, whichever comes first.
      const bool idFirst = IsNumber(one);
      const Field& id = idFirst ? one : other;
      const Field& app = idFirst ? other : one;
      if (app.length == 0 && !IsNumber(id)) continue;
      programs.Add(IsNumber(id) ? NumberOf(id) : 0, TextOf(app, name, kProgramNameCapacity), u"");
    } else {
      // The file or process, and its window's title or its process id.
      if (one.length == 0) continue;
      const bool withId = IsNumber(other);
      programs.Add(withId ? NumberOf(other) : 0, withId ? u"" : TextOf(other, name, kProgramNameCapacity),
                   TextOf(one, executable, kPathCapacity));
    }
  }
}
