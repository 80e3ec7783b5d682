// The life panel on the simulated desktop: the desktop toolbar across the
// top, the Ctrl counter, the near-mode hints, the double right click, the
// selection card, the wheel mode from motion and the wheel tip.
#include <algorithm>

#include "app/formmain.h"
#include "bar/mousepp.h"
#include "bar/qircom.h"
#include "bar/wheeltipform.h"
#include "input/mailbox.h"
#include "input/words.h"
#include "platform/lines.h"
#include "platform/sim/simbrowser.h"
#include "tests/browser_harness.h"
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

std::string Str(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
         "x" + std::to_string(r.height);
}

// The desktop toolbar the shell holds for the life panel, "" when none.
std::string AppBar(Desk& d) {
  for (const SimAppBar& a : d.sim.appBars())
    if (a.wnd == d.app.browser.lifeform->Handle())
      return "edge " + std::to_string(a.edge) + " " + Str(a.rect);
  return "";
}

std::string LifeRect(Desk& d) { return Str(d.sim.getWindowRect(d.app.browser.lifeform->Handle())); }

// Runs the clock by ms in 5 ms steps.
void Wait(Desk& d, unsigned ms) {
  for (unsigned t = 0; t < ms; t += 5) d.sim.advance(5);
}

// ---- the desktop toolbar ----------------------------------------------------------

TEST(LifePanelBar, CreatedAtTheBottomLeftThenAcrossTheTopAtTheRegisteredHeight) {
  struct Row {
    int dpi;
    const char* toolbar;    // what the shell was given at creation
    const char* atTop;      // after the first Timer1 tick, browser parked
  };
  const std::vector<Row> rows = {
      {96, "edge 1 0,0 1024x32", "0,0 1024x114"},
      {144, "edge 1 0,0 1024x48", "0,0 1024x171"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.dpi) + " DPI");
    Desk d;
    Monitor m;
    m.rect = m.work = {0, 0, 1024, 768};
    m.primary = true;
    m.dpi = row.dpi;
    d.sim.setMonitors({m});
    ASSERT_TRUE(d.app.Start());
    // Before any tick: the 32 x 32 square at the bottom left.
    const int sq = screens::Scale(32, row.dpi);
    EXPECT_EQ(LifeRect(d), Str({0, 768 - screens::Scale(30, row.dpi), sq, sq}));
    EXPECT_EQ(AppBar(d), row.toolbar);
    Wait(d, 110);
    EXPECT_EQ(LifeRect(d), row.atTop);
    EXPECT_EQ(AppBar(d), "edge 1 " + std::string(row.atTop));
    EXPECT_TRUE(d.sim.isTopmost(d.app.browser.lifeform->Handle()));
  }
}

TEST(LifePanelBar, HeightChangeReregistersAndAMovedBarSnapsBack) {
  Desk d;
  ASSERT_TRUE(d.Start());
  Wait(d, 110);
  Tlifeform& life = *d.app.browser.lifeform;
  // The command bar's rule: 114 while the browser window is parked, 32
  // while it is shown; the shell is told each time.
  EXPECT_EQ(AppBar(d), "edge 1 0,0 1024x114");
  d.app.browser.easyie->SetLeft(0);
  Wait(d, 110);
  EXPECT_EQ(AppBar(d), "edge 1 0,0 1024x32");
  EXPECT_EQ(LifeRect(d), "0,0 1024x32");
  ASSERT_EQ(d.sim.appBars().size(), 1u);  // registered once, positioned again
  // Another program moves the bar away, or resizes it: the next tick puts
  // it back at the registered height.
  for (const Rect r : {Rect{200, 300, 500, 60}, Rect{0, 0, 600, 300}, Rect{-5, 0, 1024, 32}}) {
    d.sim.setWindowPos(life.Handle(), ZOrder::Keep, r, 0);
    Wait(d, 110);
    EXPECT_EQ(LifeRect(d), "0,0 1024x32") << Str(r);
  }
  d.app.browser.easyie->Park();
  Wait(d, 110);
  EXPECT_EQ(AppBar(d), "edge 1 0,0 1024x114");
  EXPECT_EQ(LifeRect(d), "0,0 1024x114");
}

TEST(LifePanelBar, NarrowScreenKeepsThePicturePanelOnIt) {
  for (int width : {800, 640, 100}) {
    SCOPED_TRACE("screen " + std::to_string(width) + " wide");
    Desk d;
    d.sim.setScreenSize(width, 480);
    ASSERT_TRUE(d.Start());
    Wait(d, 110);
    EXPECT_EQ(LifeRect(d), "0,0 " + std::to_string(width) + "x114");
    EXPECT_EQ(AppBar(d), "edge 1 0,0 " + std::to_string(width) + "x114");
    const Rect pic = d.sim.getWindowRect(d.app.browser.lifeform->Panel20.Handle());
    EXPECT_GE(pic.left, 0);
    if (width >= 124) { EXPECT_LE(pic.right(), width); }
  }
}

TEST(LifePanelBar, ShellRefusingTheToolbarLeavesNothingReserved) {
  Desk d;
  d.sim.setAppBarsRefused(true);
  const Rect whole = d.sim.workArea();
  ASSERT_TRUE(d.Start());
  Wait(d, 110);
  EXPECT_EQ(AppBar(d), "");
  EXPECT_EQ(d.sim.workArea(), whole);
  // The bar is still across the top; a maximised window is left as the
  // shell made it, since nothing is reserved for the bar.
  EXPECT_EQ(LifeRect(d), "0,0 1024x114");
  d.sim.setShellReservesAppBars(false);
  Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.maximizeWindow(ed);
  Wait(d, 210);
  EXPECT_EQ(d.sim.getWindowRect(ed).top, 0);
  // Once the shell accepts, the next registration takes.
  d.sim.setAppBarsRefused(false);
  d.app.browser.lifeform->Button1Click();
  EXPECT_EQ(AppBar(d), "edge 1 0,0 1024x114");
}

