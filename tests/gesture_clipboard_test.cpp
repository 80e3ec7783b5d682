// Clipboard gestures end to end: physical keys and buttons in, synthesised
// events, caption words and the smart clipboard out.
#include <algorithm>

#include "app/budget.h"
#include "app/settings_list.h"
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

const std::vector<std::string> kEscape42 = {"key 27/42 down", "key 27/42 up"};

// ---- Alt tapped twice ----------------------------------------------------

TEST(GestureAltTap, DoubleTapPastesOnceIntoTheFocusedEditor) {
  Desk d;
  ASSERT_TRUE(d.Start());
  Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.setClipboardText("粘贴文本");
  d.sim.moveMouse(200, 200);
  d.Ticks(1);
  const auto m = d.sim.mark();
  for (int i = 0; i < 2; ++i) {
    d.sim.keyDown(vk::Menu);
    d.sim.advance(25);
    d.sim.keyUp(vk::Menu);
    d.sim.advance(25);
  }
  d.Ticks(2);
  EXPECT_TRUE(SameEvents(CtrlKey('V'), d.Input(m)));
  EXPECT_EQ(d.sim.editorText(ed), "粘贴文本");
  // The four matched items became "cvok" under a fresh "91ok" (the bar may
  // have entered its caption again above them).
  auto hist = d.Items(d.app.qircom->ListBox8);
  auto at = std::find(hist.begin(), hist.end(), "91ok");
  ASSERT_LE(at - hist.begin(), 1);
  ASSERT_GE(hist.end() - at, 5);
  EXPECT_EQ(std::vector<std::string>(at + 1, at + 5),
            (std::vector<std::string>(4, "cvok")));

  // The consumed pattern cannot fire again.
  const auto m2 = d.sim.mark();
  d.Ticks(10);
  EXPECT_TRUE(SameEvents({}, d.Input(m2)));
  EXPECT_EQ(d.sim.editorText(ed), "粘贴文本");
}

TEST(GestureAltTap, ThreeItemsOfTheDoubleTapDoNotPaste) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.moveMouse(200, 200);
  const auto m = d.sim.mark();
  // Alt tapped once, then held: the history reads "18down", "old--18up", "18down".
  d.sim.keyDown(vk::Menu);
  d.sim.advance(25);
  d.sim.keyUp(vk::Menu);
  d.sim.advance(25);
  d.sim.keyDown(vk::Menu);
  d.Ticks(4);
  EXPECT_TRUE(SameEvents({}, d.Input(m)));
  d.sim.keyUp(vk::Menu);
}

TEST(GestureAltTap, PasteRequestGoesToTheWindowLeftOfTheBar) {
  Desk d;
  ASSERT_TRUE(d.Start());
  Wnd left = d.sim.addTextEditor({100, 100, 400, 300}, "left");
  Wnd other = d.sim.addTextEditor({600, 500, 300, 200}, "other");  // focused now
  d.sim.setClipboardText("xyz");
  d.sim.moveMouse(700, 600);
  d.Ticks(1);
  const auto m = d.sim.mark();
  // The bar stands at 460,200; the window at 458,200 is the left editor.
  d.app.qircom->SetLeft(460);
  d.app.qircom->SetTop(200);
  d.app.qirinputor->SetCaption("key--ctrlv");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(CtrlKey('V'), d.Input(m)));
  EXPECT_EQ(d.sim.editorText(left), "xyz");
  EXPECT_EQ(d.sim.editorText(other), "");
  EXPECT_EQ(d.InputCaption(), "old--xxcvok");
  EXPECT_EQ(d.ScrollCaption(), "ystop okok");
  EXPECT_EQ(d.app.qircom->Panel18.Caption(), "ctrlv 3");
  EXPECT_EQ(d.app.easyie->ListBox11.Item(0), "key--ctrlv--start");
}

// ---- Ctrl+C: capture on the third sighting, aligned ------------------------

