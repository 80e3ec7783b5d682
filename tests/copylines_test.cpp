// Copy-lines and capture: Alt then the Windows key, the copy-lines gesture
// and its wait for the line copy, the selection words, and the capture of
// a Ctrl+C into the smart clipboard, aligned.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

#include "app/frame/budget.h"
#include "app/frame/gbk.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

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
        captured.push_back(d.app.bar.qircom->ListBox2.Item(0) == text);
        EXPECT_NE(d.app.bar.qircom->ListBox2.Item(0), text);
      }
      d.Ticks(1);
      captured.push_back(d.app.bar.qircom->ListBox2.Item(0) == text);
      EXPECT_EQ(captured, (std::vector<bool>{false, false, true}));
      EXPECT_EQ(d.app.bar.qircom->ListBox2.Item(0), text);
      EXPECT_EQ(d.InputCaption(), "old--cap");
      EXPECT_EQ(d.app.bar.qircom->Edit1.Caption(), text);
      EXPECT_EQ(d.app.browser.easyie->Edit1.Caption(), text);
      EXPECT_EQ(d.app.bar.qircom->BitBtn6.Caption(), "---align");
      d.sim.keyUp('C');
      d.sim.keyUp(vk::Control);
      d.Ticks(2);
    }
    EXPECT_EQ(d.app.bar.qircom->BitBtn2.Caption(), row.shiftWord);
    EXPECT_EQ(d.Items(d.app.bar.qircom->ListBox11), row.lines);
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
    ASSERT_EQ(d.app.bar.qircom->BitBtn2.Caption(), "5");
    CopyWithCtrlC(d, ed, row.text, m);
    d.Ticks(3);
    // The handshake completes either way.
    EXPECT_EQ(d.InputCaption(), "old--cap");
    EXPECT_EQ(d.sim.getClipboardText(), row.text);
    Tqircom& bar = *d.app.bar.qircom;
    if (row.captured) {
      EXPECT_EQ(bar.ListBox2.Item(0), row.text);
      EXPECT_EQ(bar.Edit1.Caption(), gbk::Prefix(row.text, budget::kCaptionRead));
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
      EXPECT_EQ(d.app.browser.easyie->Edit1.Caption(), "small");
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
    const auto items = d.Items(d.app.bar.qircom->ListBox2);
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
  EXPECT_EQ(d.Items(d.app.bar.qircom->ListBox2),
            (std::vector<std::string>{"a", "b", "智能粘贴板"}));
}

TEST(GestureCtrlC, StillAnsweredAfterAWheelWordStays) {
  // A wheel word in the scroll-mode caption is left as written; it must not
  // swallow the keyboard words that come after it.
  Desk d;
  ASSERT_TRUE(d.Start());
  Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.moveMouse(200, 200);
  d.app.bar.qirForm3->SetCaption("ystop=xx--wheel");
  d.Ticks(2);
  EXPECT_EQ(d.ScrollCaption(), "ystop=xx--wheel");
  std::size_t m = 0;
  CopyWithCtrlC(d, ed, "after wheel", m);
  EXPECT_TRUE(SameEvents(CtrlKey('C'), d.Input(m)));
  d.Ticks(3);
  EXPECT_EQ(d.app.bar.qircom->ListBox2.Item(0), "after wheel");
  d.sim.keyUp('C');
  d.sim.keyUp(vk::Control);
}

TEST(GestureAltWin, AltThenWindowsKeySelectsCopiesAndShowsTheClipWidget) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.addTextEditor({100, 100, 500, 400});
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  const auto m = d.sim.mark();
  d.sim.keyDown(vk::Menu);
  d.sim.advance(25);
  d.sim.keyUp(vk::Menu);
  d.sim.advance(25);
  d.sim.keyDown(vk::LWin);
  d.Ticks(2);
  EXPECT_TRUE(SameEvents(Concat({{"key 16 down", "mouse leftdown", "mouse leftup", "key 16 up"},
                                 CtrlKey('C'),
                                 {"cursor 370,328"}}),
                         d.Input(m)));
  Tqircom& bar = *d.app.bar.qircom;
  EXPECT_EQ(bar.Bounds(), (Rect{340, 320, 70, 24}));
  EXPECT_EQ(bar.Panel14.Caption(), "F3");
  EXPECT_EQ(bar.Panel35.Caption(), "<-");
  EXPECT_TRUE(bar.Panel12.Visible());
  EXPECT_EQ(d.app.input.caretinfo->Caption(), "select");
  EXPECT_EQ(d.app.input.qirinputor->Panel4.Left(), 0);
  d.sim.keyUp(vk::LWin);
  // The selection is armed: the next left press is the mouse-down of the
  // selection.
  d.Ticks(2);
  d.app.input.caretinfo->SetCaption("idle");
  d.app.bar.qirForm3->SetCaption("down/300,300/");
  d.Ticks(1);
  EXPECT_EQ(d.app.input.caretinfo->Caption(), "mousedown");
}

