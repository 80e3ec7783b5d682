// Pointer chords: the pointer widget (right then left at one point), the
// right press where a selection ended, the right releases counted in
// place and the long right press.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

#include "app/frame/budget.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

const std::vector<std::string> kEscape42 = {"key 27/42 down", "key 27/42 up"};

// Selects by dragging with the left button from 150,150 to 200,150.
void DragSelect(Desk& d) {
  d.sim.moveMouse(150, 150);
  d.Ticks(1);
  d.sim.leftDown();
  d.Ticks(2);
  d.sim.moveMouse(200, 150);
  d.Ticks(2);
  d.sim.leftUp();
  d.Ticks(1);
}

TEST(GestureRightRight, RightPressWhereTheSelectionEndedCopiesAndShowsTheClipWidget) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.StopLifePanel();
  Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.setEditorText(ed, "hello world");
  DragSelect(d);
  // What the drag selected in the editor: the copy takes whatever it is.
  d.sim.setSelection(ed, 0, 5);
  // The release point is where the selection ended: the right press there
  // copies.
  const auto m = d.sim.mark();
  d.sim.rightDown();
  d.Ticks(2);
  EXPECT_TRUE(SameEvents(Concat({CtrlKey('C'), kEscape42}), d.Input(m)));
  EXPECT_EQ(d.sim.getClipboardText(), "hello");
  Tqircom& bar = *d.app.bar.qircom;
  EXPECT_EQ(bar.Bounds(), (Rect{170, 144, 70, 24}));
  EXPECT_TRUE(bar.Panel9.Visible());
  EXPECT_TRUE(bar.Panel12.Visible());
  EXPECT_TRUE(bar.Panel35.Visible());
  EXPECT_EQ(bar.Panel14.Caption(), "F3");
  EXPECT_EQ(d.ScrollCaption(), "myright");
  EXPECT_EQ(d.InputCaption(), "key--shiftc--copy--ok");
  EXPECT_EQ(d.app.browser.lifeform->Panel7.Caption(), "左键点击--粘贴自我；右键点击--粘贴行首");
  // The copy is captured on the third sighting; the widget stays while the
  // pointer is on it.
  d.Ticks(3);
  EXPECT_EQ(bar.ListBox2.Item(0), "hello");
  EXPECT_EQ(bar.Left(), 170);
  d.sim.rightUp();
  d.Ticks(1);
}

TEST(GestureRightRight, RightPressAwayFromTheReleasePointDoesNotCopy) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.addTextEditor({100, 100, 400, 300});
  DragSelect(d);
  d.sim.moveMouse(260, 150);
  const auto m = d.sim.mark();
  d.sim.rightDown();
  d.Ticks(3);
  EXPECT_TRUE(SameEvents({}, d.Input(m)));
  EXPECT_LT(d.app.bar.qircom->Left(), 0);
  d.sim.rightUp();
  d.Ticks(1);
}

TEST(GesturePointerWidget, RightThenLeftAtOnePointShowsThePointerWidget) {
  Desk d;
  ASSERT_TRUE(d.StartOverPage());
  d.StopLifePanel();
  d.sim.rightDown();
  d.Ticks(1);
  EXPECT_EQ(d.app.relays.leftform->Left(), 300);
  EXPECT_EQ(d.app.relays.leftform->Top(), 300);
  EXPECT_EQ(d.app.relays.rightform->Caption(), "rr300,300");
  d.sim.rightUp();
  d.Ticks(1);
  const auto m = d.sim.mark();
  d.sim.leftDown();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(Concat({kEscape42, kEscape42, kEscape42}), d.Input(m)));
  Tqircom& bar = *d.app.bar.qircom;
  EXPECT_EQ(bar.Bounds(), (Rect{288, 288, 25, 25}));
  EXPECT_TRUE(bar.Panel27.Visible());
  EXPECT_EQ(bar.Panel14.Caption(), "X");
  EXPECT_EQ(bar.Panel35.Caption(), "<<");
  EXPECT_EQ(d.app.relays.rightform->Caption(), "");
  EXPECT_EQ(d.app.browser.lifeform->Panel7.Caption(), "左键点击--上下网络；右键点击--关闭窗口");
  EXPECT_EQ(d.app.bar.mousepp->Panel1.Left(), 0);
  EXPECT_EQ(d.app.bar.mousepp->Panel2.Left(), -2000);
  EXPECT_EQ(d.app.bar.mousepp->Panel3.Left(), -2000);
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
  d.app.browser.lifeform->Panel4.SetCaption("<Ctrl>按下");
  d.sim.leftDown();
  d.Ticks(1);
  EXPECT_EQ(d.app.bar.qircom->Panel14.Caption(), "!Y");
  d.sim.leftUp();
}

