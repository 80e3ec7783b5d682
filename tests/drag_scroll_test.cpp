// Drag-scrolling as the user sees it: a still press, then movement that
// scrolls the window under the press point (content following the hand),
// nothing selected, the pointer kept where the drag began, the release
// ending it; the Ctrl tap's drag; restarts; the title caption and badge
// wound up after every drag; bad input on the way.
#include <algorithm>

#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

constexpr int kLines = 300;

std::string NumberedLines(int n) {
  std::string t;
  for (int i = 1; i <= n; ++i) t += std::to_string(i) + (i < n ? "\n" : "");
  return t;
}

// A text editor of 300 numbered lines (16 px each) under the pointer.
struct EditorDesk : Desk {
  Wnd editor = 0, edit = 0;
  ::testing::AssertionResult Ready(Point at = {300, 300}) {
    auto started = Start();
    if (!started) return started;
    app.shell.wrpyreadpanel->Edit2.SetCaption("100");  // a drag after 6 still ticks
    app.shell.wrpyreadpanel->lleft.SetChecked(false);   // a held drag restarts
    editor = sim.addTextEditor({100, 100, 500, 400});
    edit = sim.editorEdit(editor);
    sim.setEditorText(editor, NumberedLines(kLines));
    sim.setSelection(editor, 0, 0);
    sim.moveMouse(at.x, at.y);
    Ticks(1);
    return ::testing::AssertionSuccess();
  }
  // Holds the left button still for `ms`, the clock running.
  void StillPress(unsigned ms) {
    sim.leftDown();
    sim.advance(ms);
  }
  // Moves the hand by (0, dy) in `steps` equal moves, 5 ms apart; the
  // pointer's own position is where the system leaves it.
  void MoveHand(int dy, int steps) {
    int done = 0;
    for (int i = 1; i <= steps; ++i) {
      const int to = dy * i / steps;
      const Point at = sim.getCursorPos();
      sim.moveMouse(at.x, at.y + (to - done));
      done = to;
      sim.advance(5);
    }
  }
  bool StopWordSeen() {
    for (const auto& w : sim.hookWords())
      if (w.word.box == Mailbox::Scroll && w.word.text.rfind("ystop==/ystop stopdrag", 0) == 0) return true;
    return false;
  }
  // The badge is shown: on a monitor with a height.
  bool BadgeShown() { return app.bar.qirForm4->Height() > 0 && app.bar.qirForm4->Shown(); }
};

struct MoveRow {
  const char* what;
  int dy;          // hand movement, + = down
  int steps;
  int firstLine;   // first visible line after the drag (from 100)
};

TEST(DragScroll, StillPressThenMovementScrollsTheEditorWithTheHand) {
  // 16 px lines: the content follows the hand, whole lines scroll, the
  // remainder is carried so slow movement scrolls as far as fast.
  const std::vector<MoveRow> rows = {
      {"up 150 px in 10 moves", -150, 10, 109},
      {"up 150 px in 150 moves of 1 px", -150, 150, 109},
      {"down 150 px in 3 moves", 150, 3, 91},
      {"up 15 px: under a line", -15, 15, 100},
      {"up 40 px then down 40 px", 0, 1, 100},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EditorDesk d;
    ASSERT_TRUE(d.Ready());
    d.sim.setSelection(d.editor, 0, 0);
    // Start from line 100 so both directions have room.
    d.sim.window(d.edit)->firstLine = 100;
    d.StillPress(400);
    ASSERT_TRUE(d.BadgeShown());
    if (std::string(row.what).find("then") != std::string::npos) {
      d.MoveHand(-40, 4);
      d.MoveHand(40, 4);
    } else {
      d.MoveHand(row.dy, row.steps);
    }
    EXPECT_EQ(d.sim.firstVisibleLine(d.edit), row.firstLine);
    // The pointer stayed where the drag began; nothing was selected.
    EXPECT_EQ(d.sim.getCursorPos(), (Point{300, 300}));
    EXPECT_EQ(d.sim.selectionText(d.editor), "");
    d.sim.leftUp();
    d.Ticks(3);
    EXPECT_TRUE(d.StopWordSeen());
    EXPECT_FALSE(d.BadgeShown());
    EXPECT_EQ(d.app.bar.qirForm4->Caption(), "ystop mou3d");
    EXPECT_EQ(d.sim.captureWindow(), 0u);
    EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
  }
}