TEST(GestureCopyLines, CopiesFromTheLineStartThenExtendsOverTheCountedLines) {
  Desk d;
  ASSERT_TRUE(d.Start());
  // (Below the life panel across the top.)
  Wnd ed = d.sim.addTextEditor({100, 200, 500, 400});
  d.sim.setEditorText(ed, "abc def\nl2\nl3\nl4");
  d.sim.setSelection(ed, 4, 4);
  d.sim.setClipboardText("before");
  // On the first line: the clicks put the caret where the pointer is.
  d.sim.moveMouse(300, 205);
  d.Ticks(1);
  Tqircom& bar = *d.app.bar.qircom;
  bar.ListBox11.SetText("x\ny\nz");
  const auto m = d.sim.mark();
  bar.Panel19.SetCaption("xx copy");
  d.app.input.caretinfo->SetCaption("alt2menu--51");
  d.Ticks(1);
  // No drag anchor yet: both slow clicks land at the pointer.
  const std::vector<std::string> gesture = Concat(
      {{"mouse leftdown", "mouse leftup", "mouse leftdown", "mouse leftup"},
       {"key 16 down", "key 36 down", "key 36 up", "key 16 up"},
       CtrlKey('C')});
  EXPECT_TRUE(SameEvents(gesture, d.Input(m)));
  EXPECT_EQ(d.app.input.caretinfo->Caption(), "select xxcopy");
  EXPECT_EQ(bar.Panel19.Caption(), "qq--xx copy");
  EXPECT_EQ(d.InputCaption(), "old--xx--27");

  // The line copy landed: the selection grows over the three counted lines.
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(
      Concat({gesture,
              {"key 36 down", "key 36 up", "key 16 down", "key 40 down", "key 40 up",
               "key 40 down", "key 40 up", "key 40 down", "key 40 up", "key 16 up"},
              CtrlKey('C')}),
      d.Input(m)));
  EXPECT_EQ(d.sim.getClipboardText().substr(0, 13), "abc def\nl2\nl3");
  // The stage is over: a later clipboard change extends nothing.
  const auto later = d.sim.mark();
  d.sim.setClipboardText("later");
  d.Ticks(2);
  EXPECT_TRUE(SameEvents({}, d.Input(later)));
}

TEST(GestureCopyLines, StageGivesUpAfter20TicksWithoutAClipboardChange) {
  // A clipboard change on the 20th tick of the stage still extends the
  // selection; on the 21st it no longer does.
  for (int wait : {19, 20}) {
    SCOPED_TRACE("change after " + std::to_string(wait) + " ticks");
    Desk d;
    ASSERT_TRUE(d.Start());
    d.app.shell.wrpyreadpanel->Edit2.SetCaption("100");
    // No editor: the copy changes nothing.
    d.sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    // Empty, as the text of the last line copy (none yet) is.
    d.sim.setClipboardText("");
    // A drag-scroll begun at 200,150 leaves its anchor there.
    d.sim.moveMouse(200, 150);
    d.Ticks(1);
    d.sim.leftDown();
    d.Ticks(8);
    ASSERT_EQ(d.app.bar.qirForm4->Height(), 27);
    d.sim.leftUp();
    d.Ticks(2);
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    // With a drag anchor the caret is put there by two slow clicks.
    const auto m0 = d.sim.mark();
    d.app.bar.qircom->Panel19.SetCaption("xx copy");
    d.app.input.caretinfo->SetCaption("alt2menu--51");
    d.Ticks(1);
    ASSERT_EQ(d.app.input.caretinfo->Caption(), "select xxcopy");
    auto clicks = d.Input(m0);
    clicks.resize(6);
    EXPECT_TRUE(SameEvents({"cursor 220,150", "mouse leftdown", "mouse leftup", "cursor 200,150",
                            "mouse leftdown", "mouse leftup"},
                           clicks));
    const auto m = d.sim.mark();
    d.Ticks(wait);
    EXPECT_TRUE(SameEvents({}, d.Input(m)));
    // A late change extends only while the stage still waits.
    d.sim.setClipboardText("late");
    d.Ticks(2);
    if (wait < 20) {
      EXPECT_TRUE(SameEvents({"key 36 down", "key 36 up", "key 16 down", "key 16 up", "key 17 down",
                              "key 67 down", "key 67 up", "key 17 up"},
                             d.Input(m)));
    } else {
      EXPECT_TRUE(SameEvents({}, d.Input(m)));
    }
  }
}

TEST(TickCopyLines, StageWaitsForADifferenceFromTheLastLineCopyNotFromTheArmingTick) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);  // no editor: the synthesised copies change nothing
  d.sim.setClipboardText("held");
  d.Ticks(1);
  Tqircom& bar = *d.app.bar.qircom;
  bar.ListBox11.SetText("x\ny");
  auto request = [&] {
    bar.Panel19.SetCaption("xx copy");
    d.app.input.caretinfo->SetCaption("alt2menu--51");
    d.Ticks(1);
    ASSERT_EQ(d.app.input.caretinfo->Caption(), "select xxcopy");
  };
  const std::vector<std::string> extend = Concat(
      {{"key 36 down", "key 36 up", "key 16 down", "key 40 down", "key 40 up", "key 40 down",
        "key 40 up", "key 16 up"},
       CtrlKey('C')});

  // No line copy yet: "held" differs from the empty S1, so the stage goes on
  // at the next tick even though the clipboard did not change.
  request();
  auto m = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(extend, d.Keys(m)));
  // The stage is over: the next tick extends nothing more.
  m = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));

  // The next request meets the same text: it waits and gives up after 20.
  request();
  m = d.sim.mark();
  d.Ticks(20);
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));
  // Given up: a change now extends nothing.
  d.sim.setClipboardText("changed");
  d.Ticks(2);
  EXPECT_TRUE(SameEvents({}, d.Keys(m)));
}

