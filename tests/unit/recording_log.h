// A run log that keeps its lines, for tests of what a run says, and a file
// that can fail to open and is kept or removed at the end.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "installer/run_log.h"

class RecordingLog final : public RunLog {
 public:
  std::vector<std::u16string> lines;
  bool openFails = false;
  std::string fate = "never opened";  // "open", "kept", "removed"

  // The window's thread and the worker both write, as to the real log,
  // which takes a lock per line too.
  void Write(const char16_t* line) override {
    const std::lock_guard<std::mutex> lock(m_writing);
    lines.emplace_back(line);
  }
  bool Open(const char16_t*) override {
    if (openFails) return false;
    fate = "open";
    return true;
  }
  const char16_t* Path() const override { return fate == "open" ? u"C:\\Temp\\run.log" : u""; }
  void Close() override {
    if (fate == "open") fate = "kept";
  }
  void Remove() override {
    if (fate == "open") fate = "removed";
  }
  bool Has(const std::u16string& text) const {
    for (const std::u16string& line : lines)
      if (line.find(text) != std::u16string::npos) return true;
    return false;
  }

 private:
  std::mutex m_writing;
};
