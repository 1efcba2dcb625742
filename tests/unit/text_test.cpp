#include "core/text.h"

#include <gtest/gtest.h>

#include "recording_log.h"

#include <string>

namespace {

TEST(ReadSaturatedInt, ReadsLikeAtoiInBothWidths) {
  struct {
    const char* text;
    int value;
  } cases[] = {{"07", 7},  {"4b", 4},  {"x", 0},  {" \t12", 12}, {"-3", -3}, {"+5", 5},
               {"- 5", 0}, {"12 ", 12}, {"", 0},   {"2147483647", INT_MAX},
               {"2147483648", INT_MAX},  {"-2147483648", INT_MIN},
               {"-99999999999999999999", INT_MIN}};
  for (const auto& c : cases) {
    EXPECT_EQ(ReadSaturatedInt(c.text), c.value) << c.text;
    const std::u16string wide(c.text, c.text + std::char_traits<char>::length(c.text));
    EXPECT_EQ(ReadSaturatedInt(wide.c_str()), c.value) << c.text;
  }
  // Only ASCII digits count.
  EXPECT_EQ(ReadSaturatedInt(u"\u0664"), 0);
}

TEST(JoinText, WritesAllOrNothing) {
  char16_t buffer[8] = u"keep";
  EXPECT_FALSE(JoinText(buffer, 8, {u"abcd", u"efgh"}));
  EXPECT_EQ(std::u16string(buffer), u"keep");
  EXPECT_FALSE(AppendText(buffer, 8, u"1234"));
  EXPECT_EQ(std::u16string(buffer), u"keep");
  EXPECT_TRUE(AppendText(buffer, 8, u"123"));
  EXPECT_EQ(std::u16string(buffer), u"keep123");
  EXPECT_TRUE(JoinText(buffer, 8, {u"ab", u"", u"cd"}));
  EXPECT_EQ(std::u16string(buffer), u"abcd");
  EXPECT_FALSE(CopyText(buffer, 8, nullptr));
}

}  // namespace

// A log line never outgrows its buffer: a long one is cut and says so.
TEST(LogLine, CutsALongLineAndMarksIt) {
  RecordingLog log;
  const std::u16string longPart(2000, u'x');
  LogLine(log, {u"a", longPart.c_str(), nullptr, u"b"});
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_EQ(log.lines[0].size(), 1023u);
  EXPECT_EQ(log.lines[0].substr(1020), u"...");
  char16_t digits[11];
  EXPECT_EQ(std::u16string(DecimalText(0, digits)), u"0");
  EXPECT_EQ(std::u16string(DecimalText(4294967295u, digits)), u"4294967295");
}
