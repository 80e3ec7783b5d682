// Drag-scrolling: the still test against the settings panel's Edit2, the
// drag start, the Ctrl tap and the stop words of the scroll-mode window.
#include <algorithm>
#include <cstdlib>

#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

// The still ticks of the press held now as the life panel's trace shows
// them: the count the last tick found, before it added its own.
int StillTicks(Desk& d) {
  const std::string c = d.app.lifeform->leftdownmess.Caption();
  const std::string prefix = "leftdown:";
  if (c.compare(0, prefix.size(), prefix) != 0) return -1;
  return std::atoi(c.c_str() + prefix.size());
}

struct HoldRow {
  const char* edit2;   // the settings panel's hold time
  bool moved;          // the pointer moves after the second tick
  int startTick;       // tick (1 = first that sees the press) of the drag start, 0 = none
};

// The press comes right after a tick, so the first tick that sees it finds
// it held for a tick's 40 ms; every still tick after it adds 40 ms more.
TEST(GestureDrag, StillPressStartsADragOnceHeldForEdit2Milliseconds) {
  const std::vector<HoldRow> rows = {
      {"100", false, 3},   // 120 ms >= 100
      {"200", false, 5},   // 200 ms
      {"400", false, 10},  // the shipped setting: 400 ms
      {"40", false, 2},    // held 40 ms at the first tick, but one still tick is needed
      {"abc", false, 2},   // not a number: 0, the first still tick starts it
      {"100", true, 0},    // a moved press never starts a drag
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string("Edit2 ") + row.edit2 + (row.moved ? " moved" : " still"));
    Desk d;
    ASSERT_TRUE(d.Start());
    d.app.wrpyreadpanel->Edit2.SetCaption(row.edit2);
    Wnd page = d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    d.sim.leftDown();
    int started = 0;
    for (int t = 1; t <= 16 && !started; ++t) {
      d.Ticks(1);
      if (row.moved && t == 2) d.sim.moveMouse(340, 300);
      if (d.sim.captureWindow() != 0) started = t;
    }
    EXPECT_EQ(started, row.startTick);
    if (row.startTick) {
      EXPECT_EQ(d.sim.captureWindow(), page);
      ASSERT_FALSE(d.sim.cursorShapes().empty());
      EXPECT_EQ(d.sim.cursorShapes().back(), CursorShape::Cross);
      EXPECT_EQ(d.app.qirForm4->Bounds(), (Rect{248, 260, 100, 27}));
      EXPECT_TRUE(d.app.qirForm4->Visible());
      EXPECT_EQ(d.app.qirForm3->Panel1.Caption(), "0");
      d.sim.leftUp();
      d.Ticks(1);
    } else {
      // Still for a tick at most, then away.
      EXPECT_LE(StillTicks(d), 1);
      // The moved press ends a selection at its release.
      d.app.lifeform->Panel7.SetCaption("左键附近");
      d.sim.leftUp();
      d.Ticks(1);
      EXPECT_EQ(d.app.lifeform->leftselect.Caption(), "left exit");
    }
  }
}

// The hold time means what the settings panel says, wherever the press
// falls between two ticks: a press held still 60 ms less than the setting
// never drags; one held 60 ms more always does, before its release.
TEST(GestureDrag, HoldTimeIsTheSettingOnTheClock) {
  for (const char* setting : {"100", "130", "400", "700"}) {
    const int ms = std::atoi(setting);
    for (int phase = 0; phase < 40; phase += 7) {
      for (const int held : {ms - 60, ms + 60}) {
        SCOPED_TRACE(std::string("setting ") + setting + ", press " + std::to_string(phase) +
                     " ms after a tick, held " + std::to_string(held) + " ms");
        Desk d;
        ASSERT_TRUE(d.StartOverPage());
        d.app.wrpyreadpanel->Edit2.SetCaption(setting);
        d.Ticks(1);
        d.sim.advance(static_cast<unsigned>(phase));
        d.sim.leftDown();
        bool started = false;
        for (int t = 0; t < held; t += 5) {
          d.sim.advance(static_cast<unsigned>(std::min(5, held - t)));
          started = started || d.sim.captureWindow() != 0;
        }
        EXPECT_EQ(started, held > ms);
        d.sim.leftUp();
        d.Ticks(2);
      }
    }
  }
}

