// The browser window's timers: wheel notches turned into list steps, page
// keys or a middle-button autoscroll for each kind of target, the corner
// wheel modes, the end of an autoscroll, and the drag-scroll keeper.
#include <gtest/gtest.h>

#include "app/relays.h"
#include "tests/browser_harness.h"

namespace sq {
namespace {

using testing::Web;

// A notch and two browser ticks; the events the program made meanwhile.
std::vector<std::string> Notch(Web& w, int notches, const EventFilter& f = simfilter::input()) {
  const auto m = w.sim.mark();
  w.sim.wheel(notches);
  w.sim.advance(80);
  auto ev = w.sim.eventsSince(m, f);
  return ev;
}

TEST(WheelDispatch, PageKeysInTheDownFarModeOverAnyWindow) {
  Web w;
  ASSERT_TRUE(w.Start());
  Wnd ed = w.sim.addTextEditor({50, 50, 600, 500});
  (void)ed;
  w.app.bar.qircom->Panel28.SetCaption("down far");
  w.sim.moveMouse(300, 300);
  w.sim.advance(80);
  EXPECT_EQ(w.ie().Panel47.Caption(), "down far");
  EXPECT_EQ(w.app.browser.lifeform->Label2.Caption(), "快速滚轮");
  EXPECT_TRUE(SameEvents({"key 34 down", "key 34 up"}, Notch(w, -1, simfilter::keys())));
  EXPECT_EQ(w.ScrollCaption(), "ystop xxwheel=///");
  EXPECT_TRUE(SameEvents({"key 33 down", "key 33 up"}, Notch(w, 1, simfilter::keys())));
}

TEST(WheelDispatch, ArrowKeysOverAPopupMenu) {
  Web w;
  ASSERT_TRUE(w.Start());
  // Menus lie above every window, topmost ones included.
  const Wnd menu = w.sim.addWindow("#32768", "", {200, 200, 150, 300});
  w.sim.setWindowPos(menu, ZOrder::TopMost, {200, 200, 150, 300}, 0);
  w.sim.moveMouse(250, 250);
  w.sim.advance(80);
  EXPECT_TRUE(SameEvents({"key 40 down", "key 40 up"}, Notch(w, -1, simfilter::keys())));
  EXPECT_TRUE(SameEvents({"key 38 down", "key 38 up"}, Notch(w, 1, simfilter::keys())));
}

TEST(WheelDispatch, MiddleButtonAutoscrollOverAWebPageWithClampedOffsets) {
  // Offsets: height x 10 / 1050; 5 becomes 14, 25 becomes 18.
  for (auto [height, offset] : {std::pair{525, 14}, std::pair{700, 14}}) {
    Web w;
    ASSERT_TRUE(w.Start());
    Wnd top = w.sim.addWindow("IEFrame", "page", {0, 0, 800, height});
    w.sim.addWindow("Internet Explorer_Server", "", {0, 0, 800, height}, top);
    w.sim.moveMouse(300, 200);
    w.sim.advance(80);
    const auto m = w.sim.mark();
    w.sim.wheel(-1);
    w.sim.advance(80);
    const auto ev = w.sim.eventsSince(m, simfilter::input());
    const std::vector<std::string> want = {"cursor 792,200", "mouse middledown",
                                           "mouse move 0," + std::to_string(offset)};
    EXPECT_TRUE(SameEvents(want, ev)) << height;
    EXPECT_EQ(w.ie().midmess.Caption(), "mdown sys");
    // A left press ends it: back 20 px left and below the start point.
    for (unsigned ms : {30u}) {
      const auto m2 = w.sim.mark();
      w.sim.leftDown();
      w.sim.advance(60);
      w.sim.leftUp();
      w.sim.advance(ms);
      const auto end = w.sim.eventsSince(m2, simfilter::captionsOf("TqirForm3"));
      EXPECT_NE(std::find(end.begin(), end.end(), "caption TqirForm3=qq ystop--"), end.end());
      EXPECT_EQ(w.sim.getCursorPos(), (Point{772, 220}));
    }
  }
}

TEST(WheelDispatch, BigWindowOffsetIsClampedTo18AndUpNotchesGoUp) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.sim.setMonitors({Monitor{{0, 0, 1024, 3000}, {0, 0, 1024, 3000}, 96, true}});
  Wnd top = w.sim.addWindow("IEFrame", "page", {0, 0, 800, 2625});
  w.sim.addWindow("Internet Explorer_Server", "", {0, 0, 800, 2625}, top);
  w.sim.moveMouse(300, 200);
  w.sim.advance(80);
  const auto ev = Notch(w, 1);
  EXPECT_TRUE(SameEvents({"cursor 792,200", "mouse middledown", "mouse move 0,-18"}, ev));
}

TEST(WheelDispatch, HeldLeftButtonNudgesThePointer) {
  Web w;
  ASSERT_TRUE(w.Start());
  w.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
  w.sim.moveMouse(300, 300);
  w.sim.leftDown();
  w.sim.advance(80);
  const auto ev = Notch(w, -1, simfilter::mouse());
  EXPECT_TRUE(SameEvents({"mouse move 0,1"}, ev));
  w.sim.leftUp();
}

TEST(WheelDispatch, StepsTheClipListOverTheClipWidgetWrapping) {
  Web w;
  ASSERT_TRUE(w.Start());
  Tqircom& bar = *w.app.bar.qircom;
  bar.ListBox2.Clear();
  for (const char* s : {"one", "two", "three"}) bar.ListBox2.Add(s);
  bar.SetWindowPos(ZOrder::TopMost, 300, 300, 180, 250, swp::ShowWindow);
  w.sim.moveMouse(310, 310);
  w.sim.advance(80);
  std::vector<int> seen;
  for (int n : {-1, -1, -1, -1, 1, 1}) {
    Notch(w, n);
    seen.push_back(bar.ListBox2.ItemIndex());
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 0, 2, 1}));
}

