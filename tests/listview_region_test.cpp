// The window switcher's list view (rows with icons, hot and selected rows,
// scrolling) and windows shaped like a picture, driven by the pointer and
// the wheel on the simulated desktop.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/sim/simdesktop.h"
#include "platform/sim/simtest.h"

namespace sq {
namespace {

constexpr int kRow = SimDesktop::kListRowHeight;

// A form at 100,100 holding a list view at 10,10 that shows five whole rows;
// its client area starts inside the 2-pixel border at 112,112 on the screen.
// The list's handler writes what it sees into `trace`, one entry an event:
// "move hot=3", "down L sel=-1", "up R sel=4", "wheel -120 top=0", "leave".
struct Switcher {
  SimDesktop sim;
  Wnd form = 0, list = 0;
  std::vector<std::string> trace;

  explicit Switcher(int rows) {
    WindowSpec f;
    f.kind = Kind::Form;
    f.className = "Tqircom";
    f.bounds = {100, 100, 300, 300};
    form = sim.createWindow(f);
    WindowSpec l;
    l.kind = Kind::ListView;
    l.name = "ListView1";
    l.parent = form;
    l.bounds = {10, 10, 200, 4 + 5 * kRow};
    list = sim.createWindow(l);
    for (int i = 0; i < rows; ++i)
      EXPECT_EQ(sim.listViewAdd(list, "window " + std::to_string(i), 0x500u + i), i);
    sim.setEventHandler(list, [this](UiEvent& e) {
      std::ostringstream o;
      const char* b = e.button == MouseButton::Left ? "L" : e.button == MouseButton::Right ? "R" : "M";
      switch (e.type) {
        case UiEvent::MouseMove: o << "move hot=" << sim.listViewHot(list); break;
        case UiEvent::MouseDown: o << "down " << b << " sel=" << sim.listSelected(list); break;
        case UiEvent::MouseUp: o << "up " << b << " sel=" << sim.listSelected(list); break;
        case UiEvent::MouseWheel:
          o << "wheel " << e.wheelDelta << " top=" << sim.listViewTopIndex(list);
          break;
        case UiEvent::MouseLeave: o << "leave"; break;
        default: return;
      }
      trace.push_back(o.str());
    });
  }
  // The screen point over the middle of the row shown `shown` rows below the
  // top of the list.
  static Point Row(int shown, int x = 150) { return {x, 112 + shown * kRow + kRow / 2}; }
  void MoveTo(Point p) { sim.moveMouse(p.x, p.y); }
  std::string State() {
    std::ostringstream o;
    o << "hot=" << sim.listViewHot(list) << " sel=" << sim.listSelected(list)
      << " top=" << sim.listViewTopIndex(list);
    return o.str();
  }
};

// One step of the user's hands over the list and what follows.
struct Step {
  enum { Move, Left, Right, Wheel, Delta, Wait } what;
  Point at;        // Move
  int arg = 0;     // Wheel: notches; Delta: one synthesised wheel event's
                   // delta; Left/Right: ms held; Wait: ms
  std::vector<std::string> trace;  // what the handler saw
  std::string state;               // hot, selected and top row afterwards
};

void RunSteps(Switcher& s, const std::vector<Step>& steps) {
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& st = steps[i];
    s.trace.clear();
    switch (st.what) {
      case Step::Move: s.MoveTo(st.at); break;
      case Step::Left: s.sim.click(static_cast<unsigned>(st.arg)); break;
      case Step::Right: s.sim.rightClick(static_cast<unsigned>(st.arg)); break;
      case Step::Wheel: s.sim.wheel(st.arg); break;
      case Step::Delta: s.sim.mouseEvent(mouseflag::Wheel, 0, 0, st.arg); break;
      case Step::Wait: s.sim.advance(static_cast<unsigned>(st.arg)); break;
    }
    EXPECT_TRUE(SameEvents(st.trace, s.trace)) << "step " << i;
    EXPECT_EQ(st.state, s.State()) << "step " << i;
  }
}

TEST(ListView, PointerMakesRowsHotAndPressesSelectThem) {
  Switcher s(12);
  RunSteps(s, {
      {Step::Move, Switcher::Row(0), 0, {"move hot=0"}, "hot=0 sel=-1 top=0"},
      {Step::Move, Switcher::Row(3, 300), 0, {"move hot=3"}, "hot=3 sel=-1 top=0"},
      // A fast click and a slow one: the handler sees the press before the
      // control selects the row.
      {Step::Left, {}, 30, {"down L sel=-1", "up L sel=3"}, "hot=3 sel=3 top=0"},
      {Step::Wait, {}, 600, {}, "hot=3 sel=3 top=0"},
      {Step::Move, Switcher::Row(4), 0, {"move hot=4"}, "hot=4 sel=3 top=0"},
      {Step::Right, {}, 150, {"down R sel=3", "up R sel=4"}, "hot=4 sel=4 top=0"},
      // Off the list: no hot row, the selection stays.
      {Step::Move, {150, 250}, 0, {"leave"}, "hot=-1 sel=4 top=0"},
  });
}

TEST(ListView, WheelScrollsTheFocusedListByRowsWithinItsEnds) {
  Switcher s(12);
  RunSteps(s, {
      // Not focused yet: the wheel goes elsewhere and nothing scrolls.
      {Step::Move, Switcher::Row(1), 0, {"move hot=1"}, "hot=1 sel=-1 top=0"},
      {Step::Wheel, {}, -1, {}, "hot=1 sel=-1 top=0"},
      {Step::Left, {}, 60, {"down L sel=-1", "up L sel=1"}, "hot=1 sel=1 top=0"},
      // One notch down is three rows; the handler sees the list before.
      {Step::Wheel, {}, -1, {"wheel -120 top=0"}, "hot=1 sel=1 top=3"},
      // The hot row follows the next move, under the scrolled rows.
      {Step::Move, Switcher::Row(1, 151), 0, {"move hot=4"}, "hot=4 sel=1 top=3"},
      // Quick notches stop where the last row shows at the bottom.
      {Step::Wheel, {}, -5,
       {"wheel -120 top=3", "wheel -120 top=6", "wheel -120 top=7", "wheel -120 top=7",
        "wheel -120 top=7"},
       "hot=4 sel=1 top=7"},
      {Step::Move, Switcher::Row(4), 0, {"move hot=11"}, "hot=11 sel=1 top=7"},
      // Many notches in one event, and none.
      {Step::Delta, {}, 4800, {"wheel 4800 top=7"}, "hot=11 sel=1 top=0"},
      {Step::Delta, {}, 0, {"wheel 0 top=0"}, "hot=11 sel=1 top=0"},
      {Step::Delta, {}, -600, {"wheel -600 top=0"}, "hot=11 sel=1 top=7"},
  });
  // The seam's own scrolling stops at the same ends.
  s.sim.listViewScroll(s.list, 100);
  EXPECT_EQ(s.sim.listViewTopIndex(s.list), 7);
  s.sim.listViewScroll(s.list, -2);
  EXPECT_EQ(s.sim.listViewTopIndex(s.list), 5);
  s.sim.listViewScroll(s.list, -100);
  EXPECT_EQ(s.sim.listViewTopIndex(s.list), 0);
}

TEST(ListView, BelowTheLastRowIsNoRow) {
  Switcher s(3);
  RunSteps(s, {
      {Step::Move, Switcher::Row(2), 0, {"move hot=2"}, "hot=2 sel=-1 top=0"},
      {Step::Left, {}, 30, {"down L sel=-1", "up L sel=2"}, "hot=2 sel=2 top=0"},
      {Step::Move, Switcher::Row(3), 0, {"move hot=-1"}, "hot=-1 sel=2 top=0"},
      // A press on the empty part clears the selection, as the control does.
      {Step::Right, {}, 30, {"down R sel=2", "up R sel=-1"}, "hot=-1 sel=-1 top=0"},
      // Fewer rows than fit: nothing to scroll.
      {Step::Wheel, {}, -2, {"wheel -120 top=0", "wheel -120 top=0"}, "hot=-1 sel=-1 top=0"},
  });
  EXPECT_EQ(s.sim.listViewHitTest(s.list, {5, 2 * kRow + 1}), 2);
  EXPECT_EQ(s.sim.listViewHitTest(s.list, {5, 3 * kRow}), -1);
  EXPECT_EQ(s.sim.listViewHitTest(s.list, {-1, 0}), -1);
  EXPECT_EQ(s.sim.listViewHitTest(s.list, {196, 0}), -1);  // in the border
}

TEST(ListView, RowsKeepTheirIconsAndClearingForgetsEverything) {
  Switcher s(6);
  EXPECT_EQ(s.sim.listCount(s.list), 6);
  EXPECT_EQ(s.sim.listItem(s.list, 4), "window 4");
  EXPECT_EQ(s.sim.listViewIcon(s.list, 4), 0x504u);
  s.sim.listDelete(s.list, 1);
  EXPECT_EQ(s.sim.listItem(s.list, 1), "window 2");
  EXPECT_EQ(s.sim.listViewIcon(s.list, 1), 0x502u);
  EXPECT_EQ(s.sim.listViewIcon(s.list, 5), 0u);  // past the end
  s.sim.listViewScroll(s.list, 3);
  s.MoveTo(Switcher::Row(0));
  s.sim.listSelect(s.list, 2);
  EXPECT_EQ(s.State(), "hot=0 sel=2 top=0");  // five rows fit: no scrolling
  s.sim.listClear(s.list);
  EXPECT_EQ(s.State(), "hot=-1 sel=-1 top=0");
  EXPECT_EQ(s.sim.listViewAdd(s.list, "again", 0), 0);
  EXPECT_EQ(s.sim.listViewIcon(s.list, 0), 0u);
  // Not a list view: defined neutral answers.
  EXPECT_EQ(s.sim.listViewAdd(s.form, "x", 1), -1);
  EXPECT_EQ(s.sim.listViewHitTest(s.form, {1, 1}), -1);
  EXPECT_EQ(s.sim.listViewRowHeight(s.form), 0);
  s.sim.destroyWindow(s.list);
  EXPECT_EQ(s.sim.listViewAdd(s.list, "x", 1), -1);
  EXPECT_EQ(s.sim.listViewHot(s.list), -1);
}

// ---------------------------------------------------------------- picture regions

// A 40x30 window over a foreign window; its picture is a ring: a 20x10
// hole of the key colour in the middle, the rest drawn.
struct Shaped {
  SimDesktop sim;
  Wnd under = 0, shaped = 0;
  int moves = 0;
  static constexpr int kKey = 0xFF00FF;
  Shaped() {
    under = sim.addWindow("Notepad", "beneath", {0, 0, 400, 400});
    WindowSpec f;
    f.kind = Kind::Form;
    f.className = "TMousePic";
    f.bounds = {100, 100, 40, 30};
    f.topmost = true;
    shaped = sim.createWindow(f);
    sim.setEventHandler(shaped, [this](UiEvent& e) {
      if (e.type == UiEvent::MouseMove) ++moves;
    });
  }
  static std::vector<int> Ring(int w, int h) {
    std::vector<int> px(static_cast<std::size_t>(w * h), 0x123456);
    for (int y = 10; y < 20; ++y)
      for (int x = 10; x < 30; ++x) px[static_cast<std::size_t>(y * w + x)] = kKey;
    return px;
  }
};

TEST(PictureRegion, PointsOutsideTheShapeFallThroughToTheWindowBeneath) {
  Shaped s;
  EXPECT_EQ(s.sim.windowFromPoint({120, 115}), s.shaped);  // no region yet
  ASSERT_TRUE(s.sim.setWindowRgnFromPicture(s.shaped, 40, 30, Shaped::Ring(40, 30), Shaped::kKey));
  struct Probe { Point p; bool inShape; };
  for (const Probe& pr : std::vector<Probe>{{{100, 100}, true},  {{109, 115}, true},
                                            {{110, 110}, false}, {{129, 119}, false},
                                            {{130, 115}, true},  {{139, 129}, true},
                                            {{140, 115}, false}, {{120, 130}, false}}) {
    EXPECT_EQ(s.sim.windowFromPoint(pr.p), pr.inShape ? s.shaped : s.under)
        << pr.p.x << "," << pr.p.y;
  }
  // The pointer in the hole: the shaped window hears nothing, and a click
  // there goes to the window beneath.
  s.sim.moveMouse(105, 105);
  EXPECT_EQ(s.moves, 1);
  s.sim.moveMouse(120, 115);
  s.sim.moveMouse(121, 116);
  EXPECT_EQ(s.moves, 1);
  s.sim.click(40);
  EXPECT_EQ(s.sim.getForegroundWindow(), s.under);
}

TEST(PictureRegion, BadPicturesChangeNothingAndShapesCanBeUndone) {
  Shaped s;
  ASSERT_TRUE(s.sim.setWindowRgnFromPicture(s.shaped, 40, 30, Shaped::Ring(40, 30), Shaped::kKey));
  // Sizes that do not match the pixels: refused, the ring stays.
  EXPECT_FALSE(s.sim.setWindowRgnFromPicture(s.shaped, 40, 29, Shaped::Ring(40, 30), Shaped::kKey));
  EXPECT_FALSE(s.sim.setWindowRgnFromPicture(s.shaped, -40, -30, Shaped::Ring(40, 30), Shaped::kKey));
  EXPECT_FALSE(s.sim.setWindowRgnFromPicture(0x7777, 40, 30, Shaped::Ring(40, 30), Shaped::kKey));
  EXPECT_EQ(s.sim.windowFromPoint({120, 115}), s.under);
  EXPECT_EQ(s.sim.windowFromPoint({105, 105}), s.shaped);
  // A picture smaller than the window: beyond it is outside.
  ASSERT_TRUE(s.sim.setWindowRgnFromPicture(s.shaped, 10, 10, std::vector<int>(100, 1), Shaped::kKey));
  EXPECT_EQ(s.sim.windowFromPoint({109, 109}), s.shaped);
  EXPECT_EQ(s.sim.windowFromPoint({110, 105}), s.under);
  // All of the key colour: the window takes no point at all.
  ASSERT_TRUE(s.sim.setWindowRgnFromPicture(s.shaped, 40, 30,
                                            std::vector<int>(1200, Shaped::kKey), Shaped::kKey));
  EXPECT_EQ(s.sim.windowFromPoint({105, 105}), s.under);
  // No region again: the whole rectangle.
  s.sim.setWindowRgn(s.shaped, Region::None, {});
  EXPECT_EQ(s.sim.windowFromPoint({120, 115}), s.shaped);
}

}  // namespace
}  // namespace sq
