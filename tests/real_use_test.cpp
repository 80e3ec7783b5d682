// A user's own sequences at a user's speed: copies right after typing, one
// after another with no pause for the program, as fast typists make them.
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

// Types ASCII text as xdotool's type does: each key held a few
// milliseconds, the next one a few milliseconds later.
void TypeQuickly(SimDesktop& sim, const std::string& text) {
  for (char c : text) {
    int vk = 0;
    if (c >= 'a' && c <= 'z') vk = c - 'a' + 'A';
    else if (c >= '0' && c <= '9') vk = c;
    else if (c == ' ') vk = vk::Space;
    ASSERT_NE(vk, 0) << "no key for '" << c << "'";
    sim.tapKey(vk, 6);
    sim.advance(6);
  }
}

// Select all as `xdotool key ctrl+a` sends it: Ctrl is let go before A.
void SelectAllQuickly(SimDesktop& sim) {
  sim.keyDown(vk::Control);
  sim.advance(2);
  sim.keyDown('A');
  sim.advance(2);
  sim.keyUp(vk::Control);
  sim.advance(2);
  sim.keyUp('A');
  sim.advance(6);
}

// An editor on a program just started, a click into it as a user makes
// one; returns the editor.
Wnd ClickIntoEditor(Desk& d) {
  const Wnd ed = d.sim.addTextEditor({100, 200, 600, 400});
  d.sim.moveMouse(400, 400);
  d.sim.click(60);
  d.sim.advance(300);
  return ed;
}

struct CopyHands {
  const char* name;
  unsigned ctrlLead, cHold, ctrlTail;  // ms: Ctrl down..C down, C held, C up..Ctrl up
  unsigned pause;                      // ms before the next text is typed
};

