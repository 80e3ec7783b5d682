// The command bar's pointer widget and clip widget on the simulated
// desktop: the user's pointer and buttons in; the bar's place, the words it
// writes, the keys it synthesises and the windows it acts on out.
#include "app/wrpyreadpanel.h"
#include "bar/wheeltipform.h"
#include "browser/easyie.h"
#include <algorithm>

#include "tests/bar_harness.h"

namespace sq::testing {
namespace {

// The scroll-mode window's caption was given `word` since the mark (its
// readers may have answered it since).
bool Wrote(BarDesk& d, std::size_t m, const std::string& word) {
  const auto scroll = d.sim.eventsSince(m, simfilter::captionsOf("TqirForm3"));
  return std::find(scroll.begin(), scroll.end(), "caption TqirForm3=" + word) != scroll.end();
}

// Right held, left pressed at the same point: the input core raises the
// pointer widget there.
void RaisePointerWidget(BarDesk& d, int x, int y) {
  d.sim.moveMouse(x, y);
  d.sim.rightDown();
  d.Ticks(2);
  d.sim.leftDown();
  d.Ticks(2);
}

TEST(BarPointerWidget, ComesUpAtThePointerAndItsCentreOpensTheFullBar) {
  for (unsigned ms : {30u, 150u}) {
    SCOPED_TRACE("press held " + std::to_string(ms) + " ms");
    BarDesk d;
    ASSERT_TRUE(d.StartOverPage());
    RaisePointerWidget(d, 300, 300);
    const Rect w = d.bar().ScreenRect();
    EXPECT_EQ(w.width, 25);
    EXPECT_EQ(w.height, 25);
    EXPECT_TRUE(w.contains({300, 300})) << d.sim.describe();
    EXPECT_TRUE(d.bar().Panel27.Visible());
    // The press that raised it was not on the widget: its release is no
    // command.
    d.sim.leftUp();
    d.sim.advance(60);
    EXPECT_EQ(d.bar().ScreenRect(), w);
    // A click of the centre opens the task list: the full bar in the
    // middle of the screen, the pointer on its title strip.
    const auto m = d.sim.mark();
    d.sim.leftDown();
    d.sim.advance(ms);
    d.sim.leftUp();
    d.sim.advance(40);
    const Rect full = d.bar().ScreenRect();
    const int sw = d.sim.screenWidth(), sh = d.sim.screenHeight();
    EXPECT_EQ(full, (Rect{sw / 2 - 200, sh / 2 - 170, 400, 350}));
    EXPECT_EQ(d.sim.getCursorPos(), (Point{full.left + 50, full.top + 10}));
    EXPECT_FALSE(d.bar().Panel27.Visible());
    EXPECT_EQ(d.bar().Edit3.Caption(), "鼠标向上:退出");
    EXPECT_TRUE(Wrote(d, m, "ystop wheel="));
    EXPECT_EQ(d.bar().Panel28.Caption(), "start far");
    // The right button, held since before the bar came up, is let go on
    // the title strip: no Start menu, no desktop.
    d.sim.rightUp();
    d.sim.advance(60);
    EXPECT_TRUE(SameEvents({}, d.Keys(m)));
    EXPECT_TRUE(d.sim.shellExecutes().empty());
  }
}

// Under X (Wine) every press and release made while another button is held
// goes to the window that button went down on, never to the widget that
// came up under the pointer meanwhile: the widget's centre still opens the
// full bar for a left click made with the right button held, quick or
// slow, and only for a click that began on it.
TEST(BarPointerWidget, CentreClickWorksWhileTheRightButtonHoldsAGrab) {
  struct Case { unsigned gapMs, holdMs; };
  for (const Case c : {Case{30, 30}, Case{150, 150}, Case{40, 150}, Case{150, 30}}) {
    SCOPED_TRACE("gap " + std::to_string(c.gapMs) + " ms, hold " + std::to_string(c.holdMs) + " ms");
    BarDesk d;
    ASSERT_TRUE(d.StartOverPage());
    d.sim.setButtonGrab(true);
    RaisePointerWidget(d, 300, 300);
    const Rect w = d.bar().ScreenRect();
    ASSERT_EQ(w.width, 25) << d.sim.describe();
    ASSERT_TRUE(d.bar().Panel27.Visible());
    // The press that raised the widget lets go on it: no command.
    d.sim.leftUp();
    d.sim.advance(c.gapMs);
    EXPECT_EQ(d.bar().ScreenRect(), w);
    const auto m = d.sim.mark();
    d.sim.leftDown();
    d.sim.advance(c.holdMs);
    d.sim.leftUp();
    d.sim.advance(60);
    const int sw = d.sim.screenWidth(), sh = d.sim.screenHeight();
    EXPECT_EQ(d.bar().ScreenRect(), (Rect{sw / 2 - 200, sh / 2 - 170, 400, 350}));
    EXPECT_FALSE(d.bar().Panel27.Visible());
    EXPECT_TRUE(Wrote(d, m, "ystop wheel="));
    EXPECT_EQ(d.bar().Panel28.Caption(), "start far");
    // Once: the right button let go on the title strip is no command.
    d.sim.rightUp();
    d.sim.advance(60);
    EXPECT_EQ(d.bar().ScreenRect().height, 350);
    EXPECT_TRUE(d.sim.shellExecutes().empty());
    EXPECT_TRUE(SameEvents({}, d.Keys(m)));
  }
}

// A press that began off the widget and is let go on it (the pointer
// dragged onto it) is no click, with or without a grab.
TEST(BarPointerWidget, ReleaseOfAPressFromElsewhereIsNoClick) {
  for (bool grab : {false, true}) {
    SCOPED_TRACE(grab ? "grab" : "no grab");
    BarDesk d;
    ASSERT_TRUE(d.StartOverPage());
    d.sim.setButtonGrab(grab);
    // The left press went to the page; the widget came up under it while
    // it is held (the widget is parked as soon as the pointer leaves it,
    // so no press can begin off it and end on it otherwise).
    RaisePointerWidget(d, 300, 300);
    const Rect w = d.bar().ScreenRect();
    ASSERT_EQ(w.width, 25);
    d.sim.moveMouse(303, 302);  // dragged a little, still on the widget
    d.Ticks(1);
    d.sim.leftUp();
    d.Ticks(2);
    EXPECT_EQ(d.bar().ScreenRect(), w) << "the release opened the task list";
    ASSERT_TRUE(d.bar().Panel27.Visible());
    // A click that begins on the widget is one.
    d.sim.leftDown();
    d.sim.advance(40);
    d.sim.leftUp();
    d.Ticks(2);
    EXPECT_EQ(d.bar().ScreenRect().height, 350);
  }
}

// Leaving the widget across an edge: what each edge does.
TEST(BarPointerWidget, EachEdgeFiresItsCommand) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.ShowPointerWidget(300, 300);
  // Top edge: the wheel paging mode.
  d.MoveTo("Panel27", 12, 12);
  d.sim.advance(20);
  const auto m = d.sim.mark();
  d.MoveTo("Panel27", 12, -4);
  d.sim.advance(20);
  EXPECT_FALSE(d.bar().Shown());
  EXPECT_EQ(d.bar().Panel28.Caption(), "up far");
  EXPECT_TRUE(Wrote(d, m, "ystop wheel="));
  EXPECT_FALSE(d.bar().Panel27.Visible());
}

TEST(BarPointerWidget, LeftEdgeTogglesHoldToDrag) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  Control& box = d.app.shell.wrpyreadpanel->lleft;
  const bool before = box.Checked();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    d.ShowPointerWidget(300, 300);
    const auto m = d.sim.mark();
    d.MoveTo("Panel27", 12, 12);
    d.sim.advance(20);
    d.MoveTo("Panel27", -4, 12);
    d.sim.advance(20);
    const bool now = box.Checked();
    const auto scroll = d.sim.eventsSince(m, simfilter::captionsOf("TqirForm3"));
    EXPECT_NE(std::find(scroll.begin(), scroll.end(), "caption TqirForm3=ystop ok"), scroll.end());
    EXPECT_EQ(now, round == 0 ? !before : before);
    // The marker shows as the wheel tip's own toggle shows it: "拖" on the
    // strip while hold-to-drag is off, nothing while it is on.
    EXPECT_EQ(d.app.bar.wheeltipform->Label2.Caption(), now ? "" : "拖");
    EXPECT_EQ(d.app.bar.wheeltipform->Label2.Visible(), !now);
    EXPECT_EQ(d.app.browser.easyie->Label26.Caption(), now ? "" : "拖");
    EXPECT_FALSE(d.bar().Shown());
    d.sim.moveMouse(300, 300);
    d.Ticks(2);
  }
}

