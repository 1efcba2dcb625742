// What an install session tells whoever shows it, in plain terms: no
// window, no control. The window turns the calls into its controls and
// boxes; an unattended run shows nothing (every call does nothing here).
// The calls come from the service's threads as well as the caller's.
#pragma once

#include <cstdint>

struct InstallOutcome;

enum class InstallStage {
  RemovingOlder,  // the registered older version is being removed
  Installing,     // the package is being installed
  Removing,       // the product is being removed (/uninstall)
  Repairing,      // the installed version is being repaired (/repair)
};

enum class QuestionKind {
  FatalExit,
  Error,
  Warning,
  // Programs hold files the install replaces: Cancel, Try Again or Continue.
  FilesInUse,
};

// A message of the service that waits for an answer.
struct ServiceQuestion {
  QuestionKind kind;
  const char16_t* text;
  // The box the service asks for: its buttons, icon and default button, as
  // the message type's low bits give them (a message box's style).
  unsigned int style;
  // The language the service announced for its errors (0: neutral).
  std::uint16_t language;
};

class InstallObserver {
 public:
  virtual ~InstallObserver() = default;

  virtual void StageChanged(InstallStage) {}

  // The progress bar: its range from 0, the position within it, the step
  // and a step taken, and the marquee of a step whose length is unknown.
  virtual void ProgressRange(std::int32_t) {}
  virtual void ProgressPosition(std::int32_t) {}
  virtual void ProgressStep(std::int32_t) {}
  virtual void StepProgress() {}
  virtual void Marquee(bool) {}

  // What the service is doing now.
  virtual void ActionText(const char16_t*) {}

  // The answer goes back to the service as it is (a button id; 0 lets the
  // service take its default).
  virtual int Ask(const ServiceQuestion&) { return 0; }

  // A cancel that was taken is dropped: the older version was removed
  // before the service acted on it (CancelRefusal::PreviousVersionRemoved),
  // and the new one is installed.
  virtual void CancelDropped() {}

  // The run is over; outcome holds what fresh detection found.
  virtual void Finished(const InstallOutcome&) {}
};
