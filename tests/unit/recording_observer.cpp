#include "recording_observer.h"

#include <cstdio>

#include "fake_narrowing.h"

std::string Hex(unsigned int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

std::string Narrow(const std::u16string& text) {
  std::string narrow;
  for (const char16_t unit : text) narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
  return narrow;
}

void RecordingObserver::StageChanged(InstallStage stage) {
  events.push_back(stage == InstallStage::RemovingOlder ? "stage removing" : "stage installing");
}

// The control keeps its position within its range.
void RecordingObserver::ProgressRange(std::int32_t total) {
  events.push_back("range " + std::to_string(total));
  barMax = total;
  barPosition = barPosition < 0 ? 0 : barPosition > barMax ? barMax : barPosition;
}

void RecordingObserver::ProgressPosition(std::int32_t position) {
  events.push_back("pos " + std::to_string(position));
  barPosition = position < 0 ? 0 : position > barMax ? barMax : position;
}

void RecordingObserver::ProgressStep(std::int32_t step) {
  events.push_back("step " + std::to_string(step));
  barStep = step;
}

void RecordingObserver::StepProgress() {
  events.push_back("stepit");
  const std::int64_t position = barPosition + barStep;
  barPosition = position < 0 ? 0 : position > barMax ? barMax : position;
}

void RecordingObserver::Marquee(bool on) { events.push_back(on ? "marquee on" : "marquee off"); }

void RecordingObserver::ActionText(const char16_t* text) {
  events.push_back("text '" + Narrow(text) + "'");
  actionText = text;
}

int RecordingObserver::Ask(const ServiceQuestion& question) {
  const char* kind = question.kind == QuestionKind::FatalExit    ? "FatalExit"
                     : question.kind == QuestionKind::Error      ? "Error"
                     : question.kind == QuestionKind::FilesInUse ? "FilesInUse"
                                                              : "Warning";
  events.push_back(std::string("ask ") + kind + " '" + Narrow(question.text) + "' " +
                   Hex(question.style) + " lang " + std::to_string(question.language));
  return answer;
}

void RecordingObserver::CancelDropped() { events.push_back("cancel dropped"); }

void RecordingObserver::Finished(const InstallOutcome& outcome) {
  events.push_back("finished " + std::to_string(ExitCodeNumber(outcome.exitCode)));
}

int RecordingObserver::ToNarrow(const char16_t* text, char* buffer, int bufferBytes) {
  ++conversions;
  return failConversion ? 0 : FakeToNarrow(text, buffer, bufferBytes);
}