TEST(BarPointerWidget, RightEdgeShowsAndHidesTheBrowser) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  // A tab list out of step with the pages (a line too many) is filled
  // again with the pages' captions when the browser comes up.
  Control& tabs = d.app.browser.easyie->ListBox1;
  tabs.Add("stray");
  ASSERT_NE(tabs.Count(), d.app.browser.easyie->PageCount());
  for (bool shownAfter : {true, false}) {
    SCOPED_TRACE(shownAfter);
    d.ShowPointerWidget(300, 300);
    d.MoveTo("Panel27", 12, 12);
    d.sim.advance(20);
    d.MoveTo("Panel27", 29, 12);
    d.sim.advance(20);
    EXPECT_EQ(d.app.browser.easyie->Shown(), shownAfter);
    if (shownAfter) {
      EXPECT_EQ(d.app.browser.easyie->Left(), 0);
      ASSERT_EQ(tabs.Count(), d.app.browser.easyie->PageCount());
      for (int i = 0; i < tabs.Count(); ++i)
        EXPECT_EQ(tabs.Item(i), d.app.browser.easyie->PageCaption(i));
    }
    EXPECT_FALSE(d.bar().Shown());
    d.sim.moveMouse(300, 300);
    d.Ticks(2);
  }
}

// A right click on the centre asks the window under the widget to close,
// without hiding it first (an editor then asks to save, on the screen). The
// release of the right button that raised the widget is no click.
TEST(BarPointerWidget, RightClickOnTheCentreClosesTheWindowUnderIt) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  const Wnd ed = d.sim.addTextEditor({100, 100, 500, 400}, "notes");
  d.sim.setForeignWindowsIgnoreClose(true);
  RaisePointerWidget(d, 300, 300);
  d.sim.leftUp();
  d.sim.advance(40);
  d.sim.rightUp();
  d.sim.advance(60);
  EXPECT_TRUE(d.sim.closeRequests().empty());
  d.sim.rightClick(80);
  d.sim.advance(60);
  ASSERT_EQ(d.sim.closeRequests().size(), 1u);
  EXPECT_EQ(d.sim.closeRequests()[0], ed);
  EXPECT_TRUE(d.sim.isWindowVisible(ed));
  EXPECT_FALSE(d.bar().Shown());
  EXPECT_EQ(d.bar().Panel28.Caption(), "down far");
}

