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

  // The operations, with the switches they combine with.
  struct {
    const char16_t* line;
    Operation operation;
    UiMode mode;
    const char16_t* extractFolder;
  } operations[] = {
      {u"x", Operation::Install, UiMode::Full, u""},
      {u"x /extract \"C:\\Deploy Share\\Zephra\" /log C:\\x.log", Operation::Extract, UiMode::Full,
       u"C:\\Deploy Share\\Zephra"},
      {u"x /quiet -Extract D:\\Out", Operation::Extract, UiMode::Quiet, u"D:\\Out"},
      {u"x /uninstall /quiet /norestart", Operation::Uninstall, UiMode::Quiet, u""},
      {u"x -X /passive", Operation::Uninstall, UiMode::Passive, u""},
      {u"x /repair /log a /q", Operation::Repair, UiMode::Quiet, u""},
      {u"x /repair /REPAIR", Operation::Repair, UiMode::Full, u""},
  };
  for (const auto& o : operations) {
    const Parsed parsed = Parse(o.line);
    EXPECT_EQ(parsed.error, CommandLineError::None) << std::string(o.line, o.line + 8);
    EXPECT_EQ(parsed.options.operation, o.operation);
    EXPECT_EQ(parsed.options.mode, o.mode);
    EXPECT_EQ(std::u16string(parsed.options.extractFolder), o.extractFolder);
  }
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
      {u"x /extract", CommandLineError::MissingValue, u"/extract"},
      {u"x /extract C:\\" + longFolder, CommandLineError::TooLong, u"C:\\fffff"},
      // One operation a run, and a folder to install to only with the install.
      {u"x /uninstall /repair /q", CommandLineError::Combination, u"/repair", UiMode::Quiet},
      {u"x /x /extract C:\\Out", CommandLineError::Combination, u"/extract"},
      {u"x /extract C:\\Out MAXDIR=C:\\Host", CommandLineError::Combination, u"MAXDIR=C"},
      {u"x INSTALLDIR=C:\\Host /uninstall", CommandLineError::Combination, u"INSTALLD"},
      {u"x /repair MAXDIR=C:\\Host", CommandLineError::Combination, u"MAXDIR=C"},
  };
  for (const auto& c : cases) {
    InstallOptions options;
    const char16_t* word = nullptr;
    EXPECT_EQ(ParseCommandLine(c.line.c_str(), &options, &word), c.error);
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(std::u16string(word).substr(0, c.offending.size()), c.offending);
    EXPECT_EQ(options.mode, c.mode);
    EXPECT_FALSE(options.hasLog || options.hasFolder);
    EXPECT_EQ(options.operation, Operation::Install);
  }
}

}  // namespace
