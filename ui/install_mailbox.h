// What the install has told the window since the window last looked: the
// progress bar as the control would hold it and the latest action text.
// The service's threads write it; the window's thread takes it when told,
// so that a burst of messages becomes one repaint and never floods the
// window's queue. Portable: plain state behind a lock held for a copy at
// most (a spin lock: std::mutex would bring the runtime's exception and
// locale machinery into the executable, a third of its code).
#pragma once

#include <atomic>
#include <cstdint>

class InstallMailbox {
 public:
  static constexpr int kTextCapacity = 512;  // longer action texts are cut

  // Each gives true when the window must be told: nothing was waiting for
  // it before.
  bool Range(std::int32_t total);
  bool Position(std::int32_t position);
  bool Step(std::int32_t step);
  bool StepIt();
  bool Marquee(bool on);
  bool Text(const char16_t* text);

  struct Snapshot {
    bool bar = false;  // the range and position below changed
    std::int32_t maximum = 100;
    std::int32_t position = 0;
    bool marqueeChanged = false;
    bool marquee = false;
    bool textChanged = false;
    char16_t text[kTextCapacity] = {};
  };
  // What changed since the last take; the next change tells the window
  // again.
  Snapshot Take();

 private:
  bool Changed();

  class Hold {
   public:
    explicit Hold(std::atomic_flag& lock);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    std::atomic_flag& m_lock;
  };

  std::atomic_flag m_lock = ATOMIC_FLAG_INIT;
  bool m_told = false;
  // The control's own state (range from 0, position kept in it, step).
  std::int32_t m_maximum = 100;
  std::int32_t m_position = 0;
  std::int32_t m_step = 10;
  Snapshot m_pending;
};