TEST(RealUseCopy, EveryCopyRightAfterTypingIsCaptured) {
  const std::vector<CopyHands> hands = {
      {"a typist's Ctrl+C, half a second apart", 60, 80, 50, 500},
      {"short taps, a fifth of a second apart", 30, 30, 30, 200},
      {"slow hands", 150, 150, 120, 300},
  };
  for (const auto& h : hands) {
    SCOPED_TRACE(h.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    const Wnd ed = ClickIntoEditor(d);
    std::vector<std::string> want;
    for (int i = 1; i <= 10; ++i) {
      const std::string text = "quick " + std::to_string(i);
      SelectAllQuickly(d.sim);
      TypeQuickly(d.sim, text);
      SelectAllQuickly(d.sim);
      d.sim.keyDown(vk::Control);
      d.sim.advance(h.ctrlLead);
      d.sim.keyDown('C');
      d.sim.advance(h.cHold);
      d.sim.keyUp('C');
      d.sim.advance(h.ctrlTail);
      d.sim.keyUp(vk::Control);
      d.sim.advance(h.pause);
      want.insert(want.begin(), text);
    }
    d.sim.advance(3000);
    EXPECT_EQ(d.sim.editorText(ed), "quick 10");
    std::vector<std::string> got = d.Items(d.app.bar.qircom->ListBox2);
    got.resize(std::min(got.size(), want.size()));
    EXPECT_EQ(got, want) << "the smart clipboard misses copies";
  }
}

// A double Alt tap pastes; a copy made right after it, at a person's speed,
// is captured like any other.
TEST(RealUseCopy, CopyAfterAnAltPasteIsCaptured) {
  struct Row {
    const char* name;
    unsigned altHold, altGap, wait;  // ms
  };
  const std::vector<Row> rows = {
      {"a person's taps", 100, 120, 300},
      {"quick taps, copy at once", 30, 40, 100},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    const Wnd ed = ClickIntoEditor(d);
    d.sim.setClipboardText("pasted");
    d.sim.tapKey(vk::Menu, r.altHold);
    d.sim.advance(r.altGap);
    d.sim.tapKey(vk::Menu, r.altHold);
    d.sim.advance(400);
    ASSERT_EQ(d.sim.editorText(ed), "pasted");
    ASSERT_NE(d.app.bar.qircom->ListBox2.Item(0), "pasted") << "the paste itself is no copy";
    d.sim.advance(r.wait);
    // Select all and copy, Ctrl held 100 ms before C, C held 250 ms.
    d.sim.chord({vk::Control, 'A'}, 60);
    d.sim.advance(150);
    d.sim.keyDown(vk::Control);
    d.sim.advance(100);
    d.sim.keyDown('C');
    d.sim.advance(250);
    d.sim.keyUp('C');
    d.sim.advance(80);
    d.sim.keyUp(vk::Control);
    d.sim.advance(1500);
    EXPECT_EQ(d.app.bar.qircom->ListBox2.Item(0), "pasted");
    // And again with another text: the copy after the first is captured too.
    d.sim.setEditorText(ed, "second");
    d.sim.chord({vk::Control, 'A'}, 60);
    d.sim.advance(150);
    d.sim.chord({vk::Control, 'C'}, 100);
    d.sim.advance(1500);
    EXPECT_EQ(d.app.bar.qircom->ListBox2.Item(0), "second");
  }
}

// ---- close requests only for the window the user pointed at ----------------

// Two editors side by side; the pointer near the left one's right edge, so
// that a point above and right of it lies in the right one.
struct TwoEditors {
  Wnd left, right;
};
TwoEditors AddTwoEditors(Desk& d) {
  return {d.sim.addTextEditor({100, 100, 300, 400}, "left notes"),
          d.sim.addTextEditor({400, 100, 300, 400}, "right notes")};
}

TEST(RealUseClose, TheWidgetChordItselfClosesNothing) {
  // Right held, left pressed at the same point: the pointer widget comes
  // up under the pointer; letting the buttons go there, in either order,
  // with or without a pause, asks no window to close.
  for (bool rightFirst : {false, true}) {
    for (unsigned gap : {0u, 40u, 150u}) {
      SCOPED_TRACE(std::string(rightFirst ? "right" : "left") + " let go first, " +
                   std::to_string(gap) + " ms apart");
      Desk d;
      ASSERT_TRUE(d.Start());
      AddTwoEditors(d);
      d.sim.moveMouse(380, 300);
      d.Ticks(1);
      d.sim.rightDown();
      d.sim.advance(100);
      d.sim.leftDown();
      d.sim.advance(200);
      ASSERT_EQ(d.app.bar.qircom->ScreenRect().width, 25) << "the widget came up";
      if (rightFirst) d.sim.rightUp(); else d.sim.leftUp();
      d.sim.advance(gap);
      if (rightFirst) d.sim.leftUp(); else d.sim.rightUp();
      d.sim.advance(400);
      EXPECT_TRUE(d.sim.closeRequests().empty());
    }
  }
}

TEST(RealUseClose, RightClickOnTheCentreClosesOnlyTheWindowUnderThePointer) {
  struct Row {
    const char* name;
    Point at;
    bool closesLeft;
  };
  const std::vector<Row> rows = {
      {"well inside the left editor", {250, 300}, true},
      // The point the close looks at (30 right of the pointer, above the
      // widget) lies in the right editor: nothing is closed rather than it.
      {"at the left editor's right edge", {385, 300}, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    const TwoEditors ed = AddTwoEditors(d);
    d.sim.setForeignWindowsIgnoreClose(true);
    d.sim.moveMouse(r.at.x, r.at.y);
    d.Ticks(1);
    d.sim.rightClick(80);
    d.sim.advance(100);
    d.sim.click(80);  // right then left at the same point: the widget
    d.sim.advance(200);
    ASSERT_EQ(d.app.bar.qircom->ScreenRect().width, 25) << "the widget came up";
    EXPECT_TRUE(d.sim.closeRequests().empty());
    d.sim.rightClick(80);  // a right click of its centre
    d.sim.advance(300);
    if (r.closesLeft) {
      ASSERT_EQ(d.sim.closeRequests().size(), 1u);
      EXPECT_EQ(d.sim.closeRequests()[0], ed.left);
    } else {
      EXPECT_TRUE(d.sim.closeRequests().empty());
    }
    for (Wnd w : d.sim.closeRequests()) EXPECT_NE(w, ed.right);
  }
}

}  // namespace
}  // namespace sq::testing