TEST(TickCaretWords, FinishedSelectionIsCutAndSelectWordsFollowTheButtons) {
  Desk d;
  ASSERT_TRUE(d.StartOverPage());
  Tcaretinfo& caret = *d.app.input.caretinfo;
  d.app.bar.qircom->SetLeft(50);
  auto m = d.sim.mark();
  caret.SetCaption("ok select 12");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"key 16 down", "key 46 down", "key 46 up", "key 16 up"}, d.Keys(m)));
  EXPECT_EQ(caret.Caption(), "oksel");
  EXPECT_LT(d.app.bar.qircom->Left(), 0);

  caret.SetCaption("select");
  d.sim.rightDown();
  d.Ticks(1);
  EXPECT_EQ(caret.Caption(), "rightexit select");
  d.sim.rightUp();
  d.Ticks(1);
  caret.SetCaption("select");
  const auto mc = d.sim.mark();
  d.sim.leftDown();
  d.Ticks(1);
  // The left hold writes its "leftpos=" word later in the same tick.
  EXPECT_EQ(d.sim.eventsSince(mc, simfilter::captionsOf("Tcaretinfo")),
            (std::vector<std::string>{"caption Tcaretinfo=leftexit select",
                                      "caption Tcaretinfo=leftpos=300,300"}));
  d.sim.leftUp();
  d.Ticks(1);
}

TEST(TickCaretWords, ArmedSelectionMeetsTheNextLeftPress) {
  for (bool copyLines : {false, true}) {
    SCOPED_TRACE(copyLines ? "copy-lines flag" : "plain");
    Desk d;
    ASSERT_TRUE(d.Start());
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    // The copy-lines gesture, then Alt and the Windows key arm the
    // selection.
    if (copyLines) {
      d.app.bar.qircom->Panel19.SetCaption("xx copy");
      d.app.input.caretinfo->SetCaption("alt2menu--51");
      d.Ticks(1);
      ASSERT_EQ(d.app.input.caretinfo->Caption(), "select xxcopy");
      d.Ticks(21);
    }
    d.sim.keyDown(vk::Menu);
    d.sim.advance(25);
    d.sim.keyUp(vk::Menu);
    d.sim.advance(25);
    d.sim.keyDown(vk::LWin);
    d.Ticks(2);
    ASSERT_EQ(d.app.input.caretinfo->Caption(), "select");
    d.sim.keyUp(vk::LWin);
    d.Ticks(2);
    d.app.input.caretinfo->SetCaption("idle");
    d.app.bar.qirForm3->SetCaption("down/300,300/");
    d.Ticks(1);
    EXPECT_EQ(d.app.input.caretinfo->Caption(), copyLines ? "select" : "mousedown");
    EXPECT_EQ(d.InputCaption(), "old--lm");
    // Both used up: the next press word leaves the caret caption alone.
    d.app.input.caretinfo->SetCaption("idle");
    d.app.bar.qirForm3->SetCaption("down/300,300/");
    d.Ticks(1);
    EXPECT_EQ(d.app.input.caretinfo->Caption(), "idle");
  }
}

// Right after a capture the copy-lines request needs no copy word from the
// bar; a left press ends that.
TEST(GestureCopyLines, ACaptureJustMadeLetsTheRequestGoUntilALeftPress) {
  for (bool pressed : {false, true}) {
    SCOPED_TRACE(pressed ? "left pressed after the capture" : "right after the capture");
    Desk d;
    ASSERT_TRUE(d.Start());
    Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
    d.sim.moveMouse(200, 200);
    d.Ticks(1);
    std::size_t m = 0;
    CopyWithCtrlC(d, ed, "captured", m);
    d.Ticks(3);
    ASSERT_EQ(d.app.bar.qircom->ListBox2.Item(0), "captured");
    d.sim.keyUp('C');
    d.sim.keyUp(vk::Control);
    d.Ticks(2);
    if (pressed) {
      d.sim.leftDown();
      d.Ticks(1);
      d.sim.leftUp();
      d.Ticks(1);
    }
    ASSERT_NE(d.app.bar.qircom->Panel19.Caption(), "xx copy");
    d.app.input.caretinfo->SetCaption("alt2menu--51");
    d.Ticks(1);
    EXPECT_EQ(d.app.input.caretinfo->Caption(), pressed ? "alt2menu--51" : "select xxcopy");
  }
}

}  // namespace
}  // namespace sq::testing
