// The registry seam against Wine's real registry and environment.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "product/product_config.h"
#include "detect/detection.h"
#include "detect/registry_access.h"
#include "core/wide.h"
#include "platform/win32/win32_registry.h"

namespace {

const wchar_t kTestKey[] = L"SOFTWARE\\KelvaneTest\\Registry";
const wchar_t kProductKey[] = L"SOFTWARE\\Kelvane\\Vantor\\3F9A2C64-7E15-4B08-9D3C-A1E6F0287B54";
const wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    L"{5B0C71A2-93D4-4E1F-A6C8-2D7E40B95F13}";
const wchar_t kHostKey[] = L"SOFTWARE\\Autodesk\\3dsmaxdesign\\15.0\\MAX-1:409";

bool IsWow64() {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  return wow64 != FALSE;
}

// Test set-up writes where a 32-bit package writes: the 32-bit view.
void SetValue(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegCloseKey(handle);
}

void DeleteKey(const wchar_t* key) { RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY, 0); }

std::u16string Text(const OwnedText& text) { return text ? std::u16string(text.get()) : u"<null>"; }

class RealRegistry : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    for (const wchar_t* key : {kTestKey, kProductKey, kUninstallKey, kHostKey}) DeleteKey(key);
  }
  Win32Registry registry;
};

TEST_F(RealRegistry, ViewFollowsTheProcessEnvironment) {
  // Under a 64-bit prefix the 32-bit process is emulated (AMD64); under a
  // 32-bit prefix it is plain x86. (A 64-bit build of the suite sees AMD64.)
  const bool on64BitWindows = IsWow64() || sizeof(void*) == 8;
  EXPECT_EQ(RunsOn64BitWindows(registry), on64BitWindows);
  EXPECT_EQ(RegistryAccessMask(registry), on64BitWindows ? 0x201u : 0x101u);
}

TEST_F(RealRegistry, ValuesOfThe32BitViewAreFoundWithTheChosenMask) {
  SetValue(kTestKey, L"Short", L"seven!!");
  EXPECT_EQ(Text(ReadMachineString(registry, AsUtf16(kTestKey), u"Short")), u"seven!!");
  if (IsWow64()) {
    // The 64-bit view does not hold what the 32-bit view holds.
    RegistryKey key = nullptr;
    registry.OpenKey(AsUtf16(kTestKey), kAccessMask64BitView, &key);
    std::uint32_t length = 0;
    char16_t* text = nullptr;
    ReadRegistryString(registry, u"Short", key, &length, &text);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(length, 0u);
  }
}

TEST_F(RealRegistry, LongValueGrowsTheOfferUntilItFits) {
  const std::wstring value(400, L'z');
  SetValue(kTestKey, L"Long", value);
  RegistryKey key = nullptr;
  registry.OpenKey(AsUtf16(kTestKey), RegistryAccessMask(registry), &key);
  ASSERT_NE(key, nullptr);
  std::uint32_t length = 0;
  char16_t* text = nullptr;
  ReadRegistryString(registry, u"Long", key, &length, &text);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::wstring(AsWide(text)), value);
  EXPECT_EQ(length, 1040u);
  std::free(text);
}

TEST_F(RealRegistry, MissingKeyAndValueAreNotFound) {
  EXPECT_EQ(ReadMachineString(registry, u"SOFTWARE\\KelvaneTest\\Absent", u"V"), nullptr);
  SetValue(kTestKey, L"Other", L"x");
  EXPECT_EQ(ReadMachineString(registry, AsUtf16(kTestKey), u"Absent"), nullptr);
}

TEST_F(RealRegistry, DetectsTheInstalledState) {
  EXPECT_EQ(DetectInstallState(registry), InstallState::NotInstalled);
  SetValue(kProductKey, L"Version", L"4.0.3.9");
  EXPECT_EQ(DetectInstallState(registry), InstallState::OlderInstalled);
  SetValue(kProductKey, L"Version", L"4.0.4.0");
  EXPECT_EQ(DetectInstallState(registry), InstallState::UpToDate);
}

TEST_F(RealRegistry, DetectsTheRegistration) {
  EXPECT_FALSE(IsProductRegistered(registry));
  SetValue(kUninstallKey, L"Publisher", L"Kelvane");
  EXPECT_FALSE(IsProductRegistered(registry));
  SetValue(kUninstallKey, L"DisplayVersion", L"");
  EXPECT_TRUE(IsProductRegistered(registry));
}

TEST_F(RealRegistry, OffersTheHostFolderVerbatimElseProgramFiles) {
  wchar_t programFiles[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH), 0u);
  EXPECT_EQ(Text(DetectInstallFolder(registry)),
            std::u16string(AsUtf16(programFiles)) + ProductConfig::FolderSuffix);
  SetValue(kHostKey, L"Installdir", L"D:\\Apps\\Max 2013");
  EXPECT_EQ(Text(DetectInstallFolder(registry)), u"D:\\Apps\\Max 2013");
}

TEST(Win32Environment, CopiesVariablesOfTheProcess) {
  Win32Registry registry;
  std::size_t size = 99;
  ASSERT_TRUE(SetEnvironmentVariableW(L"KELVANE_TEST_VAR", L"C:\\Some Folder"));
  OwnedText copy = registry.DuplicateEnvironment(u"KELVANE_TEST_VAR", &size);
  EXPECT_EQ(Text(copy), u"C:\\Some Folder");
  EXPECT_EQ(size, 15u);

  const std::wstring longValue(5000, L'v');
  ASSERT_TRUE(SetEnvironmentVariableW(L"KELVANE_TEST_VAR", longValue.c_str()));
  copy = registry.DuplicateEnvironment(u"KELVANE_TEST_VAR", &size);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(std::wstring(AsWide(copy.get())), longValue);

  ASSERT_TRUE(SetEnvironmentVariableW(L"KELVANE_TEST_VAR", nullptr));
  copy = registry.DuplicateEnvironment(u"KELVANE_TEST_VAR", &size);
  EXPECT_EQ(copy, nullptr);
  EXPECT_EQ(size, 0u);
}

}  // namespace
