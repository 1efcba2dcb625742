// The one rule for cancelling a run. The user asks from the window's
// thread; the message handler answers the service on the service's threads;
// the operations close the gate once an upgrade's removal has removed the
// older version. A request is taken only while the service says cancelling
// is possible, never while it rolls back, and never once the older version
// is gone (the user must not be left without the product). A request that
// cannot be taken is refused at once with its reason; one that is taken
// stands until the run ends, unless the removal finishes before the service
// acts on it: the operations then say so.
#pragma once

#include <atomic>
#include <cstdint>

#include "installer/thread_seam.h"

enum class CancelRefusal : std::uint8_t {
  None,                    // taken, or would be
  PreviousVersionRemoved,  // an upgrade's removal has removed the older version
  NotAtThisStep,           // the service does not allow it now, or rolls back
};

// What the user reads when a request is refused; empty for None.
const char16_t* CancelRefusalText(CancelRefusal refusal);

class CancelGate {
 public:
  // threads: for the event a wait for another installation ends on.
  explicit CancelGate(ThreadSeam& threads);

  // Why a request would be refused now (None: it would be taken).
  CancelRefusal Check() const;
  // Takes a request when Check allows it, and ends a wait for another
  // installation at once. Taken once, later requests are taken too.
  CancelRefusal Request();
  bool Requested() const { return m_state.load() == kRequested; }

  // The older version is gone: nothing is cancelled from now on. True when
  // a request had been taken that the service never acted on; it is
  // dropped now, and the caller tells the user.
  bool Close();

  // From the handler: what the service says of cancelling, and whether its
  // bar runs backward (a rollback).
  void ServiceAllows(bool allows) { m_serviceAllows.store(allows); }
  void RollingBack(bool rollingBack) { m_rollingBack.store(rollingBack); }
  // Whether the handler answers the service's message with cancel now; the
  // first such answer is the user's cancel reaching the service.
  bool AnswerCancel();
  // The user chose Cancel in one of the service's own questions.
  void UserCancelled();
  // Whether the user's cancel reached the service (or ended a wait).
  bool ReachedService() const { return m_reached.load(); }

  // Waits up to milliseconds for a request; true (and the cancel counts as
  // reached) when one was taken.
  bool WaitForRequest(std::uint32_t milliseconds);

 private:
  static constexpr int kOpen = 0;
  static constexpr int kRequested = 1;
  static constexpr int kClosed = 2;

  ThreadSeam& m_threads;
  std::unique_ptr<ThreadEvent> m_requested;  // set with the request; may be null
  std::atomic<int> m_state{kOpen};
  std::atomic<bool> m_serviceAllows{true};
  std::atomic<bool> m_rollingBack{false};
  std::atomic<bool> m_reached{false};
};