TEST(LifePanelBar, OrderlyExitGivesTheWorkAreaBack) {
  Desk d;
  const Rect whole = d.sim.workArea();
  ASSERT_TRUE(d.Start());
  Wait(d, 110);
  EXPECT_EQ(d.sim.workArea(), (Rect{0, 114, 1024, 768 - 114}));
  d.sim.queueMenuChoice("关闭");
  ASSERT_TRUE(d.sim.trayMessage(TFormMain::kTrayId, 517));  // right button up
  EXPECT_TRUE(d.sim.quitPosted());
  EXPECT_EQ(AppBar(d), "");
  EXPECT_EQ(d.sim.workArea(), whole);
  d.app.Finish();
  EXPECT_TRUE(d.sim.appBars().empty());
}

// ---- maximised windows and the bar ------------------------------------------------

TEST(LifePanelBar, MaximisedWindowsStartBelowTheBar) {
  struct Row {
    const char* shell;
    bool reserves;
    int dpi;
  };
  for (const Row& row : std::vector<Row>{{"reserving shell", true, 96},
                                         {"shell that keeps the work area", false, 96},
                                         {"shell that keeps the work area", false, 144}}) {
    SCOPED_TRACE(std::string(row.shell) + " at " + std::to_string(row.dpi));
    Desk d;
    Monitor m;
    m.rect = m.work = {0, 0, 1024, 768};
    m.primary = true;
    m.dpi = row.dpi;
    d.sim.setMonitors({m});
    d.sim.setShellReservesAppBars(row.reserves);
    ASSERT_TRUE(d.Start());
    Wait(d, 110);
    const int barBottom = screens::Scale(114, row.dpi);
    Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
    d.sim.maximizeWindow(ed);
    Wait(d, 210);
    EXPECT_EQ(Str(d.sim.getWindowRect(ed)), Str({0, barBottom, 1024, 768 - barBottom}));
    EXPECT_TRUE(d.sim.windowState(ed).maximized);
    // A window that is not maximised may lie under the bar.
    Wnd other = d.sim.addTextEditor({300, 0, 300, 200});
    Wait(d, 210);
    EXPECT_EQ(d.sim.getWindowRect(other).top, 0);
  }
}

TEST(LifePanelBar, MaximisedWindowOnAnotherMonitorIsLeftAlone) {
  Desk d;
  Monitor left, main;
  left.rect = left.work = {-1280, 0, 1280, 1024};
  main.rect = main.work = {0, 0, 1024, 768};
  main.primary = true;
  d.sim.setMonitors({main, left});
  d.sim.setShellReservesAppBars(false);
  ASSERT_TRUE(d.Start());
  Wait(d, 110);
  Wnd ed = d.sim.addTextEditor({-1200, 100, 400, 300});
  // Maximised on the left monitor by its user (a rectangle the sim does
  // not compute for monitors other than the main one).
  d.sim.maximizeWindow(ed);
  d.sim.setWindowPos(ed, ZOrder::Keep, {-1280, 0, 1280, 1024}, swp::NoZOrder);
  Wait(d, 210);
  EXPECT_EQ(Str(d.sim.getWindowRect(ed)), "-1280,0 1280x1024");
}

// ---- the Ctrl counter ---------------------------------------------------------------

