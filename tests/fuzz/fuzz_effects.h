// The effects of the fuzz targets: nothing happens, and a backward bar
// position outside the bar of progress is a crash.
#pragma once

#include "installer/progress_context.h"
#include "quiet_effects.h"

class FuzzEffects final : public QuietEffects {
 public:
  const ProgressContext* progress = nullptr;

  void SendToWindow(void*, unsigned int message, std::uintptr_t wParam, std::intptr_t) override {
    // Backward, the bar runs from full to empty and never leaves it.
    const ProgressContext& p = *progress;
    const auto position = static_cast<std::int32_t>(wParam);
    if (message == kPbmSetPos && p.forwardProgress == 0 && p.progressTotal >= 0 &&
        (position < 0 || position > p.progressTotal)) {
      __builtin_trap();
    }
  }
};