TEST(DragScroll, AfterTheReleaseAClickPlacesTheCaretAndAPressSelectsAgain) {
  for (unsigned clickMs : {30u, 150u}) {
    SCOPED_TRACE("click of " + std::to_string(clickMs) + " ms");
    EditorDesk d;
    ASSERT_TRUE(d.Ready());
    d.StillPress(400);
    d.MoveHand(-160, 8);
    d.sim.leftUp();
    d.Ticks(3);
    const int first = d.sim.firstVisibleLine(d.edit);
    ASSERT_EQ(first, 10);
    // Nothing pressed by the program after the release.
    const auto m = d.sim.mark();
    d.Ticks(5);
    EXPECT_TRUE(SameEvents({}, d.sim.eventsSince(m, simfilter::mouse())));
    // A plain click on the fourth line shown puts the caret there.
    d.sim.moveMouse(300, 100 + 3 * 16 + 4);
    d.sim.click(clickMs);
    d.Ticks(2);
    const std::string text = d.sim.editorText(d.editor);
    EXPECT_EQ(text.substr(d.sim.caretPos(d.editor), 3), std::to_string(first + 4) + "\n");
    EXPECT_EQ(d.sim.selectionText(d.editor), "");
    // A quick press and move selects, as in any editor: no drag.
    d.sim.leftDown();
    d.sim.advance(30);
    d.MoveHand(32, 2);
    d.sim.leftUp();
    d.Ticks(2);
    EXPECT_EQ(d.sim.firstVisibleLine(d.edit), first);
    EXPECT_FALSE(d.sim.selectionText(d.editor).empty());
  }
}

TEST(DragScroll, EachClassScrollsByTheMessagesItTakes) {
  struct Row {
    const char* cls;
    int dy;
    std::vector<std::string> log;  // the scrolls applied, in order
    int firstLine;
  };
  // 20 px lines; the hand moves up 100 px in 4 moves of 25 px.
  const std::vector<Row> rows = {
      {"Edit", -100, {"Edit lines 1", "Edit lines 1", "Edit lines 1", "Edit lines 2"}, 5},
      {"RichEdit20W", -100, {"RichEdit20W lines 1", "RichEdit20W lines 1", "RichEdit20W lines 1",
                             "RichEdit20W lines 2"}, 5},
      {"ListBox", -100, {"ListBox listlines 1", "ListBox listlines 1", "ListBox listlines 1",
                         "ListBox listlines 2"}, 5},
      {"SysListView32", -100, {"SysListView32 pixels 20", "SysListView32 pixels 20",
                               "SysListView32 pixels 20", "SysListView32 pixels 40"}, 5},
      // Anything else: the wheel, a notch (3 lines, 60 px) at a time.
      {"AppWnd", -100, {"AppWnd wheel -120"}, 3},
      {"AppWnd", 100, {"AppWnd wheel 120"}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.cls) + " " + std::to_string(row.dy));
    Desk d;
    ASSERT_TRUE(d.Start());
    d.app.shell.wrpyreadpanel->Edit2.SetCaption("100");
    Wnd w = d.sim.addWindow(row.cls, "", {100, 100, 400, 400});
    d.sim.setScrollContent(w, 100, 20);
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    d.sim.leftDown();
    d.sim.advance(400);
    const Point at = d.sim.getCursorPos();
    for (int i = 0; i < 4; ++i) {
      d.sim.moveMouse(at.x, at.y + row.dy / 4);
      d.sim.advance(5);
    }
    EXPECT_TRUE(SameEvents(row.log, d.sim.scrollLog()));
    EXPECT_EQ(d.sim.firstVisibleLine(w), row.firstLine);
    d.sim.leftUp();
    d.Ticks(2);
  }
}