TEST(LifePanelCtrl, CounterGrowsWhileHeldAndATapStartsADrag) {
  // The count grows by one a tick while Ctrl is down. A person's tap starts
  // a drag (the program presses the left button, whose press starts the
  // count over); a hold longer than a tap starts nothing and gives nothing
  // back, and leaves the count at 0 for the next tap.
  struct Row {
    unsigned holdMs;
    bool drag;
  };
  const std::vector<Row> rows = {{30, true}, {150, true}, {900, false}, {1500, false},
                                 {12000, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE("Ctrl held " + std::to_string(row.holdMs) + " ms");
    Desk d;
    ASSERT_TRUE(d.StartOverPage());
    Tlifeform& life = *d.app.browser.lifeform;
    EXPECT_EQ(life.Panel9.Caption(), "0");
    d.sim.keyDown(vk::Control);
    Wait(d, row.holdMs);
    // While held: the zone word and a count of 100 ms ticks, at most 100.
    const int count = LeadingInt(life.Panel9.Caption());
    EXPECT_LE(count, std::min<int>(row.holdMs / 100 + 1, 100));
    EXPECT_GE(count, std::min<int>(row.holdMs / 100 - 1, 100));
    if (row.holdMs >= 100) { EXPECT_EQ(life.Panel4.Caption(), "<Ctrl>按下"); }
    const auto mark = d.sim.mark();
    d.sim.keyUp(vk::Control);
    Wait(d, 400);
    const auto ev = d.sim.eventsSince(mark, simfilter::input());
    const bool dragged = std::find(ev.begin(), ev.end(), "mouse leftdown") != ev.end();
    EXPECT_EQ(dragged, row.drag);
    EXPECT_EQ(std::find(ev.begin(), ev.end(), "key 17 down"), ev.end()) << "Ctrl given back";
    EXPECT_EQ(life.Panel4.Caption(), "");
    EXPECT_EQ(life.Panel9.Caption(), "0");
    if (row.drag) {
      // The user's click ends the drag.
      d.sim.click(60);
      Wait(d, 200);
    }
    EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
    EXPECT_FALSE(d.sim.isKeyDown(vk::Control));
  }
}

TEST(LifePanelCtrl, ATapAfterLongHoldsStillStartsADrag) {
  for (unsigned tapMs : {30u, 150u}) {
    SCOPED_TRACE("tap of " + std::to_string(tapMs) + " ms");
    Desk d;
    ASSERT_TRUE(d.StartOverPage());
    for (int i = 0; i < 3; ++i) {
      d.sim.keyDown(vk::Control);
      Wait(d, 800);
      d.sim.keyUp(vk::Control);
      Wait(d, 300);
    }
    const auto mark = d.sim.mark();
    d.sim.keyDown(vk::Control);
    Wait(d, tapMs);
    d.sim.keyUp(vk::Control);
    Wait(d, 400);
    const auto ev = d.sim.eventsSince(mark, simfilter::input());
    EXPECT_NE(std::find(ev.begin(), ev.end(), "mouse leftdown"), ev.end())
        << ::testing::PrintToString(ev);
    EXPECT_EQ(std::find(ev.begin(), ev.end(), "key 17 down"), ev.end());
    d.sim.click(60);
    Wait(d, 200);
  }
}

TEST(LifePanelCtrl, LeftPressResetsTheCounter) {
  Desk d;
  ASSERT_TRUE(d.StartOverPage());
  Tlifeform& life = *d.app.browser.lifeform;
  d.app.shell.wrpyreadpanel->lctrl.SetChecked(true);  // no Ctrl drag in the way
  d.sim.keyDown(vk::Control);
  Wait(d, 600);
  d.sim.keyUp(vk::Control);
  Wait(d, 200);
  EXPECT_GE(LeadingInt(life.Panel9.Caption()), 5);
  d.sim.click(60);
  Wait(d, 200);
  EXPECT_EQ(life.Panel9.Caption(), "0");
}

// ---- near-mode hints --------------------------------------------------------------

struct Step {
  enum What { Move, LeftClick, RightClick, Rest } what;
  int x = 0, y = 0;
  unsigned ms = 0;  // press length, or rest
};

void Play(Desk& d, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    switch (s.what) {
      case Step::Move: d.sim.moveMouse(s.x, s.y); break;
      case Step::LeftClick: d.sim.click(s.ms); break;
      case Step::RightClick: d.sim.rightClick(s.ms); break;
      case Step::Rest: Wait(d, s.ms); break;
    }
  }
}

TEST(LifePanelNear, HintsFollowPressesAndMoves) {
  struct Row {
    const char* name;
    std::vector<Step> steps;
    const char* panel7;
    const char* leftform;  // "" = not checked
  };
  for (unsigned press : {30u, 150u}) {
    const std::vector<Row> rows = {
        {"left click, resting there",
         {{Step::Move, 300, 300}, {Step::Rest, 0, 0, 100}, {Step::LeftClick, 0, 0, press},
          {Step::Rest, 0, 0, 300}},
         "左键附近：右左--粘贴自我;右右--粘贴行首", ""},
        {"left click, then moved away",
         {{Step::Move, 300, 300}, {Step::Rest, 0, 0, 100}, {Step::LeftClick, 0, 0, press},
          {Step::Rest, 0, 0, 300}, {Step::Move, 340, 300}, {Step::Rest, 0, 0, 300}},
         "正常位置", "normal"},
        {"left click, moved 3 px: still at the press point",
         {{Step::Move, 300, 300}, {Step::Rest, 0, 0, 100}, {Step::LeftClick, 0, 0, press},
          {Step::Rest, 0, 0, 300}, {Step::Move, 303, 297}, {Step::Rest, 0, 0, 300}},
         "左键附近：右左--粘贴自我;右右--粘贴行首", ""},
        {"left click, moved 4 px: away",
         {{Step::Move, 300, 300}, {Step::Rest, 0, 0, 100}, {Step::LeftClick, 0, 0, press},
          {Step::Rest, 0, 0, 300}, {Step::Move, 300, 304}, {Step::Rest, 0, 0, 300}},
         "正常位置", "normal"},
    };
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.name) + ", presses of " + std::to_string(press) + " ms");
      Desk d;
      ASSERT_TRUE(d.StartOverPage(200, 200));
      Play(d, row.steps);
      EXPECT_EQ(d.app.browser.lifeform->Panel7.Caption(), row.panel7);
      if (*row.leftform) { EXPECT_EQ(d.app.relays.leftform->Caption(), row.leftform); }
      EXPECT_EQ(d.app.browser.lifeform->Panel6.Caption(), "");
    }
  }
}

