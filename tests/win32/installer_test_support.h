// What the Win32 installer suites share: a window standing in for the
// dialog, effects that record message boxes instead of showing them, a
// service that records the message traces and bounds every call, and the
// clean-up that leaves the prefix as the suite found it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "installer/handler_effects.h"
#include "installer/installer_service_seam.h"
#include "message_trace.h"
#include "platform/win32/win32_handler_effects.h"
#include "platform/win32/win32_installer_service.h"

// A top-level window with the dialog's progress bar (1011) and action text
// (1013). Needs a display.
class TestDialog {
 public:
  TestDialog();
  ~TestDialog();
  TestDialog(const TestDialog&) = delete;
  TestDialog& operator=(const TestDialog&) = delete;

  HWND window() const { return m_window; }
  HWND progressBar() const { return m_progressBar; }
  int BarPosition() const;
  int BarMaximum() const;
  std::wstring ActionText() const;

 private:
  HWND m_window = nullptr;
  HWND m_progressBar = nullptr;
};

// The real effects, except that message boxes are recorded and answered
// IDOK without being shown (nobody clicks them here).
class BoxRecordingEffects final : public HandlerEffects {
 public:
  struct Box {
    void* owner;
    std::u16string text;
    std::u16string caption;
    unsigned int style;
    std::uint16_t language;
  };
  std::vector<Box> boxes;
  std::vector<unsigned int> beeps;

  int ShowMessageBox(void* owner, const char16_t* text, const char16_t* caption,
                     unsigned int style) override;
  int ShowMessageBoxInLanguage(void* owner, const char16_t* text, const char16_t* caption,
                               unsigned int style, std::uint16_t language) override;
  void Beep(unsigned int type) override { beeps.push_back(type); }
  void SendToWindow(void* window, unsigned int message, std::uintptr_t wParam,
                    std::intptr_t lParam) override {
    m_real.SendToWindow(window, message, wParam, lParam);
  }
  void SetControlText(void* dialog, int controlId, const char16_t* text) override {
    m_real.SetControlText(dialog, controlId, text);
  }
  void ShowWindow(void* window, int command) override { m_real.ShowWindow(window, command); }
  int ToNarrow(const char16_t* text, char* buffer, int bufferBytes) override {
    return m_real.ToNarrow(text, buffer, bufferBytes);
  }

 private:
  Win32HandlerEffects m_real;
};

// msi.dll, with every message the handler is given recorded on its way, and
// each install or removal bounded in time: a service that spins ends the
// test run with a message instead of holding it until the outer timeout.
class TracingService final : public InstallerServiceSeam {
 public:
  std::vector<TraceMessage> trace;
  unsigned int lastResult = 0;

  void SetInternalUI(unsigned int level, void* owner) override {
    m_real.SetInternalUI(level, owner);
  }
  void SetExternalUI(InstallUiHandler handler, unsigned int messageFilter, void* context) override;
  unsigned int InstallProduct(const char16_t* packagePath, const char16_t* commandLine) override;
  unsigned int ConfigureProduct(const char16_t* productCode, int installLevel, int installState,
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
