// Control events on the simulated desktop: the conformance table the real
// program also runs under Wine (tests/control_events.table), the events
// Windows would not deliver, and bad input.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/formmain.h"
#include "tests/gesture_harness.h"

namespace sq {
namespace {

using testing::Desk;

struct Script {
  std::string name, form, control;
  std::vector<std::string> steps, expect;
};

std::vector<Script> LoadTable() {
  std::string path = __FILE__;
  path = path.substr(0, path.find_last_of('/')) + "/control_events.table";
  std::ifstream in(path);
  std::vector<Script> out;
  std::string line;
  Script* cur = nullptr;
  while (std::getline(in, line)) {
    std::size_t a = line.find_first_not_of(' ');
    if (a == std::string::npos || line[a] == '#') continue;
    line = line.substr(a);
    if (line.rfind("script ", 0) == 0) {
      out.emplace_back();
      cur = &out.back();
      std::istringstream s(line.substr(7));
      s >> cur->name >> cur->form >> cur->control;
    } else if (line == "end") {
      cur = nullptr;
    } else if (cur && line.rfind("expect ", 0) == 0) {
      cur->expect.push_back(line.substr(7));
    } else if (cur) {
      cur->steps.push_back(line);
    }
  }
  return out;
}

Point ParsePoint(const std::string& s) {
  const auto comma = s.find(',');
  return {std::stoi(s.substr(0, comma)), std::stoi(s.substr(comma + 1))};
}

// Runs one script on a fresh desktop; returns the control's handler calls,
// a move to the point of the last move counted once.
std::vector<std::string> RunScript(const Script& sc) {
  Desk d;
  EXPECT_TRUE(d.Start());
  std::vector<std::string> trace;
  std::string lastMove;
  const std::string prefix = sc.form + "." + sc.control + " ";
  d.app.eventTrace = [&](const std::string& s) {
    if (s.rfind(prefix, 0) != 0) return;
    if (s.find(" MouseMove ") != std::string::npos) {
      if (s == lastMove) return;
      lastMove = s;
    }
    trace.push_back(s);
  };
  Form& bar = *static_cast<Form*>(d.app.bar.qircom);
  bar.SetWindowPos(ZOrder::TopMost, 100, 100, 400, 351, swp::ShowWindow);
  d.sim.moveMouse(60, 700);
  d.Ticks(1);
  const Wnd target = d.sim.findControl(sc.form, sc.control);
  EXPECT_NE(target, 0u) << sc.name;
  const Rect r = d.sim.getWindowRect(target);
  for (const std::string& step : sc.steps) {
    std::istringstream s(step);
    std::string verb, arg;
    s >> verb >> arg;
    if (verb == "move") {
      const Point p = ParsePoint(arg);
      d.sim.moveMouse(r.left + p.x, r.top + p.y);
    } else if (verb == "away") {
      const Point p = ParsePoint(arg);
      d.sim.moveMouse(p.x, p.y);
    } else if (verb == "rest") {
      d.sim.advance(static_cast<unsigned>(std::stoi(arg)));
    } else if (verb == "down" || verb == "up") {
      const bool left = arg == "left";
      if (verb == "down") left ? d.sim.leftDown() : d.sim.rightDown();
      else left ? d.sim.leftUp() : d.sim.rightUp();
    } else if (verb == "wheel") {
      d.sim.wheel(std::stoi(arg));
    } else if (verb == "key") {
      d.sim.keyDown(std::stoi(arg));
      d.sim.advance(100);
      d.sim.keyUp(std::stoi(arg));
    } else {
      ADD_FAILURE() << sc.name << ": unknown step " << step;
    }
    d.sim.advance(30);  // the time a person or xdotool takes between steps
  }
  return trace;
}

TEST(ControlEvents, ConformanceTable) {
  const std::vector<Script> table = LoadTable();
  ASSERT_GE(table.size(), 4u) << "tests/control_events.table not found or short";
  for (const Script& sc : table)
    EXPECT_TRUE(SameEvents(sc.expect, RunScript(sc))) << "script " << sc.name;
}

// Coverage and state: a control that is covered, disabled or parked gets no
// event; the one in front, or the parent under a disabled one, does.
TEST(ControlEvents, OnlyTheControlWindowsWouldGiveThemTo) {
  Desk d;
  ASSERT_TRUE(d.Start());
  std::vector<std::string> trace;
  d.app.eventTrace = [&](const std::string& s) {
    if (s.find("Move") != std::string::npos || s.find("Down") != std::string::npos)
      trace.push_back(s.substr(0, s.find(' ')));
  };
  Tqircom& bar = *d.app.bar.qircom;
  static_cast<Form&>(bar).SetWindowPos(ZOrder::TopMost, 100, 100, 400, 351, swp::ShowWindow);
  // Panel13 lies over Edit3: the front one takes the pointer.
  const Rect p13 = d.sim.getWindowRect(bar.Panel13.Handle());
  d.sim.moveMouse(p13.left + 3, p13.top + 3);
  // Disabled: its parent (Panel9) takes the events instead.
  bar.Panel13.SetEnabled(false);
  d.sim.moveMouse(p13.left + 4, p13.top + 3);
  d.sim.leftDown();
  d.sim.leftUp();
  bar.Panel13.SetEnabled(true);
  // Parked: the whole bar is off the screen; the pointer cannot reach it.
  static_cast<Form&>(bar).Park();
  d.sim.moveMouse(5, 110);
  d.sim.leftDown();
  d.sim.leftUp();
  EXPECT_EQ(trace, (std::vector<std::string>{"Tqircom.Panel13", "Tqircom.Panel9",
                                             "Tqircom.Panel9"}));
  EXPECT_EQ(d.app.hovered(), nullptr);  // the pointer left the bar
}

// Two presses in the double-click time and square make a double click; a
// third starts over. A slow second press is a plain press.
TEST(ControlEvents, DoubleClicksKeepEveryPress) {
  Desk d;
  ASSERT_TRUE(d.Start());
  std::vector<std::string> trace;
  d.app.eventTrace = [&](const std::string& s) {
    if (s.rfind("Tqircom.Panel16 Mouse", 0) == 0 || s.rfind("Tqircom.Panel16 Dbl", 0) == 0) {
      if (s.find("Move") == std::string::npos && s.find("Enter") == std::string::npos)
        trace.push_back(s.substr(16));
    }
  };
  static_cast<Form*>(d.app.bar.qircom)
      ->SetWindowPos(ZOrder::TopMost, 100, 100, 400, 351, swp::ShowWindow);
  // The hint line: its handlers only write hints.
  const Rect r = d.sim.getWindowRect(d.app.bar.qircom->Panel16.Handle());
  d.sim.moveMouse(r.left + 5, r.top + 5);
  for (int i = 0; i < 3; ++i) {
    d.sim.leftDown();
    d.sim.advance(30);
    d.sim.leftUp();
    d.sim.advance(30);
  }
  d.sim.advance(600);
  d.sim.rightDown();
  d.sim.rightUp();
  d.sim.advance(600);  // too late for a double
  d.sim.rightDown();
  d.sim.rightUp();
  EXPECT_TRUE(SameEvents({"MouseDown left 5,5", "MouseUp left 5,5", "MouseDown left 5,5 double",
                          "DblClick left", "MouseUp left 5,5", "MouseDown left 5,5",
                          "MouseUp left 5,5", "MouseDown right 5,5", "MouseUp right 5,5",
                          "MouseDown right 5,5", "MouseUp right 5,5"},
                         trace));
}

// Bad input: a wheel delta of 0 calls nothing, several notches at once come
// as one call; a key typed into a read-only edit reaches its handlers and
// changes nothing; an event for a window destroyed meanwhile is dropped.
TEST(ControlEvents, BadInputHasDefinedResults) {
  Desk d;
  ASSERT_TRUE(d.Start());
  Tqircom& bar = *d.app.bar.qircom;
  static_cast<Form&>(bar).SetWindowPos(ZOrder::TopMost, 100, 100, 400, 351, swp::ShowWindow);
  std::vector<int> wheels;
  bar.ListView1.OnMouseWheel = [&](ShiftState, int delta, Point) { wheels.push_back(delta); };
  d.sim.clickWindow(bar.ListView1.Handle());
  d.sim.mouseEvent(mouseflag::Wheel, 0, 0, 0);
  d.sim.mouseEvent(mouseflag::Wheel, 0, 0, -360);
  d.sim.advance(10);
  EXPECT_EQ(wheels, (std::vector<int>{-360}));

  // Read-only: the layout of ListView1 says so; an edit made read-only by
  // its WindowSpec takes keys the same way.
  WindowSpec ro;
  ro.kind = Kind::Edit;
  ro.parent = bar.Panel9.Handle();
  ro.caption = "fixed";
  ro.bounds = {8, 320, 100, 20};
  ro.readOnly = true;
  const Wnd edit = d.sim.createWindow(ro);
  std::vector<int> keys;
  d.sim.setEventHandler(edit, [&](UiEvent& e) {
    if (e.type == UiEvent::KeyPress) keys.push_back(e.key);
  });
  d.sim.clickWindow(edit);
  d.sim.typeText("ab");
  d.sim.tapKey(8);  // Backspace
  EXPECT_EQ(keys, (std::vector<int>{'a', 'b', 8}));
  EXPECT_EQ(d.sim.getWindowText(edit), "fixed");

  // A press whose event is still waiting when its window goes.
  int downs = 0;
  d.sim.setEventHandler(edit, [&](UiEvent& e) { downs += e.type == UiEvent::MouseDown; });
  const Rect er = d.sim.getWindowRect(edit);
  d.sim.runAsHandler([&] {
    d.sim.moveMouse(er.left + 3, er.top + 3);
    d.sim.leftDown();
    d.sim.leftUp();
    d.sim.destroyWindow(edit);
  });
  EXPECT_EQ(downs, 0);
  // The hover went on to what lies under the pointer now.
  EXPECT_NE(d.sim.hoverWindow(), edit);
  EXPECT_EQ(d.sim.hoverWindow(), bar.Panel16.Handle());
}

// A Leave that never comes (the pointer jumped off the screen, or a
// backend lost it) does not leave a hover stuck: the next control entered
// closes it first; a repeated Enter and a late Leave call nothing.
TEST(ControlEvents, AMissingLeaveIsMadeUpForOnce) {
  Desk d;
  ASSERT_TRUE(d.Start());
  std::vector<std::string> trace;
  d.app.eventTrace = [&](const std::string& s) {
    if (s.find("Enter") != std::string::npos || s.find("Leave") != std::string::npos)
      trace.push_back(s);
  };
  Tqircom& bar = *d.app.bar.qircom;
  UiEvent enter;
  enter.type = UiEvent::MouseEnter;
  UiEvent leave;
  leave.type = UiEvent::MouseLeave;
  UiEvent move;
  move.type = UiEvent::MouseMove;
  ASSERT_TRUE(d.sim.sendRawEvent(bar.Panel13.Handle(), enter));
  ASSERT_TRUE(d.sim.sendRawEvent(bar.Panel13.Handle(), enter));  // repeated
  ASSERT_TRUE(d.sim.sendRawEvent(bar.Panel24.Handle(), move));   // no leave for Panel13
  ASSERT_TRUE(d.sim.sendRawEvent(bar.Panel13.Handle(), leave));  // late
  EXPECT_EQ(d.app.hovered(), &bar.Panel24);
  ASSERT_TRUE(d.sim.sendRawEvent(bar.Panel24.Handle(), leave));
  EXPECT_EQ(d.app.hovered(), nullptr);
  EXPECT_EQ(trace, (std::vector<std::string>{"Tqircom.Panel13 MouseEnter",
                                             "Tqircom.Panel13 MouseLeave",
                                             "Tqircom.Panel24 MouseEnter",
                                             "Tqircom.Panel24 MouseLeave"}));
}

// The command bar's ">>": resting on it names the system menu in the hint
// line; releasing either button on it parks the bar, idles the input
// caption and opens the main menu at the pointer.
TEST(ControlEvents, SystemMenuButtonHoverAndRelease) {
  for (bool right : {true, false}) {
    Desk d;
    ASSERT_TRUE(d.Start());
    Tqircom& bar = *d.app.bar.qircom;
    static_cast<Form&>(bar).SetWindowPos(ZOrder::TopMost, 100, 100, 400, 351, swp::ShowWindow);
    d.app.input.qirinputor->SetCaption("key--77");
    const Rect r = d.sim.getWindowRect(bar.Panel13.Handle());
    d.sim.moveMouse(r.left + 4, r.top + 4);
    EXPECT_EQ(bar.Panel16.Caption(), Tqircom::kHintSystemMenu);
    EXPECT_EQ(bar.Left(), 100);
    right ? d.sim.rightDown() : d.sim.leftDown();
    d.sim.advance(60);  // held, as a person holds a button
    right ? d.sim.rightUp() : d.sim.leftUp();
    EXPECT_EQ(bar.Left(), -2000);
    EXPECT_EQ(d.InputCaption(), "old--mode");
    ASSERT_EQ(d.sim.popupMenus().size(), 1u);
    EXPECT_EQ(d.sim.popupMenus()[0].at, (Point{r.left + 4, r.top + 4}));
    EXPECT_EQ(d.sim.popupMenus()[0].captions.front(), "帮助");
    EXPECT_EQ(d.app.hovered(), nullptr) << "the parked bar is left";
  }
}

}  // namespace
}  // namespace sq