TEST(LifePanelNear, CombinationHintsFromThePreviousMode) {
  // Resting at a press point, the input core writes a near mode; the
  // panel turns a right mode after a left one (and the reverse) into the
  // combination hint.
  struct Row {
    bool right;  // the press is a right click
    const char* first;
    const char* second;
    const char* hint;
  };
  for (const Row& row :
       std::vector<Row>{{false, "左键附近", "右键附近", "右左：左--上下网络;右--关闭窗口"},
                        {true, "右键附近", "左键附近", "左右：左--粘贴自我;右--粘贴行首"},
                        {false, "左键附近", "左键附近", "左键附近：右左--粘贴自我;右右--粘贴行首"},
                        {true, "右键附近", "右键附近", "右键附近：左左--上下网络;左右--关闭窗口"}}) {
    for (unsigned press : {30u, 150u}) {
      SCOPED_TRACE(std::string(row.first) + " then " + row.second + ", " + std::to_string(press) +
                   " ms click");
      Desk d;
      ASSERT_TRUE(d.StartOverPage(600, 400));
      Tlifeform& life = *d.app.browser.lifeform;
      if (row.right) d.sim.rightClick(press); else d.sim.click(press);
      Wait(d, 200);
      life.Panel7.SetCaption(row.first);
      Wait(d, 200);
      EXPECT_EQ(life.Panel19.Caption(), row.first);
      life.Panel7.SetCaption(row.second);
      Wait(d, 200);
      EXPECT_EQ(life.Panel7.Caption(), row.hint);
    }
  }
}

// ---- double right click ---------------------------------------------------------------

TEST(LifePanelNear, DoubleRightClickOpensTheClipWidgetWithThePasteCard) {
  struct Row {
    const char* name;
    std::vector<Step> between;  // after the first right click
    bool opens;
  };
  for (unsigned press : {30u, 150u}) {
    const std::vector<Row> rows = {
        {"same point", {{Step::Rest, 0, 0, 250}}, true},
        {"moved 10 px", {{Step::Rest, 0, 0, 150}, {Step::Move, 410, 300}, {Step::Rest, 0, 0, 150}},
         false},
        {"left click elsewhere between",
         {{Step::Rest, 0, 0, 150}, {Step::Move, 600, 500}, {Step::Rest, 0, 0, 150},
          {Step::LeftClick, 0, 0, press}, {Step::Rest, 0, 0, 150}, {Step::Move, 400, 300},
          {Step::Rest, 0, 0, 250}},
         false},
    };
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.name) + ", presses of " + std::to_string(press) + " ms");
      Desk d;
      ASSERT_TRUE(d.StartOverPage(400, 300));
      Wait(d, 100);
      const auto mark = d.sim.mark();
      d.sim.rightClick(press);
      Play(d, row.between);
      d.sim.rightClick(press);
      Wait(d, 250);
      Tqircom& bar = *d.app.bar.qircom;
      const Point p = d.sim.getCursorPos();
      if (row.opens) {
        EXPECT_EQ(Str(bar.ScreenRect()), Str({p.x - 30, p.y - 15, 70, 24}));
        EXPECT_EQ(bar.Panel14.Caption(), "=");
        EXPECT_TRUE(bar.Panel12.Visible());
        // The mouse picture window beside it shows the paste picture.
        Tmousepp& card = *d.app.bar.mousepp;
        EXPECT_EQ(Str(card.ScreenRect()), Str({p.x - 80, p.y - 170, 336, 67}));
        EXPECT_EQ(card.Panel2.Left(), 0);
        EXPECT_EQ(card.Panel1.Left(), -2000);
        EXPECT_EQ(card.Label1.Caption(), "左点,粘贴;右点,粘贴行首;绿色,复制;桔色,删除");
        const auto keys = d.sim.eventsSince(mark, simfilter::keys());
        EXPECT_NE(std::find(keys.begin(), keys.end(), "key 27 down"), keys.end());
      } else {
        EXPECT_FALSE(bar.Shown() && bar.Panel14.Caption() == "=") << Str(bar.ScreenRect());
        EXPECT_FALSE(d.app.bar.mousepp->Shown());
      }
    }
  }
}

// The hook's right release word belongs to the input core first: the panel
// answers only the core's acknowledgement, whenever in its 100 ms period the
// click falls. Seen as the scroll-mode caption's run of texts, which other
// programs read too.
TEST(LifePanelNear, RightReleaseWordReachesTheInputCoreBeforeThePanel) {
  for (unsigned press : {30u, 150u}) {
    for (unsigned phase = 0; phase < 100; phase += 5) {
      SCOPED_TRACE("press " + std::to_string(press) + " ms, " + std::to_string(phase) +
                   " ms into the panel's period");
      Desk d;
      ASSERT_TRUE(d.StartOverPage(400, 300));
      Wait(d, 100 + phase);
      const auto mark = d.sim.mark();
      d.sim.rightClick(press);
      Wait(d, 300);
      const auto seen = d.sim.eventsSince(mark, simfilter::captionsOf("TqirForm3"));
      auto up = std::find(seen.begin(), seen.end(), "caption TqirForm3=rightup400,300");
      ASSERT_NE(up, seen.end()) << ::testing::PrintToString(seen);
      EXPECT_TRUE(SameEvents({"caption TqirForm3=rightup400,300", "caption TqirForm3=ok rightup",
                              "caption TqirForm3=right okup"},
                             std::vector<std::string>(up, seen.end())));
    }
  }
}

// ---- the card beside the clip widget ----------------------------------------------------

