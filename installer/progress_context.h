// ProgressContext: the state of one run of the installer's operations, which
// they give the service as the message handler's context. The handler
// keeps its progress counters and flags in it and reports to the observer.
// Nothing clears it between the removal and the install, so progress
// carries over from one to the other.
#pragma once

#include <cstdint>

class CancelGate;
class HoldingPrograms;
class CodePageSeam;
class InstallObserver;
class InstallerServiceSeam;
class RunLog;

struct ProgressContext {
  // Either null: the handler answers 0 and reports nothing.
  InstallObserver* observer = nullptr;
  CodePageSeam* codePage = nullptr;         // for the parsers' narrow copies
  InstallerServiceSeam* service = nullptr;  // takes the UI level of the first message
  RunLog* log = nullptr;                    // gets the texts of errors and warnings

  // No one is there to answer a question: the service answers its own and
  // keeps its UI level.
  bool unattended = false;
  // Told what the service says of cancelling, and asked whether to answer
  // with cancel. Null: nothing ever cancels the calls.
  CancelGate* cancel = nullptr;
  // The handler has answered cancel (once in the log is enough).
  std::int32_t cancelAnswered = 0;
  // Gets the programs the service says hold files (null: nobody keeps them).
  HoldingPrograms* heldBy = nullptr;

  std::int32_t firstCall = 1;
  std::int32_t forwardProgress = 1;
  std::int32_t scriptInProgress = 0;
  std::int32_t stepOnActionData = 0;
  std::int32_t progressTotal = 0;
  std::int32_t startPosition = 0;
  std::int32_t currentPosition = 0;

  // Indexed by field number, so entry 0 is unused.
  std::int32_t progressField[5] = {};
  std::int32_t commonDataField[3] = {};

  std::uint16_t languageId = 0;  // LANG_NEUTRAL until common data names one
};
