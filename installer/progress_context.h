// ProgressContext: the state of one run of the installer's operations, which
// they give the service as the message handler's context. The operations
// point it at the dialog before each installer call; the handler keeps its
// progress counters and flags in it. Nothing clears it between the removal
// and the install, so progress carries over from one to the other.
#pragma once

#include <cstdint>

class HandlerEffects;
class InstallerServiceSeam;
class RunLog;

struct ProgressContext {
  HandlerEffects* effects = nullptr;        // null: the handler answers 0 and changes nothing
  InstallerServiceSeam* service = nullptr;  // takes the UI level of the first message
  RunLog* log = nullptr;                    // gets the texts of errors and warnings

  void* dialogWindow = nullptr;   // target of action-text updates and owner of boxes
  void* progressBar = nullptr;    // the dialog's progress bar, or null
  void* cancelButton = nullptr;   // shown or hidden by common data; always null here
  std::int32_t actionTextId = 0;  // control id of the action text within dialogWindow
  // No one is there to answer a box: the service answers its own questions
  // and keeps its UI level.
  bool unattended = false;

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
