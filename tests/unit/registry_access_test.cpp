#include "detect/registry_access.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_registry.h"

namespace {

constexpr char16_t kPath[] = u"SOFTWARE\\Test";

struct ArchitectureCase {
  std::optional<std::u16string> architew6432;
  std::optional<std::u16string> architecture;
  bool expected;
};

class RunsOn64BitWindowsTest : public ::testing::TestWithParam<ArchitectureCase> {};

TEST_P(RunsOn64BitWindowsTest, FollowsTheEnvironment) {
  const ArchitectureCase& c = GetParam();
  FakeRegistry registry;
  if (c.architew6432) registry.SetEnv(u"PROCESSOR_ARCHITEW6432", *c.architew6432);
  if (c.architecture) registry.SetEnv(u"PROCESSOR_ARCHITECTURE", *c.architecture);
  EXPECT_EQ(RunsOn64BitWindows(registry), c.expected);
  EXPECT_EQ(RegistryAccessMask(registry), c.expected ? 0x201u : 0x101u);
}

INSTANTIATE_TEST_SUITE_P(
    TruthTable, RunsOn64BitWindowsTest,
    ::testing::Values(
        // 32-bit process on 64-bit Windows: x64, ARM64 and Itanium alike.
        ArchitectureCase{u"AMD64", u"x86", true}, ArchitectureCase{u"ARM64", u"x86", true},
        ArchitectureCase{u"IA64", u"x86", true}, ArchitectureCase{u"AMD64", std::nullopt, true},
        ArchitectureCase{u"AMD64", u"anything", true},
        // 32-bit Windows, and near misses of the 64-bit names.
        ArchitectureCase{std::nullopt, u"x86", false}, ArchitectureCase{u"amd64", u"x86", false},
        ArchitectureCase{u"AMD64 ", u"x86", false}, ArchitectureCase{u"arm64", u"x86", false},
        ArchitectureCase{u"", u"x86", false},
        // Neither tells: the 32-bit view, which 32-bit Windows ignores.
        ArchitectureCase{std::nullopt, std::nullopt, true},
        ArchitectureCase{std::nullopt, u"X86", true}, ArchitectureCase{u"amd64", u"AMD64", true}));

struct Read {
  bool found = false;
  std::uint32_t length = 0;
  std::u16string text;
};

// Runs the common sequence the way callers do, with sentinel presets, and
// checks the outputs stay untouched when nothing is found.
Read ReadThrough(FakeRegistry& registry, const char16_t* path, const char16_t* name) {
  RegistryKey key = nullptr;
  registry.OpenKey(path, kAccessMask32BitView, &key);
  std::uint32_t length = 0;
  char16_t* text = nullptr;
  ReadRegistryString(registry, name, key, &length, &text);
  Read read;
  if (text != nullptr) {
    read.found = true;
    read.length = length;
    read.text = text;
    std::free(text);
  } else {
    EXPECT_EQ(length, 0u) << "length untouched on failure";
  }
  return read;
}

struct SizeCase {
  std::size_t characters;
  std::vector<std::uint32_t> offers;
  std::uint32_t length;
};

class QuerySequenceTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(QuerySequenceTest, OfferGrowsBy260Bytes) {
  const SizeCase& c = GetParam();
  FakeRegistry registry;
  std::u16string value;
  for (std::size_t i = 0; i < c.characters; ++i) value += static_cast<char16_t>(u'a' + i % 26);
  registry.SetString(kPath, u"V", value);
  const Read read = ReadThrough(registry, kPath, u"V");
  ASSERT_TRUE(read.found);
  EXPECT_EQ(read.text, value);
  EXPECT_EQ(read.length, c.length);
  EXPECT_EQ(registry.offers, c.offers);
  EXPECT_EQ(registry.closes, 1);
  EXPECT_EQ(registry.OpenHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, QuerySequenceTest,
                         ::testing::Values(SizeCase{7, {260}, 260}, SizeCase{129, {260}, 260},
                                           SizeCase{130, {260, 520}, 520},
                                           SizeCase{400, {260, 520, 780, 1040}, 1040}));

TEST(ReadRegistryString, EmptyValueIsFoundEmpty) {
  FakeRegistry registry;
  registry.SetString(kPath, u"V", u"");
  const Read read = ReadThrough(registry, kPath, u"V");
  EXPECT_TRUE(read.found);
  EXPECT_EQ(read.text, u"");
  EXPECT_EQ(read.length, 260u);
}

TEST(ReadRegistryString, UnterminatedValueEndsWhereItsDataEnds) {
  for (const std::size_t characters : {5u, 130u, 131u, 390u}) {
    FakeRegistry registry;
    const std::u16string value(characters, u'x');
    registry.SetString(kPath, u"V", value, /*terminated=*/false);
    const Read read = ReadThrough(registry, kPath, u"V");
    ASSERT_TRUE(read.found) << characters;
    EXPECT_EQ(read.text, value) << characters;
  }
}

TEST(ReadRegistryString, NonStringDataIsTakenAsText) {
  FakeRegistry registry;
  registry.SetBytes(kPath, u"V", {'4', 0, '.', 0, '1', 0});
  EXPECT_EQ(ReadThrough(registry, kPath, u"V").text, u"4.1");
}

struct FailureCase {
  const char* name;
  void (*arrange)(FakeRegistry&);
  int nullCloses;
};

class ReadFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ReadFailureTest, OutputsStayUntouchedAndTheKeyIsClosed) {
  FakeRegistry registry;
  registry.SetString(kPath, u"V", u"value");
  GetParam().arrange(registry);
  RegistryKey key = nullptr;
  registry.OpenKey(kPath, kAccessMask32BitView, &key);
  std::uint32_t length = 77;
  char16_t sentinel = 0;
  char16_t* text = &sentinel;
  ReadRegistryString(registry, u"V", key, &length, &text);
  EXPECT_EQ(length, 77u);
  EXPECT_EQ(text, &sentinel);
  EXPECT_EQ(registry.closes, 1);
  EXPECT_EQ(registry.nullCloses, GetParam().nullCloses);
  EXPECT_EQ(registry.OpenHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ReadFailureTest,
    ::testing::Values(
        FailureCase{"MissingValue", [](FakeRegistry& r) { r.RemoveValue(kPath, u"V"); }, 0},
        FailureCase{"FailedOpen", [](FakeRegistry& r) { r = FakeRegistry(); }, 1},
        FailureCase{"AccessRefused", [](FakeRegistry& r) { r.refuseAccess = true; }, 0},
        FailureCase{"MoreDataForever", [](FakeRegistry& r) { r.moreDataForever = true; }, 0},
        FailureCase{"ValueOverTheLimit",
                    [](FakeRegistry& r) {
                      r.SetString(kPath, u"V", std::u16string(kRegistryOfferLimit / 2, u'x'));
                    },
                    0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadRegistryString, RetriesEndAtTheLimit) {
  FakeRegistry registry;
  registry.SetString(kPath, u"V", u"v");
  registry.moreDataForever = true;
  ReadThrough(registry, kPath, u"V");
  ASSERT_FALSE(registry.offers.empty());
  EXPECT_EQ(registry.offers.size(), kRegistryOfferLimit / kRegistryOfferStep);
  EXPECT_LE(registry.offers.back(), kRegistryOfferLimit);
}

TEST(ReadRegistryString, ValueJustBelowTheLimitIsRead) {
  FakeRegistry registry;
  // 65,520 bytes is the largest multiple of 260 within the limit.
  const std::u16string value(65520 / 2 - 1, u'y');
  registry.SetString(kPath, u"V", value);
  const Read read = ReadThrough(registry, kPath, u"V");
  ASSERT_TRUE(read.found);
  EXPECT_EQ(read.text.size(), value.size());
  EXPECT_EQ(read.length, 65520u);
}

TEST(ReadMachineString, OpensWithTheMaskOfTheEnvironment) {
  FakeRegistry registry;
  registry.SetString(kPath, u"V", u"v");
  registry.SetEnv(u"PROCESSOR_ARCHITECTURE", u"x86");
  EXPECT_NE(ReadMachineString(registry, kPath, u"V"), nullptr);
  registry.SetEnv(u"PROCESSOR_ARCHITEW6432", u"AMD64");
  EXPECT_NE(ReadMachineString(registry, kPath, u"V"), nullptr);
  ASSERT_EQ(registry.opens.size(), 2u);
  EXPECT_EQ(registry.opens[0].mask, 0x101u);
  EXPECT_EQ(registry.opens[1].mask, 0x201u);
  EXPECT_EQ(registry.OpenHandles(), 0);
}

}  // namespace
