#include "ui/install_mailbox.h"


namespace {

// As the progress control keeps its position: within its range.
std::int32_t Coerced(std::int64_t position, std::int32_t maximum) {
  if (position > maximum) return maximum;
  if (position < 0) return 0;
  return static_cast<std::int32_t>(position);
}

}  // namespace

InstallMailbox::Hold::Hold(std::atomic_flag& lock) : m_lock(lock) {
  // The other side holds it for a copy of at most a text: spin. (Yielding
  // would bring the threads library into the executable, for nothing.)
  while (m_lock.test_and_set(std::memory_order_acquire)) {
#if defined(__i386__) || defined(__x86_64__)
    __builtin_ia32_pause();
#endif
  }
}

InstallMailbox::Hold::~Hold() { m_lock.clear(std::memory_order_release); }

bool InstallMailbox::Changed() {
  const bool tell = !m_told;
  m_told = true;
  return tell;
}

bool InstallMailbox::Range(std::int32_t total) {
  const Hold hold(m_lock);
  m_maximum = total;
  m_position = Coerced(m_position, m_maximum);
  m_pending.bar = true;
  return Changed();
}

bool InstallMailbox::Position(std::int32_t position) {
  const Hold hold(m_lock);
  m_position = Coerced(position, m_maximum);
  m_pending.bar = true;
  return Changed();
}

bool InstallMailbox::Step(std::int32_t step) {
  const Hold hold(m_lock);
  m_step = step;
  return false;  // nothing shows until a step is taken
}

bool InstallMailbox::StepIt() {
  const Hold hold(m_lock);
  // The control wraps a step past either end around to the other.
  if (m_maximum == 0) return false;
  std::int64_t position = static_cast<std::int64_t>(m_position) + m_step;
  if (position > m_maximum) position = position % m_maximum;
  if (position < 0) position = position % m_maximum + m_maximum;
  m_position = static_cast<std::int32_t>(position);
  m_pending.bar = true;
  return Changed();
}

bool InstallMailbox::Marquee(bool on) {
  const Hold hold(m_lock);
  m_pending.marqueeChanged = true;
  m_pending.marquee = on;
  return Changed();
}

bool InstallMailbox::Text(const char16_t* text) {
  const Hold hold(m_lock);
  int at = 0;
  for (; text != nullptr && text[at] != 0 && at + 1 < kTextCapacity; ++at) {
    m_pending.text[at] = text[at];
  }
  m_pending.text[at] = 0;
  m_pending.textChanged = true;
  return Changed();
}

InstallMailbox::Snapshot InstallMailbox::Take() {
  const Hold hold(m_lock);
  Snapshot taken = m_pending;
  taken.maximum = m_maximum;
  taken.position = m_position;
  m_pending = Snapshot{};
  m_told = false;
  return taken;
}