TEST(TickRightButton, ReleasesAtThePressPointAreCountedAgainstTheBarsEdit2) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.StopLifePanel();
  d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
  d.app.bar.qircom->Edit2.SetCaption("40");  // 40 / 20 = 2: the third release
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  std::vector<std::string> answers;
  for (int i = 0; i < 3; ++i) {
    // Each answer ("ok rightup") is read by a tick before the next press's
    // word is written.
    d.sim.rightDown();
    d.Ticks(2);
    d.sim.rightUp();
    d.Ticks(1);
    answers.push_back(d.ScrollCaption());
    if (i < 2) {
      EXPECT_EQ(d.ScrollCaption(), "ok rightup");
    }
  }
  // The third release in place is the one past the count.
  EXPECT_EQ(answers, (std::vector<std::string>{"ok rightup", "ok rightup", "xx right"}));
  EXPECT_EQ(d.ScrollCaption(), "xx right");
  EXPECT_TRUE(d.app.bar.qircom->Panel35.Visible());

  // Released away from the press point: not counted.
  d.sim.rightDown();
  d.Ticks(1);
  d.sim.moveMouse(360, 300);
  d.sim.rightUp();
  d.Ticks(1);
  EXPECT_EQ(d.ScrollCaption(), "xx right");
  // Not counted, and the count started over: the next two releases in place
  // are answered, the third shows the panels again.
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  answers.clear();
  for (int i = 0; i < 3; ++i) {
    d.sim.rightDown();
    d.Ticks(2);
    d.sim.rightUp();
    d.Ticks(1);
    answers.push_back(d.ScrollCaption());
  }
  EXPECT_EQ(answers, (std::vector<std::string>{"ok rightup", "ok rightup", "xx right"}));
}

TEST(TickRightButton, LongPressBecomesRightModeUnlessAKeyWordIsPending) {
  Desk d;
  ASSERT_TRUE(d.StartOverPage());
  d.sim.rightDown();
  d.Ticks(2);
  EXPECT_EQ(d.app.relays.rightform->Caption(), "rr300,300");
  EXPECT_EQ(d.app.relays.leftform->Left(), 300);
  // The 21st tick of the press held is the first past the long press.
  d.Ticks(18);
  EXPECT_NE(d.ScrollCaption(), "myright");
  d.Ticks(1);
  EXPECT_EQ(d.ScrollCaption(), "myright");
  d.sim.rightUp();
  d.Ticks(1);
}

TEST(TickRightButton, RightrbShowsTheClipWidgetOnEveryTickOfAHeldPress) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.StopLifePanel();
  d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
  d.app.bar.qircom->rightrb.SetChecked(true);
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.sim.rightDown();
  const auto m = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(Concat({kEscape42, kEscape42, kEscape42}), d.Input(m)));
  EXPECT_EQ(d.app.bar.qircom->Bounds(), (Rect{258, 284, 70, 24}));
  // The pointer leaves the widget with the button held: the widget lets go
  // (plain Escapes, a right-up) and, the button still read as down in this
  // tick, is shown again at the pointer.
  d.sim.moveMouse(400, 400);
  const auto m2 = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(Concat({{"key 27 down", "key 27 up", "key 27 down", "key 27 up",
                                  "mouse rightup"},
                                 kEscape42, kEscape42, kEscape42}),
                         d.Input(m2)));
  EXPECT_EQ(d.app.bar.qircom->Bounds(), (Rect{358, 384, 70, 24}));
  d.sim.rightUp();
}

}  // namespace
}  // namespace sq::testing
