// The thread seam over kernel32: threads and manual-reset events.
#pragma once

#include "installer/thread_seam.h"

class Win32Threads final : public ThreadSeam {
 public:
  std::unique_ptr<ThreadEvent> NewEvent() override;
  std::unique_ptr<WorkerThread> Start(void (*body)(void*), void* argument) override;
  void Sleep(std::uint32_t milliseconds) override;
};
