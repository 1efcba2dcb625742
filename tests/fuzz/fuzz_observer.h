// The observer of the fuzz targets: nothing is shown, and a backward bar
// position outside the bar of progress is a crash.
#pragma once

#include "fake_narrowing.h"
#include "installer/install_observer.h"
#include "installer/progress_context.h"

class FuzzObserver final : public InstallObserver {
 public:
  explicit FuzzObserver(ProgressContext& progress) : m_progress(progress) {
    progress.observer = this;
    progress.codePage = &m_codePage;
  }

  void ProgressPosition(std::int32_t position) override {
    // Backward, the bar runs from full to empty and never leaves it.
    const ProgressContext& p = m_progress;
    if (p.forwardProgress == 0 && p.progressTotal >= 0 &&
        (position < 0 || position > p.progressTotal)) {
      __builtin_trap();
    }
  }

 private:
  ProgressContext& m_progress;
  FakeCodePage m_codePage;
};
