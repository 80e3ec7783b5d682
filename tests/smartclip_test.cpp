// The smart clipboard: one insert rule for every capture path, captures on
// request and after a copy, privately marked clipboards, oversized texts,
// and pasting an entry back by a release on the list.
#include "app/frame/budget.h"
#include "app/caretinfo.h"
#include "bar/smartclip.h"
#include <algorithm>

#include "tests/bar_harness.h"

namespace sq::testing {
namespace {

using Mark = SimDesktop::ClipboardMark;

TEST(SmartClip, InsertKeepsNewestFirstWithoutDuplicates) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  d.SetEntries({"智能粘贴板"});
  for (const char* t : {"a", "b", "a"}) smartclip::Insert(d.bar().ListBox2, t);
  EXPECT_EQ(d.Items(d.bar().ListBox2), (std::vector<std::string>{"a", "b", "智能粘贴板"}));
  smartclip::Insert(d.bar().ListBox2, "智能粘贴板");
  EXPECT_EQ(d.Items(d.bar().ListBox2), (std::vector<std::string>{"智能粘贴板", "a", "b"}));
}

// The caret window's request: the text is captured once, aligned, and put
// back on the clipboard line by line.
TEST(SmartClip, CaptureOnRequestRunsTheCopyFinisher) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.tick().SetCaptureColumn(0);
  d.sim.setClipboardText("abcdefghijkl");
  d.app.input.caretinfo->Panel1Click();
  d.sim.advance(400);
  EXPECT_EQ(d.bar().ListBox2.Item(0), "abcdefghijkl");
  EXPECT_EQ(d.bar().BitBtn2.Caption(), "12");
  EXPECT_EQ(d.sim.getClipboardText(), "abcdefghijkl\r\n");
  EXPECT_EQ(d.bar().Caption().substr(0, 10), "xx copy ok");
  // A block copied next is shifted to the column of that line.
  d.sim.setClipboardText("    one\r\n    two\r\n    three");
  d.bar().Panel19.SetCaption("test clipboard");
  d.sim.advance(400);
  EXPECT_EQ(d.bar().BitBtn2.Caption(), "8/");
  EXPECT_EQ(d.sim.getClipboardText(),
            "            one\r\n            two\r\n            three\r\n");
  EXPECT_EQ(d.bar().ListBox2.Item(0), "    one\r\n    two\r\n    three");
  // The same text again: nothing new is captured.
  const int n = d.bar().ListBox2.Count();
  d.sim.setClipboardText("    one\r\n    two\r\n    three");
  d.bar().Panel19.SetCaption("test clipboard");
  d.sim.advance(100);
  EXPECT_EQ(d.bar().ListBox2.Count(), n);
}

TEST(SmartClip, CopyCompletionCapturesOnTheThirdTick) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.sim.setClipboardText("完成 text");
  const int before = d.bar().ListBox2.Count();
  d.bar().SetCaption("alt2--copy--ok");
  d.sim.advance(40);  // two ticks
  EXPECT_EQ(d.bar().ListBox2.Count(), before);
  d.sim.advance(40);
  EXPECT_EQ(d.bar().ListBox2.Item(0), "完成 text");
  EXPECT_EQ(d.bar().Edit1.Caption(), "完成 text");
  EXPECT_EQ(d.app.browser.easyie->Edit1.Caption(), "完成 text");
  EXPECT_EQ(d.bar().BitBtn2.Caption(), "9");
  EXPECT_EQ(d.sim.getClipboardText(), "完成 text");  // the clipboard is left as it was
}

// A clipboard its owner marks private is pasted as usual but never enters
// the history, whichever path would capture it.
TEST(SmartClip, PrivateClipboardNeverCaptured) {
  struct Row { const char* name; Mark mark; bool captured; };
  const std::vector<Row> rows = {
      {"exclude from monitor processing", Mark::ExcludeFromMonitor, false},
      {"viewer ignore", Mark::ViewerIgnore, false},
      {"history 0", Mark::HistoryZero, false},
      {"history 1 is allowed", Mark::HistoryOne, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // On request, after a copy completion, and after a Ctrl+C of the input
    // core.
    for (int path = 0; path < 3; ++path) {
      SCOPED_TRACE(path);
      BarDesk d;
      ASSERT_TRUE(d.StartOverPage());
      d.SetEntries({"older"});
      d.sim.setClipboardMarked("secret", row.mark);
      if (path == 0) {
        d.bar().Panel19.SetCaption("test clipboard");
        d.sim.advance(400);
      } else if (path == 1) {
        d.bar().SetCaption("alt2--copy--ok");
        d.sim.advance(100);
      } else {
        d.app.input.qirinputor->SetCaption("key--shiftc--copy--ok");
        d.Ticks(4);
      }
      EXPECT_EQ(d.bar().ListBox2.Item(0), row.captured ? "secret" : "older");
      if (!row.captured) {
        EXPECT_NE(d.bar().Edit1.Caption(), "secret");
      }
    }
  }
}

TEST(SmartClip, PrivateClipboardStillPastes) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  const Wnd ed = d.sim.addTextEditor({100, 100, 300, 300});
  d.sim.setClipboardMarked("pw123", Mark::ViewerIgnore);
  d.sim.moveMouse(200, 200);
  d.Ticks(1);
  d.sim.tapKey(vk::Menu, 60);
  d.sim.advance(40);
  d.sim.tapKey(vk::Menu, 60);
  d.Ticks(3);
  EXPECT_EQ(d.sim.editorText(ed), "pw123");
  EXPECT_NE(d.bar().ListBox2.Item(0), "pw123");
}