TEST(DragScroll, AWindowThatIgnoresTheWheelIsLeftAsItWas) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.app.shell.wrpyreadpanel->Edit2.SetCaption("100");
  Wnd w = d.sim.addWindow("StubbornWnd", "", {100, 100, 400, 400});
  d.sim.setScrollContent(w, 100, 20, /*takesWheel=*/false);
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.sim.leftDown();
  d.sim.advance(400);
  for (int i = 0; i < 5; ++i) {
    d.sim.moveMouse(300, 270);
    d.sim.advance(5);
  }
  EXPECT_EQ(d.sim.wheelReceived(w), -240);  // two notches of 60 px went
  EXPECT_EQ(d.sim.firstVisibleLine(w), 0);
  d.sim.leftUp();
  d.Ticks(3);
  EXPECT_EQ(d.app.bar.qirForm4->Caption(), "ystop mou3d");
  EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
}

TEST(DragScroll, CtrlTapDragThenHeldStillDragBothStart) {
  for (unsigned tapMs : {30u, 150u}) {
    SCOPED_TRACE("Ctrl tap of " + std::to_string(tapMs) + " ms");
    EditorDesk d;
    ASSERT_TRUE(d.Ready());
    d.sim.tapKey(vk::Control, tapMs);
    const auto m = d.sim.mark();
    d.Ticks(8);
    // The program pressed the button for the user.
    EXPECT_TRUE(SameEvents({"mouse leftup", "mouse leftdown"}, d.sim.eventsSince(m, simfilter::mouse())));
    ASSERT_TRUE(d.sim.isKeyDown(vk::LButton));
    d.MoveHand(-64, 4);
    EXPECT_EQ(d.sim.firstVisibleLine(d.edit), 4);
    EXPECT_EQ(d.sim.selectionText(d.editor), "");
    // The user's click ends it: the press is kept from the editor (it
    // holds the program's), the release reaches it.
    d.sim.click(60);
    d.Ticks(3);
    EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
    EXPECT_TRUE(d.StopWordSeen());
    EXPECT_EQ(d.app.bar.qirForm4->Caption(), "ystop mou3d");
    EXPECT_FALSE(d.BadgeShown());
    // A held-still press starts a drag again and scrolls.
    d.StillPress(400);
    EXPECT_TRUE(d.BadgeShown());
    d.MoveHand(-32, 2);
    EXPECT_EQ(d.sim.firstVisibleLine(d.edit), 6);
    d.sim.leftUp();
    d.Ticks(3);
    EXPECT_FALSE(d.BadgeShown());
    EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
  }
}

TEST(DragScroll, ALongCtrlHoldIsNoTap) {
  for (unsigned holdMs : {700u, 1600u}) {
    SCOPED_TRACE("Ctrl held " + std::to_string(holdMs) + " ms");
    EditorDesk d;
    ASSERT_TRUE(d.Ready());
    const auto m = d.sim.mark();
    d.sim.tapKey(vk::Control, holdMs);
    d.Ticks(8);
    EXPECT_TRUE(SameEvents({}, d.sim.eventsSince(m, simfilter::mouse())));
    EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
    EXPECT_NE(d.app.bar.qirForm4->Caption(), "down/...down/");
  }
}

TEST(DragScroll, TheProgramsOwnPressNeverStartsADrag) {
  EditorDesk d;
  ASSERT_TRUE(d.Ready());
  d.app.bar.qirForm4->SetCaption("qirForm4");
  // The program holds the button down (as a grab does) and the pointer
  // stays still for a long while.
  d.sim.runAsHandler([&] { d.sim.mouseEvent(mouseflag::LeftDown, 0, 0, 0); });
  d.Ticks(20);
  EXPECT_FALSE(d.BadgeShown());
  EXPECT_EQ(d.sim.captureWindow(), 0u);
  d.sim.runAsHandler([&] { d.sim.mouseEvent(mouseflag::LeftUp, 0, 0, 0); });
  d.Ticks(1);
}

