// The window's mailbox: a burst of progress becomes one message to the
// window, which then shows what the control would show after the burst.
#include "ui/install_mailbox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(InstallMailbox, ABurstTellsTheWindowOnceAndTheLatestWins) {
  InstallMailbox mailbox;
  EXPECT_TRUE(mailbox.Range(200));
  EXPECT_FALSE(mailbox.Position(50));
  EXPECT_FALSE(mailbox.Text(u"File a"));
  EXPECT_FALSE(mailbox.Position(300));  // kept within the range, as the control keeps it
  EXPECT_FALSE(mailbox.Text(u"File b"));
  const InstallMailbox::Snapshot first = mailbox.Take();
  EXPECT_TRUE(first.bar);
  EXPECT_EQ(first.maximum, 200);
  EXPECT_EQ(first.position, 200);
  EXPECT_TRUE(first.textChanged);
  EXPECT_EQ(std::u16string(first.text), u"File b");
  EXPECT_FALSE(first.marqueeChanged);

  // Taken: the next change tells the window again, and only it shows.
  EXPECT_TRUE(mailbox.Marquee(true));
  const InstallMailbox::Snapshot second = mailbox.Take();
  EXPECT_FALSE(second.bar);
  EXPECT_FALSE(second.textChanged);
  EXPECT_TRUE(second.marqueeChanged);
  EXPECT_TRUE(second.marquee);
}

TEST(InstallMailbox, StepsMoveAsTheControlMovesThem) {
  struct {
    std::int32_t maximum, start, step;
    int steps;
    std::int32_t end;
  } cases[] = {
      {100, 0, 10, 3, 30},
      {100, 95, 10, 1, 5},     // past the end it wraps round
      {100, 5, -10, 1, 95},    // and past the start too
      {0, 0, 10, 2, 0},        // an empty bar does not move
  };
  for (const auto& c : cases) {
    InstallMailbox mailbox;
    mailbox.Range(c.maximum);
    mailbox.Position(c.start);
    mailbox.Step(c.step);
    for (int i = 0; i < c.steps; ++i) mailbox.StepIt();
    EXPECT_EQ(mailbox.Take().position, c.end) << c.start << " + " << c.steps << " x " << c.step;
  }
}

TEST(InstallMailbox, ALongTextIsCutNotOverrun) {
  InstallMailbox mailbox;
  const std::u16string longText(2000, u'x');
  mailbox.Text(longText.c_str());
  EXPECT_EQ(std::u16string(mailbox.Take().text).size(),
            static_cast<std::size_t>(InstallMailbox::kTextCapacity - 1));
}

}  // namespace