// A 10 MB text is answered once and left alone; the ticks go on.
TEST(SmartClip, HugeClipboardIsLeftAloneWithoutStallingTheTick) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.SetEntries({"older"});
  d.sim.setClipboardText(std::string(10 * 1024 * 1024, 'x'));
  d.bar().Panel19.SetCaption("test clipboard");
  d.sim.advance(40);
  EXPECT_EQ(d.bar().Panel19.Caption(), "xx test clipboard");
  EXPECT_EQ(d.Items(d.bar().ListBox2), (std::vector<std::string>{"older"}));
  // The bar's tick still records key words.
  d.sim.tapKey(vk::Shift, 60);
  d.sim.advance(60);
  EXPECT_EQ(d.bar().ListBox8.Item(0), "old--16up");
}

// ---- pasting an entry back ------------------------------------------------------

TEST(SmartClipPaste, ReleaseOnAnEntryPastesItLeftOfTheBar) {
  for (unsigned ms : {30u, 150u}) {
    SCOPED_TRACE(ms);
    BarDesk d;
    ASSERT_TRUE(d.Start());
    const Wnd ed = d.sim.addTextEditor({100, 200, 300, 300});
    d.SetEntries({"newer", "older", "智能粘贴板"});
    d.ShowSmartClipboard(395, 200);
    // Row 1 of the list, 16 px a row.
    d.MoveTo("ListBox2", 20, 16 + 8);
    d.sim.advance(20);
    d.Press(MouseButton::Left, ms);
    d.Ticks(2);
    EXPECT_EQ(d.sim.editorText(ed), "older");
    EXPECT_EQ(d.sim.getClipboardText(), "older");
    EXPECT_TRUE(d.bar().Shown());  // the bar stays for the next paste
    // A right press selects nothing (as in any list box); its release
    // pastes the selected entry again.
    d.sim.setEditorText(ed, "");
    d.MoveTo("ListBox2", 20, 8);
    d.sim.advance(20);
    d.Press(MouseButton::Right, ms);
    d.Ticks(2);
    EXPECT_EQ(d.sim.editorText(ed), "older");
  }
}

TEST(SmartClipPaste, ReleaseOnALabelPastesTheSelectedEntry) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  const Wnd ed = d.sim.addTextEditor({100, 200, 300, 300});
  d.sim.setClipboardText("kept");
  d.SetEntries({"one", "two", "three"});
  d.ShowSmartClipboard(395, 200);
  // No entry selected yet: a letter pastes nothing.
  d.MoveTo("ListBox3", 8, 2 * 16 + 8);
  d.sim.advance(20);
  const auto m = d.sim.mark();
  d.Press(MouseButton::Left, 60);
  d.Ticks(2);
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));
  EXPECT_EQ(d.sim.getClipboardText(), "kept");
  EXPECT_EQ(d.sim.editorText(ed), "");
  // "two" chosen on the list (and pasted), then the letter beside "three":
  // the selected entry again.
  d.MoveTo("ListBox2", 20, 16 + 8);
  d.sim.advance(20);
  d.Press(MouseButton::Left, 60);
  d.Ticks(2);
  ASSERT_EQ(d.sim.editorText(ed), "two");
  d.sim.setEditorText(ed, "");
  for (MouseButton b : {MouseButton::Left, MouseButton::Right}) {
    d.MoveTo("ListBox3", 8, 2 * 16 + 8);
    d.sim.advance(20);
    d.Press(b, 60);
    d.Ticks(2);
    EXPECT_EQ(d.sim.editorText(ed), "two");
    EXPECT_EQ(d.sim.getClipboardText(), "two");
    EXPECT_EQ(d.bar().ListBox2.ItemIndex(), 1);
    d.sim.setEditorText(ed, "");
  }
}

TEST(SmartClipPaste, ReleaseOnAnEmptyListDoesNothing) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  const Wnd ed = d.sim.addTextEditor({100, 100, 300, 300});
  d.sim.setClipboardText("kept");
  d.SetEntries({});
  d.ShowSmartClipboard(395, 100);
  d.MoveTo("ListBox2", 20, 40);
  d.sim.advance(20);
  const auto m = d.sim.mark();
  d.Press(MouseButton::Left, 60);
  d.Ticks(2);
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));
  EXPECT_EQ(d.sim.editorText(ed), "");
  EXPECT_EQ(d.sim.getClipboardText(), "kept");
}

// The wheel over the list: the browser's tick steps the selection one row a
// notch, wrapping at both ends (the list has no wheel handler of its own, so
// a notch is never counted twice).
TEST(SmartClipPaste, WheelStepsTheSelectionOnceANotchAndWraps) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  d.SetEntries({"a", "b", "c"});
  d.ShowSmartClipboard(420, 100);
  d.MoveTo("ListBox2", 20, 8);
  d.Press(MouseButton::Left, 30);  // focus and select row 0 (pastes "a")
  d.sim.advance(40);
  struct Step { int notches; int selected; };
  for (const Step& s : std::vector<Step>{{-1, 1}, {-1, 2}, {-1, 0}, {1, 2}, {1, 1}, {1, 0}}) {
    d.sim.wheel(s.notches);
    d.sim.advance(60);
    EXPECT_EQ(d.bar().ListBox2.ItemIndex(), s.selected) << s.notches;
  }
}

TEST(SmartClipPaste, SearchButtonOpensTheCapturedTextInTheBrowser) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  d.ShowSmartClipboard(420, 100);
  d.bar().Edit1.SetCaption("搜索词");
  d.MoveTo("BitBtn2", 10, 10);
  d.Press(MouseButton::Left, 60);
  d.sim.advance(20);
  EXPECT_EQ(d.app.browser.easyie->Left(), 0);
  EXPECT_EQ(d.app.browser.easyie->Edit1.Caption(), "搜索词");
  EXPECT_FALSE(d.bar().Shown());
}

}  // namespace
}  // namespace sq::testing
