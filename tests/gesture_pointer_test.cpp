// The pointer widget (right then left at one point), Alt then the Windows
// key, and the copy-lines gesture with its wait for the clipboard.
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

const std::vector<std::string> kEscape42 = {"key 27/42 down", "key 27/42 up"};

TEST(GesturePointerWidget, RightThenLeftAtOnePointShowsThePointerWidget) {
  Desk d;
  ASSERT_TRUE(d.StartOverPage());
  d.StopLifePanel();
  d.sim.rightDown();
  d.Ticks(1);
  EXPECT_EQ(d.app.leftform->Left(), 300);
  EXPECT_EQ(d.app.leftform->Top(), 300);
  EXPECT_EQ(d.app.rightform->Caption(), "rr300,300");
  d.sim.rightUp();
  d.Ticks(1);
  const auto m = d.sim.mark();
  d.sim.leftDown();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(Concat({kEscape42, kEscape42, kEscape42}), d.Input(m)));
  Tqircom& bar = *d.app.qircom;
  EXPECT_EQ(bar.Bounds(), (Rect{288, 288, 25, 25}));
  EXPECT_TRUE(bar.Panel27.Visible());
  EXPECT_EQ(bar.Panel14.Caption(), "X");
  EXPECT_EQ(bar.Panel35.Caption(), "<<");
  EXPECT_EQ(d.app.rightform->Caption(), "");
  EXPECT_EQ(d.app.lifeform->Panel7.Caption(), "左键点击--上下网络；右键点击--关闭窗口");
  EXPECT_EQ(d.app.mousepp->Panel1.Left(), 0);
  EXPECT_EQ(d.app.mousepp->Panel2.Left(), -2000);
  EXPECT_EQ(d.app.mousepp->Panel3.Left(), -2000);
  d.sim.leftUp();
  d.Ticks(1);
}

TEST(GesturePointerWidget, CtrlHeldLocksTheZoneWord) {
  Desk d;
  ASSERT_TRUE(d.StartOverPage());
  d.sim.rightDown();
  d.Ticks(1);
  d.sim.rightUp();
  d.Ticks(1);
  d.app.lifeform->Panel4.SetCaption("<Ctrl>按下");
  d.sim.leftDown();
  d.Ticks(1);
  EXPECT_EQ(d.app.qircom->Panel14.Caption(), "!Y");
  d.sim.leftUp();
}

TEST(GestureAltWin, AltThenWindowsKeySelectsCopiesAndShowsTheClipWidget) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.addTextEditor({100, 100, 500, 400});
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  const auto m = d.sim.mark();
  d.sim.keyDown(vk::Menu);
  d.sim.advance(25);
  d.sim.keyUp(vk::Menu);
  d.sim.advance(25);
  d.sim.keyDown(vk::LWin);
  d.Ticks(2);
  EXPECT_TRUE(SameEvents(Concat({{"key 16 down", "mouse leftdown", "mouse leftup", "key 16 up"},
                                 CtrlKey('C'),
                                 {"cursor 370,328"}}),
                         d.Input(m)));
  Tqircom& bar = *d.app.qircom;
  EXPECT_EQ(bar.Bounds(), (Rect{340, 320, 70, 24}));
  EXPECT_EQ(bar.Panel14.Caption(), "F3");
  EXPECT_EQ(bar.Panel35.Caption(), "<-");
  EXPECT_TRUE(bar.Panel12.Visible());
  EXPECT_EQ(d.app.caretinfo->Caption(), "select");
  EXPECT_EQ(d.app.qirinputor->Panel4.Left(), 0);
  d.sim.keyUp(vk::LWin);
  // The selection is armed: the next left press is the mouse-down of the
  // selection.
  d.Ticks(2);
  d.app.caretinfo->SetCaption("idle");
  d.app.qirForm3->SetCaption("down/300,300/");
  d.Ticks(1);
  EXPECT_EQ(d.app.caretinfo->Caption(), "mousedown");
}

