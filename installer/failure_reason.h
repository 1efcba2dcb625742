// What a failed run says in one line, in a user's words and with the
// Windows or service code where there is one: shown under "Installation
// Failed" and written to the log, so that the user knows whether to free
// disk space, wait for another setup, choose another folder or call support.
#pragma once

#include <cstddef>

#include "installer/operation_result.h"

// Room for the longest line, terminator included.
inline constexpr std::size_t kFailureReasonCapacity = 128;

// Another installation held the service through every retry; a box in the
// window says it too.
inline constexpr char16_t kAnotherInstallText[] =
    u"Another installation is in progress. Wait until it has finished, then run this installer again.";

// The line for last, the result of the step that ended a failed run.
const char16_t* FailureReason(const OperationResult& last, char16_t (&buffer)[kFailureReasonCapacity]);
