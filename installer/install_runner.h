// A session's run on a worker thread of its own, so that a window that shows
// it stays alive while the service works; every mode runs through it. The
// worker starts early (the window starts it as it opens): it loads the
// service, writes the package out once the terms are accepted, and waits to
// install or to go. A run the user went back from before anything changed (the
// verdict Left) leaves the worker waiting for the next Start. The runner
// outlives the window: when the window goes before the install, it stops
// the write, deletes the package and joins the worker, however long that
// takes. The end of a run reaches the session's observer (Finished), on
// the worker.
#pragma once

#include <atomic>
#include <memory>

#include "core/text.h"
#include "installer/install_session.h"
#include "installer/thread_seam.h"

class InstallRunner {
 public:
  InstallRunner(InstallSession& session, ThreadSeam& threads) : m_session(session), m_threads(threads) {}
  ~InstallRunner() { Stop(); }
  InstallRunner(const InstallRunner&) = delete;
  InstallRunner& operator=(const InstallRunner&) = delete;

  // Who is told of the run (InstallSession::Observe), and what it found
  // and came to.
  void Observe(InstallObserver& observer) { m_session.Observe(observer); }
  const InstallOutcome& Outcome() const { return m_session.Outcome(); }

  // Starts the worker, which loads the service and then waits. Once;
  // nothing when no thread can be started (Start then runs here).
  void Prepare();

  // The worker (started if it was not) writes the package out now, ahead of
  // the Start that will take it.
  void WriteAhead();

  // The worker runs the session for folder (copied), after what Prepare
  // began; without a worker, the run happens here and now. Again only
  // after a run that came back to Welcome has ended.
  void Start(const char16_t* folder);

  // The user's cancel, by the session's one rule (CancelGate).
  CancelRefusal CanCancel() const { return m_session.CanCancel(); }
  CancelRefusal RequestCancel() { return m_session.RequestCancel(); }

  // No more is asked of the run: a worker that was not told to install
  // stops its write and deletes the package; one that was runs to the end.
  // Returns once the worker has.
  void Stop();

 private:
  static void Work(void* runner);

  InstallSession& m_session;
  ThreadSeam& m_threads;
  std::unique_ptr<ThreadEvent> m_go;  // set by WriteAhead, Start or Stop, reset as the worker wakes
  std::unique_ptr<WorkerThread> m_worker;
  bool m_stopped = false;
  std::atomic<bool> m_leaving{false};
  std::atomic<bool> m_stopWrite{false};  // the write ahead is not needed any more
  std::atomic<bool> m_writePending{false};
  std::atomic<bool> m_startPending{false};
  char16_t m_folder[kPathCapacity] = {};  // written before m_go is set
};