// The card comes up beside a narrow bar for the zone word the input core
// wrote. Its Escape is for a menu the application opened for the right
// release: with the pointer on the program's own bar there is none, and no
// Escape may reach the application. Nor does a left press make the card
// come and go (and press Escape each time) while the button is down.
TEST(LifePanelCard, CardBesideTheWidgetEscapesOnlyOffTheBar) {
  struct Row {
    const char* zone;
    bool onBar;         // the pointer on the widget, or 150 px below it
    int picture;        // the card's panel at x 0: 1 network, 2 paste
    bool escape;
  };
  const std::vector<Row> rows = {
      {"X", true, 1, false}, {"X", false, 1, true}, {"=", true, 2, false}, {"=", false, 2, true}};
  for (unsigned press : {30u, 150u}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string("zone ") + row.zone + (row.onBar ? ", on the bar" : ", off it") +
                   ", left press " + std::to_string(press) + " ms");
      Desk d;
      ASSERT_TRUE(d.StartOverPage(400, 300));
      Tqircom& bar = *d.app.bar.qircom;
      Tmousepp& card = *d.app.bar.mousepp;
      const Point at = row.onBar ? Point{410, 310} : Point{410, 460};
      d.sim.moveMouse(at.x, at.y);
      Wait(d, 40);
      const auto mark = d.sim.mark();
      bar.Panel14.SetCaption(row.zone);
      bar.SetWindowPos(ZOrder::TopMost, 400, 300, 70, 24, swp::ShowWindow);
      bar.Panel9.Show();
      Wait(d, 60);
      ASSERT_TRUE(card.Shown());
      EXPECT_EQ(Str(card.ScreenRect()), Str({at.x - 80, at.y - 170, 336, 67}));
      Control* pictures[] = {&card.Panel1, &card.Panel2, &card.Panel3};
      for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pictures[i]->Left(), i + 1 == row.picture ? 0 : -2000) << "picture " << i + 1;
      const std::vector<std::string> esc = {"key 27 down", "key 27 up"};
      EXPECT_TRUE(SameEvents(row.escape ? esc : std::vector<std::string>{}, d.Keys(mark)));
      // A left press held on the page below the widget: the card is
      // parked while the button is down and nothing is pressed for it.
      d.sim.moveMouse(410, 465);
      Wait(d, 60);
      const auto mark2 = d.sim.mark();
      d.sim.leftDown();
      for (unsigned t = 0; t < press; t += 5) {
        d.sim.advance(5);
        if (t >= 100) { EXPECT_FALSE(card.Shown()) << t << " ms into the press"; }
      }
      d.sim.leftUp();
      const auto keys = d.Keys(mark2);
      EXPECT_EQ(std::count(keys.begin(), keys.end(), "key 27 down"), 0) << ::testing::PrintToString(keys);
    }
  }
}

// The pointer widget (right held, left pressed at one point) brings the
// network card; a left press held on the widget's centre parks it, and it
// stays parked until the button is let go.
TEST(LifePanelCard, CardStaysParkedWhileTheLeftButtonIsHeldOnTheWidget) {
  Desk d;
  ASSERT_TRUE(d.StartOverPage(300, 300));
  Tmousepp& card = *d.app.bar.mousepp;
  d.sim.rightDown();
  d.Ticks(2);
  d.sim.leftDown();
  d.Ticks(2);
  d.sim.leftUp();
  Wait(d, 60);
  ASSERT_TRUE(card.Shown());
  EXPECT_EQ(card.Panel1.Left(), 0);
  d.sim.leftDown();
  for (unsigned t = 0; t < 250; t += 5) {
    d.sim.advance(5);
    if (t >= 100) { ASSERT_FALSE(card.Shown()) << t << " ms into the press"; }
  }
  d.sim.leftUp();
  d.sim.rightUp();
}

// ---- the selection card ---------------------------------------------------------------

TEST(LifePanelNear, SelectionOpensTheSelectionCardWhereItEnds) {
  // A left press that moves selects; resting where it ended, the panel
  // opens the selection card there, unless hold-to-drag is on.
  for (bool lleft : {false, true}) {
    for (unsigned step : {5u, 40u}) {
      SCOPED_TRACE(std::string(lleft ? "hold-to-drag on" : "hold-to-drag off") + ", a move each " +
                   std::to_string(step) + " ms");
      Desk d;
      ASSERT_TRUE(d.StartOverPage(200, 300));
      d.app.shell.wrpyreadpanel->lleft.SetChecked(lleft);
      d.sim.leftDown();
      Wait(d, 60);
      for (int x = 210; x <= 320; x += 10) {
        d.sim.moveMouse(x, 300);
        Wait(d, step);
      }
      Wait(d, 250);
      d.sim.leftUp();
      Wait(d, 250);
      Tmousepp& card = *d.app.bar.mousepp;
      if (!lleft) {
        EXPECT_EQ(d.app.browser.lifeform->Panel7.Caption(), "选择附近：左键--删除；右键搜索");
        EXPECT_EQ(Str(card.ScreenRect()), Str({320 - 80, 300 - 170, 336, 67}));
        EXPECT_EQ(card.Panel3.Left(), 0);
        EXPECT_EQ(card.Panel1.Left(), -2000);
        EXPECT_EQ(card.Label23.Caption(), "左点:彻底删除");
        EXPECT_EQ(d.app.relays.leftform->Caption(), "exitleft");
        EXPECT_EQ(d.app.browser.lifeform->leftselect.Caption(), "xxleftok");
        // Moving away leaves the card's hint for the normal position.
        d.sim.moveMouse(500, 500);
        Wait(d, 250);
        EXPECT_EQ(d.app.browser.lifeform->Panel7.Caption(), "正常位置");
      } else {
        EXPECT_FALSE(card.Shown());
        EXPECT_NE(d.app.browser.lifeform->Panel7.Caption(), "选择附近：左键--删除；右键搜索");
      }
    }
  }
}

// ---- wheel mode from motion -----------------------------------------------------------

