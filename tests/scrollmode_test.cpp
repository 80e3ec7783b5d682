// The scroll-mode window: starting a scroll by the class of the window
// left of the pointer (the application's own middle-button scrolling for
// documents and pages, a grab of the scroll-bar thumb found from screen
// pixels for the rest), the grab's end, and the page key.
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

// Colours of a classic scroll bar, as GetPixel gives them (BGR).
constexpr int kEdge = 0xC8D0D4, kDark = 0x404040, kLight = 0xFFFFFF, kPage = 0xF0F0F0;

// A picture of the screen: a window's vertical scroll bar in the column
// `x`, from `top`: up arrow rows [0, 17) (edge colour, its bottom row
// dark), a dithered track, the thumb [thumbTop, thumbTop + 40) in the edge
// colour; everything else plain page colour.
std::function<int(Point)> ScrollBarPicture(int x, int top, int thumbTop) {
  return [=](Point p) {
    if (p.x != x) return kPage;
    const int i = p.y - top;
    if (i < 0) return kPage;
    if (i < 16) return kEdge;
    if (i == 16) return kDark;
    if (i >= thumbTop && i < thumbTop + 40) return kEdge;
    return (i % 2) ? kLight : kEdge - 0x101010;
  };
}

struct ScrollDesk : Desk {
  Wnd page = 0;
  ::testing::AssertionResult Ready(const char* cls, Rect r = {100, 100, 400, 300}) {
    auto started = Start();
    if (!started) return started;
    page = sim.addWindow(cls, "page", r);
    sim.moveMouse(300, 200);
    Ticks(1);
    return ::testing::AssertionSuccess();
  }
  // Another window of the program starts the scroll (the command bar does
  // so after writing "ystop autodrag"), the pointer staying where it is.
  void StartScroll() { ASSERT_TRUE(sim.runClickHandler(app.bar.qirForm3->Button1.Handle())); }
};

TEST(ScrollMode, DocumentsAndPagesGetTheirOwnMiddleButtonScrolling) {
  struct Row {
    const char* top;     // the top-level window's class
    const char* inner;   // the class of the child under the point
    int down;            // the pointer's small move down
  };
  const std::vector<Row> rows = {
      {"OpusApp", "_WwG", 32},
      {"IEFrame", "Internet Explorer_Server", 16},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.inner);
    ScrollDesk d;
    ASSERT_TRUE(d.Ready(row.top));
    d.sim.addWindow(row.inner, "", {0, 0, 400, 300}, d.page);
    const auto m = d.sim.mark();
    d.StartScroll();
    d.Ticks(1);
    EXPECT_TRUE(SameEvents({"mouse middledown", "mouse middleup", "mouse move 0," + std::to_string(row.down)},
                           d.sim.eventsSince(m, simfilter::mouse())));
    EXPECT_EQ(d.sim.getForegroundWindow(), d.page);
    EXPECT_EQ(d.app.bar.qirForm3->Left(), 100);
    EXPECT_EQ(d.app.bar.qirForm3->Top(), 200);
    EXPECT_EQ(d.app.bar.qirForm4->Caption(), "ystop mou3d");
    EXPECT_EQ(d.app.bar.qirForm4->Height(), 0);
    EXPECT_EQ(d.app.browser.easyie->midmess.Caption(), "mdown sys");
    EXPECT_EQ(d.app.bar.qirForm3->origin(), (Point{300, 200}));
    EXPECT_EQ(d.app.bar.qirForm3->working(), (Point{300, 200}));
  }
}

TEST(ScrollMode, AMenuLeftOfThePointerGivesWayToTheWindowRightOfIt) {
  ScrollDesk d;
  ASSERT_TRUE(d.Ready("PageWnd", {280, 100, 400, 300}));
  d.sim.addWindow("#32768", "", {200, 150, 60, 100});  // the menu under x - 50
  d.StartScroll();
  EXPECT_EQ(d.app.bar.qirForm3->target(), d.page);
  EXPECT_EQ(d.app.bar.qircom->Panel15.Caption(), "PageWnd");
}

TEST(ScrollMode, TheThumbFoundInAPictureOfTheScrollBarIsGrabbedAndLetGo) {
  // Window 100..500 wide: the scroll bar's first column is 500 - 17 + 1.
  for (int thumbTop : {17, 60, 200}) {
    SCOPED_TRACE("thumb at row " + std::to_string(thumbTop));
    ScrollDesk d;
    ASSERT_TRUE(d.Ready("Notepad"));
    d.sim.setPixelSource(ScrollBarPicture(484, 100, thumbTop));
    const auto m = d.sim.mark();
    d.StartScroll();
    EXPECT_EQ(d.app.browser.lifeform->Caption(), "mywheel");
    d.Ticks(1);
    const int x = 500 - 17 + 3, y = 100 + thumbTop + 1 + 1;
    EXPECT_TRUE(SameEvents({"cursor " + std::to_string(x) + "," + std::to_string(y), "mouse leftdown"},
                           d.Input(m)));
    TqirForm3& f3 = *d.app.bar.qirForm3;
    EXPECT_EQ((Point{f3.Panel4.Left(), f3.Panel4.Top()}), (Point{300, 200}));
    EXPECT_EQ(f3.Panel3.Caption(), "dragmode");
    EXPECT_EQ(f3.Panel5.Caption(), "wheel");
    EXPECT_EQ(f3.Panel6.Caption(), "mydrag");
    EXPECT_TRUE(d.sim.isKeyDown(vk::LButton));
    // The held thumb follows the hand: the pointer moves freely.
    d.sim.moveMouse(x, y + 50);
    EXPECT_EQ(d.sim.getCursorPos(), (Point{x, y + 50}));
    // The user's click lets go: the pointer returns to where it started.
    const auto m2 = d.sim.mark();
    d.sim.click(40);
    d.Ticks(3);
    EXPECT_TRUE(SameEvents({"cursor 300,200"}, d.sim.eventsSince(m2, simfilter::input())));
    EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
    EXPECT_EQ(f3.Panel3.Caption(), "xx dragmode");
  }
}

