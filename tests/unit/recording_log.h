// A run log that keeps its lines, for tests of what a run says.
#pragma once

#include <string>
#include <vector>

#include "installer/run_log.h"

class RecordingLog final : public RunLog {
 public:
  std::vector<std::u16string> lines;
  void Write(const char16_t* line) override { lines.emplace_back(line); }
  bool Has(const std::u16string& text) const {
    for (const std::u16string& line : lines)
      if (line.find(text) != std::u16string::npos) return true;
    return false;
  }
};
