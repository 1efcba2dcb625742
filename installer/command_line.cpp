#include "installer/command_line.h"

namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// One word of the command line: blanks separate words, and a double quote
// starts or ends a stretch in which they do not. The quotes are dropped;
// there are no escapes, so "C:\Host\" keeps its trailing backslash.
class Words {
 public:
  explicit Words(const char16_t* text) : m_cursor(text) {}

  // The next word into buffer (capacity units); false at the end. A word
  // that does not fit is cut and *cut set.
  bool Next(char16_t* buffer, std::size_t capacity, bool* cut, const char16_t** start) {
    while (IsBlank(*m_cursor)) ++m_cursor;
    if (*m_cursor == 0) return false;
    *start = m_cursor;
    *cut = false;
    std::size_t n = 0;
    bool quoted = false;
    for (; *m_cursor != 0 && (quoted || !IsBlank(*m_cursor)); ++m_cursor) {
      if (*m_cursor == u'"') {
        quoted = !quoted;
      } else if (n + 1 < capacity) {
        buffer[n++] = *m_cursor;
      } else {
        *cut = true;
      }
    }
    buffer[n] = 0;
    return true;
  }

 private:
  const char16_t* m_cursor;
};

// True when word is name, whatever the case; name is in lower case.
bool Is(const char16_t* word, const char16_t* name) {
  for (; *name != 0; ++word, ++name) {
    if (Lower(*word) != *name) return false;
  }
  return *word == 0;
}

bool IsSwitch(const char16_t* word, const char16_t* name) {
  return (word[0] == u'/' || word[0] == u'-') && Is(word + 1, name);
}

// The value of NAME=value when word is that property, else null.
const char16_t* PropertyValue(const char16_t* word, const char16_t* name) {
  for (; *name != 0; ++word, ++name) {
    if (Lower(*word) != *name) return nullptr;
  }
  return *word == u'=' ? word + 1 : nullptr;
}

}  // namespace

CommandLineError ParseCommandLine(const char16_t* commandLine, InstallOptions* options,
                                  const char16_t** offending) {
  InstallOptions parsed = *options;
  Words words(commandLine != nullptr ? commandLine : u"");
  // Room for one more unit than a path holds, so that a cut shows.
  char16_t word[kPathCapacity + 16];
  constexpr std::size_t kWordCapacity = sizeof word / sizeof word[0];
  bool cut = false;
  const char16_t* start = nullptr;
  CommandLineError error = CommandLineError::None;
  // The first error is the one reported; the words after it are still read
  // for the mode, which says how to report it.
  auto fail = [&](CommandLineError found) {
    if (error != CommandLineError::None) return;
    error = found;
    if (offending != nullptr) *offending = start;
  };
  // One operation a run; the second is the offending word.
  auto operate = [&](Operation operation, const char16_t* at) {
    if (parsed.operation != Operation::Install && parsed.operation != operation) {
      const char16_t* word = start;
      start = at;
      fail(CommandLineError::Combination);
      start = word;
    }
    parsed.operation = operation;
  };
  const char16_t* folderWord = nullptr;
  if (!words.Next(word, kWordCapacity, &cut, &start)) return CommandLineError::None;
  while (words.Next(word, kWordCapacity, &cut, &start)) {
    const char16_t* folder = PropertyValue(word, u"maxdir");
    if (folder == nullptr) folder = PropertyValue(word, u"installdir");
    if (folder != nullptr) {
      if (cut || !CopyText(parsed.folder, kPathCapacity, folder)) fail(CommandLineError::TooLong);
      parsed.hasFolder = true;
      folderWord = start;
    } else if (IsSwitch(word, u"quiet") || IsSwitch(word, u"q") || IsSwitch(word, u"s") ||
               IsSwitch(word, u"silent")) {
      parsed.mode = UiMode::Quiet;
    } else if (IsSwitch(word, u"passive")) {
      parsed.mode = UiMode::Passive;
    } else if (IsSwitch(word, u"norestart")) {
      parsed.noRestart = true;
    } else if (IsSwitch(word, u"?") || IsSwitch(word, u"help")) {
      parsed.help = true;
    } else if (IsSwitch(word, u"log") || IsSwitch(word, u"extract")) {
      const bool log = IsSwitch(word, u"log");
      const char16_t* switchStart = start;
      if (!words.Next(word, kWordCapacity, &cut, &start)) {
        start = switchStart;
        fail(CommandLineError::MissingValue);
        break;
      }
      if (log) {
        if (cut || !CopyText(parsed.logPath, kPathCapacity, word)) fail(CommandLineError::TooLong);
        parsed.hasLog = true;
      } else {
        if (cut || !CopyText(parsed.extractFolder, kPathCapacity, word)) fail(CommandLineError::TooLong);
        operate(Operation::Extract, switchStart);
      }
    } else if (IsSwitch(word, u"uninstall") || IsSwitch(word, u"x")) {
      operate(Operation::Uninstall, start);
    } else if (IsSwitch(word, u"repair")) {
      operate(Operation::Repair, start);
    } else {
      fail(CommandLineError::Unknown);
    }
  }
  // A folder to install to says nothing to the other operations.
  if (parsed.hasFolder && parsed.operation != Operation::Install) {
    start = folderWord;
    fail(CommandLineError::Combination);
  }
  if (error != CommandLineError::None) {
    options->mode = parsed.mode;
    return error;
  }
  *options = parsed;
  return CommandLineError::None;
}
