// Several monitors and display scaling: the windows placed at the pointer
// come up on the pointer's monitor in its DPI's sizes, "the same point" and
// the still test use distances of that DPI, nothing parked lies on any
// monitor, and windows follow monitors that are unplugged or rescaled.
#include <sstream>

#include "app/formmain.h"
#include "app/wrpyreadpanel.h"
#include "app/frame/screens.h"
#include "bar/mousepp.h"
#include "bar/wheeltipform.h"
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

Monitor Mon(Rect r, int dpi, bool primary = false) {
  Monitor m;
  m.rect = m.work = r;
  m.dpi = dpi;
  m.primary = primary;
  return m;
}

// The main monitor at 100 %, and a second one to its left at `leftDpi`.
std::vector<Monitor> LeftAndMain(int leftDpi, int mainDpi = 96) {
  return {Mon({0, 0, 1024, 768}, mainDpi, true), Mon({-1440, 0, 1440, 900}, leftDpi)};
}

std::string Str(const Rect& r) {
  std::ostringstream o;
  o << r.left << "," << r.top << " " << r.width << "x" << r.height;
  return o.str();
}

// What the user sees: the visible forms that lie on a monitor.
std::vector<std::string> FormsOnAMonitor(Desk& d) {
  std::vector<std::string> on;
  const auto ms = d.sim.monitors();
  for (Form* f : d.app.forms())
    if (d.sim.isShown(f->Handle()) && screens::OnAny(ms, d.sim.getWindowRect(f->Handle())))
      on.push_back(f->ClassName());
  return on;
}

// Starts the program with a page window on each monitor and the pointer at
// `at`, seen by one input tick.
void StartWithPages(Desk& d, const std::vector<Monitor>& ms, Point at) {
  d.sim.setMonitors(ms);
  ASSERT_TRUE(d.Start());
  for (const Monitor& m : ms)
    d.sim.addWindow("PageWnd", "page", {m.rect.left + 20, m.rect.top + 20, m.rect.width - 40,
                                        m.rect.height - 40});
  d.sim.moveMouse(at.x, at.y);
  d.Ticks(1);
}

// Right press, then left press at `left` (both held one tick each).
void RightThenLeft(Desk& d, Point right, Point left) {
  d.sim.moveMouse(right.x, right.y);
  d.sim.rightDown();
  d.Ticks(1);
  d.sim.rightUp();
  d.Ticks(1);
  d.sim.moveMouse(left.x, left.y);
  d.sim.leftDown();
  d.Ticks(1);
}

TEST(Screens, ScalingRoundTripsAndBordersBelongToOneMonitor) {
  // 96-DPI units to pixels and back, for the scalings Windows offers.
  struct Row { int dpi, v, px; };
  const std::vector<Row> rows = {
      {96, 25, 25},   {120, 25, 31},  {144, 25, 38},  {192, 25, 50},  {288, 25, 75},
      {144, 27, 41},  {144, 3, 5},    {120, 3, 4},    {192, 3, 6},    {288, -12, -36},
      {144, -2000, -3000}, {72, 25, 25},  // below 96 is taken as 96
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("dpi " + std::to_string(r.dpi) + " value " + std::to_string(r.v));
    EXPECT_EQ(screens::Scale(r.v, r.dpi), r.px);
    EXPECT_EQ(screens::Unscale(r.px, r.dpi), r.v);
  }
  for (int dpi : {96, 120, 144, 192, 288})
    for (int v = -3000; v <= 3000; v += 7)
      ASSERT_EQ(screens::Unscale(screens::Scale(v, dpi), dpi), v) << "dpi " << dpi;

  const auto ms = LeftAndMain(144);
  EXPECT_EQ(screens::At(ms, {0, 300}).dpi, 96);     // on the border: the right one
  EXPECT_EQ(screens::At(ms, {-1, 300}).dpi, 144);
  EXPECT_EQ(screens::At(ms, {-1500, 300}).dpi, 144);  // off both: the nearest
  EXPECT_EQ(screens::ForRect(ms, {-30, 10, 100, 20}).dpi, 96);  // the larger share
  EXPECT_EQ(screens::ForRect(ms, {-70, 10, 100, 20}).dpi, 144);

  struct Park { std::vector<Monitor> ms; int left; };
  const std::vector<Park> parks = {
      {{Mon({0, 0, 1024, 768}, 96, true)}, -2000},                 // the stored place
      {{Mon({0, 0, 2560, 1440}, 96, true)}, -2560},                // a browser that wide
      {LeftAndMain(144), -1440 - 2464},                            // left of both
      {{Mon({0, 0, 1024, 768}, 96, true), Mon({1024, -300, 1920, 1080}, 120)}, -2944},
  };
  for (const Park& p : parks) {
    const int x = screens::ParkLeft(p.ms);
    EXPECT_EQ(x, p.left);
    EXPECT_FALSE(screens::OnAny(p.ms, {x, 0, screens::Virtual(p.ms).width, 2000}));
  }
}