// A flat scroll bar as Wine draws it, inside a window whose frame and edge
// take the first rows: white arrows and thumb with grey borders, a pale
// track. The window's own edge rows must not pass for the arrow.
TEST(ScrollMode, TheThumbOfAFlatScrollBarBelowTheWindowsEdgeIsGrabbed) {
  constexpr int kBorder = 0xAEAEAE, kWhite = 0xFFFFFF, kTrack = 0xF5F5F5, kDarkEdge = 0x6A6A6A;
  constexpr int kEdgeRows = 3, kThumbLen = 50;
  for (int thumbTop : {17, 90}) {
    SCOPED_TRACE("thumb at row " + std::to_string(thumbTop));
    ScrollDesk d;
    ASSERT_TRUE(d.Ready("Notepad"));
    d.sim.window(d.page)->clientEdge = kEdgeRows;
    const int top = 100 + kEdgeRows;
    d.sim.setPixelSource([=](Point p) {
      if (p.x != 484) return kWhite;
      const int i = p.y - top;
      if (i < -kEdgeRows) return kWhite;
      if (i < 0) return i == -1 ? kDarkEdge : (i == -2 ? kWhite : kBorder);  // the window's edge
      if (i < 17) return i == 0 || i == 16 ? kBorder : (i == 8 ? kDarkEdge : kWhite);  // arrow
      if (i >= thumbTop && i < thumbTop + kThumbLen)
        return i == thumbTop || i == thumbTop + kThumbLen - 1 ? kBorder : kWhite;
      return kTrack;
    });
    const auto m = d.sim.mark();
    d.StartScroll();
    d.Ticks(1);
    const auto events = d.Input(m);
    ASSERT_EQ(events.size(), 2u) << ::testing::PrintToString(events);
    EXPECT_EQ(events[1], "mouse leftdown");
    const Point at = d.sim.getCursorPos();
    EXPECT_GT(at.y, top + thumbTop) << "the press must land inside the thumb, not on its arrow or edge";
    EXPECT_LT(at.y, top + thumbTop + kThumbLen - 1);
    d.sim.click(40);
    d.Ticks(3);
    EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
  }
}

TEST(ScrollMode, NoScrollBarMeansNothingIsGrabbed) {
  ScrollDesk d;
  ASSERT_TRUE(d.Ready("Notepad"));
  d.sim.setPixelSource([](Point) { return kPage; });
  const auto m = d.sim.mark();
  d.StartScroll();
  d.Ticks(2);
  for (const auto& e : d.Input(m)) EXPECT_EQ(e.find("mouse"), std::string::npos) << e;
  EXPECT_EQ(d.sim.getCursorPos(), (Point{300, 200}));
  EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
  EXPECT_NE(d.app.bar.qirForm3->Panel3.Caption(), "dragmode");
}

TEST(ScrollMode, PageKeyPagesTheWindowLeftOfThePointer) {
  for (bool right : {false, true}) {
    for (unsigned ms : {30u, 150u}) {
      SCOPED_TRACE(std::string(right ? "right" : "left") + " click " + std::to_string(ms));
      ScrollDesk d;
      ASSERT_TRUE(d.Ready("PageWnd", {100, 100, 600, 400}));
      TqirForm3& f3 = *d.app.bar.qirForm3;
      f3.SetWindowPos(ZOrder::TopMost, 500, 300, 324, 138, swp::ShowWindow);
      const Rect pr = d.sim.getWindowRect(f3.Panel10.Handle());
      // Another window in front beforehand: the page must be activated.
      const Wnd other = d.sim.addTextEditor({700, 500, 200, 150}, "other");
      d.sim.setForegroundWindow(other);
      // (The key lies 184 px inside this window: 40 px left of the
      // pointer is still on it, the page is left of the window.)
      d.sim.moveMouse(pr.left + 5, pr.top + 5);
      const auto m = d.sim.mark();
      if (right) d.sim.rightClick(ms);
      else d.sim.click(ms);
      // The page went to the window left of the pointer, which was
      // activated for it before this window came back on top.
      const std::string key = right ? "33" : "34";
      EXPECT_TRUE(SameEvents({"key " + key + " down", "key " + key + " up"}, d.Keys(m)));
      EXPECT_EQ(d.sim.getForegroundWindow(), d.page);
      EXPECT_EQ(f3.Width(), 60);
      EXPECT_EQ(f3.Height(), 60);
      EXPECT_TRUE(f3.Shown());
    }
  }
}

}  // namespace
}  // namespace sq::testing