// ---- the clip widget -----------------------------------------------------------

TEST(BarClipWidget, ZoneWordFollowsThePointerUnlessLocked) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.ShowClipWidget(300, 300);
  struct Row { int x, y; const char* word; };
  const std::vector<Row> rows = {{2, 2, "F3"}, {15, 2, "X"}, {2, 15, "="}, {15, 15, "O"}};
  for (const Row& r : rows) {
    d.MoveTo("Panel14", r.x, r.y);
    d.sim.advance(20);
    EXPECT_EQ(d.bar().Panel14.Caption(), r.word) << r.x << "," << r.y;
  }
  d.bar().Panel14.SetCaption("!Y");
  for (const Row& r : rows) {
    d.MoveTo("Panel14", r.x, r.y);
    d.sim.advance(20);
    EXPECT_EQ(d.bar().Panel14.Caption(), "!Y");
  }
}

struct ClipRow {
  const char* name;
  const char* control;
  int dx, dy;
  std::vector<std::string> keys;   // synthesised keys
  std::string input;               // input caption after
  std::string scroll;              // scroll-mode caption after ("" = any)
};

TEST(BarClipWidget, HoverCommandsCopyCutAndPaste) {
  const std::vector<ClipRow> rows = {
      {"copy area", "Panel35", 10, 10, CtrlKey('C'), "key--shiftc--copy--ok", "ystop ok"},
      {"cut area", "Panel12", 60, 12,
       {"key 16 down", "key 46 down", "key 46 up", "key 16 up"}, "", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    BarDesk d;
    ASSERT_TRUE(d.StartOverPage());
    d.sim.moveMouse(600, 600);
    d.ShowClipWidget(300, 300);
    d.app.input.qirinputor->SetCaption("old--lm");
    // Commands fire once the widget has been on the screen for a tick.
    d.MoveTo("Panel14", 15, 5);
    d.sim.advance(20);
    const auto m = d.sim.mark();
    d.MoveTo(row.control, row.dx, row.dy);
    d.sim.advance(20);
    EXPECT_TRUE(SameEvents(row.keys, d.Keys(m)));
    EXPECT_FALSE(d.bar().Shown());
    if (!row.input.empty()) {
      EXPECT_EQ(d.InputCaption(), row.input);
    }
    // The input core answers the scroll-mode word at once; it was written.
    const auto scroll = d.sim.eventsSince(m, simfilter::captionsOf("TqirForm3"));
    if (!row.scroll.empty()) {
      EXPECT_NE(std::find(scroll.begin(), scroll.end(), "caption TqirForm3=" + row.scroll),
                scroll.end());
    }
  }
}

TEST(BarClipWidget, PasteStripPastesIntoTheWindowLeftOfTheBar) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  const Wnd left = d.sim.addTextEditor({100, 100, 300, 300}, "left");
  const Wnd other = d.sim.addTextEditor({600, 500, 300, 200}, "other");
  d.sim.setClipboardText("粘贴");
  d.sim.moveMouse(700, 600);
  d.Ticks(1);
  d.ShowClipWidget(380, 200);
  d.MoveTo("Panel14", 15, 5);
  d.sim.advance(20);
  // The strip shows below the zone button only.
  d.MoveTo("Panel38", 55, 2);
  d.Ticks(2);
  EXPECT_EQ(d.sim.editorText(left), "粘贴");
  EXPECT_EQ(d.sim.editorText(other), "");
  EXPECT_EQ(d.bar().Panel14.Caption(), "x=");
  EXPECT_FALSE(d.bar().Shown());
}

