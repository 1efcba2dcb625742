// What the run needs of threads: one worker that the service's calls run
// on, so that the window stays alive, and events that the worker waits on.
// The product wires Win32 threads; the host tests wire real threads of the
// standard library.
#pragma once

#include <cstdint>
#include <memory>

inline constexpr std::uint32_t kWaitForever = 0xFFFFFFFF;

// Once set, stays set until reset (a manual-reset event).
class ThreadEvent {
 public:
  virtual ~ThreadEvent() = default;
  virtual void Set() = 0;
  virtual void Reset() = 0;
  // True when the event is set, at once or within milliseconds
  // (kWaitForever: no limit); false when the time is up.
  virtual bool Wait(std::uint32_t milliseconds) = 0;
};

class WorkerThread {
 public:
  virtual ~WorkerThread() = default;
  // Waits, without a limit, until the thread has returned.
  virtual void Join() = 0;
};

class ThreadSeam {
 public:
  virtual ~ThreadSeam() = default;
  // A new event, not set; null when the system could not make one.
  virtual std::unique_ptr<ThreadEvent> NewEvent() = 0;
  // body(argument) on a new thread; null when none could be started.
  virtual std::unique_ptr<WorkerThread> Start(void (*body)(void*), void* argument) = 0;
  // The calling thread waits this long.
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};
