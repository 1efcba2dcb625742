#include "detect/version_compare.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

namespace {

struct VersionCase {
  std::u16string installed;
  int expected;
};

class CompareVersionsTest : public ::testing::TestWithParam<VersionCase> {};

// The package version always comes first, as detection passes it.
TEST_P(CompareVersionsTest, AgainstThePackageVersion) {
  std::u16string package = u"4.0.4.0";
  std::u16string installed = GetParam().installed;
  EXPECT_EQ(CompareVersions(package.data(), installed.data()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CompareVersionsTest,
    ::testing::Values(VersionCase{u"4.0.3.9", 1}, VersionCase{u"3.10.0.0", 1},
                      VersionCase{u"4.0.4.0", 0}, VersionCase{u"04.00.04.00", 0},
                      VersionCase{u"4..0.4.0", 0}, VersionCase{u"4.0.4.0.1", -1},
                      VersionCase{u"4.0", 1}, VersionCase{u"4.0.4", 0}, VersionCase{u"", 1}, VersionCase{u"4.0.5", -1},
                      VersionCase{u"4.0.10.0", -1}, VersionCase{u"4.1", -1},
                      VersionCase{u"4.0.x.0", 1}, VersionCase{u"R4.0.4.0", 1},
                      VersionCase{u".4.0.4.0.", 0}, VersionCase{u" 4.0.4.0", 0},
                      VersionCase{u"4 .0.4.1", -1}, VersionCase{u"+4.-1", 1},
                      VersionCase{u"99999999999.0", -1}, VersionCase{u"...", 1}));

TEST(CompareVersions, AnEmptyFirstTextCountsAsZeros) {
  for (const auto& [second, expected] : {std::pair{u"1", -1}, {u"0.0", 0}, {u"9.9.9", -1}}) {
    std::u16string first;
    std::u16string copy = second;
    EXPECT_EQ(CompareVersions(first.data(), copy.data()), expected);
  }
}

TEST(CompareVersions, WritesNulsOverTheDotsOfTheComponentsTaken) {
  std::u16string first = u"4.1.2.3";
  std::u16string second = u"4.0.9.9";
  ASSERT_EQ(CompareVersions(first.data(), second.data()), 1);
  // Two components of each were taken; the rest is as it was.
  EXPECT_EQ(first, std::u16string(u"4\0" u"1\0" u"2.3", 7));
  EXPECT_EQ(second, std::u16string(u"4\0" u"0\0" u"9.9", 7));
}

}  // namespace
