// The run's own lines in the log that an administrator reads after a
// failure: the options, what detection found, each step and its result
// code. The service's own log goes into the same file, between ours.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "detect/detection.h"
#include "installer/operation_result.h"

class RunLog {
 public:
  virtual ~RunLog() = default;
  // One line, without its end; the log adds the time. Without a log file
  // nothing happens.
  virtual void Write(const char16_t* line) = 0;

  // The file: created (or emptied) at path, or without a path a new one in
  // the temp folder. False when there is no file to write; the run then
  // goes on without.
  virtual bool Open(const char16_t*) { return false; }
  // Its full path; empty when none is open.
  virtual const char16_t* Path() const { return u""; }
  // At the end of the run the file is kept, or removed.
  virtual void Close() {}
  virtual void Remove() {}
};

// A log that keeps nothing, for runs without one.
class NoRunLog final : public RunLog {
 public:
  void Write(const char16_t*) override {}
};

// The parts as one line; a line longer than 1023 units is cut, and ends
// in "..." to say so.
void LogLine(RunLog& log, std::initializer_list<const char16_t*> parts);

// "<what>: result <code>", and on a failure the step that failed.
void LogResult(RunLog& log, const char16_t* what, const OperationResult& result);

// "<when>: <the installed state>".
void LogInstallState(RunLog& log, const char16_t* when, InstallState state);