TEST(Monitors, NothingParkedLiesOnAnyMonitor) {
  // With a monitor left of the main one, the stored -2000 would lie on it.
  for (int leftDpi : {96, 144}) {
    SCOPED_TRACE("left monitor at " + std::to_string(leftDpi) + " DPI");
    Desk d;
    d.sim.setMonitors(LeftAndMain(leftDpi));
    ASSERT_TRUE(d.Start());
    EXPECT_EQ(FormsOnAMonitor(d), (std::vector<std::string>{"Tlifeform"}));
    for (Form* f : {static_cast<Form*>(d.app.bar.qircom), static_cast<Form*>(d.app.bar.mousepp),
                    static_cast<Form*>(d.app.bar.wheeltipform), d.app.FormMainForm()})
      EXPECT_FALSE(f->Shown()) << f->ClassName();
    // The life panel across the top of the main monitor.
    EXPECT_EQ(Str(d.sim.getWindowRect(d.app.browser.lifeform->Handle())), "0,0 1024x114");
  }
}

TEST(Monitors, MainMonitorScaledLaysOutTheLifePanelAndBrowserForIt) {
  Desk d;
  d.sim.setMonitors(LeftAndMain(96, 144));
  ASSERT_TRUE(d.Start());
  EXPECT_EQ(Str(d.sim.getWindowRect(d.app.browser.lifeform->Handle())), "0,0 1024x171");
  // The browser spans the main monitor; its layout is 1024 / 1.5 units wide.
  Teasyie& web = *d.app.browser.easyie;
  EXPECT_FALSE(web.Shown());
  EXPECT_EQ(web.Width(), 683);
  EXPECT_EQ(d.sim.getWindowRect(web.Handle()).width, 1024);
  EXPECT_EQ(web.PageControl1.Width(), 683);
  EXPECT_EQ(d.sim.getBounds(web.PageControl1.Handle()).width, 1025);  // 683 units
  EXPECT_EQ(d.sim.window(web.PageControl1.Handle())->dpi, 144);
  // Shown from the tray menu: on the main monitor, its layout unchanged.
  d.app.shell.FormMain->N6Click();
  EXPECT_TRUE(web.Shown());
  EXPECT_EQ(d.sim.getWindowRect(web.Handle()).left, 0);
  EXPECT_EQ(web.Width(), 683);
}

struct AtPointerRow {
  const char* what;
  Point pointer;
  const char* widget;  // the pointer widget's rectangle on the screen
  int dpi;             // its controls' DPI
};

