// The installer's three screens as data: for each step and installed state,
// the operations that turn the window into that screen, in order. The main
// dialog plays them; tests play them against a model of the window. What
// runs during a step is the install session's; the screens only show it.
#pragma once

#include <cstddef>
#include <span>

#include "detect/detection.h"
#include "installer/install_session.h"

enum class WizardStep : int {
  Welcome = 0,
  Installing = 1,
  Finished = 2,
  // Welcome once more, after the user went back from Installing (to close
  // the programs that hold the plug-in, say): every control of the offer
  // shown again, the terms still accepted.
  WelcomeAgain = 3,
};

enum class ScreenOp {
  Hide,              // ShowWindow(control, SW_HIDE)
  Show,              // ShowWindow(control, SW_SHOWNORMAL)
  Enable,            // EnableWindow(control, TRUE)
  Disable,           // EnableWindow(control, FALSE)
  SetStatus,         // the status string := text (not yet shown)
  UpdateData,        // members to controls
  ProgressFull,      // the bar at 100 of 0 to 100, the action text empty
};

enum class StatusText {
  None,
  DisplayName,   // the product's display name
  UpToDate,      // display name + " is up-to-date"
  Uninstalling,  // "Uninstalling previous Version."
  Failed,        // "Installation Failed"
  Successful,    // "Installation Successful"
  Cancelling,    // "Cancelling..."
  Cancelled,     // "Installation Cancelled"
  Removing,      // "Uninstalling " + the display name (/uninstall)
  Repairing,     // "Repairing " + the display name (/repair)
  RemovalSuccessful,  // "Removal Successful"
  RemovalFailed,      // "Removal Failed"
  RemovalCancelled,   // "Removal Cancelled"
};

struct ScreenAction {
  ScreenOp op;
  int control = 0;  // for Hide, Show, Enable, Disable
  StatusText text = StatusText::None;  // for SetStatus
};

// The operations for step in state; empty for values outside the enums.
std::span<const ScreenAction> WizardScreen(WizardStep step, InstallState state);

// Welcome's button: FINISHED when there is nothing to install, else
// CONTINUE.
int PrimaryButton(InstallState state);

// The control Welcome gives the first focus, whatever the tab order: the
// one thing Welcome needs from the user (the accept box), else the one
// button there is; a passive run, which ticks the box itself, the button.
// Never the folder box, which would open with its text selected and
// scrolled to its end.
int FirstFocus(InstallState state, bool passive);

// The literal of a status text, without the display name.
const char16_t* StatusLiteral(StatusText text);

// The status line of text for outcome: its literal (FinishedStatus's), with
// the display name before or after it where it names the product.
inline constexpr std::size_t kStatusLineCapacity = 256;
const char16_t* StatusLine(StatusText text, const InstallOutcome& outcome, char16_t (&buffer)[kStatusLineCapacity]);

// What the status says while a stage runs.
StatusText StageStatus(InstallStage stage);

// Whether the window skips Welcome: a removal, or a repair of the version
// installed, asks nothing first.
bool StartsAtOnce(Operation operation, InstallState state);

// "Installation Cancelled" for a run the user cancelled, and a removal's own
// texts for a removal; the text as it is otherwise (a restart to come is
// said in the line below the status).
StatusText FinishedStatus(StatusText text, const InstallOutcome& outcome);