TEST(GestureDrag, ShortPressesAtOnePlaceDoNotAddUp) {
  // Each press counts from zero, wherever the last one was.
  Desk d;
  ASSERT_TRUE(d.StartOverPage());
  for (int i = 0; i < 4; ++i) {
    d.sim.leftDown();
    d.Ticks(3);
    d.sim.leftUp();
    d.Ticks(1);
  }
  EXPECT_EQ(d.sim.captureWindow(), 0u);
  EXPECT_LE(StillTicks(d), 2);
}

TEST(GestureDrag, StillTicksAreCountedWhileHeld) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.app.wrpyreadpanel->Edit2.SetCaption("5000");
  d.sim.moveMouse(300, 301);
  d.Ticks(1);
  d.sim.leftDown();
  d.Ticks(30);
  EXPECT_EQ(d.app.lifeform->leftdownmess.Caption(), "leftdown:28");
  d.Ticks(1);
  EXPECT_EQ(StillTicks(d), 29);
  d.sim.leftUp();
}

TEST(GestureDrag, CtrlTapPressesTheLeftButtonUnlessLctrl) {
  for (bool lctrl : {false, true}) {
    SCOPED_TRACE(lctrl ? "lctrl on" : "lctrl off");
    Desk d;
    ASSERT_TRUE(d.Start());
    d.app.wrpyreadpanel->lctrl.SetChecked(lctrl);
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
      EXPECT_NE(d.app.qirForm4->Caption(), "down/...down/");
    } else {
      // Ctrl is released, then the left button is pressed for the user.
      EXPECT_TRUE(SameEvents({"mouse leftup", "mouse leftdown"}, d.Input(m)));
      EXPECT_TRUE(d.sim.isKeyDown(vk::LButton));
      EXPECT_EQ(d.app.qirForm4->Caption(), "down/...down/");
      // The tap is consumed (the bar may have re-entered its caption above).
      auto hist = d.Items(d.app.qircom->ListBox8);
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
      d.app.qircom->Panel19.SetCaption("xx copy");
      d.app.caretinfo->SetCaption("alt2menu--51");
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
  d.app.qircom->Edit2.SetCaption("40");  // 40 / 20 = 2: the third release
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
  d.app.qirForm3->SetCaption("ystop autodrag");
  d.Ticks(1);
  EXPECT_EQ(d.ScrollCaption(), "qq--ystop");
  EXPECT_EQ(d.InputCaption(), "old--lm");
  EXPECT_LT(d.app.qirForm3->Left(), 0);
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
  TqirForm3& f3 = *d.app.qirForm3;
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
    d.app.wrpyreadpanel->lleft.SetChecked(lleft);
    d.app.wrpyreadpanel->Edit2.SetCaption("100");
    d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    d.sim.leftDown();
    d.Ticks(8);
    ASSERT_GT(StillTicks(d), 4);
    const auto m = d.sim.mark();
    d.app.qirForm3->SetCaption("ystop ok");
    d.Ticks(1);
    // The count starts over (the same tick's still test adds one).
    EXPECT_EQ(d.app.lifeform->leftdownmess.Caption(), "leftdown:0");
    if (lleft) {
      EXPECT_TRUE(SameEvents({}, d.Input(m)));
    } else {
      EXPECT_TRUE(SameEvents({"mouse leftup", "mouse leftdown"}, d.Input(m)));
      EXPECT_EQ(d.InputCaption(), "old--drag");

      EXPECT_EQ(d.app.qirForm4->Caption(), "down/...down/");
      // The next stop only ends the restarted drag.
      const auto m2 = d.sim.mark();
      d.app.qirForm3->SetCaption("ystop ok");
      d.Ticks(1);
      EXPECT_TRUE(SameEvents({}, d.Input(m2)));
    }
    d.sim.leftUp();
  }
}

}  // namespace
}  // namespace sq::testing
