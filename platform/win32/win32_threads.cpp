#include "platform/win32/win32_threads.h"

#include <windows.h>

#include <new>

static_assert(kWaitForever == INFINITE);

namespace {

class Win32Event final : public ThreadEvent {
 public:
  explicit Win32Event(HANDLE event) : m_event(event) {}
  ~Win32Event() override { CloseHandle(m_event); }
  Win32Event(const Win32Event&) = delete;
  Win32Event& operator=(const Win32Event&) = delete;

  void Set() override { SetEvent(m_event); }
  void Reset() override { ResetEvent(m_event); }
  bool Wait(std::uint32_t milliseconds) override { return WaitForSingleObject(m_event, milliseconds) == WAIT_OBJECT_0; }

 private:
  HANDLE m_event;
};

class Win32Worker final : public WorkerThread {
 public:
  Win32Worker(void (*body)(void*), void* argument) : m_body(body), m_argument(argument) {}
  // Joined first, whoever forgot: the thread runs our code.
  ~Win32Worker() override { Join(); }
  Win32Worker(const Win32Worker&) = delete;
  Win32Worker& operator=(const Win32Worker&) = delete;

  bool Begin() {
    m_thread = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
    return m_thread != nullptr;
  }
  void Join() override {
    if (m_thread == nullptr) return;
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
  }

 private:
  static DWORD WINAPI Run(void* worker) {
    auto* self = static_cast<Win32Worker*>(worker);
    self->m_body(self->m_argument);
    return 0;
  }

  void (*m_body)(void*);
  void* m_argument;
  HANDLE m_thread = nullptr;
};

}  // namespace

std::unique_ptr<ThreadEvent> Win32Threads::NewEvent() {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (event == nullptr) return nullptr;
  std::unique_ptr<ThreadEvent> made(new (std::nothrow) Win32Event(event));
  if (!made) CloseHandle(event);
  return made;
}

std::unique_ptr<WorkerThread> Win32Threads::Start(void (*body)(void*), void* argument) {
  std::unique_ptr<Win32Worker> worker(new (std::nothrow) Win32Worker(body, argument));
  if (!worker || !worker->Begin()) return nullptr;
  return worker;
}

void Win32Threads::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }
