#include "installer/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Parsed {
  CommandLineError error;
  InstallOptions options;
  std::u16string offending;
};

Parsed Parse(const std::u16string& line) {
  Parsed p{};
  const char16_t* word = nullptr;
  p.error = ParseCommandLine(line.c_str(), &p.options, &word);
  if (word != nullptr) p.offending = std::u16string(word).substr(0, 8);
  return p;
}

TEST(ParseCommandLine, ReadsTheSwitchesAsMsiexecUsersWriteThem) {
  const Parsed none = Parse(u"\"C:\\Down loads\\Setup.exe\"");
  EXPECT_EQ(none.error, CommandLineError::None);
  EXPECT_EQ(none.options.mode, UiMode::Full);
  EXPECT_FALSE(none.options.hasFolder || none.options.hasLog || none.options.help);

  const Parsed all = Parse(u"setup.exe  /QUIET -norestart /Log \"C:\\My Logs\\x.log\" MaxDir=\"C:\\My Host\\\"");
  EXPECT_EQ(all.error, CommandLineError::None);
  EXPECT_EQ(all.options.mode, UiMode::Quiet);
  EXPECT_TRUE(all.options.noRestart);
  EXPECT_EQ(std::u16string(all.options.logPath), u"C:\\My Logs\\x.log");
  EXPECT_EQ(std::u16string(all.options.folder), u"C:\\My Host\\");

  struct {
    const char16_t* line;
    UiMode mode;
  } modes[] = {{u"x /q", UiMode::Quiet},        {u"x -s", UiMode::Quiet},
               {u"x /silent", UiMode::Quiet},   {u"x /passive", UiMode::Passive},
               {u"x /quiet /passive", UiMode::Passive}, {u"x /passive /q", UiMode::Quiet}};
  for (const auto& m : modes) EXPECT_EQ(Parse(m.line).options.mode, m.mode);

  // Repeated: the last one counts; INSTALLDIR names the same folder.
  const Parsed repeated = Parse(u"x MAXDIR=C:\\A INSTALLDIR=\"C:\\B C\" /log a /log b");
  EXPECT_EQ(std::u16string(repeated.options.folder), u"C:\\B C");
  EXPECT_EQ(std::u16string(repeated.options.logPath), u"b");
  EXPECT_TRUE(Parse(u"x /?").options.help);
  EXPECT_TRUE(Parse(u"x -HELP").options.help);
}

TEST(ParseCommandLine, AnErrorChangesNothingButTheModeAndNamesTheFirstWord) {
  const std::u16string longFolder(300, u'f');
  struct {
    std::u16string line;
    CommandLineError error;
    std::u16string offending;
    UiMode mode = UiMode::Full;
  } cases[] = {
      {u"x /reboot /quiet", CommandLineError::Unknown, u"/reboot", UiMode::Quiet},
      {u"x REBOOT=Force /bad", CommandLineError::Unknown, u"REBOOT=F"},
      {u"x /quiet2", CommandLineError::Unknown, u"/quiet2"},
      {u"x MAXDIRX=C:\\A", CommandLineError::Unknown, u"MAXDIRX="},
      {u"x /passive /log", CommandLineError::MissingValue, u"/log", UiMode::Passive},
      {u"x MAXDIR=C:\\" + longFolder, CommandLineError::TooLong, u"MAXDIR=C"},
      {u"x /log " + longFolder + u" /s", CommandLineError::TooLong, u"ffffffff", UiMode::Quiet},
  };
  for (const auto& c : cases) {
    InstallOptions options;
    const char16_t* word = nullptr;
    EXPECT_EQ(ParseCommandLine(c.line.c_str(), &options, &word), c.error);
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(std::u16string(word).substr(0, c.offending.size()), c.offending);
    EXPECT_EQ(options.mode, c.mode);
    EXPECT_FALSE(options.hasLog || options.hasFolder);
  }
}

}  // namespace