struct CopyRow {
  const char* name;
  std::vector<std::string> copies;   // texts copied one after another
  std::string shiftWord;             // BitBtn2 after the last copy
  std::vector<std::string> lines;    // ListBox11 after the last copy
};

// Selects all of the editor's text and presses Ctrl+C, holding it until the
// tick has answered; returns the tick's Ctrl+C events. Ctrl is down for a
// tick first, so that C's word is written at once.
void CopyWithCtrlC(Desk& d, Wnd ed, const std::string& text, std::size_t& mark) {
  d.sim.setEditorText(ed, text);
  d.sim.setSelection(ed, 0, text.size());
  d.sim.keyDown(vk::Control);
  d.Ticks(1);
  mark = d.sim.mark();
  d.sim.keyDown('C');
  d.Ticks(1);
}

TEST(GestureCtrlC, CapturedOnTheThirdSightingAndAligned) {
  const std::vector<CopyRow> rows = {
      {"column from a single line", {"abcdefghijkl", "    one\n    two\n    three"}, "8/",
       {"            one", "            two", "            three"}},
      {"column zero cuts the indent", {"    one\n    two\n      three"}, "-4/",
       {"one", "two", "  three"}},
      {"single line sets the column", {"中文abc"}, "7", {"中文abc"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
    d.sim.moveMouse(200, 200);
    d.Ticks(1);
    for (const std::string& text : row.copies) {
      std::size_t m = 0;
      CopyWithCtrlC(d, ed, text, m);
      EXPECT_TRUE(SameEvents(CtrlKey('C'), d.Input(m)));
      EXPECT_EQ(d.InputCaption(), "key--shiftc--copy--ok");
      // Sightings one and two only count.
      std::vector<bool> captured;
      for (int i = 0; i < 2; ++i) {
        d.Ticks(1);
        captured.push_back(d.app.qircom->ListBox2.Item(0) == text);
        EXPECT_NE(d.app.qircom->ListBox2.Item(0), text);
      }
      d.Ticks(1);
      captured.push_back(d.app.qircom->ListBox2.Item(0) == text);
      EXPECT_EQ(captured, (std::vector<bool>{false, false, true}));
      EXPECT_EQ(d.app.qircom->ListBox2.Item(0), text);
      EXPECT_EQ(d.InputCaption(), "old--cap");
      EXPECT_EQ(d.app.qircom->Edit1.Caption(), text);
      EXPECT_EQ(d.app.easyie->Edit1.Caption(), text);
      EXPECT_EQ(d.app.qircom->BitBtn6.Caption(), "---align");
      d.sim.keyUp('C');
      d.sim.keyUp(vk::Control);
      d.Ticks(2);
    }
    EXPECT_EQ(d.app.qircom->BitBtn2.Caption(), row.shiftWord);
    EXPECT_EQ(d.Items(d.app.qircom->ListBox11), row.lines);
  }
}

// Copies of every size against the capture budget: a long file of code is
// captured and aligned whole; a text past the byte or line budget stays on
// the clipboard only, and the list, the alignment and the edits keep what
// the copy before it left.
TEST(GestureCtrlC, CapturesWithinTheBudgetAndLeavesLargerTextsAlone) {
  auto code = [](int lines) {
    std::string t;
    for (int i = 0; i < lines; ++i) t += "    第" + std::to_string(i) + "行 int x = f(y);\n";
    return t + "end";
  };
  struct Row {
    const char* name;
    std::string text;
    bool captured;
  };
  const std::vector<Row> rows = {
      {"5,000 lines of code", code(5000), true},
      {"the last line the budget allows", std::string(budget::kCaptureLines - 1, '\n'), true},
      {"one line too many", std::string(budget::kCaptureLines, '\n'), false},
      {"one byte too many", std::string(budget::kCaptureBytes + 1, 'x'), false},
      {"1,000,000 lines (15 MB)", [] {
         std::string t;
         for (int i = 0; i < 1'000'000; ++i) t += "abcdefghijklmn\n";
         return t;
       }(), false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
    d.sim.moveMouse(200, 200);
    d.Ticks(1);
    std::size_t m = 0;
    // A small copy first: it sets the alignment column to 5.
    CopyWithCtrlC(d, ed, "small", m);
    d.Ticks(3);
    d.sim.keyUp('C');
    d.sim.keyUp(vk::Control);
    d.Ticks(2);
    ASSERT_EQ(d.app.qircom->BitBtn2.Caption(), "5");
    CopyWithCtrlC(d, ed, row.text, m);
    d.Ticks(3);
    // The handshake completes either way.
    EXPECT_EQ(d.InputCaption(), "old--cap");
    EXPECT_EQ(d.sim.getClipboardText(), row.text);
    Tqircom& bar = *d.app.qircom;
    if (row.captured) {
      EXPECT_EQ(bar.ListBox2.Item(0), row.text);
      EXPECT_EQ(bar.Edit1.Caption(), budget::GbkPrefix(row.text, budget::kCaptionRead));
      const auto lines = SplitLines(row.text);
      ASSERT_EQ(bar.ListBox11.Count(), static_cast<int>(lines.size()));
      if (lines.size() > 1 && !lines[0].empty()) {
        // Column 5 minus the first line's indent of 4.
        EXPECT_EQ(bar.BitBtn2.Caption(), "1/");
        EXPECT_EQ(bar.ListBox11.Item(4999), "     第4999行 int x = f(y);");
        EXPECT_EQ(bar.ListBox11.Item(5000), " end");
      }
    } else {
      EXPECT_EQ(d.Items(bar.ListBox2), (std::vector<std::string>{"small", "智能粘贴板"}));
      EXPECT_EQ(bar.BitBtn2.Caption(), "5");
      EXPECT_EQ(d.Items(bar.ListBox11), (std::vector<std::string>{"small"}));
      EXPECT_EQ(bar.Edit1.Caption(), "small");
      EXPECT_EQ(d.app.easyie->Edit1.Caption(), "small");
    }
  }
}

// The smart clipboard keeps its newest entries within its entry and byte
// budgets, the oldest going first.
TEST(GestureCtrlC, SmartClipboardDropsItsOldestEntriesPastItsBudget) {
  struct Row {
    const char* name;
    int copies;
    std::size_t size;
    std::size_t expectEntries;
  };
  const std::size_t big = budget::kCaptureBytes - 100;
  const std::vector<Row> rows = {
      {"entries", static_cast<int>(budget::kSmartClipEntries) + 20, 10,
       budget::kSmartClipEntries},
      {"bytes", 7, big, budget::kSmartClipBytes / big},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
    d.sim.moveMouse(200, 200);
    d.Ticks(1);
    std::vector<std::string> texts;
    for (int i = 0; i < row.copies; ++i) {
      std::string t = std::to_string(i) + ":";
      t.resize(row.size, 'z');
      texts.push_back(t);
      std::size_t m = 0;
      CopyWithCtrlC(d, ed, t, m);
      d.Ticks(3);
      d.sim.keyUp('C');
      d.sim.keyUp(vk::Control);
      d.Ticks(2);
    }
    const auto items = d.Items(d.app.qircom->ListBox2);
    ASSERT_EQ(items.size(), row.expectEntries);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i], texts[texts.size() - 1 - i]) << "entry " << i;
      bytes += items[i].size();
    }
    EXPECT_LE(bytes, budget::kSmartClipBytes);
  }
}

