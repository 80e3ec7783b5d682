// Caption comparisons and the two histories of the command bar.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/frame/gbk.h"
#include "app/frame/budget.h"
#include "app/relays.h"
#include "bar/qirform3.h"
#include "input/qirinputor.h"
#include "bar/qircom.h"
#include "input/mailbox.h"
#include "platform/sim/simtest.h"

namespace sq {
namespace {

TEST(Mailbox, ComparisonsNeverMatchAShortCaption) {
  EXPECT_TRUE(mail::Starts("key--186", "key--"));
  EXPECT_FALSE(mail::Starts("key-", "key--"));
  EXPECT_FALSE(mail::Starts("", "down/"));
  EXPECT_TRUE(mail::Starts("ystop wheel=///", "ystop wheel="));
  EXPECT_FALSE(mail::Starts("ystop wheel", "ystop wheel="));
  EXPECT_FALSE(mail::Is("key--ctrlv ", "key--ctrlv"));
  EXPECT_FALSE(mail::Is("KEY--ctrlv", "key--ctrlv"));
  EXPECT_TRUE(mail::Has("ystop==/ystop stopdrag", "ystop stopdrag"));
  EXPECT_FALSE(mail::Has("--2", "--20"));
  // GBK bytes compare as bytes.
  EXPECT_TRUE(mail::Starts("左键附近: 粘贴", "左键附近"));
  EXPECT_FALSE(mail::Starts("左键", "左键附近"));
}

class History : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Start()); }
  SimDesktop sim;
  App app{sim};
};

TEST_F(History, KeyHistoryEntersNewWordsOnlyAndKeepsFourPastThreeHundred) {
  ListBox& h = app.bar.qircom->ListBox8;
  h.Clear();
  mail::RecordKeyWord(h, "18down");
  mail::RecordKeyWord(h, "18down");
  mail::RecordKeyWord(h, "xx//no message");
  mail::RecordKeyWord(h, "old--18up");
  ASSERT_EQ(h.Count(), 2);
  EXPECT_EQ(h.Item(0), "old--18up");
  EXPECT_EQ(h.Item(1), "18down");
  h.Clear();
  for (int i = 0; i < 300; ++i) mail::RecordKeyWord(h, "w" + std::to_string(i));
  EXPECT_EQ(h.Count(), 300);
  mail::RecordKeyWord(h, "w300");
  ASSERT_EQ(h.Count(), 4);
  EXPECT_EQ(h.Item(0), "w300");
  EXPECT_EQ(h.Item(3), "w297");
}

TEST_F(History, InputHistoryKeepsItemZeroAndItemOneTwiceAfterTen) {
  ListBox& h = app.bar.qircom->ListBox1;
  h.Clear();
  for (int i = 0; i < 10; ++i) mail::RecordInputWord(h, "w" + std::to_string(i));
  mail::RecordInputWord(h, "w9");
  EXPECT_EQ(h.Count(), 10);
  mail::RecordInputWord(h, "w10");
  ASSERT_EQ(h.Count(), 3);
  EXPECT_EQ(h.Item(0), "w10");
  EXPECT_EQ(h.Item(1), "w9");
  EXPECT_EQ(h.Item(2), "w9");
  EXPECT_EQ(mail::ItemOr(h, 3), "");
  EXPECT_EQ(mail::ItemOr(h, -1), "");
}

TEST_F(History, TheBarTickEntersHookWordsIntoTheKeyHistory) {
  app.bar.qircom->ListBox8.Clear();
  sim.keyDown(164);
  sim.advance(20);
  sim.keyUp(164);
  sim.advance(20);
  ListBox& h = app.bar.qircom->ListBox8;
  ASSERT_GE(h.Count(), 2);
  EXPECT_EQ(h.Item(0), "old--18up");
  EXPECT_EQ(h.Item(1), "18down");
  EXPECT_EQ(app.bar.qircom->Caption(), "old--18up");
}

// Another program writes huge captions into the mailboxes: the readers see
// at most the caption budget, the histories enter each standing word once,
// cut to the word budget, and the mirrors of the scroll-mode caption hold
// no more than a reader reads.
TEST_F(History, HugeCaptionsAreReadWithinTheBudget) {
  struct Row {
    const char* name;
    std::string caption;
  };
  std::string gbk;
  while (gbk.size() < 3 * budget::kCaptionRead) gbk += "中";
  const std::vector<Row> rows = {
      {"16 MB of ASCII", std::string(16 << 20, 'k')},
      {"GBK cut inside a character", "x" + gbk},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Wnd bar = app.bar.qircom->Handle();
    Wnd input = app.input.qirinputor->Handle();
    Wnd scroll = app.bar.qirForm3->Handle();
    sim.setWindowText(bar, row.caption);
    sim.setWindowText(input, row.caption);
    sim.setWindowText(scroll, row.caption);
    sim.advance(400);  // ten input ticks, twenty bar ticks
    const std::string read = app.input.qirinputor->Caption();
    EXPECT_LE(read.size(), budget::kCaptionRead);
    const std::string expect = gbk::Prefix(row.caption, budget::kCaptionRead);
    EXPECT_TRUE(read == expect) << read.size() << " bytes read, " << expect.size() << " expected";
    const std::string word = gbk::Prefix(row.caption, budget::kHistoryWord);
    ListBox& keys = app.bar.qircom->ListBox8;
    EXPECT_TRUE(keys.Item(0) == word) << keys.Item(0).substr(0, 40);
    EXPECT_TRUE(mail::ItemOr(keys, 1) != word);
    ListBox& inputs = app.bar.qircom->ListBox1;
    EXPECT_TRUE(inputs.Item(0) == word) << inputs.Item(0).substr(0, 40);
    EXPECT_TRUE(mail::ItemOr(inputs, 1) != word);
    EXPECT_LE(sim.getWindowText(app.relays.Form2->Handle()).size(), budget::kCaptionRead);
    EXPECT_LE(sim.getWindowText(app.relays.Form1->Edit1.Handle()).size(), budget::kCaptionRead);
    EXPECT_TRUE(sim.messageBoxes().empty());
  }
}

TEST_F(History, ListAccessOutOfRangeRaisesTheFrameworkError) {
  ListBox& h = app.bar.qircom->ListBox8;
  h.Clear();
  EXPECT_THROW(h.Item(0), ListIndexError);
  EXPECT_THROW(h.SetItem(2, "x"), ListIndexError);
  EXPECT_THROW(h.Delete(-1), ListIndexError);
  // A handler that raises it shows the framework's box and the run goes on.
  RunHandler(app, [&] { h.Item(5); });
  ASSERT_EQ(sim.messageBoxes().size(), 1u);
  EXPECT_EQ(sim.messageBoxes()[0].text, "List index out of bounds (5)");
  EXPECT_EQ(sim.messageBoxes()[0].caption, "Tovimo zuzi");
}

}  // namespace
}  // namespace sq