TEST(Monitors, PointerWidgetComesUpAtThePointerOnEitherMonitor) {
  const std::vector<AtPointerRow> rows = {
      {"main monitor", {500, 400}, "488,388 25x25", 96},
      {"left monitor, 150 %", {-700, 400}, "-718,382 38x38", 144},
      {"left monitor at its right edge", {-5, 400}, "-38,382 38x38", 144},
      {"on the border: the main monitor", {0, 400}, "0,388 25x25", 96},
      {"main monitor's top left corner", {3, 2}, "0,0 25x25", 96},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Desk d;
    StartWithPages(d, LeftAndMain(144), r.pointer);
    RightThenLeft(d, r.pointer, r.pointer);
    Tqircom& bar = *d.app.bar.qircom;
    EXPECT_EQ(Str(d.sim.getWindowRect(bar.Handle())), r.widget);
    EXPECT_EQ(bar.Panel14.Caption(), "X");
    // The layout's units are the same on both monitors; the pixels differ.
    EXPECT_EQ(bar.Width(), 25);
    EXPECT_EQ(d.sim.window(bar.Panel27.Handle())->dpi, r.dpi);
    const Rect units = bar.Panel27.Bounds();
    EXPECT_EQ(d.sim.getBounds(bar.Panel27.Handle()),
              (Rect{screens::Scale(units.left, r.dpi), screens::Scale(units.top, r.dpi),
                    screens::Scale(units.width, r.dpi), screens::Scale(units.height, r.dpi)}));
    d.sim.leftUp();
    d.Ticks(1);
  }
}