TEST(GestureCopyLines, CopiesFromTheLineStartThenExtendsOverTheCountedLines) {
  Desk d;
  ASSERT_TRUE(d.Start());
  // (Below the life panel across the top.)
  Wnd ed = d.sim.addTextEditor({100, 200, 500, 400});
  d.sim.setEditorText(ed, "abc def\nl2\nl3\nl4");
  d.sim.setSelection(ed, 4, 4);
  d.sim.setClipboardText("before");
  // On the first line: the clicks put the caret where the pointer is.
  d.sim.moveMouse(300, 205);
  d.Ticks(1);
  Tqircom& bar = *d.app.qircom;
  bar.ListBox11.SetText("x\ny\nz");
  const auto m = d.sim.mark();
  bar.Panel19.SetCaption("xx copy");
  d.app.caretinfo->SetCaption("alt2menu--51");
  d.Ticks(1);
  // No drag anchor yet: both slow clicks land at the pointer.
  const std::vector<std::string> gesture = Concat(
      {{"mouse leftdown", "mouse leftup", "mouse leftdown", "mouse leftup"},
       {"key 16 down", "key 36 down", "key 36 up", "key 16 up"},
       CtrlKey('C')});
  EXPECT_TRUE(SameEvents(gesture, d.Input(m)));
  EXPECT_EQ(d.app.caretinfo->Caption(), "select xxcopy");
  EXPECT_EQ(bar.Panel19.Caption(), "qq--xx copy");
  EXPECT_EQ(d.InputCaption(), "old--xx--27");

  // The line copy landed: the selection grows over the three counted lines.
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(
      Concat({gesture,
              {"key 36 down", "key 36 up", "key 16 down", "key 40 down", "key 40 up",
               "key 40 down", "key 40 up", "key 40 down", "key 40 up", "key 16 up"},
              CtrlKey('C')}),
      d.Input(m)));
  EXPECT_EQ(d.sim.getClipboardText().substr(0, 13), "abc def\nl2\nl3");
  // The stage is over: a later clipboard change extends nothing.
  const auto later = d.sim.mark();
  d.sim.setClipboardText("later");
  d.Ticks(2);
  EXPECT_TRUE(SameEvents({}, d.Input(later)));
}

TEST(GestureCopyLines, StageGivesUpAfter20TicksWithoutAClipboardChange) {
  // A clipboard change on the 20th tick of the stage still extends the
  // selection; on the 21st it no longer does.
  for (int wait : {19, 20}) {
    SCOPED_TRACE("change after " + std::to_string(wait) + " ticks");
    Desk d;
    ASSERT_TRUE(d.Start());
    d.app.wrpyreadpanel->Edit2.SetCaption("100");
    // No editor: the copy changes nothing.
    d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    // Empty, as the text of the last line copy (none yet) is.
    d.sim.setClipboardText("");
    // A drag-scroll begun at 200,150 leaves its anchor there.
    d.sim.moveMouse(200, 150);
    d.Ticks(1);
    d.sim.leftDown();
    d.Ticks(8);
    ASSERT_EQ(d.app.qirForm4->Height(), 27);
    d.sim.leftUp();
    d.Ticks(2);
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    // With a drag anchor the caret is put there by two slow clicks.
    const auto m0 = d.sim.mark();
    d.app.qircom->Panel19.SetCaption("xx copy");
    d.app.caretinfo->SetCaption("alt2menu--51");
    d.Ticks(1);
    ASSERT_EQ(d.app.caretinfo->Caption(), "select xxcopy");
    auto clicks = d.Input(m0);
    clicks.resize(6);
    EXPECT_TRUE(SameEvents({"cursor 220,150", "mouse leftdown", "mouse leftup", "cursor 200,150",
                            "mouse leftdown", "mouse leftup"},
                           clicks));
    const auto m = d.sim.mark();
    d.Ticks(wait);
    EXPECT_TRUE(SameEvents({}, d.Input(m)));
    // A late change extends only while the stage still waits.
    d.sim.setClipboardText("late");
    d.Ticks(2);
    if (wait < 20) {
      EXPECT_TRUE(SameEvents({"key 36 down", "key 36 up", "key 16 down", "key 16 up", "key 17 down",
                              "key 67 down", "key 67 up", "key 17 up"},
                             d.Input(m)));
    } else {
      EXPECT_TRUE(SameEvents({}, d.Input(m)));
    }
  }
}

}  // namespace
}  // namespace sq::testing