TEST(WheelDispatch, StartCornerOpensTheFullBarOrThePageList) {
  Web w;
  ASSERT_TRUE(w.Start());
  Tqircom& bar = *w.app.bar.qircom;
  w.sim.setClipboardText("clip text");
  bar.Panel28.SetCaption("start far");
  w.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
  w.sim.moveMouse(300, 300);
  w.sim.advance(80);
  Notch(w, -1);
  EXPECT_EQ(bar.Width(), 400);
  EXPECT_EQ(bar.Height(), 350);
  EXPECT_EQ(bar.Left(), 512 - 200);
  EXPECT_EQ(w.sim.getCursorPos(), (Point{512 - 200 + 150, 384 - 170 + 10}));
  EXPECT_EQ(w.ie().Edit1.Caption(), "clip text");
  // With the browser shown: the menu panel at the pointer, then steps
  // through its page list, each page shown in turn.
  bar.Park();
  w.Type("http://a.example/");
  w.Type("http://b.example/");
  w.ie().Panel3.SetLeft(-2000);
  bar.Panel28.SetCaption("start far");
  w.sim.moveMouse(500, 400);
  w.sim.advance(80);
  Notch(w, -1);
  ASSERT_TRUE(w.ie().Panel3.Visible());
  EXPECT_GE(w.ie().Panel3.Left(), 0);
  w.MoveTo(w.ie().ListBox1);
  w.sim.advance(40);
  w.ie().ListBox1.SetItemIndex(1);
  Notch(w, -1);
  EXPECT_EQ(w.ie().ActivePageIndex(), 0);
  Notch(w, 1);
  EXPECT_EQ(w.ie().ActivePageIndex(), 1);
}

