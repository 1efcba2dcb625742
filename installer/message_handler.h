// The external UI handler of the installer calls: answers each message of
// the service, shows its errors, and turns its progress and common-data
// messages into progress-bar moves, action text and the error box language.
// Its state and effects come through the context, a ProgressContext.
#pragma once

#include <cstddef>

#include "installer/progress_context.h"

// Narrow copies of at most this many bytes live in the parser's frame;
// longer texts take a heap buffer for the one parse.
inline constexpr std::size_t kNarrowCopyFixedBytes = 2048;

// Registered with the service (InstallUiHandler shape); context is the
// ProgressContext of the operations, and a null one is answered with 0.
int InstallerMessageHandler(void* context, unsigned int messageType, const char16_t* message);

// Parse a progress or common-data text into progressField or
// commonDataField of progress; false when the text does not fit
// the grammar or cannot be converted. Fields read before a failure keep
// their new values.
bool ParseProgressMessage(ProgressContext& progress, const char16_t* message);
bool ParseCommonDataMessage(ProgressContext& progress, const char16_t* message);

// Reads the token at *cursor up to the next blank or the end, ends it with
// a terminator written over that blank, leaves *cursor on it, and returns
// the token's value as atoi reads it (saturated at the limits of int).
int ReadNumberToken(char** cursor);
