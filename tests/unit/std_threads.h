// The thread seam over the standard library, for the host tests: real
// threads and events, so that the runner's life is tried as it runs.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "installer/thread_seam.h"

class StdThreads final : public ThreadSeam {
 public:
  // Whether new events and threads can be made.
  bool noEvents = false;
  bool noThreads = false;
  int sleeps = 0;
  // Called as a wait begins, with its limit, on the waiting thread.
  std::function<void(std::uint32_t)> onWait;

  // Returns once events of this seam have been set count times in all.
  void WaitForSets(int count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_sets >= count; });
  }

  class Event final : public ThreadEvent {
   public:
    explicit Event(StdThreads& threads) : m_threads(threads) {}
    void Set() override {
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_set = true;
        m_changed.notify_all();
      }
      std::lock_guard<std::mutex> lock(m_threads.m_mutex);
      ++m_threads.m_sets;
      m_threads.m_changed.notify_all();
    }
    void Reset() override {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_set = false;
    }
    bool Wait(std::uint32_t milliseconds) override {
      if (m_threads.onWait) m_threads.onWait(milliseconds);
      std::unique_lock<std::mutex> lock(m_mutex);
      if (milliseconds == kWaitForever) {
        m_changed.wait(lock, [this] { return m_set; });
        return true;
      }
      return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_set; });
    }

   private:
    StdThreads& m_threads;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
  };

  class Thread final : public WorkerThread {
   public:
    Thread(void (*body)(void*), void* argument) : m_thread(body, argument) {}
    ~Thread() override { Join(); }
    void Join() override {
      if (m_thread.joinable()) m_thread.join();
    }

   private:
    std::thread m_thread;
  };

  std::unique_ptr<ThreadEvent> NewEvent() override {
    if (noEvents) return nullptr;
    return std::make_unique<Event>(*this);
  }
  std::unique_ptr<WorkerThread> Start(void (*body)(void*), void* argument) override {
    if (noThreads) return nullptr;
    return std::make_unique<Thread>(body, argument);
  }
  void Sleep(std::uint32_t milliseconds) override {
    ++sleeps;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  int m_sets = 0;
};