TEST(LifePanelWheel, ModeFollowsTheDirectionOfMotion) {
  struct Row {
    const char* name;
    int dx, dy;          // per 100 ms
    const char* tipMode;  // the wheel tip's wheelmode
    const char* motion;   // Panel23
    const char* panel28;  // the command bar's Panel28
  };
  const std::vector<Row> rows = {
      {"left", -30, 5, "正常滚轮", "left", "ok"},
      {"right", 30, -5, "正常滚轮", "ssssright", "ok"},
      {"up", 5, -30, "正常滚轮", "normal", "ok"},
      {"down", -5, 30, "快速滚轮", "down", "down far"},
      {"down then right", 0, 0, "正常滚轮", "ssssright", "ok"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    ASSERT_TRUE(d.StartOverPage(500, 300));
    Point p{500, 300};
    auto go = [&](int dx, int dy) {
      for (int i = 0; i < 4; ++i) {
        p.x += dx;
        p.y += dy;
        d.sim.moveMouse(p.x, p.y);
        Wait(d, 100);
      }
    };
    if (row.dx == 0 && row.dy == 0) {
      go(0, 30);
      go(30, 0);
    } else {
      go(row.dx, row.dy);
    }
    Wait(d, 100);
    EXPECT_EQ(d.app.bar.wheeltipform->wheelmode.Caption(), row.tipMode);
    EXPECT_EQ(d.app.browser.easyie->wheelmode.Caption(), row.tipMode);
    EXPECT_EQ(d.app.browser.lifeform->Panel23.Caption(), row.motion);
    EXPECT_EQ(d.app.bar.qircom->Panel28.Caption(), row.panel28);
  }
}

// A corner mode the command bar chose holds while the pointer rests and
// while it moves; the left press that ends it gives the wheel back to the
// motion.
TEST(LifePanelWheel, CornerModeHoldsUntilALeftPress) {
  for (unsigned press : {30u, 150u}) {
    SCOPED_TRACE(std::to_string(press) + " ms press");
    Desk d;
    ASSERT_TRUE(d.StartOverPage(500, 300));
    Tqircom& bar = *d.app.bar.qircom;
    // Sideways first: the normal wheel.
    for (int x : {540, 580, 620}) {
      d.sim.moveMouse(x, 300);
      Wait(d, 100);
    }
    Wait(d, 100);
    EXPECT_EQ(bar.Panel28.Caption(), "ok");
    bar.Panel28.SetCaption("up far");
    Wait(d, 500);
    EXPECT_EQ(bar.Panel28.Caption(), "up far") << "resting";
    for (int y : {340, 380, 420}) {
      d.sim.moveMouse(620, y);
      Wait(d, 100);
    }
    Wait(d, 100);
    EXPECT_EQ(bar.Panel28.Caption(), "up far") << "moving down";
    d.sim.moveMouse(700, 200);
    Wait(d, 200);
    d.sim.click(press);
    Wait(d, 50);
    // Resting where it clicked: the fast wheel of the left-near mode.
    EXPECT_EQ(bar.Panel28.Caption(), "down far") << "after the left press";
    for (int x : {740, 780, 820}) {
      d.sim.moveMouse(x, 200);
      Wait(d, 100);
    }
    Wait(d, 100);
    EXPECT_EQ(bar.Panel28.Caption(), "ok") << "moving sideways after the press";
  }
}

TEST(LifePanelWheel, SamplesAtTheScreenEdgesAndOnAMonitorLeftOfTheMain) {
  Desk d;
  Monitor left, main;
  left.rect = left.work = {-1280, -200, 1280, 1024};
  main.rect = main.work = {0, 0, 1024, 768};
  main.primary = true;
  d.sim.setMonitors({main, left});
  ASSERT_TRUE(d.Start());
  // Down the left monitor: negative x, then across the border to the
  // right, then pressed against the main monitor's edges.
  const std::vector<std::pair<Point, const char*>> path = {
      {{-300, -150}, nullptr}, {{-300, -100}, nullptr}, {{-300, -40}, "down"},
      {{-200, -40}, nullptr},  {{-20, -40}, "ssssright"}, {{1023, 0}, "ssssright"},
      {{1023, 767}, "down"},   {{0, 767}, "left"},
  };
  for (const auto& [pt, motion] : path) {
    // One tick takes the sample, the next compares it with the one before.
    d.sim.moveMouse(pt.x, pt.y);
    Wait(d, 200);
    if (motion) {
      EXPECT_EQ(d.app.browser.lifeform->Panel23.Caption(), motion) << pt.x << "," << pt.y;
    }
  }
  // The samples stay few: never more than 20, cut back to the newest two.
  for (int i = 0; i < 60; ++i) {
    d.sim.moveMouse(100 + i, 100);
    Wait(d, 100);
    ASSERT_LE(d.app.browser.lifeform->ListBox2.Count(), 21);
  }
  EXPECT_EQ(d.app.browser.lifeform->ListBox2.Count(), d.app.browser.lifeform->ListBox3.Count());
}

// ---- the wheel tip ----------------------------------------------------------------------

TEST(LifePanelWheel, TipSitsOnTheActiveWindowsTitleBarAndFollowsIt) {
  Desk d;
  ASSERT_TRUE(d.Start());
  Twheeltipform& tip = *d.app.bar.wheeltipform;
  Wnd ed = d.sim.addTextEditor({100, 200, 500, 300});
  Wait(d, 110);
  EXPECT_EQ(Str(tip.ScreenRect()), Str({600 - 180, 202, 104, 18}));
  EXPECT_EQ(d.sim.getForegroundWindow(), ed);
  // The window moves: the tip follows within a tick.
  d.sim.setWindowPos(ed, ZOrder::Keep, {300, 400, 400, 200}, swp::NoZOrder);
  Wait(d, 110);
  EXPECT_EQ(Str(tip.ScreenRect()), Str({700 - 180, 402, 104, 18}));
  // Another window becomes active.
  Wnd other = d.sim.addTextEditor({0, 50, 300, 200});
  Wait(d, 110);
  EXPECT_EQ(Str(tip.ScreenRect()), Str({300 - 180, 52, 104, 18}));
  // The program's own windows do not carry it.
  d.sim.setForegroundWindow(d.app.bar.qirForm3->Handle());
  Wait(d, 210);
  EXPECT_EQ(Str(tip.ScreenRect()), Str({300 - 180, 52, 104, 18}));
  // The full command bar on the screen parks it.
  d.app.bar.qircom->SetWindowPos(ZOrder::TopMost, 300, 300, 400, 350, swp::ShowWindow);
  Wait(d, 110);
  EXPECT_FALSE(tip.Shown());
  // Parked again, the bar leaves it on the active window.
  d.sim.setForegroundWindow(other);
  d.app.bar.qircom->Park();
  Wait(d, 110);
  EXPECT_EQ(Str(tip.ScreenRect()), Str({300 - 180, 52, 104, 18}));
  // A shown browser window parks it, and it stays parked (no timer puts it
  // back for the next to park it again) until the browser is parked.
  d.app.browser.easyie->SetLeft(0);
  for (int t = 0; t < 400; t += 5) {
    d.sim.advance(5);
    if (t >= 20) { ASSERT_FALSE(tip.Shown()) << t << " ms after the browser came up"; }
  }
  d.app.browser.easyie->Park();
  d.sim.setForegroundWindow(other);
  Wait(d, 110);
  EXPECT_EQ(Str(tip.ScreenRect()), Str({300 - 180, 52, 104, 18}));
}

}  // namespace
}  // namespace sq::testing

