// The parsers of the service's progress and common-data texts: a narrow
// copy of the text in the thread's ANSI code page, read field by field into
// the fields of a ProgressContext.
#pragma once

#include <cstddef>
#include <cstdint>

#include "installer/progress_context.h"

// Narrow copies of at most this many bytes live in the parser's frame;
// longer texts take a heap buffer for the one parse.
inline constexpr std::size_t kNarrowCopyFixedBytes = 2048;

// Sub-types of a progress message (field 1) and of common data.
inline constexpr std::int32_t kProgressReset = 0;
inline constexpr std::int32_t kProgressActionInfo = 1;
inline constexpr std::int32_t kProgressReport = 2;
inline constexpr std::int32_t kProgressAddition = 3;
inline constexpr std::int32_t kCommonDataLanguage = 0;
inline constexpr std::int32_t kCommonDataCaption = 1;
inline constexpr std::int32_t kCommonDataCancelButton = 2;

// Parse a progress or common-data text into progressField or
// commonDataField of progress; false when the text does not fit the grammar
// or cannot be converted. Fields read before a failure keep their new
// values.
bool ParseProgressMessage(ProgressContext& progress, const char16_t* message);
bool ParseCommonDataMessage(ProgressContext& progress, const char16_t* message);

// Reads the token at *cursor up to the next blank or the end, ends it with
// a terminator written over that blank, leaves *cursor on it, and returns
// the token's value as atoi reads it (saturated at the limits of int).
int ReadNumberToken(char** cursor);

// The description in an action-start text ("Action 16:12:53: InstallFiles.
// Copying new files"): what follows the action's name and its period; null
// when the action has none.
const char16_t* ActionDescription(const char16_t* message);

// Whether an action-data text is the service's row of numbered fields
// ("1: {5B0C...} 2: ..."), which it sends for an action the package gives
// no template.
bool IsNumberedFields(const char16_t* message);

class HoldingPrograms;

// The programs a files-in-use message of the service names, added to
// programs. Its text is the service's numbered form of the record: pairs
// of a file or process name and a window title or process id for
// INSTALLMESSAGE_FILESINUSE; for INSTALLMESSAGE_RMFILESINUSE (restartManager)
// pairs of a process id and an application name, after their count. A text
// that is not of that form adds nothing; every field is bounded.
void ParseFilesInUseMessage(const char16_t* message, bool restartManager, HoldingPrograms& programs);
