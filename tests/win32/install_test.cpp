// Removing and installing through Wine's real installer service with the
// fixture packages: the outcome by the registry, the MAXDIR command line,
// the handler's view of the service's messages, and no package file left.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "product/product_config.h"
#include "detect/detection.h"
#include "fixtures/packages/failing_action.h"
#include "installer/install_operations.h"
#include "installer/message_parser.h"
#include "installer/progress_context.h"
#include "installer_test_ids.h"
#include "installer_test_support.h"
#include "core/wide.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_package_file.h"
#include "res/resource.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_run_log.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_in_use.h"
#include "platform/win32/win32_threads.h"

namespace {

const std::wstring kProductKey = std::wstring(L"Software\\") + AsWide(ProductConfig::MakerKey) +
                                 L"\\" + AsWide(ProductConfig::ProductKey);

std::string FileBytes(const wchar_t* path) {
  std::string bytes;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char block[4096];
  DWORD read = 0;
  while (ReadFile(file, block, sizeof block, &read, nullptr) && read > 0) bytes.append(block, read);
  CloseHandle(file);
  return bytes;
}

class Win32Install : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveProductTraces();
    ASSERT_NE(dialog.window(), nullptr) << "needs a display (scripts/with-display.sh)";
    tempBefore = TempNamesIn(TempFolder());
  }
  void TearDown() override {
    EXPECT_EQ(TempNamesIn(TempFolder()), tempBefore) << "a package file was left behind";
    RemoveProductTraces();
  }

  int Install(Win32PackageFile& package, const char16_t* folder) {
    const InstallerServices services{registry, service, package, codePage, runLog, threads, inUse};
    InstallOperations operations(services, dialog);
    // The service opens the package while we hold it.
    if (!operations.PreparePackage(folder).Succeeded()) return -1;
    return operations.InstallPackage().Succeeded();
  }
  int Remove() {
    const InstallerServices services{registry, service, current, codePage, runLog, threads, inUse};
    InstallOperations operations(services, dialog);
    return operations.RemovePreviousVersion().Succeeded();
  }
  std::wstring ProductValue(const wchar_t* name) { return MachineValue(kProductKey.c_str(), name); }

  NoRunLog runLog;
  TestDialog dialog;
  Win32Registry registry;
  TracingService service;
  Win32CodePage codePage;
  Win32Threads threads;
  Win32InUse inUse;
  Win32PackageFile current{IDR_PACKAGE_MSI};
  Win32PackageFile older{IDR_OLDER_MSI};
  Win32PackageFile failing{IDR_FAILING_MSI};
  std::vector<std::wstring> tempBefore;
};

TEST_F(Win32Install, AnOlderVersionIsInstalledAndThenRemoved) {
  EXPECT_EQ(Install(older, u"C:\\Tools\\Host"), 1);
  EXPECT_EQ(DetectInstallState(registry), InstallState::OlderInstalled);
  EXPECT_EQ(ProductValue(L"Version"), L"4.0.3.9");
  service.Save("install-older", "Install of the older fixture package.");

  service.trace.clear();
  EXPECT_EQ(Remove(), 1);
  EXPECT_FALSE(IsProductRegistered(registry));
  EXPECT_EQ(DetectInstallState(registry), InstallState::NotInstalled);
  EXPECT_EQ(ProductValue(L"Version"), L"<missing>");
  EXPECT_FALSE(service.trace.empty());
  service.Save("remove-older", "Removal of the older fixture package by product code.");
}

class Win32InstallFolder : public Win32Install,
                           public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(Win32InstallFolder, TheCurrentVersionIsRegisteredAndGetsMaxDirExactly) {
  EXPECT_EQ(Install(current, GetParam()), 1);
  EXPECT_EQ(service.lastResult, static_cast<unsigned int>(ERROR_SUCCESS));
  EXPECT_EQ(DetectInstallState(registry), InstallState::UpToDate);
  EXPECT_EQ(ProductValue(L"MaxDir"), AsWide(GetParam()));
  EXPECT_EQ(ProductValue(L"Description"), AsWide(ProductConfig::DisplayName));

  // The bar ends full and the action text is what the service last said
  // it did: an action's description, or data of a template, never a row
  // of numbered fields.
  EXPECT_GT(dialog.BarMaximum(), 0);
  EXPECT_EQ(dialog.BarPosition(), dialog.BarMaximum());
  std::u16string lastShown;
  for (const TraceMessage& m : service.trace) {
    if (!m.hasText) continue;
    const unsigned int kind = m.type & 0xFF000000;
    const char16_t* description = ActionDescription(m.text.c_str());
    if (kind == 0x08000000 && description != nullptr) lastShown = description;
    if (kind == 0x09000000 && !IsNumberedFields(m.text.c_str())) lastShown = m.text;
  }
  EXPECT_FALSE(lastShown.empty());
  EXPECT_EQ(dialog.ActionText(), AsWide(lastShown.c_str()));
  EXPECT_TRUE(dialog.boxes.empty());
  if (GetParam()[0] == u'C' && std::u16string(GetParam()).back() != u'\\') {
    service.Save("install-current", "Install of the current fixture package.");
  }
}

INSTANTIATE_TEST_SUITE_P(Folders, Win32InstallFolder,
                         ::testing::Values(u"C:\\Tools\\Host", u"C:\\Tools\\Host\\",
                                           u"D:\\Program Files (x86)\\Host 2013\\"));

