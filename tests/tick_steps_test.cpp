// The tick's own steps: the scroll-mode resets, the parking of the widgets
// the pointer left and the captions mirrored every tick.
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

TEST(TickScrollResets, ListBox3TriggersResetTheScrollMode) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  Control& marks = d.app.input.caretinfo->ListBox3;
  auto m = d.sim.mark();
  marks.SetItem(1, "ystop000");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"mouse leftdown", "mouse leftup"}, d.Input(m)));
  EXPECT_EQ(marks.Item(1), "new ystop--");

  TqirForm3& f3 = *d.app.bar.qirForm3;
  f3.Panel4.SetLeft(40);
  f3.Panel4.SetTop(60);
  f3.Panel4.Show();
  m = d.sim.mark();
  marks.SetItem(1, "ystop==/ystop stopdrag 7");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"cursor 40,60"}, d.Input(m)));
  EXPECT_EQ(marks.Item(1), "new ystop--");
  EXPECT_FALSE(f3.Panel4.Visible());
  EXPECT_EQ(d.ScrollCaption(), "123ok ystop");
}

TEST(TickParkWidgets, ClipWidgetLeftWithAButtonHeldLetsItGo) {
  struct Row {
    const char* name;
    bool left, right;
    std::vector<std::string> events;
  };
  const std::vector<Row> rows = {
      {"left held", true, false, {"mouse leftup"}},
      {"right held", false, true,
       {"key 27 down", "key 27 up", "key 27 down", "key 27 up", "mouse rightup"}},
      {"no button", false, false, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    d.StopLifePanel();
    d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    if (row.left) d.sim.leftDown();
    if (row.right) d.sim.rightDown();
    d.app.bar.qircom->SetWindowPos(ZOrder::TopMost, 500, 500, 70, 24, swp::ShowWindow);
    const auto m = d.sim.mark();
    d.Ticks(1);
    EXPECT_TRUE(SameEvents(row.events, d.Input(m)));
    EXPECT_LT(d.app.bar.qircom->Left(), 0);
    if (row.left) d.sim.leftUp();
  }
}

TEST(TickRelays, CaptionsAreMirroredEveryTick) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.app.relays.rightform->SetCaption("rr1,2");
  // With the window list built and the bar parked, the bar's wheel step
  // leaves the wheel word to the other readers.
  d.sim.runAsHandler([&d] { d.app.bar.qircom->switcher.Rebuild(); });
  d.app.bar.qirForm3->SetCaption("ystop wheel=vvv");
  d.Ticks(1);
  EXPECT_EQ(d.app.browser.lifeform->Panel22.Caption(), "rr1,2");
  EXPECT_EQ(d.app.browser.easyie->Panel42.Caption(), "ystop wheel=vvv");
  EXPECT_EQ(d.app.relays.Form1->Edit1.Caption(), "ystop wheel=vvv");
  EXPECT_EQ(d.app.relays.Form2->Caption(), "ystop wheel=vvv");
}

}  // namespace
}  // namespace sq::testing