// The widget coming up under a still pointer fires nothing: the copy area
// under the pointer copies only once the pointer moves on it.
TEST(BarClipWidget, NothingFiresUnderAStillPointerUntilSeen) {
  BarDesk d;
  ASSERT_TRUE(d.StartOverPage());
  d.sim.moveMouse(310, 310);
  const auto m = d.sim.mark();
  d.ShowClipWidget(300, 300);  // the copy area is under the pointer
  d.sim.leftDown();
  d.sim.leftUp();
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));
  EXPECT_TRUE(d.bar().Shown());
  d.sim.advance(20);
  d.sim.moveMouse(311, 310);
  EXPECT_TRUE(SameEvents(CtrlKey('C'), d.Keys(m)));
}

TEST(BarClipWidget, PageKeysByButton) {
  for (unsigned ms : {30u, 150u}) {
    for (MouseButton b : {MouseButton::Left, MouseButton::Right}) {
      SCOPED_TRACE(ms);
      BarDesk d;
      ASSERT_TRUE(d.StartOverPage());
      d.ShowClipWidget(300, 300);
      // The copy area lies over the page keys until the zone's "O" press
      // hides it.
      d.bar().Panel35.Hide();
      d.MoveTo("Panel10", 5, 12);
      d.sim.advance(20);
      const auto m = d.sim.mark();
      d.Press(b, ms);
      d.sim.advance(20);
      const std::string k = b == MouseButton::Left ? "34" : "33";
      EXPECT_TRUE(SameEvents({"key " + k + " down", "key " + k + " up"}, d.Keys(m)));
      EXPECT_TRUE(d.bar().Shown());
    }
  }
}

