// The Ctrl tap and drag: a short tap presses the left button and drags, a
// long one is given back as held; the stop words of the scroll-mode window
// end, restart and reset a drag.
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

TEST(GestureDrag, CtrlTapPressesTheLeftButtonUnlessLctrl) {
  for (bool lctrl : {false, true}) {
    SCOPED_TRACE(lctrl ? "lctrl on" : "lctrl off");
    Desk d;
    ASSERT_TRUE(d.Start());
    d.app.shell.wrpyreadpanel->lctrl.SetChecked(lctrl);
    d.sim.moveMouse(320, 240);
    d.Ticks(1);
    const auto m = d.sim.mark();
    d.sim.keyDown(vk::Control);
    d.sim.advance(25);
    d.sim.keyUp(vk::Control);
    d.sim.advance(25);
    d.Ticks(2);
    if (lctrl) {
      EXPECT_TRUE(SameEvents({}, d.Input(m)));
      EXPECT_NE(d.app.bar.qirForm4->Caption(), "down/...down/");
    } else {
      // Ctrl is released, then the left button is pressed for the user.
      EXPECT_TRUE(SameEvents({"mouse leftup", "mouse leftdown"}, d.Input(m)));
      EXPECT_TRUE(d.sim.isKeyDown(vk::LButton));
      EXPECT_EQ(d.app.bar.qirForm4->Caption(), "down/...down/");
      // The tap is consumed (the bar may have re-entered its caption above).
      auto hist = d.Items(d.app.bar.qircom->ListBox8);
      hist.resize(3);
      EXPECT_NE(std::find(hist.begin(), hist.end(), "OKup"), hist.end());
      // Another tick does not tap again.
      const auto m2 = d.sim.mark();
      d.Ticks(3);
      EXPECT_TRUE(SameEvents({}, d.Input(m2)));
      // The drag's anchor is where the tap was: the copy-lines gesture puts
      // the caret there with its two clicks.
      d.sim.leftUp();
      d.Ticks(2);
      d.sim.moveMouse(400, 300);
      d.Ticks(1);
      const auto m3 = d.sim.mark();
      d.app.bar.qircom->Panel19.SetCaption("xx copy");
      d.app.input.caretinfo->SetCaption("alt2menu--51");
      d.Ticks(1);
      auto clicks = d.Input(m3);
      clicks.resize(4);
      EXPECT_TRUE(SameEvents({"cursor 340,240", "mouse leftdown", "mouse leftup", "cursor 320,240"},
                             clicks));
    }
  }
}

TEST(GestureDrag, StopWordIsAnsweredOnceAndResetsTheCounts) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.StopLifePanel();
  d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
  d.app.bar.qircom->Edit2.SetCaption("40");  // 40 / 20 = 2: the third release
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  auto rightClicks = [&d](int n) {
    std::vector<std::string> answers;
    for (int i = 0; i < n; ++i) {
      d.sim.rightDown();
      d.Ticks(2);
      d.sim.rightUp();
      d.Ticks(1);
      answers.push_back(d.ScrollCaption());
    }
    return answers;
  };
  // Z held under Ctrl+Z: the guard stops one tick, then stays set.
  auto zStopsATick = [&d] {
    d.sim.keyDown(vk::Control);
    d.Ticks(1);
    d.sim.keyDown('Z');
    const auto m = d.sim.mark();
    d.Ticks(1);
    const bool stopped = SameEvents({}, d.Input(m));
    d.Ticks(1);
    d.sim.keyUp('Z');
    d.sim.keyUp(vk::Control);
    d.Ticks(2);
    return stopped;
  };
  // Two releases counted, the Z guard set.
  ASSERT_EQ(rightClicks(2), (std::vector<std::string>{"ok rightup", "ok rightup"}));
  ASSERT_TRUE(zStopsATick());
  ASSERT_FALSE(zStopsATick());
  d.app.bar.qirForm3->SetCaption("ystop autodrag");
  d.Ticks(1);
  EXPECT_EQ(d.ScrollCaption(), "qq--ystop");
  EXPECT_EQ(d.InputCaption(), "old--lm");
  EXPECT_LT(d.app.bar.qirForm3->Left(), 0);
  // Both reset: three releases to the panels, and Z stops a tick again.
  d.Ticks(1);
  EXPECT_EQ(rightClicks(3), (std::vector<std::string>{"ok rightup", "ok rightup", "xx right"}));
  EXPECT_TRUE(zStopsATick());
}

TEST(GestureDrag, StopDuringAThumbDragReturnsThePointer) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  TqirForm3& f3 = *d.app.bar.qirForm3;
  f3.Panel3.SetCaption("dragmode");
  f3.Panel4.SetLeft(120);
  f3.Panel4.SetTop(80);
  const auto m = d.sim.mark();
  f3.SetCaption("ystop stopdrag");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"cursor 120,80"}, d.Input(m)));
  EXPECT_EQ(f3.Panel3.Caption(), "xx dragmode");
  EXPECT_EQ(d.ScrollCaption(), "qq--ystop");
}

TEST(GestureDrag, StopWhileStillHeldRestartsUnlessLleft) {
  for (bool lleft : {true, false}) {
    SCOPED_TRACE(lleft ? "lleft on" : "lleft off");
    Desk d;
    ASSERT_TRUE(d.Start());
    d.app.shell.wrpyreadpanel->lleft.SetChecked(lleft);
    d.app.shell.wrpyreadpanel->Edit2.SetCaption("100");
    d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    d.sim.leftDown();
    d.Ticks(8);
    ASSERT_GT(StillTicks(d), 4);
    const auto m = d.sim.mark();
    d.app.bar.qirForm3->SetCaption("ystop ok");
    d.Ticks(1);
    // The count starts over (the same tick's still test adds one).
    EXPECT_EQ(d.app.browser.lifeform->leftdownmess.Caption(), "leftdown:0");
    if (lleft) {
      EXPECT_TRUE(SameEvents({}, d.Input(m)));
    } else {
      EXPECT_TRUE(SameEvents({"mouse leftup", "mouse leftdown"}, d.Input(m)));
      EXPECT_EQ(d.InputCaption(), "old--drag");

      EXPECT_EQ(d.app.bar.qirForm4->Caption(), "down/...down/");
      // The next stop only ends the restarted drag.
      const auto m2 = d.sim.mark();
      d.app.bar.qirForm3->SetCaption("ystop ok");
      d.Ticks(1);
      EXPECT_TRUE(SameEvents({}, d.Input(m2)));
    }
    d.sim.leftUp();
  }
}

TEST(TickCtrlTap, LongCtrlIsGivenBackAsHeld) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.app.browser.lifeform->Panel9.SetCaption("11");
  const auto m = d.sim.mark();
  d.sim.keyDown(vk::Control);
  d.sim.advance(25);
  d.sim.keyUp(vk::Control);
  d.sim.advance(25);
  d.Ticks(2);
  EXPECT_TRUE(SameEvents({"key 17 down"}, d.Input(m)));
  EXPECT_EQ(d.app.browser.lifeform->Panel9.Caption(), "0");
  EXPECT_EQ(d.app.bar.qircom->Button3.Caption(), "ctrldown");
  // No drag began: the title window shows no drag.
  EXPECT_NE(d.app.bar.qirForm4->Caption(), "down/...down/");
  EXPECT_EQ(d.app.bar.qirForm4->Height(), 0);
}

}  // namespace
}  // namespace sq::testing