TEST(CornerModes, EachCommandBarModeIsMirroredWithItsName) {
  const std::vector<std::tuple<std::string, std::string, std::string>> rows = {
      {"down far", "down far", "快速滚轮"}, {"up far", "up far", "慢速滚轮"},
      {"task far", "task far", "菜单滚轮"}, {"start far", "start far", "任务滚轮"},
      {"anything", "near", "正常滚轮"}};
  for (const auto& [bar, mode, name] : rows) {
    Web w;
    ASSERT_TRUE(w.Start());
    w.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    w.sim.moveMouse(300, 300);
    w.app.bar.qircom->Panel28.SetCaption(bar);
    w.sim.advance(80);
    EXPECT_EQ(w.ie().Panel47.Caption(), mode) << bar;
    EXPECT_EQ(w.app.browser.lifeform->Label2.Caption(), name) << bar;
    EXPECT_EQ(w.app.browser.lifeform->Caption(), "mywheel") << bar;
    // "filling" holds the update.
    w.ie().Label2.SetCaption("filling");
    w.app.bar.qircom->Panel28.SetCaption("down far");
    w.sim.advance(80);
    if (bar != "down far") {
      EXPECT_EQ(w.ie().Panel47.Caption(), mode) << bar;
    }
  }
}

TEST(DragKeeper, MovesThePointerWhileHeldAndEndsOnRelease) {
  for (unsigned hold : {400u, 1000u}) {
    Web w;
    ASSERT_TRUE(w.Start());
    w.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    w.sim.moveMouse(300, 300);
    w.sim.leftDown();
    w.app.bar.qirForm3->Panel6.SetCaption("mydrag");
    w.ie().Timer3.SetTimerEnabled(true);
    const auto m = w.sim.mark();
    w.sim.advance(hold);
    const auto moves = w.sim.eventsSince(m, simfilter::mouse());
    EXPECT_EQ(moves.size(), hold / 200) << hold;
    for (const auto& e : moves) EXPECT_EQ(e, "mouse move 0,1");
    w.sim.leftUp();
    w.sim.advance(400);
    EXPECT_EQ(w.app.bar.qirForm3->Panel6.Caption(), "xx mydrag");
    EXPECT_EQ(w.app.bar.qirForm3->Panel5.Caption(), "xx wheel");
    EXPECT_FALSE(w.ie().Timer3.TimerEnabled());
    const auto m2 = w.sim.mark();
    w.sim.advance(600);
    EXPECT_TRUE(w.sim.eventsSince(m2, simfilter::mouse()).empty());
  }
}

}  // namespace
}  // namespace sq

namespace sq {
namespace {

using testing::Web;

// While the pinyin method's "MSPY Component" window is visible, the
// marker window stands 60 px above it, 140 x 40, on every tick, not for
// one tick only; hidden, the marker has no width; gone, it is not placed.
TEST(ImeMarker, StandsAboveTheMspyWindowWhileItIsVisible) {
  Web w;
  ASSERT_TRUE(w.Start());
  ASSERT_FALSE(w.ie().Shown());
  const Wnd marker = w.app.relays.rightform->Handle();
  const Wnd mspy = w.sim.addWindow("MSPY Component", "", {300, 400, 200, 30});
  w.sim.advance(80);
  for (int tick = 0; tick < 10; ++tick) {
    w.sim.advance(40);
    EXPECT_EQ(w.sim.getWindowRect(marker), (Rect{300, 340, 140, 40})) << tick;
  }
  // The window moves: the marker follows it.
  w.sim.setBounds(mspy, {500, 200, 200, 30});
  w.sim.advance(80);
  EXPECT_EQ(w.sim.getWindowRect(marker), (Rect{500, 140, 140, 40}));
  w.sim.showWindow(mspy, false);
  w.sim.advance(80);
  EXPECT_EQ(w.sim.getWindowRect(marker).width, 0);
  w.sim.showWindow(mspy, true);
  w.sim.advance(80);
  EXPECT_EQ(w.sim.getWindowRect(marker), (Rect{500, 140, 140, 40}));
}

}  // namespace
}  // namespace sq