TEST(DragScroll, TargetClosingMidDragEndsItWithNothingPressed) {
  EditorDesk d;
  ASSERT_TRUE(d.Ready());
  d.sim.tapKey(vk::Control, 60);
  d.Ticks(8);
  ASSERT_TRUE(d.sim.isKeyDown(vk::LButton));
  d.MoveHand(-32, 2);
  d.sim.destroyWindow(d.editor);
  const auto m = d.sim.mark();
  d.MoveHand(-32, 2);
  d.Ticks(3);
  // The program's press is let go, the drag's stop reaches the tick.
  EXPECT_TRUE(SameEvents({"mouse leftup"}, d.sim.eventsSince(m, simfilter::mouse())));
  EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
  EXPECT_TRUE(d.StopWordSeen());
  EXPECT_EQ(d.sim.captureWindow(), 0u);
  EXPECT_EQ(d.app.bar.qirForm4->Caption(), "ystop mou3d");
  // The pointer moves freely again.
  d.sim.moveMouse(500, 500);
  EXPECT_EQ(d.sim.getCursorPos(), (Point{500, 500}));
}

TEST(DragScroll, ReleaseWhileTheTickSleepsBeforeARestartPressesNothing) {
  EditorDesk d;
  ASSERT_TRUE(d.Ready());
  d.StillPress(400);
  ASSERT_TRUE(d.BadgeShown());
  // A stop word from elsewhere while the button is held restarts the drag
  // after a 200 ms sleep; the user lets go during that sleep.
  d.sim.duringNextSleep([&] { d.sim.leftUp(); });
  const auto m = d.sim.mark();
  d.app.bar.qirForm3->SetCaption("ystop ok");
  d.Ticks(4);
  EXPECT_TRUE(SameEvents({}, d.sim.eventsSince(m, simfilter::mouse())));
  EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
  EXPECT_TRUE(d.StopWordSeen());
  EXPECT_FALSE(d.BadgeShown());
  EXPECT_EQ(d.app.bar.qirForm4->Caption(), "ystop mou3d");
}

TEST(DragScroll, ARestartWhileHeldGoesOnScrollingTheSameWindow) {
  EditorDesk d;
  ASSERT_TRUE(d.Ready());
  d.StillPress(400);
  d.MoveHand(-32, 2);
  ASSERT_EQ(d.sim.firstVisibleLine(d.edit), 2);
  const auto m = d.sim.mark();
  d.app.bar.qirForm3->SetCaption("ystop ok");
  d.Ticks(2);
  // The target sees the program's release and press, balanced.
  EXPECT_TRUE(SameEvents({"mouse leftup", "mouse leftdown"}, d.sim.eventsSince(m, simfilter::mouse())));
  d.MoveHand(-32, 2);
  EXPECT_EQ(d.sim.firstVisibleLine(d.edit), 4);
  EXPECT_EQ(d.sim.selectionText(d.editor), "");
  d.sim.leftUp();
  d.Ticks(3);
  EXPECT_FALSE(d.sim.isKeyDown(vk::LButton));
  EXPECT_FALSE(d.BadgeShown());
}