TEST(Monitors, TheSamePointIsThreeUnitsOfThePointersMonitor) {
  // A right press, then a left press a few pixels away: the chord wants
  // "the same point", 3 units: 3 px at 100 %, 5 px at 150 %.
  struct Row { Point right; int dx; bool widget; };
  const std::vector<Row> rows = {
      {{500, 400}, 3, true},   {{500, 400}, 4, false},
      {{-700, 400}, 5, true},  {{-700, 400}, 6, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("right press at " + std::to_string(r.right.x) + ", left press " +
                 std::to_string(r.dx) + " px away");
    Desk d;
    StartWithPages(d, LeftAndMain(144), r.right);
    RightThenLeft(d, r.right, {r.right.x + r.dx, r.right.y - r.dx});
    EXPECT_EQ(d.app.bar.qircom->Shown(), r.widget);
    d.sim.leftUp();
    d.Ticks(1);
  }
}

TEST(Monitors, StillPressStartsADragOnEitherMonitor) {
  // The pointer shakes by `shake` px every tick while the button is held;
  // within 3 units it counts as still. The title window then comes up at
  // (x - 52, y - 40) units from the press, 100 x 27 units.
  struct Row { Point at; int shake; const char* title; };
  const std::vector<Row> rows = {
      {{500, 400}, 0, "448,360 100x27"},
      {{500, 400}, 3, "448,360 100x27"},
      {{500, 400}, 4, nullptr},
      {{-700, 400}, 0, "-778,340 150x41"},
      {{-700, 400}, 5, "-778,340 150x41"},
      {{-700, 400}, 6, nullptr},
      {{-20, 30}, 0, "-150,0 150x41"},  // kept on the left monitor
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("press at " + std::to_string(r.at.x) + "," + std::to_string(r.at.y) +
                 ", shaking " + std::to_string(r.shake) + " px");
    Desk d;
    StartWithPages(d, LeftAndMain(144), r.at);
    d.app.shell.wrpyreadpanel->Edit2.SetCaption("100");
    d.sim.leftDown();
    for (int t = 0; t <= 10; ++t) {  // the last tick sees the press point
      const int dx = (t % 2) ? r.shake : 0;
      d.sim.moveMouse(r.at.x + dx, r.at.y);
      d.Ticks(1);
    }
    if (r.title) {
      EXPECT_NE(d.sim.captureWindow(), 0u);
      EXPECT_EQ(Str(d.sim.getWindowRect(d.app.bar.qirForm4->Handle())), r.title);
    } else {
      EXPECT_EQ(d.sim.captureWindow(), 0u);
    }
    d.sim.leftUp();
    d.Ticks(1);
  }
}

TEST(Monitors, ClipWidgetAndThePointerMoveUseTheMonitorsUnits) {
  // Alt, then the Windows key: select, copy, and the clip widget at
  // (x + 40, y + 20) units with the pointer moved onto it (30, 8 units in).
  struct Row { Point at; const char* widget; const char* cursor; };
  const std::vector<Row> rows = {
      {{300, 300}, "340,320 70x24", "cursor 370,328"},
      {{-700, 300}, "-640,330 105x36", "cursor -595,342"},
      {{-60, 300}, "-105,330 105x36", "cursor -60,342"},  // kept on its monitor
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("pointer at " + std::to_string(r.at.x));
    Desk d;
    d.sim.setMonitors(LeftAndMain(144));
    ASSERT_TRUE(d.Start());
    d.sim.addTextEditor({r.at.x - 50, r.at.y - 50, 200, 200});
    d.sim.moveMouse(r.at.x, r.at.y);
    d.Ticks(1);
    const auto m = d.sim.mark();
    d.sim.keyDown(vk::Menu);
    d.sim.advance(25);
    d.sim.keyUp(vk::Menu);
    d.sim.advance(25);
    d.sim.keyDown(vk::LWin);
    d.Ticks(2);
    EXPECT_EQ(Str(d.sim.getWindowRect(d.app.bar.qircom->Handle())), r.widget);
    const auto input = d.Input(m);
    ASSERT_FALSE(input.empty());
    EXPECT_EQ(input.back(), r.cursor);
    d.sim.keyUp(vk::LWin);
  }
}

TEST(Monitors, AWindowFollowsItsMonitorsChanges) {
  Desk d;
  StartWithPages(d, LeftAndMain(144), {-700, 400});
  RightThenLeft(d, {-700, 400}, {-700, 400});
  d.sim.leftUp();
  d.Ticks(1);
  Tqircom& bar = *d.app.bar.qircom;
  ASSERT_EQ(Str(d.sim.getWindowRect(bar.Handle())), "-718,382 38x38");

  // The left monitor is rescaled to 200 %: the widget keeps its corner and
  // takes that DPI's size; its controls follow.
  d.sim.setMonitors(LeftAndMain(192));
  d.Ticks(1);
  EXPECT_EQ(Str(d.sim.getWindowRect(bar.Handle())), "-718,382 50x50");
  EXPECT_EQ(d.sim.window(bar.Panel27.Handle())->dpi, 192);

  // Unplugged while the widget is on it: the widget comes to the same place
  // of the main monitor, in the main monitor's size; the pointer too, to
  // the main monitor's edge.
  d.sim.setMonitors({Mon({0, 0, 1024, 768}, 96, true)});
  EXPECT_EQ(Str(d.sim.getWindowRect(bar.Handle())), "722,382 25x25");
  EXPECT_EQ(d.sim.window(bar.Panel27.Handle())->dpi, 96);
  EXPECT_EQ(d.sim.getCursorPos(), (Point{0, 400}));
  // The wheel tip sits on the active page window.
  EXPECT_EQ(FormsOnAMonitor(d),
            (std::vector<std::string>{"Tqircom", "Tlifeform", "Twheeltipform"}));
  // The pointer is not over it: the next tick parks it as usual; the mouse
  // picture window the life panel showed beside the widget stays.
  d.Ticks(1);
  EXPECT_EQ(FormsOnAMonitor(d),
            (std::vector<std::string>{"Tlifeform", "Tmousepp", "Twheeltipform"}));

  // Plugged in again, larger, so that -2000 lies on it: still nothing
  // parked is on a monitor.
  d.sim.setMonitors({Mon({0, 0, 1024, 768}, 96, true), Mon({-2560, -200, 2560, 1440}, 144)});
  EXPECT_EQ(FormsOnAMonitor(d),
            (std::vector<std::string>{"Tlifeform", "Tmousepp", "Twheeltipform"}));
  EXPECT_LT(d.sim.getWindowRect(bar.Handle()).right(), -2560);
}

TEST(Monitors, ParkedWindowsStayOffAMonitorPluggedInLeft) {
  Desk d;
  ASSERT_TRUE(d.Start());
  EXPECT_EQ(d.sim.getWindowRect(d.app.bar.qircom->Handle()).left, -2000);  // one monitor: as stored
  const std::vector<Monitor> wide = {Mon({0, 0, 1024, 768}, 96, true),
                                     Mon({-2560, 0, 2560, 1440}, 120)};
  d.sim.setMonitors(wide);
  EXPECT_EQ(FormsOnAMonitor(d), (std::vector<std::string>{"Tlifeform"}));
  EXPECT_EQ(d.sim.getWindowRect(d.app.bar.qircom->Handle()).left, -2560 - 3584);
  d.Ticks(1);
  // Parking again uses the new place too.
  d.app.bar.qircom->SetLeft(100);
  EXPECT_TRUE(d.app.bar.qircom->Shown());
  d.app.bar.qircom->Park();
  EXPECT_FALSE(d.app.bar.qircom->Shown());
  EXPECT_EQ(d.sim.getWindowRect(d.app.bar.qircom->Handle()).left, -2560 - 3584);
  // A monitor too narrow to reach -2000 leaves the stored place alone.
  d.sim.setMonitors(LeftAndMain(120));
  d.app.bar.mousepp->Park();
  EXPECT_EQ(d.sim.getWindowRect(d.app.bar.mousepp->Handle()).left, -2000);
}


TEST(Monitors, AFormTheUserMovesToAnotherMonitorTakesItsDpi) {
  // The settings panel has a frame the user can drag. The system tells the
  // form of the new DPI once most of it lies on the other monitor.
  Desk d;
  d.sim.setMonitors(LeftAndMain(144));
  ASSERT_TRUE(d.Start());
  Twrpyreadpanel& panel = *d.app.shell.wrpyreadpanel;
  d.app.shell.FormMain->N1Click();  // shown on the main monitor
  panel.SetLeft(100);
  panel.SetTop(100);
  const Rect units = panel.Bounds();
  const Rect edit = panel.Edit2.Bounds();
  ASSERT_TRUE(panel.Shown());
  ASSERT_EQ(d.sim.getWindowRect(panel.Handle()).width, units.width);

  Rect r = d.sim.getWindowRect(panel.Handle());
  r.left = -r.width + 10;  // all but 10 px on the left monitor
  d.sim.setBounds(panel.Handle(), r);
  const Rect moved = d.sim.getWindowRect(panel.Handle());
  EXPECT_EQ(moved.left, r.left);  // the corner stays where the user put it
  EXPECT_EQ(moved.width, screens::Scale(units.width, 144));
  EXPECT_EQ(moved.height, screens::Scale(units.height, 144));
  EXPECT_EQ(panel.Bounds().width, units.width);  // the same layout in units
  EXPECT_EQ(panel.Edit2.Bounds(), edit);
  EXPECT_EQ(d.sim.getBounds(panel.Edit2.Handle()).width, screens::Scale(edit.width, 144));
  EXPECT_EQ(d.sim.window(panel.Edit2.Handle())->dpi, 144);

  // Back on the main monitor: the 100 % layout again.
  d.sim.setBounds(panel.Handle(), {200, 100, moved.width, moved.height});
  EXPECT_EQ(d.sim.getWindowRect(panel.Handle()), (Rect{200, 100, units.width, units.height}));
  EXPECT_EQ(d.sim.window(panel.Edit2.Handle())->dpi, 96);
}


TEST(Monitors, RightButtonMenuComesUpAtThePointerOnEitherMonitor) {
  // With the right-button menu on, a right press shows the clip widget at
  // (x - 42, y - 16) units over a fresh window list.
  struct Row { Point at; const char* bar; };
  const std::vector<Row> rows = {
      {{500, 400}, "458,384 70x24"},
      {{-700, 400}, "-763,376 105x36"},
      {{-1430, 10}, "-1440,0 105x36"},  // the left monitor's top left corner
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("right press at " + std::to_string(r.at.x) + "," + std::to_string(r.at.y));
    Desk d;
    StartWithPages(d, LeftAndMain(144), r.at);
    d.app.bar.qircom->rightrb.SetChecked(true);
    d.sim.rightDown();
    d.Ticks(1);
    EXPECT_EQ(Str(d.sim.getWindowRect(d.app.bar.qircom->Handle())), r.bar);
    d.sim.rightUp();
    d.Ticks(1);
  }
}

}  // namespace
}  // namespace sq::testing
