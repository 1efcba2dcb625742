// The run's log file: our own lines, time-stamped, and the service's log of
// each installer call copied in after it (the service writes each call's
// log to a file of its own, as it cannot be trusted to append to ours).
#pragma once

#include <windows.h>

#include "core/wide.h"
#include "installer/run_log.h"

// What the service's log is written in.
enum class ServiceLogEncoding { CodePage, Utf16, Utf8 };

class Win32RunLog final : public RunLog {
 public:
  // Without a path, the new file in the temp folder is named after the
  // executable, the time and the process.
  bool Open(const char16_t* path) override;
  void Write(const char16_t* line) override;
  const char16_t* Path() const override;

  // A file for the service's log of the next installer call, in the temp
  // folder; false when none could be named.
  bool NameServiceLog(wchar_t (&path)[MAX_PATH]);
  // Copies the service's log at path into ours and deletes it.
  void TakeServiceLog(const wchar_t* path);

  void Close() override;
  void Remove() override;

 private:
  // The service's log on its way into ours, on the stack of the call.
  struct ServiceLogBuffers;
  void WriteBytes(const char* bytes, DWORD size);
  void CopyServiceLog(HANDLE file);
  void WriteAsUtf8(ServiceLogBuffers& buffers, const char* bytes, DWORD size, ServiceLogEncoding encoding);

  HANDLE m_file = nullptr;  // none open (a constant, unlike INVALID_HANDLE_VALUE)
  // Lines come from the window's thread, the install's worker and the
  // service's threads: one line, or one service log, at a time.
  SRWLOCK m_writing = SRWLOCK_INIT;
  wchar_t m_path[MAX_PATH] = L"";
};
