// The installer's three screens as data: for each step and installed state,
// the operations that turn the window into that screen, in order. The main
// dialog interprets them; tests replay them against a model of the window.
#pragma once

#include <span>

#include "detect/detection.h"

enum class WizardStep : int {
  Welcome = 0,
  Installing = 1,
  Finished = 2,
};

enum class FlowOp {
  Hide,                   // ShowWindow(control, SW_HIDE)
  Show,                   // ShowWindow(control, SW_SHOWNORMAL)
  Enable,                 // EnableWindow(control, TRUE)
  Disable,                // EnableWindow(control, FALSE)
  SetStatus,              // the status string := text (not yet shown)
  UpdateData,             // members to controls
  MarqueeOn,              // PBM_SETMARQUEE TRUE, 100 ms
  MarqueeOff,             // PBM_SETMARQUEE FALSE, 100 ms
  PreparePackage,         // the step ends here when the folder or the package fails
  RemovePreviousVersion,  // the step ends here when the removal fails
  InstallPackage,
  ProgressRange100,       // PBM_SETRANGE 0 to 100
  ProgressPos100,         // PBM_SETPOS 100
};

enum class StatusText {
  None,
  DisplayName,   // the product's display name
  UpToDate,      // display name + " is up-to-date"
  Uninstalling,  // "Uninstalling previous Version."
  Failed,        // "Installation Failed"
  Successful,    // "Installation Successful"
};

struct FlowAction {
  FlowOp op;
  int control = 0;  // for Hide, Show, Enable, Disable
  StatusText text = StatusText::None;  // for SetStatus
};

// The operations for step in state; empty for values outside the enums.
std::span<const FlowAction> WizardActions(WizardStep step, InstallState state);

// The literal of a status text, without the display name.
const char16_t* StatusLiteral(StatusText text);
