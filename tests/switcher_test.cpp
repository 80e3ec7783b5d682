// The window switcher on the simulated desktop: the command bar shown full
// over foreign windows, driven by the wheel, the pointer and the buttons;
// results read as the user sees them (the list's rows, icons, selected and
// top rows, the foreground window) and as other programs see them (close
// requests, snapshots taken, captions).
#include <gtest/gtest.h>

#include <sstream>

#include "bar/switcher.h"
#include "gesture_harness.h"

namespace sq {
namespace {

using testing::Desk;

constexpr int kRow = SimDesktop::kListRowHeight;

struct SwitchDesk : Desk {
  SwitchDesk() {
    EXPECT_TRUE(Start());
    ShowBar();
  }
  Tqircom& bar() { return *app.bar.qircom; }
  Wnd list() { return bar().ListView1.Handle(); }
  // The full bar with the pointer resting on its echo line (the input
  // tick parks a full bar the pointer is not over).
  void ShowBar() {
    bar().SetWindowPos(ZOrder::TopMost, 560, 200, 400, 350, swp::ShowWindow);
    const Rect echo = sim.getWindowRect(bar().Edit3.Handle());
    sim.moveMouse(echo.left + 200, echo.top + 10);
  }

  // A framed window of another program, `pid` its process.
  Wnd Add(const std::string& title, unsigned pid = 0, Rect r = {40, 40, 300, 200}) {
    Wnd w = sim.addWindow("AppWnd", title, r);
    if (pid) sim.setWindowProcessId(w, pid);
    return w;
  }
  // One notch of the wheel: +1 away from the user (backwards through the
  // list), -1 towards the user (forwards); then `gap` ms of the user's hand.
  void Notch(int notches, unsigned gap = 150) {
    sim.wheel(notches);
    sim.advance(gap);
  }
  // The screen point over the row shown `shown` rows below the list's top,
  // `x` pixels into the row.
  Point Row(int shown, int x = 120) {
    const Rect r = sim.getWindowRect(list());
    return {r.left + 2 + x, r.top + 2 + shown * kRow + kRow / 2};
  }
  void MoveTo(Point p) {
    sim.moveMouse(p.x, p.y);
    sim.advance(30);
  }
  std::vector<std::string> Rows() { return Items(bar().ListView1); }
  std::string Foreground() { return sim.getWindowText(sim.getForegroundWindow()); }
  // "sel=3 top=1 fg=w3": what the user sees of the list and the desktop.
  std::string View() {
    std::ostringstream o;
    const Wnd fg = sim.getForegroundWindow();
    o << "sel=" << sim.listSelected(list()) << " top=" << sim.listViewTopIndex(list())
      << " fg=" << (fg == bar().Handle() ? "bar" : sim.getWindowText(fg));
    return o.str();
  }
};

// ---- what is listed ----------------------------------------------------------

TEST(SwitcherList, OnlyFramedVisibleWindowsOfOtherProgramsAreListed) {
  SwitchDesk d;
  struct Case {
    const char* title;
    unsigned exStyle;
    bool visible;
  };
  // Added bottom to top: the list follows the z-order, topmost first.
  const Case cases[] = {
      {"plain", 0x100, true},
      {"dialog", 0x10101, true},          // control parent with more than the edge
      {"no edge", 0x0, true},
      {"palette", 0x188, true},           // topmost tool window
      {"container", 0x10100, true},       // control parent and edge alone
      {"hidden", 0x100, false},
      {"Tovimo zuzi", 0x100, true},       // the system's own application title
      {"tool with edge", 0x180, true},
  };
  for (const Case& c : cases) {
    Wnd w = d.Add(c.title);
    d.sim.setExtendedStyleBits(w, c.exStyle);
    if (!c.visible) d.sim.showWindow(w, false);
  }
  d.Notch(-1);  // the first notch builds the stale list
  EXPECT_EQ(d.Rows(), (std::vector<std::string>{"tool with edge", "dialog", "plain"}))
      << d.sim.describe();
  // None of the program's own windows, bordered main form included.
  EXPECT_EQ(d.bar().ListBox5.Count(), 3);
}

TEST(SwitcherList, TitlesAreCutWholeAndEmptyTitlesKeepTheirRow) {
  SwitchDesk d;
  std::string chinese = "a";
  for (int i = 0; i < 100; ++i) chinese += "中";  // 201 bytes, pairs at odd offsets
  const std::string ascii(150, 'x');
  d.Add("");
  d.Add(chinese);
  d.Add(ascii);
  d.Notch(-1);
  std::string cut = "a";
  for (int i = 0; i < 54; ++i) cut += "中";  // 109 bytes: the 110th would split a pair
  EXPECT_EQ(d.Rows(), (std::vector<std::string>{std::string(110, 'x'), cut, ""}));
}

TEST(SwitcherList, AtMost1001WindowsAreListed) {
  SwitchDesk d;
  for (int i = 0; i < 1003; ++i) d.Add("w" + std::to_string(i), 0, {i % 500, 40, 200, 100});
  d.Notch(-1);
  const auto rows = d.Rows();
  ASSERT_EQ(rows.size(), 1001u);
  EXPECT_EQ(rows.front(), "w1002");
  EXPECT_EQ(rows.back(), "w2");
}

// ---- processes and icons -----------------------------------------------------

TEST(SwitcherIcons, EachProcessIsLookedUpOncePerRebuildAndEachProgramOncePerRun) {
  SwitchDesk d;
  d.sim.setProcesses({{501, "C:\\Apps\\editor.exe"},
                      {502, "C:\\Apps\\viewer.exe"},
                      {503, "C:\\Sys\\locked.exe"},
                      {504, "C:\\Apps\\idle.exe"}});
  d.sim.setProcessModulesHidden(503, true);  // another user's process
  d.sim.setFileIcon("C:\\Apps\\editor.exe", 71);
  d.sim.setFileIcon("C:\\Apps\\viewer.exe", 72);
  d.Add("gone", 509);  // its process is no longer running
  d.Add("locked", 503);
  d.Add("viewer", 502);
  d.Add("ed 1", 501);
  d.Add("ed 2", 501);
  d.Add("ed 3", 501);
  const int snaps = d.sim.processSnapshots(), mods = d.sim.moduleSnapshots(),
            icons = d.sim.fileIconLookups();
  d.Notch(-1);
  ASSERT_EQ(d.Rows(), (std::vector<std::string>{"ed 3", "ed 2", "ed 1", "viewer", "locked", "gone"}));
  std::vector<std::uintptr_t> shown;
  for (int i = 0; i < 6; ++i) shown.push_back(d.sim.listViewIcon(d.list(), i));
  // The process that could not be opened and the one that is gone are
  // listed without an icon.
  EXPECT_EQ(shown, (std::vector<std::uintptr_t>{71, 71, 71, 72, 0, 0}));
  EXPECT_EQ(d.sim.processSnapshots() - snaps, 1);
  EXPECT_EQ(d.sim.moduleSnapshots() - mods, 3);  // 501, 502, 503; 504 lists no window
  EXPECT_EQ(d.sim.fileIconLookups() - icons, 2);

  // The next rebuild takes the processes again but keeps the programs'
  // icons of the run: the shell is not asked again, and a program changed
  // meanwhile keeps the icon it first had.
  d.sim.setFileIcon("C:\\Apps\\viewer.exe", 73);
  d.Add("idle", 504);
  d.bar().switcher.SetStale();  // as the pointer passing the bar's right edge does
  d.Notch(-1);
  ASSERT_EQ(d.Rows().size(), 7u);
  EXPECT_EQ(d.sim.listViewIcon(d.list(), 4), 72u);
  EXPECT_EQ(d.sim.processSnapshots() - snaps, 2);
  EXPECT_EQ(d.sim.moduleSnapshots() - mods, 7);  // 501 to 504 this time
  // Only the program not seen before reaches the shell.
  EXPECT_EQ(d.sim.fileIconLookups() - icons, 3);
  EXPECT_NE(d.sim.listViewIcon(d.list(), 0), 0u);  // idle.exe's own icon
}

// ---- the wheel --------------------------------------------------------------------

// Fourteen windows, twelve rows shown. Each step: notches (+1 backwards,
// -1 forwards), then the selected row, the top row and the foreground
// window. Run with the hand's fastest and slowest notches.
TEST(SwitcherWheel, StepsWrapAroundBothWaysAndScrollPastRowTen) {
  for (unsigned gap : {30u, 150u}) {
    SCOPED_TRACE("notches " + std::to_string(gap) + " ms apart");
    SwitchDesk d;
    for (int i = 13; i >= 0; --i) d.Add("w" + std::to_string(i));  // w0 on top
    struct Step {
      int notch;
      std::string view;
    };
    const std::vector<Step> steps = {
        // The window under the pointer, the bar, is activated; the stale
        // list is built, nothing switched.
        {-1, "sel=0 top=0 fg=bar"},
        {-1, "sel=1 top=0 fg=w1"},
        {+1, "sel=0 top=0 fg=w0"},
        {+1, "sel=13 top=2 fg=w13"},  // backwards past the first row: the last, list at its end
        {+1, "sel=12 top=1 fg=w12"},  // beyond row 10 each step scrolls one row
        {+1, "sel=11 top=0 fg=w11"},
        {+1, "sel=10 top=0 fg=w10"},
        {-1, "sel=11 top=1 fg=w11"},
        {-1, "sel=12 top=2 fg=w12"},
        {-1, "sel=13 top=2 fg=w13"},  // the last row: no scroll
        {-1, "sel=0 top=0 fg=w0"},    // forwards past the last row: row 0, list at its start
    };
    std::vector<std::string> want, got;
    for (const Step& s : steps) {
      d.Notch(s.notch, gap);
      d.sim.advance(40);
      want.push_back(s.view);
      got.push_back(d.View());
    }
    EXPECT_TRUE(SameEvents(want, got));
    EXPECT_EQ(d.ScrollCaption(), words::web::WheelSeen);
    EXPECT_TRUE(d.sim.isTopmost(d.bar().Handle()));
  }
}

TEST(SwitcherWheel, MinimisedWindowsComeBackAndNormalOnesKeepTheirPlace) {
  SwitchDesk d;
  Wnd small = d.Add("small", 0, {50, 60, 200, 100});
  Wnd icon = d.Add("icon");
  d.sim.setMinimized(icon, true);
  d.Notch(-1);  // built: icon, small
  d.Notch(-1);
  EXPECT_EQ(d.Foreground(), "small");
  EXPECT_EQ(d.sim.getWindowRect(small), (Rect{50, 60, 200, 100}));
  d.Notch(-1);
  EXPECT_EQ(d.Foreground(), "icon");
  EXPECT_FALSE(d.sim.windowState(icon).minimized);
}

TEST(SwitcherWheel, ParkedBarSwitchesNothing) {
  SwitchDesk d;
  d.Add("a");
  d.Add("b");
  d.Notch(-1);
  d.bar().Park();
  d.sim.setForegroundWindow(d.sim.findWindow("AppWnd", std::string("a")));
  d.sim.moveMouse(100, 200);  // over b, below the life panel
  d.Notch(-1);
  d.Notch(-1, 400);
  // Nothing switched and the window under the pointer not activated: the
  // notches went to the wheel's other readers (the browser's timer answers
  // them as over any window and start an autoscroll through the
  // scroll-mode window).
  EXPECT_EQ(d.Foreground(), "a");
  EXPECT_EQ(d.sim.listSelected(d.list()), 0);
  EXPECT_EQ(d.ScrollCaption(), words::scroll::QuickPageDown);
}

// The notch over the full bar is the switcher's at whatever moment it
// comes between the bar's 20 ms ticks and the browser's 40 ms ones: the
// first builds the list, the second steps to the next window.
TEST(SwitcherWheel, NotchesOverTheFullBarAreTheSwitchersAtEveryPhase) {
  for (unsigned phase : {0u, 5u, 10u, 15u, 20u, 25u, 30u, 35u}) {
    SCOPED_TRACE("notch " + std::to_string(phase) + " ms into the ticks");
    SwitchDesk d;
    d.Add("b");
    d.Add("a");
    d.sim.advance(phase);
    d.Notch(-1, 100);
    EXPECT_EQ(d.Rows(), (std::vector<std::string>{"a", "b"}));
    d.sim.advance(phase);
    d.Notch(-1, 100);
    EXPECT_EQ(d.View(), "sel=1 top=0 fg=b");
    EXPECT_EQ(d.ScrollCaption(), words::web::WheelSeen);
  }
  // Under Wine the browser's timer may run first when both are due: while
  // the bar's tick is held back, the browser leaves the notch over the full
  // bar waiting, and the bar takes it when it runs.
  SwitchDesk d;
  d.Add("b");
  d.Add("a");
  d.bar().Timer1.SetTimerEnabled(false);
  d.Notch(-1, 200);
  EXPECT_EQ(d.ScrollCaption(), words::hook::WheelDown);
  d.bar().Timer1.SetTimerEnabled(true);
  d.sim.advance(100);
  EXPECT_EQ(d.Rows(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(d.ScrollCaption(), words::web::WheelSeen);
}

// The pointer reaching a stale list rebuilds it and asks the bar's tick
// for the fill; a notch a moment later overwrites that request in the
// scroll caption before the tick reads it. The rows are filled all the
// same and the notch steps through them.
TEST(SwitcherWheel, ANotchRightAfterTheRebuildStillFindsTheRowsFilled) {
  for (unsigned phase : {0u, 5u, 10u, 15u}) {
    SCOPED_TRACE("pointer " + std::to_string(phase) + " ms into the ticks");
    SwitchDesk d;
    d.Add("b");
    d.Add("a");
    d.sim.advance(phase);
    d.sim.moveMouse(d.Row(3).x, d.Row(3).y);  // onto the stale list: rebuilt
    d.sim.wheel(-1);
    d.sim.advance(150);
    EXPECT_EQ(d.Rows(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(d.View(), "sel=1 top=0 fg=b");
  }
}

// A parked bar with its list still stale (as at start-up) leaves the
// notch to the window under the pointer: the wheel's other readers answer
// it as they would without the list (here the start-corner mode's answer),
// no window is activated and no list is built. Tried at each phase of the
// bar's 20 ms tick against the browser's 40 ms one.
TEST(SwitcherWheel, ParkedBarWithAStaleListLeavesTheFirstNotchAlone) {
  for (unsigned phase : {0u, 5u, 10u, 15u, 20u, 25u, 30u, 35u}) {
    SCOPED_TRACE("notch " + std::to_string(phase) + " ms into the ticks");
    SwitchDesk d;
    d.Add("b");
    Wnd a = d.Add("a");
    d.bar().Park();
    d.sim.setForegroundWindow(d.sim.findWindow("AppWnd", std::string("b")));
    d.sim.moveMouse(100, 100);  // over a
    d.sim.advance(phase);
    ASSERT_TRUE(d.bar().switcher.Stale());
    d.bar().Panel28.SetCaption(words::web::WheelStartFar);
    d.Notch(-1, 100);
    EXPECT_EQ(d.ScrollCaption(), words::web::WheelStartSeen);
    EXPECT_EQ(d.bar().Panel28.Caption(), words::web::WheelStartFarSeen);
    EXPECT_NE(d.sim.getForegroundWindow(), a);
    EXPECT_EQ(d.Rows(), std::vector<std::string>{});
    EXPECT_TRUE(d.bar().switcher.Stale());
  }
}

// A wheel word written by another program with a short or garbled
// direction steps forwards; "///" alone steps backwards.
TEST(SwitcherWheel, OddDirectionWordsStepForwards) {
  SwitchDesk d;
  for (int i = 3; i >= 0; --i) d.Add("w" + std::to_string(i));
  d.Notch(-1);
  const char* const wordsIn[] = {"ystop wheel=", "ystop wheel=/", "ystop wheel=//x", "ystop wheel=///",
                                 "ystop wheel=\xFF\x81"};
  std::vector<std::string> got;
  for (const char* w : wordsIn) {
    d.sim.setWindowText(d.app.bar.qirForm3->Handle(), w);
    d.sim.advance(60);
    got.push_back(d.View());
  }
  EXPECT_TRUE(SameEvents({"sel=1 top=0 fg=w1", "sel=2 top=0 fg=w2", "sel=3 top=0 fg=w3",
                          "sel=2 top=0 fg=w2", "sel=3 top=0 fg=w3"},
                         got));
}

// ---- the pointer -------------------------------------------------------------------

TEST(SwitcherHover, HoverPreviewsEachRowOnce) {
  SwitchDesk d;
  Wnd icon = d.Add("icon");
  d.sim.setMinimized(icon, true);
  d.Add("b");
  d.Add("a");
  Wnd other = d.sim.addTextEditor({0, 400, 200, 200}, "elsewhere");
  d.Notch(-1);
  ASSERT_EQ(d.Rows(), (std::vector<std::string>{"elsewhere", "a", "b", "icon"}));
  d.sim.setForegroundWindow(other);
  // Row 0 is the entry already selected: it is highlighted, not previewed.
  d.MoveTo(d.Row(0));
  EXPECT_EQ(d.sim.listViewHot(d.list()), 0);
  EXPECT_EQ(d.Foreground(), "elsewhere");
  d.sim.setForegroundWindow(d.sim.findWindow("AppWnd", std::string("a")));
  d.MoveTo(d.Row(0, 200));
  EXPECT_EQ(d.Foreground(), "a");

  d.MoveTo(d.Row(2));
  EXPECT_EQ(d.Foreground(), "b");
  EXPECT_EQ(d.bar().Panel16.Caption(), Switcher::kHintRow);
  EXPECT_EQ(d.sim.listSelected(d.list()), 2);
  EXPECT_TRUE(d.sim.isTopmost(d.bar().Handle()));
  // Staying on the row does nothing more, even once another window is in front.
  d.sim.setForegroundWindow(other);
  d.MoveTo(d.Row(2, 30));
  d.MoveTo(d.Row(2, 300));
  EXPECT_EQ(d.Foreground(), "elsewhere");

  d.MoveTo(d.Row(3));
  EXPECT_EQ(d.Foreground(), "icon");
  EXPECT_FALSE(d.sim.windowState(icon).minimized);
  d.MoveTo(d.Row(1));
  EXPECT_EQ(d.Foreground(), "a");
  // Below the last row: nothing.
  d.MoveTo(d.Row(6));
  EXPECT_EQ(d.Foreground(), "a");
  EXPECT_EQ(d.sim.listSelected(d.list()), 1);
}

// The column fits the list whether or not the list scrolls: no horizontal
// scroll bar once there are more rows than the list shows, and none
// before. A hover gives the list the keys while the bar is the active window.
TEST(SwitcherHover, ColumnFitsBesideTheScrollBarAndTheListTakesTheFocus) {
  for (int windows : {3, 10, 11, 14, 15, 20}) {
    SCOPED_TRACE(windows);
    SwitchDesk d;
    for (int i = 0; i < windows; ++i) d.Add("w" + std::to_string(i));
    d.Notch(-1);
    ASSERT_EQ(static_cast<int>(d.Rows().size()), windows);
    const int client = d.sim.getWindowRect(d.list()).height - 4;
    EXPECT_EQ(d.sim.listViewScrollsDown(d.list()), windows * kRow > client);
    EXPECT_FALSE(d.sim.listViewScrollsSideways(d.list()));
    // The bar made active by a click on its echo line, then the pointer on
    // the selected row (which brings no other window forward).
    const Rect echo = d.sim.getWindowRect(d.bar().Edit3.Handle());
    d.MoveTo({echo.left + 200, echo.top + 10});
    d.sim.click(30);
    d.sim.advance(30);
    ASSERT_EQ(d.sim.getForegroundWindow(), d.bar().Handle());
    ASSERT_NE(d.sim.focusWindow(), d.list());
    d.MoveTo(d.Row(0));
    EXPECT_EQ(d.sim.focusWindow(), d.list());
    EXPECT_FALSE(d.sim.listViewScrollsSideways(d.list()));
  }
}

// A left press on a row goes to its window and moves the bar below the
// screen; quick and slow clicks alike.
TEST(SwitcherPress, LeftPressGoesToTheWindow) {
  for (unsigned ms : {30u, 150u}) {
    SCOPED_TRACE("press " + std::to_string(ms) + " ms");
    SwitchDesk d;
    Wnd icon = d.Add("icon");
    d.sim.setMinimized(icon, true);
    d.Add("b");
    d.Add("a");
    d.Notch(-1);
    d.sim.moveMouse(d.Row(2).x, d.Row(2).y);  // straight onto the row, no rest
    d.sim.click(ms);
    d.sim.advance(40);
    EXPECT_EQ(d.Foreground(), "icon");
    EXPECT_FALSE(d.sim.windowState(icon).minimized);
    EXPECT_EQ(d.bar().Top(), d.sim.screenHeight() + 10);
  }
}

// A right press closes the row's window with the close request alone; its
// row goes and the list is rebuilt without it.
TEST(SwitcherPress, RightPressClosesTheWindowAlone) {
  for (unsigned ms : {30u, 150u}) {
    SCOPED_TRACE("press " + std::to_string(ms) + " ms");
    SwitchDesk d;
    d.Add("c");
    Wnd b = d.Add("b");
    d.Add("a");
    d.Notch(-1);
    const std::size_t posted = d.sim.postedMessages().size();
    const std::size_t mark = d.sim.mark();
    d.MoveTo(d.Row(1));
    d.sim.rightClick(ms);
    d.sim.advance(400);
    EXPECT_EQ(d.sim.closeRequests(), std::vector<Wnd>{b});
    EXPECT_EQ(d.sim.postedMessages().size(), posted);  // no quit message, nothing else
    EXPECT_FALSE(d.sim.isWindow(b));
    EXPECT_EQ(d.Rows(), (std::vector<std::string>{"a", "c"}));
    bool said = false;
    for (const auto& e : d.sim.eventsSince(mark, simfilter::captionsOf("TqirForm3")))
      said = said || e == std::string("caption TqirForm3=") + words::winlist::Closed;
    EXPECT_TRUE(said);
  }
}

// A window that ignores the close request stays off the list until the
// next press on the list.
TEST(SwitcherPress, AWindowThatStaysOpenReturnsAfterTheNextPress) {
  SwitchDesk d;
  d.sim.setForeignWindowsIgnoreClose(true);
  d.Add("b");
  d.Add("a");
  d.Notch(-1);
  d.MoveTo(d.Row(0));
  d.sim.rightClick(60);
  d.sim.advance(400);
  EXPECT_EQ(d.Rows(), std::vector<std::string>{"b"});
  d.bar().switcher.SetStale();
  d.Notch(-1);
  EXPECT_EQ(d.Rows(), std::vector<std::string>{"b"});
  d.MoveTo(d.Row(3));  // below the rows: clears the excluded window only
  d.sim.click(60);
  d.bar().switcher.SetStale();
  d.Notch(-1);
  EXPECT_EQ(d.Rows(), (std::vector<std::string>{"a", "b"}));
}

// ---- the bar's title strip and background ------------------------------------

// The bar's own controls call into the list: hovering the title strip
// rebuilds a stale list, the pointer passing the background's right edge
// marks it stale again, and a right click on the title's right part
// closes the selected row's window. Quick and slow clicks alike.
TEST(SwitcherBar, TitleStripRebuildsAndClosesTheSelectedWindow) {
  for (unsigned ms : {30u, 150u}) {
    SCOPED_TRACE("click " + std::to_string(ms) + " ms");
    SwitchDesk d;
    d.Add("b");
    Wnd a = d.Add("a");
    const Rect bar = d.sim.getWindowRect(d.bar().Handle());
    const Point title{bar.left + 8 + 340, bar.top + 6 + 16};  // its right part
    const Point edge{bar.left + 393, bar.top + 150};          // the background past x 380
    d.MoveTo(title);
    EXPECT_EQ(d.Rows(), (std::vector<std::string>{"a", "b"}));
    d.Add("c");
    d.MoveTo(title);  // a fresh list is not built again
    EXPECT_EQ(d.Rows(), (std::vector<std::string>{"a", "b"}));
    d.MoveTo(edge);
    d.MoveTo(title);
    EXPECT_EQ(d.Rows(), (std::vector<std::string>{"c", "a", "b"}));
    d.MoveTo(d.Row(1));  // previews a: the selected row
    EXPECT_EQ(d.Foreground(), "a");
    d.MoveTo(title);
    d.sim.rightClick(ms);
    d.sim.advance(400);
    EXPECT_EQ(d.sim.closeRequests(), std::vector<Wnd>{a});
    EXPECT_EQ(d.Rows(), (std::vector<std::string>{"c", "b"}));
  }
}

// ---- bad input -------------------------------------------------------------------

TEST(SwitcherBadInput, AWindowGoneBeforeTheClickDoesNothingAndTheListRebuilds) {
  SwitchDesk d;
  d.Add("c");
  Wnd b = d.Add("b");
  d.Add("a");
  d.Notch(-1);
  d.MoveTo(d.Row(1));  // previews b
  d.sim.destroyWindow(b);
  const int top = d.bar().Top();
  const std::size_t posted = d.sim.closeRequests().size();
  d.sim.click(40);
  d.sim.advance(60);
  EXPECT_EQ(d.bar().Top(), top);
  EXPECT_EQ(d.sim.closeRequests().size(), posted);
  EXPECT_EQ(d.Rows(), (std::vector<std::string>{"a", "c"}));
  // The same for a right press and for the wheel reaching a vanished window.
  Wnd c = d.sim.findWindow("AppWnd", std::string("c"));
  d.sim.destroyWindow(c);
  d.MoveTo(d.Row(1, 60));
  d.sim.rightClick(40);
  d.sim.advance(60);
  EXPECT_EQ(d.sim.closeRequests().size(), posted);
  EXPECT_EQ(d.Rows(), std::vector<std::string>{"a"});
}

TEST(SwitcherBadInput, AnEmptyListTakesPressesReleasesAndNotches) {
  SwitchDesk d;
  d.Notch(-1);
  ASSERT_EQ(d.Rows(), std::vector<std::string>{});
  const std::string fg = d.Foreground();
  d.MoveTo(d.Row(0));
  d.sim.click(30);
  d.sim.rightClick(150);
  d.Notch(-1, 30);
  d.Notch(+1, 30);
  d.bar().switcher.CloseSelected();
  d.sim.advance(100);
  EXPECT_EQ(d.Rows(), std::vector<std::string>{});
  EXPECT_EQ(d.sim.closeRequests(), std::vector<Wnd>{});
  EXPECT_EQ(d.ScrollCaption(), words::web::WheelSeen);
  EXPECT_TRUE(d.bar().Shown());
}

}  // namespace
}  // namespace sq
