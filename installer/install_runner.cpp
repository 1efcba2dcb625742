#include "installer/install_runner.h"

void InstallRunner::Prepare() {
  if (m_worker || m_stopped) return;
  m_go = m_threads.NewEvent();
  if (m_go) m_worker = m_threads.Start(&InstallRunner::Work, this);
}

void InstallRunner::WriteAhead() {
  if (m_stopped) return;
  Prepare();
  if (!m_worker) return;
  m_writePending.store(true);
  m_go->Set();
}

void InstallRunner::Start(const char16_t* folder) {
  if (m_stopped) return;
  // A folder too long for the copy stays too long for the folder check,
  // which then refuses it: it never becomes another folder.
  std::size_t n = 0;
  for (; folder != nullptr && folder[n] != 0 && n + 1 < kPathCapacity; ++n) m_folder[n] = folder[n];
  m_folder[n] = 0;
  Prepare();
  if (m_worker) {
    m_startPending.store(true);
    m_go->Set();
    return;
  }
  // Without a thread the install runs here, as a window that does not paint.
  m_session.Run(m_folder);
}

void InstallRunner::Stop() {
  m_stopped = true;
  if (!m_worker) return;
  // A worker that waits goes; a run asked for, or under way, ends as it
  // would first, with the package it wrote ahead.
  if (!m_startPending.load()) m_stopWrite.store(true);
  m_leaving.store(true);
  m_go->Set();
  m_worker->Join();
  m_worker.reset();
}

void InstallRunner::Work(void* runner) {
  auto& self = *static_cast<InstallRunner*>(runner);
  self.m_session.LoadService();
  // Each wake looks at every request, so that one set while the worker
  // was busy is not lost; a run asked for goes before a stop.
  for (;;) {
    if (self.m_startPending.exchange(false)) {
      if (self.m_session.Run(self.m_folder).verdict != Verdict::Left) return;
      continue;
    }
    if (self.m_leaving.load()) {
      self.m_session.Discard();
      return;
    }
    if (self.m_writePending.exchange(false)) {
      self.m_session.PrepareAhead(&self.m_stopWrite);
      continue;
    }
    // Not the window's thread: it waits as long as the user reads. Reset
    // before the requests are looked at again, so that the next one wakes
    // the worker again.
    self.m_go->Wait(kWaitForever);
    self.m_go->Reset();
  }
}