TEST(GestureCtrlC, SmartClipboardKeepsOneCopyOfEachTextNewestFirst) {
  Desk d;
  ASSERT_TRUE(d.Start());
  Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.moveMouse(200, 200);
  for (const char* text : {"a", "b", "a"}) {
    std::size_t m = 0;
    CopyWithCtrlC(d, ed, text, m);
    d.Ticks(3);
    d.sim.keyUp('C');
    d.sim.keyUp(vk::Control);
    d.Ticks(2);
  }
  EXPECT_EQ(d.Items(d.app.qircom->ListBox2),
            (std::vector<std::string>{"a", "b", "智能粘贴板"}));
}

TEST(GestureCtrlC, StillAnsweredAfterAWheelWordStays) {
  // A wheel word in the scroll-mode caption is left as written; it must not
  // swallow the keyboard words that come after it.
  Desk d;
  ASSERT_TRUE(d.Start());
  Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.moveMouse(200, 200);
  d.app.qirForm3->SetCaption("ystop=xx--wheel");
  d.Ticks(2);
  EXPECT_EQ(d.ScrollCaption(), "ystop=xx--wheel");
  std::size_t m = 0;
  CopyWithCtrlC(d, ed, "after wheel", m);
  EXPECT_TRUE(SameEvents(CtrlKey('C'), d.Input(m)));
  d.Ticks(3);
  EXPECT_EQ(d.app.qircom->ListBox2.Item(0), "after wheel");
  d.sim.keyUp('C');
  d.sim.keyUp(vk::Control);
}