namespace sq::testing {
namespace {

// ---- presses on the bar ------------------------------------------------------------------

Point Centre(Desk& d, const Control& c) {
  const Rect r = d.sim.getWindowRect(c.Handle());
  return {r.left + r.width / 2, r.top + r.height / 2};
}

TEST(LifePanelPresses, MenuMarkerAndPictureHover) {
  for (unsigned press : {30u, 150u}) {
    SCOPED_TRACE(std::to_string(press) + " ms presses");
    Desk d;
    d.sim.setGraphicControlsTransparent(false);  // pictures are windows, as on Windows
    ASSERT_TRUE(d.Start());
    Wait(d, 110);
    Tlifeform& life = *d.app.browser.lifeform;
    // A release on ">>" opens the main menu at the pointer.
    const Point at = Centre(d, life.Panel13);
    d.sim.moveMouse(at.x, at.y);
    d.sim.queueMenuChoice(-1);
    const auto mark = d.sim.mark();
    d.sim.click(press);
    Wait(d, 20);
    ASSERT_EQ(d.sim.popupMenus().size(), 1u);
    EXPECT_EQ(d.sim.popupMenus().back().at, at);
    // The input window hears "old--mode" (and its tick answers it).
    const auto caps = d.sim.eventsSince(mark, simfilter::captionsOf("Tqirinputor"));
    EXPECT_NE(std::find(caps.begin(), caps.end(), "caption Tqirinputor=old--mode"), caps.end());
    // A press on the product panel brings the marker window up.
    const Point tag = Centre(d, life.Panel10);
    // (Read as the button goes down: the browser's timer folds the marker
    // to height 0 within its 200 ms while no key word is pending.)
    d.sim.moveMouse(tag.x, tag.y);
    d.sim.leftDown();
    EXPECT_EQ(Str(d.app.relays.rightform->ScreenRect()), "100,100 240x40");
    EXPECT_TRUE(d.sim.isTopmost(d.app.relays.rightform->Handle()));
    Wait(d, press);
    d.sim.leftUp();
    Wait(d, 20);
    // Moving over a picture parks the browser window, moves the pointer
    // near the screen's centre and opens the menu there.
    d.app.browser.easyie->SetLeft(0);
    const Point pic = Centre(d, life.Image6);
    d.sim.queueMenuChoice(-1);
    d.sim.moveMouse(pic.x, pic.y);
    Wait(d, 20);
    ASSERT_EQ(d.sim.popupMenus().size(), 2u);
    EXPECT_EQ(d.sim.popupMenus().back().at, (Point{512, 384}));
    EXPECT_EQ(d.sim.getCursorPos(), (Point{532, 410}));
    EXPECT_FALSE(d.app.browser.easyie->Shown());
  }
}

}  // namespace
}  // namespace sq::testing