TEST_F(Win32Install, TheLogReadsANonAsciiFolderAsTyped) {
  // Letters that no single code page holds, and one beyond the 16-bit plane.
  const char16_t folder[] = u"C:\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\\u30DB\u30B9\u30C8 \U0001F600\\";
  const std::wstring path = TempFolder() + L"\\log-test.log";
  Win32RunLog log;
  ASSERT_TRUE(log.Open(AsUtf16(path.c_str())));
  TracingService logged(&log);
  const InstallerServices services{registry, logged, current, codePage, log, threads, inUse};
  InstallOperations operations(services, dialog);
  ASSERT_TRUE(operations.PreparePackage(folder).Succeeded());
  EXPECT_TRUE(operations.InstallPackage().Succeeded());
  log.Close();
  EXPECT_EQ(ProductValue(L"MaxDir"), AsWide(folder));

  std::string bytes = FileBytes(path.c_str());
  DeleteFileW(path.c_str());
  std::string utf8(64, '\0');
  utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, AsWide(folder), -1, utf8.data(), 64, nullptr, nullptr) - 1));
  EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), 0u) << "no UTF-8 mark";
  EXPECT_NE(bytes.find("MAXDIR=\"" + utf8 + "\""), std::string::npos) << bytes.substr(0, 2000);
  // The service's own log is copied in between our lines.
  EXPECT_NE(bytes.find("1: " PRODUCT_DISPLAY_NAME_TEXT), std::string::npos);
}

TEST_F(Win32Install, AFailingPackageLeavesTheProductUnregisteredAndShowsTheError) {
  EXPECT_EQ(Install(failing, u"C:\\Tools\\Host"), 0);
  EXPECT_FALSE(IsProductRegistered(registry));
  EXPECT_EQ(ProductValue(L"Version"), L"<missing>");

  ASSERT_EQ(dialog.boxes.size(), 1u);
  const TestDialog::Box& box = dialog.boxes[0];
  EXPECT_EQ(box.owner, dialog.window());
  EXPECT_EQ(box.caption, L"Error");
  EXPECT_EQ(std::wstring(AsWide(box.text.c_str())), FAILING_ACTION_MESSAGE);
  EXPECT_EQ(box.style, FAILING_ACTION_MESSAGE_TYPE & 0x00FFFFFF);
  EXPECT_EQ(box.language, 1033);  // announced by the service's common data
  service.Save("install-failing", "Install of the failing fixture package: error, rollback.");
}

TEST_F(Win32Install, ARejectedInstallStillCountsTheRegisteredOlderVersion) {
  ASSERT_EQ(Install(older, u"C:\\Tools\\Host"), 1);
  // Same product code, another package: the service refuses it.
  EXPECT_EQ(Install(current, u"C:\\Tools\\Host"), 1);
  EXPECT_NE(service.lastResult, static_cast<unsigned int>(ERROR_SUCCESS));
  EXPECT_EQ(DetectInstallState(registry), InstallState::OlderInstalled);
}

TEST_F(Win32Install, TheProductsOwnServicesInstallThePackageItCarries) {
  // This executable carries the current fixture as the product's package.
  InstallOperations operations(Win32InstallerServices(), dialog);
  ASSERT_TRUE(operations.PreparePackage(u"C:\\Tools\\Host").Succeeded());
  EXPECT_TRUE(operations.InstallPackage().Succeeded());
  EXPECT_EQ(DetectInstallState(registry), InstallState::UpToDate);
  EXPECT_TRUE(operations.RemovePreviousVersion().Succeeded());
  EXPECT_FALSE(IsProductRegistered(registry));
}

// Closes the first box with the given caption that appears, noting its
// owner, as a user would click it.
class BoxCloser {
 public:
  explicit BoxCloser(const wchar_t* caption) : m_caption(caption) {
    m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~BoxCloser() { Join(); }
  BoxCloser(const BoxCloser&) = delete;
  BoxCloser& operator=(const BoxCloser&) = delete;

  // Stops looking; afterwards closed() and owner() tell what it found.
  void Join() {
    if (m_thread == nullptr) return;
    m_stop = true;
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
  }
  HWND owner() const { return m_owner; }
  bool closed() const { return m_closed; }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* closer = static_cast<BoxCloser*>(self);
    while (!closer->m_stop) {
      HWND box = FindWindowW(L"#32770", closer->m_caption);
      if (box != nullptr) {
        closer->m_owner = GetWindow(box, GW_OWNER);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        closer->m_closed = true;
        return 0;
      }
      Sleep(20);
    }
    return 0;
  }
  const wchar_t* m_caption;
  HANDLE m_thread = nullptr;
  volatile bool m_stop = false;
  volatile bool m_closed = false;
  HWND m_owner = nullptr;
};

TEST_F(Win32Install, TheRealErrorBoxIsOwnedByTheDialog) {
  // The action's message reaches the handler on another thread than the
  // install call's; the box is still owned by the dialog.
  dialog.showBoxes = true;
  BoxCloser closer(L"Error");
  EXPECT_EQ(Install(failing, u"C:\\Tools\\Host"), 0);
  closer.Join();
  EXPECT_TRUE(closer.closed());
  EXPECT_EQ(closer.owner(), dialog.window());
}

}  // namespace
