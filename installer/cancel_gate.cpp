#include "installer/cancel_gate.h"

namespace {

// Without an event of its own a wait looks at the request this often.
constexpr std::uint32_t kPollMs = 50;

}  // namespace

const char16_t* CancelRefusalText(CancelRefusal refusal) {
  switch (refusal) {
    case CancelRefusal::PreviousVersionRemoved:
      return u"The previous version has been removed; the installation cannot be cancelled now.";
    case CancelRefusal::NotAtThisStep:
      return u"The installation cannot be cancelled at this step.";
    case CancelRefusal::None:
      break;
  }
  return u"";
}

CancelGate::CancelGate(ThreadSeam& threads) : m_threads(threads), m_requested(threads.NewEvent()) {}

CancelRefusal CancelGate::Check() const {
  const int state = m_state.load();
  if (state == kClosed) return CancelRefusal::PreviousVersionRemoved;
  if (state == kRequested) return CancelRefusal::None;
  if (!m_serviceAllows.load() || m_rollingBack.load()) return CancelRefusal::NotAtThisStep;
  return CancelRefusal::None;
}

CancelRefusal CancelGate::Request() {
  const CancelRefusal refusal = Check();
  if (refusal != CancelRefusal::None) return refusal;
  int expected = kOpen;
  // The worker may close the gate between the check and here.
  if (!m_state.compare_exchange_strong(expected, kRequested) && expected == kClosed) {
    return CancelRefusal::PreviousVersionRemoved;
  }
  if (m_requested) m_requested->Set();
  return CancelRefusal::None;
}

bool CancelGate::Close() { return m_state.exchange(kClosed) == kRequested; }

bool CancelGate::AnswerCancel() {
  if (m_state.load() != kRequested || !m_serviceAllows.load() || m_rollingBack.load()) return false;
  m_reached.store(true);
  return true;
}

void CancelGate::UserCancelled() {
  int expected = kOpen;
  m_state.compare_exchange_strong(expected, kRequested);
  m_reached.store(true);
}

bool CancelGate::WaitForRequest(std::uint32_t milliseconds) {
  if (m_requested) {
    if (!m_requested->Wait(milliseconds)) return false;
  } else {
    for (std::uint32_t waited = 0; !Requested() && waited < milliseconds; waited += kPollMs) {
      m_threads.Sleep(kPollMs);
    }
  }
  if (!Requested()) return false;
  m_reached.store(true);
  return true;
}