TEST(DragScroll, AReleaseBeforeTheHookTookTheRequestWindsTheDragUp) {
  // The tick decides to drag while the user holds the button; the release
  // reaches the hook before the request does. No drag runs: the badge,
  // the capture and the cross go, and the next drag starts from its own
  // press point.
  EditorDesk d;
  ASSERT_TRUE(d.Ready());
  d.sim.window(d.edit)->firstLine = 100;
  d.sim.duringNextDragRequest([&] { d.sim.leftUp(); });
  d.StillPress(400);
  d.Ticks(3);
  EXPECT_FALSE(d.BadgeShown());
  EXPECT_EQ(d.sim.captureWindow(), 0u);
  ASSERT_FALSE(d.sim.cursorShapes().empty());
  EXPECT_EQ(d.sim.cursorShapes().back(), CursorShape::Arrow);
  EXPECT_EQ(d.sim.firstVisibleLine(d.edit), 100);
  // The next drag, 40 px lower: two lines for 32 px of hand, the pointer
  // kept and given back at this press point.
  d.sim.moveMouse(300, 340);
  d.Ticks(1);
  d.StillPress(400);
  ASSERT_TRUE(d.BadgeShown());
  d.MoveHand(32, 2);
  EXPECT_EQ(d.sim.firstVisibleLine(d.edit), 98);
  EXPECT_EQ(d.sim.getCursorPos(), (Point{300, 340}));
  d.sim.leftUp();
  d.Ticks(3);
  EXPECT_FALSE(d.BadgeShown());
  EXPECT_EQ(d.sim.getCursorPos(), (Point{300, 340}));
  EXPECT_EQ(d.sim.captureWindow(), 0u);
}

TEST(DragScroll, TheHooksOwnPointerMovesAreNeitherKeptNorCounted) {
  // After each kept move the hook thread puts the pointer back at the
  // anchor (SetCursorPos, unmarked): those moves are its own, so they
  // scroll nothing and ask for no recentring of their own.
  EditorDesk d;
  ASSERT_TRUE(d.Ready());
  d.sim.window(d.edit)->firstLine = 100;
  d.StillPress(400);
  ASSERT_TRUE(d.BadgeShown());
  const auto m = d.sim.mark();
  struct Step {
    int dy;        // the hand's move
    unsigned ms;   // the time after it
    int firstLine; // first visible line then
  };
  const std::vector<Step> steps = {{20, 30, 99}, {12, 30, 98}, {0, 300, 98}, {-32, 300, 100}};
  int moves = 0;
  for (const Step& s : steps) {
    if (s.dy) {
      d.sim.moveMouse(300, 300 + s.dy);
      ++moves;
    }
    d.sim.advance(s.ms);
    EXPECT_EQ(d.sim.firstVisibleLine(d.edit), s.firstLine) << "after a move of " << s.dy;
    EXPECT_EQ(d.sim.getCursorPos(), (Point{300, 300}));
  }
  int cursorMoves = 0;
  for (const auto& e : d.sim.eventsSince(m, simfilter::input()))
    if (e.rfind("cursor ", 0) == 0) ++cursorMoves;
  // At most the step aside and the way back for each move of the hand.
  EXPECT_LE(cursorMoves, 2 * moves);
  d.sim.leftUp();
  d.Ticks(3);
  EXPECT_FALSE(d.BadgeShown());
  EXPECT_EQ(d.sim.captureWindow(), 0u);
}

// A drag after a long quiet spell, the next drags, and a drag word written
// by another program while the button is held all bring the badge, and
// the release takes it away.
TEST(DragScroll, TheBadgeComesAfterALongQuietSpellAndForEachDrag) {
  EditorDesk d;
  ASSERT_TRUE(d.Ready());
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE("drag " + std::to_string(round + 1));
    d.sim.advance(round == 0 ? 20000 : 1500);
    d.Ticks(2);
    EXPECT_FALSE(d.BadgeShown());
    d.StillPress(400);
    EXPECT_TRUE(d.BadgeShown());
    d.MoveHand(-32, 2);
    d.sim.leftUp();
    d.Ticks(4);
    EXPECT_FALSE(d.BadgeShown());
  }
  // Another program's word, turned into "drag up" by the input tick: the
  // badge follows the held button and goes with its release.
  d.sim.advance(5000);
  d.sim.leftDown();
  d.sim.advance(60);
  d.sim.setWindowText(d.app.bar.qirForm4->Handle(), "mkeyscroll");
  d.Ticks(3);
  EXPECT_EQ(d.app.bar.qirForm4->Caption(), "drag up");
  EXPECT_TRUE(d.BadgeShown());
  d.sim.leftUp();
  d.Ticks(4);
  EXPECT_FALSE(d.BadgeShown());
}

}  // namespace
}  // namespace sq::testing

