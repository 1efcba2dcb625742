// ProgressContext: the process-wide record the install and remove
// operations point at the dialog and the message handler keeps its
// progress state in. Nothing clears it between installer calls.
#pragma once

#include <cstdint>

struct ProgressContext {
  void* dialogWindow = nullptr;   // target of action-text updates
  void* progressBar = nullptr;    // control 1011 of the dialog, or null
  void* cancelButton = nullptr;   // shown or hidden by common data; always null here
  std::int32_t actionTextId = 0;  // control id of the action text within dialogWindow

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

extern ProgressContext g_progressContext;
