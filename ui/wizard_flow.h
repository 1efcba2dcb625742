// The installer's three screens as data: for each step and installed state,
// the operations that turn the window into that screen, in order. The main
// dialog interprets them; tests replay them against a model of the window.
#pragma once

#include <span>

#include "detect/detection.h"
#include "installer/install_operations.h"

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
  SuccessfulRestart,  // the same, and that Windows must restart to finish
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

// What the operations of the install did: the result of the last one that
// ran, and whether any did.
struct FlowOutcome {
  OperationResult last;
  bool operationsRan = false;
};

// Runs action when it is one of the operations (PreparePackage,
// RemovePreviousVersion, InstallPackage), with folder as the target and
// the windows the service's messages go to (null without a window). False
// when the step ends here; any other action does nothing and gives true.
bool RunFlowOperation(const FlowAction& action, InstallOperations& operations,
                      const char16_t* folder, void* dialogWindow, void* progressBar,
                      FlowOutcome& outcome);

// "Installation Successful", or its restart form when the service's last
// code asks for a restart.
StatusText FinishedStatus(StatusText text, const FlowOutcome& outcome);