// ---- right-right: copy and show the clip widget ----------------------------

// Selects by dragging with the left button from 150,150 to 200,150.
void DragSelect(Desk& d) {
  d.sim.moveMouse(150, 150);
  d.Ticks(1);
  d.sim.leftDown();
  d.Ticks(2);
  d.sim.moveMouse(200, 150);
  d.Ticks(2);
  d.sim.leftUp();
  d.Ticks(1);
}

TEST(GestureRightRight, RightPressWhereTheSelectionEndedCopiesAndShowsTheClipWidget) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.StopLifePanel();
  Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.setEditorText(ed, "hello world");
  DragSelect(d);
  // What the drag selected in the editor: the copy takes whatever it is.
  d.sim.setSelection(ed, 0, 5);
  // The release point is where the selection ended: the right press there
  // copies.
  const auto m = d.sim.mark();
  d.sim.rightDown();
  d.Ticks(2);
  EXPECT_TRUE(SameEvents(Concat({CtrlKey('C'), kEscape42}), d.Input(m)));
  EXPECT_EQ(d.sim.getClipboardText(), "hello");
  Tqircom& bar = *d.app.qircom;
  EXPECT_EQ(bar.Bounds(), (Rect{170, 144, 70, 24}));
  EXPECT_TRUE(bar.Panel9.Visible());
  EXPECT_TRUE(bar.Panel12.Visible());
  EXPECT_TRUE(bar.Panel35.Visible());
  EXPECT_EQ(bar.Panel14.Caption(), "F3");
  EXPECT_EQ(d.ScrollCaption(), "myright");
  EXPECT_EQ(d.InputCaption(), "key--shiftc--copy--ok");
  EXPECT_EQ(d.app.lifeform->Panel7.Caption(), "左键点击--粘贴自我；右键点击--粘贴行首");
  // The copy is captured on the third sighting; the widget stays while the
  // pointer is on it.
  d.Ticks(3);
  EXPECT_EQ(bar.ListBox2.Item(0), "hello");
  EXPECT_EQ(bar.Left(), 170);
  d.sim.rightUp();
  d.Ticks(1);
}

TEST(GestureRightRight, RightPressAwayFromTheReleasePointDoesNotCopy) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.addTextEditor({100, 100, 400, 300});
  DragSelect(d);
  d.sim.moveMouse(260, 150);
  const auto m = d.sim.mark();
  d.sim.rightDown();
  d.Ticks(3);
  EXPECT_TRUE(SameEvents({}, d.Input(m)));
  EXPECT_LT(d.app.qircom->Left(), 0);
  d.sim.rightUp();
  d.Ticks(1);
}

// ---- Shift and a digit: paste a smart-clipboard entry -----------------------

