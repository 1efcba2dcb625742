// What the Win32 installer suites share: a window standing in for the
// dialog, observing the install as the dialog does but recording its boxes
// instead of showing them (unless told otherwise), a service that records
// the message traces and bounds every call, and the clean-up that leaves
// the prefix as the suite found it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "installer/installer_service_seam.h"
#include "message_trace.h"
#include "platform/win32/win32_installer_service.h"
#include "ui/install_view.h"

// A top-level window with the dialog's progress bar and action text, and
// the dialog's view of an install. Needs a display.
class TestDialog final : public InstallView {
 public:
  struct Box {
    HWND owner;
    std::u16string text;
    std::wstring caption;
    unsigned int style;
    std::uint16_t language;
  };
  std::vector<Box> boxes;
  bool showBoxes = false;  // real boxes, for someone to click

  TestDialog();
  ~TestDialog();
  TestDialog(const TestDialog&) = delete;
  TestDialog& operator=(const TestDialog&) = delete;

  HWND window() const { return m_window; }
  HWND progressBar() const { return m_progressBar; }
  int BarPosition() const;
  int BarMaximum() const;
  std::wstring ActionText() const;

 protected:
  // What the view posted to the window, shown.
  void Pump() const;
  // Recorded and answered IDOK unless showBoxes.
  int ShowBox(const ServiceQuestion& question, const wchar_t* caption) override;

 private:
  HWND m_window = nullptr;
  HWND m_progressBar = nullptr;
};

// msi.dll, with every message the handler is given recorded on its way, and
// each install or removal bounded in time: a service that spins ends the
// test run with a message instead of holding it until the outer timeout.
class TracingService final : public InstallerServiceSeam {
 public:
  // log: where the service's log of each call is copied, if anywhere.
  explicit TracingService(Win32RunLog* log = nullptr) : m_real(log) {}

  std::vector<TraceMessage> trace;
  unsigned int lastResult = 0;

  void SetDialogOwner(void* window) override { m_real.SetDialogOwner(window); }
  void SetInternalUI(unsigned int level) override { m_real.SetInternalUI(level); }
  void SetExternalUI(InstallUiHandler handler, unsigned int messageFilter, void* context) override;
  ServiceResult InstallProduct(const char16_t* packagePath, const char16_t* commandLine) override;
  ServiceResult ConfigureProduct(const char16_t* productCode, int installLevel, int installState,
                                 const char16_t* commandLine) override;

  // Writes the trace to %KELVANE_TRACE_DIR%\<name>-<prefix arch>.trace when
  // that variable is set, so that traces can be captured for the fixtures.
  void Save(const char* name, const char* what) const;

 private:
  Win32InstallerService m_real;
};

// True under a 64-bit prefix (the suite itself is 32-bit).
bool IsWow64();

// Removes the product if it is registered and deletes the keys the fixture
// packages write, so that every test starts and ends on a clean prefix.
void RemoveProductTraces();

// A string value of the 32-bit view below HKLM, or "<missing>".
std::wstring MachineValue(const wchar_t* key, const wchar_t* name);

// Names in folder (with a trailing backslash) that begin with "Kel".
std::vector<std::wstring> TempNamesIn(const std::wstring& folder);
std::wstring TempFolder();