namespace sq::testing {
namespace {

// ---- bad input to the panel's page ----------------------------------------------------

// A status text of 10,000 characters is kept whole (as the browser's
// status line shows it) and opened whole when the panel's page asks for a
// window; a request with no link shown before it (a page without links)
// is left to the control and opens nothing. The bar keeps its place.
TEST(LifePanelBadInput, LongStatusTextAndAPageWithoutLinks) {
  Web w;
  ASSERT_TRUE(w.Start());
  Wait(w, 110);
  auto* life = dynamic_cast<SimBrowser*>(w.app.browser.lifeform->browser());
  ASSERT_NE(life, nullptr);
  const std::string before = Str(w.sim.getWindowRect(w.app.browser.lifeform->Handle()));
  const int pages = w.ie().PageCount();
  // No link shown yet.
  EXPECT_FALSE(life->fireNewWindow2().cancel);
  EXPECT_EQ(w.ie().PageCount(), pages);
  EXPECT_FALSE(w.ie().Shown());
  // The panel's own page shows a 10,000-character link and asks for a
  // window: the browser window opens it whole in a tab.
  const std::string longText = "http://long.test/" + std::string(10000 - 17, 'q');
  life->fireStatusTextChange(longText);
  EXPECT_TRUE(life->fireNewWindow2().cancel);
  EXPECT_TRUE(w.ie().Shown());
  EXPECT_EQ(w.ie().PageCount(), pages + 1);
  ASSERT_NE(w.Active(), nullptr);
  ASSERT_FALSE(w.Active()->requested().empty());
  EXPECT_EQ(w.Active()->requested().back().substr(0, 17), "http://long.test/");
  // That page's status text of the same length, the browser shown: the
  // panel's status line shows it.
  w.Active()->fireStatusTextChange(longText + "!");
  EXPECT_EQ(w.app.browser.lifeform->status.Caption().size(), 10001u);
  EXPECT_EQ(w.app.browser.lifeform->Label3.Caption().size(), 10001u);
  Wait(w, 110);
  // Shown browser: the low bar, in its place.
  EXPECT_EQ(Str(w.sim.getWindowRect(w.app.browser.lifeform->Handle())), "0,0 1024x32");
  w.ie().Park();
  Wait(w, 110);
  EXPECT_EQ(Str(w.sim.getWindowRect(w.app.browser.lifeform->Handle())), before);
}

// ---- the copy of the key history -------------------------------------------------

// The panel's hidden copy of the command bar's key history reads as the
// history itself once both timers have seen a word: through new words at
// the head, words the gestures overwrite, and the cut past 300 items;
// nothing in it is selected afterwards, as after writing it afresh.
TEST(LifePanelKeyCopy, FollowsTheHistoryThroughNewWordsOverwritesAndTheCut) {
  Desk d;
  ASSERT_TRUE(d.Start());
  Tlifeform& life = *d.app.browser.lifeform;
  Tqircom& bar = *d.app.bar.qircom;
  auto settle = [&] { Wait(d, 100); };
  // Some words, then a selection in the copy.
  for (int vk : {'A', 'B'}) {
    d.sim.tapKey(vk, 60);
    settle();
  }
  ASSERT_GE(bar.ListBox8.Count(), 4);
  EXPECT_EQ(d.Items(life.ListBox1), d.Items(bar.ListBox8));
  life.ListBox1.SetItemIndex(1);
  d.sim.tapKey('C', 60);
  settle();
  EXPECT_EQ(d.Items(life.ListBox1), d.Items(bar.ListBox8));
  EXPECT_EQ(life.ListBox1.ItemIndex(), -1);

  // Ctrl tapped twice: the bar overwrites the older Ctrl word in place.
  d.sim.tapKey(vk::Control, 60);
  Wait(d, 60);
  d.sim.tapKey(vk::Control, 60);
  settle();
  const auto history = d.Items(bar.ListBox8);
  EXPECT_NE(std::find(history.begin(), history.end(), words::cmd::CtrlUpUsed), history.end());
  EXPECT_EQ(d.Items(life.ListBox1), history);

  // Taps until the history passes its limit and is cut back.
  bool cut = false;
  for (int i = 0; i < 200 && !cut; ++i) {
    const int before = bar.ListBox8.Count();
    d.sim.tapKey('A' + i % 2, 60);
    Wait(d, 60);
    cut = bar.ListBox8.Count() < before;
  }
  ASSERT_TRUE(cut) << "the history was never cut";
  settle();
  EXPECT_LE(bar.ListBox8.Count(), mail::kKeyHistoryKeep + 2);
  EXPECT_EQ(d.Items(life.ListBox1), d.Items(bar.ListBox8));
  d.sim.tapKey('B', 60);
  settle();
  EXPECT_EQ(d.Items(life.ListBox1), d.Items(bar.ListBox8));
}

// The same copy written directly with texts of every shape of change: each
// time it reads as the lines written, with nothing selected.
TEST(LifePanelKeyCopy, HiddenListReadsAsEveryTextWrittenToIt) {
  Desk d;
  ASSERT_TRUE(d.Start());
  Control& list = d.app.browser.lifeform->ListBox1;
  const std::vector<std::vector<std::string>> texts = {
      {"a", "b", "c"},
      {"x", "y", "a", "b"},            // new at the head, the end cut
      {"x", "q", "r", "b"},            // a run in the middle
      {"n", "x", "q", "r", "b"},       // one new at the head
      {"n", "x", "q", "r", "b"},       // the same again
      {"x", "q"},                      // the head dropped, the end cut
      {"a", "a", "a"},                 // nothing in common
      {"a", "a"},                      // repeats
      {"b", "a", "a"},
      {},
      {"", "z", ""},                   // empty items
      {"1", "2", "3", "4", "5", "6"},
      {"0", "1", "2"},
  };
  for (const auto& want : texts) {
    std::string text;
    for (std::size_t i = 0; i < want.size(); ++i) text += (i ? "\r\n" : "") + want[i];
    SCOPED_TRACE(text);
    if (list.Count() > 0) list.SetItemIndex(0);
    list.SetText(text);
    // An empty text is no line at all; a text ending in an empty line keeps it.
    const auto lines = SplitLines(text);
    EXPECT_EQ(d.Items(list), lines);
    EXPECT_EQ(list.ItemIndex(), -1);
  }
}

}  // namespace
}  // namespace sq::testing