TEST(GestureDigitPaste, DigitAfterShiftPastesTheChosenEntry) {
  struct Row {
    int digitKey;
    std::string typed;   // what Shift and the digit type into the editor
    std::string pasted;  // "" when the digit chooses nothing
  };
  const std::vector<Row> rows = {
      {'1', "!", "one"}, {'3', "#", "three"}, {'4', "$", ""}, {'0', ")", ""}, {'9', "(", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string("digit ") + static_cast<char>(row.digitKey));
    Desk d;
    ASSERT_TRUE(d.Start());
    Wnd ed = d.ReadyForDigitPaste();
    Tqircom& bar = *d.app.qircom;
    const auto m = d.sim.mark();
    d.sim.keyDown(vk::Shift);
    d.Ticks(1);
    ASSERT_EQ(d.InputCaption(), "key//bshiftok2");
    EXPECT_EQ(d.Items(bar.ListBox2), (std::vector<std::string>{"one", "two", "three"}));
    // The digit's word waits for a tick to read "key//bshiftok2", then the
    // next tick chooses the entry and the one after pastes it.
    d.sim.keyDown(row.digitKey);
    d.Ticks(3);
    if (row.pasted.empty()) {
      EXPECT_TRUE(SameEvents({}, d.Input(m)));
      EXPECT_EQ(d.sim.editorText(ed), row.typed);
      EXPECT_EQ(d.InputCaption(), "key//bshiftok2--" + std::to_string(row.digitKey));
    } else {
      EXPECT_TRUE(SameEvents(CtrlKey('V'), d.Input(m)));
      EXPECT_EQ(d.sim.editorText(ed), row.typed + row.pasted);
      EXPECT_LT(bar.Left(), 0);
      // The entry the digit chose is on the clipboard: Shift shown again
      // does not move it to the top, so the digits keep their entries.
      d.sim.keyUp(row.digitKey);
      d.sim.keyUp(vk::Shift);
      d.Ticks(2);
      bar.SetWindowPos(ZOrder::TopMost, 300, 300, 400, 350, swp::ShowWindow);
      d.Ticks(1);
      d.sim.keyDown(vk::Shift);
      d.Ticks(1);
      ASSERT_EQ(d.InputCaption(), "key//bshiftok2");
      EXPECT_EQ(d.sim.getClipboardText(), row.pasted);
      EXPECT_EQ(d.Items(bar.ListBox2), (std::vector<std::string>{"one", "two", "three"}));
    }
    d.sim.keyUp(row.digitKey);
    d.sim.keyUp(vk::Shift);
  }
}

// Shift over the shown bar puts the clipboard into the smart clipboard
// each time it holds a text the list has not taken yet: a copy made by a
// program's own menu, which no Ctrl+C capture saw, enters at the next Shift,
// not only at the first Shift of the run.
TEST(GestureDigitPaste, ShiftPutsEachNewClipboardTextIntoTheSmartClipboard) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.ReadyForDigitPaste();
  Tqircom& bar = *d.app.qircom;
  auto shiftOverBar = [&] {
    bar.SetWindowPos(ZOrder::TopMost, 300, 300, 400, 350, swp::ShowWindow);
    d.sim.moveMouse(310, 310);
    d.Ticks(1);
    d.sim.keyDown(vk::Shift);
    d.Ticks(1);
    ASSERT_EQ(d.InputCaption(), "key//bshiftok2");
    d.sim.keyUp(vk::Shift);
    d.Ticks(2);
  };
  shiftOverBar();
  EXPECT_EQ(d.Items(bar.ListBox2), (std::vector<std::string>{"one", "two", "three"}));
  for (const char* copied : {"four", "five"}) {
    SCOPED_TRACE(copied);
    d.sim.setClipboardText(copied);
    shiftOverBar();
    EXPECT_EQ(bar.ListBox2.Item(0), copied);
    EXPECT_EQ(bar.Edit1.Caption(), copied);
  }
  EXPECT_EQ(d.Items(bar.ListBox2), (std::vector<std::string>{"five", "four", "one", "two", "three"}));
  // The same text again adds nothing.
  shiftOverBar();
  EXPECT_EQ(bar.ListBox2.Count(), 5);
}

}  // namespace
}  // namespace sq::testing
