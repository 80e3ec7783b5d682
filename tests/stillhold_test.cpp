// The still hold: the left button held still against the settings panel's
// hold time starts drag-scrolling; moved or short presses do not.
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
    d.app.shell.wrpyreadpanel->Edit2.SetCaption(row.edit2);
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
      EXPECT_EQ(d.app.bar.qirForm4->Bounds(), (Rect{248, 260, 100, 27}));
      EXPECT_TRUE(d.app.bar.qirForm4->Visible());
      EXPECT_EQ(d.app.bar.qirForm3->Panel1.Caption(), "0");
      d.sim.leftUp();
      d.Ticks(1);
    } else {
      // Still for a tick at most, then away.
      EXPECT_LE(StillTicks(d), 1);
      // The moved press ends a selection at its release.
      d.app.browser.lifeform->Panel7.SetCaption("左键附近");
      d.sim.leftUp();
      d.Ticks(1);
      EXPECT_EQ(d.app.browser.lifeform->leftselect.Caption(), "left exit");
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
        d.app.shell.wrpyreadpanel->Edit2.SetCaption(setting);
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
  d.app.shell.wrpyreadpanel->Edit2.SetCaption("5000");
  d.sim.moveMouse(300, 301);
  d.Ticks(1);
  d.sim.leftDown();
  d.Ticks(30);
  EXPECT_EQ(d.app.browser.lifeform->leftdownmess.Caption(), "leftdown:28");
  d.Ticks(1);
  EXPECT_EQ(StillTicks(d), 29);
  d.sim.leftUp();
}

}  // namespace
}  // namespace sq::testing