TEST(BarClipWidget, ZoneWheelModeByButton) {
  for (MouseButton b : {MouseButton::Left, MouseButton::Right}) {
    BarDesk d;
    ASSERT_TRUE(d.StartOverPage());
    d.ShowClipWidget(300, 300);
    d.MoveTo("Panel14", 2, 15);
    d.sim.advance(20);
    ASSERT_EQ(d.bar().Panel14.Caption(), "=");
    d.Press(b, 60);
    d.sim.advance(20);
    EXPECT_EQ(d.bar().Panel14.Caption(), "/=");
    EXPECT_EQ(d.bar().scrollid.Caption(), b == MouseButton::Left ? "down" : "up");
    EXPECT_EQ(d.ScrollCaption(), "ystop wheel=");
    EXPECT_FALSE(d.bar().Shown());
  }
}

// The "X" quarter: a left click parks the bar (and a shown browser) and
// closes nothing; a right press closes the window at the bar's left edge.
TEST(BarClipWidget, CloseQuarterClosesOnlyWithTheRightButton) {
  for (unsigned ms : {30u, 150u}) {
    SCOPED_TRACE(ms);
    BarDesk d;
    ASSERT_TRUE(d.Start());
    const Wnd ed = d.sim.addTextEditor({100, 100, 300, 300}, "left");
    d.sim.setForeignWindowsIgnoreClose(true);
    d.app.browser.easyie->SetLeft(0);
    d.ShowClipWidget(380, 200);
    d.MoveTo("Panel14", 15, 2);
    d.sim.advance(20);
    ASSERT_EQ(d.bar().Panel14.Caption(), "X");
    d.Press(MouseButton::Left, ms);
    d.sim.advance(20);
    EXPECT_FALSE(d.bar().Shown());
    EXPECT_FALSE(d.app.browser.easyie->Shown());
    EXPECT_TRUE(d.sim.closeRequests().empty());

    d.ShowClipWidget(380, 200);
    d.MoveTo("Panel14", 15, 2);
    d.sim.advance(20);
    d.Press(MouseButton::Right, ms);
    d.sim.advance(40);
    ASSERT_EQ(d.sim.closeRequests().size(), 1u);
    EXPECT_EQ(d.sim.closeRequests()[0], ed);
  }
}

TEST(BarClipWidget, F3RightReleaseFindsInTheWindowLeftOfTheBar) {
  BarDesk d;
  ASSERT_TRUE(d.Start());
  const Wnd left = d.sim.addTextEditor({100, 100, 300, 300}, "left");
  d.sim.addTextEditor({600, 500, 300, 200}, "other");
  d.ShowClipWidget(380, 200);
  d.MoveTo("Panel14", 2, 2);
  d.sim.advance(20);
  ASSERT_EQ(d.bar().Panel14.Caption(), "F3");
  const auto m = d.sim.mark();
  d.Press(MouseButton::Right, 80);
  d.sim.advance(20);
  EXPECT_TRUE(SameEvents(CtrlKey('F'), d.Keys(m)));
  EXPECT_EQ(d.sim.getForegroundWindow(), left);
  EXPECT_FALSE(d.bar().Shown());
}

}  // namespace
}  // namespace sq::testing
