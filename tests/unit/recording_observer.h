// A recording observer: every call becomes a line of text in events, and a
// model of the progress bar and the action text keeps what a user would
// see. It is the code page of the parsers too (the double-byte stand-in),
// which can be made to fail.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "installer/code_page_seam.h"
#include "installer/install_observer.h"
#include "installer/install_session.h"

class RecordingObserver : public InstallObserver, public CodePageSeam {
 public:
  // Behaviour.
  int answer = 1;               // the button every question gets
  bool failConversion = false;  // ToNarrow answers 0

  // What it was told, e.g. "ask Error 'text' 0x30 lang 1033".
  std::vector<std::string> events;
  int conversions = 0;

  // The progress bar and the action text as the controls would hold them.
  std::int64_t barMax = 100;
  std::int64_t barPosition = 0;
  std::int64_t barStep = 10;
  std::u16string actionText;

  void StageChanged(InstallStage stage) override;
  void ProgressRange(std::int32_t total) override;
  void ProgressPosition(std::int32_t position) override;
  void ProgressStep(std::int32_t step) override;
  void StepProgress() override;
  void Marquee(bool on) override;
  void ActionText(const char16_t* text) override;
  int Ask(const ServiceQuestion& question) override;
  void CancelDropped() override;
  void Finished(const InstallOutcome& outcome) override;
  int ToNarrow(const char16_t* text, char* buffer, int bufferBytes) override;
};

// Printable ASCII form of a UTF-16 text, for events and messages.
std::string Narrow(const std::u16string& text);
// "0x" and the value's hex digits.
std::string Hex(unsigned int value);
