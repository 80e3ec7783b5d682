// Keyboard words: the semicolon toggle in each state of the pinyin input
// method's windows, the keyboard words' answers and the idle rule after
// them, the Alt double tap's paste, and Shift with a digit that pastes a
// smart-clipboard entry.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

#include "app/frame/budget.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "tests/gesture_harness.h"

namespace sq::testing {
namespace {

enum class Ime { None, CompositionHidden, CompositionShown };

struct SemicolonRow {
  const char* name;
  Ime ime;
  std::string state;                  // Panel4 of the input window
  std::vector<std::string> events;    // synthesised by the tick
  std::string caption;                // input caption after that tick
};

// The pinyin input method's windows: a status bar under the point the input
// window's strip tests, and a composition window, shown or hidden.
Wnd AddInputMethod(Desk& d, bool composing) {
  d.sim.addWindow("UNISPIM_STATUSCLS", "", {600, 700, 200, 30});
  Wnd comp = d.sim.addWindow("UNISPIM_COMPCLS", "", {40, 40, 120, 24});
  if (!composing) d.sim.showWindow(comp, false);
  return comp;
}

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
  auto hist = d.Items(d.app.bar.qircom->ListBox8);
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
  d.app.bar.qircom->SetLeft(460);
  d.app.bar.qircom->SetTop(200);
  d.app.input.qirinputor->SetCaption("key--ctrlv");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(CtrlKey('V'), d.Input(m)));
  EXPECT_EQ(d.sim.editorText(left), "xyz");
  EXPECT_EQ(d.sim.editorText(other), "");
  EXPECT_EQ(d.InputCaption(), "old--xxcvok");
  EXPECT_EQ(d.ScrollCaption(), "ystop okok");
  EXPECT_EQ(d.app.bar.qircom->Panel18.Caption(), "ctrlv 3");
  EXPECT_EQ(d.app.browser.easyie->ListBox11.Item(0), "key--ctrlv--start");
}

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
    Tqircom& bar = *d.app.bar.qircom;
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
  Tqircom& bar = *d.app.bar.qircom;
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

TEST(GestureSemicolon, TogglesTheInputMethodOnlyWhenAllowed) {
  const std::vector<SemicolonRow> rows = {
      {"no status bar below: nothing", Ime::None, "3", {}, "key--186"},
      {"composition hidden: toggle", Ime::CompositionHidden, "1",
       {"key 17 down", "key 32 down", "key 32 up", "key 17 up"}, "key--186ok"},
      {"composing: the key goes to the composition", Ime::CompositionShown, "2", {},
       "key--mode"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    if (row.ime != Ime::None) {
      d.sim.addWindow("UNISPIM_STATUSCLS", "", {600, 700, 200, 30});
      Wnd comp = d.sim.addWindow("UNISPIM_COMPCLS", "", {40, 40, 120, 24});
      if (row.ime == Ime::CompositionHidden) d.sim.showWindow(comp, false);
    }
    d.sim.moveMouse(300, 300);
    d.Ticks(2);
    Tqirinputor& in = *d.app.input.qirinputor;
    EXPECT_EQ(in.Panel4.Caption(), row.state);
    if (row.ime != Ime::None) {
      EXPECT_EQ(in.Panel5.Visible(), row.ime == Ime::CompositionHidden);
      // The input window sits as a strip just above the status bar.
      EXPECT_EQ(in.Bounds(), (Rect{600, 680, 200, 20}));
      EXPECT_FALSE(in.Visible());
    }
    const auto m = d.sim.mark();
    d.sim.keyDown(vk::Semicolon);
    d.Ticks(1);
    EXPECT_TRUE(SameEvents(row.events, d.Input(m)));
    EXPECT_EQ(d.InputCaption(), row.caption);
    if (row.caption == "key--mode") {
      d.Ticks(1);
      EXPECT_EQ(d.InputCaption(), "key--modeok");
    }
    d.sim.keyUp(vk::Semicolon);
  }
}

TEST(GestureKeys, KeyboardWordsAreAnsweredOnce) {
  struct Row {
    std::string word;
    std::vector<std::string> events;
    std::string caption;
  };
  const std::vector<Row> rows = {
      {"key--ctrlx", {"key 46 down", "key 46 up"}, "old--key--cxok"},
      {"key--ctrlz", CtrlKey('Z'), "old--ctrlzok"},
      {"move--clip", {}, "ok move--clip"},
      {"key--ccok1", {}, "key--ccok3"},
      {"key--18//alt--shiftdown", {"key 16 down"}, "key--18//alt--shiftdown--ok"},
      {"oldright", {"mouse rightdown", "mouse rightup"}, "xx oldright"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.word);
    Desk d;
    ASSERT_TRUE(d.Start());
    d.sim.moveMouse(300, 300);
    d.Ticks(1);
    const auto m = d.sim.mark();
    d.app.input.qirinputor->SetCaption(row.word);
    d.Ticks(1);
    EXPECT_TRUE(SameEvents(row.events, d.Input(m)));
    EXPECT_EQ(d.InputCaption(), row.caption);
  }
}

TEST(GestureKeys, ZHeldUnderAPendingWordStopsTheTickOnce) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.sim.keyDown(vk::Control);
  d.Ticks(1);          // "key--17//" read: Z's word is written at once
  d.sim.keyDown('Z');  // "key--ctrlz", Z held
  const auto m = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({}, d.Input(m)));
  // The guard stopped this one tick only: the next answers the word.
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(CtrlKey('Z'), d.Input(m)));
  // Answered: one undo for one Ctrl+Z, however long Z stays down.
  d.Ticks(3);
  EXPECT_TRUE(SameEvents(CtrlKey('Z'), d.Input(m)));
  d.sim.keyUp('Z');
  d.sim.keyUp(vk::Control);
}

// A modifier whose release the hook never saw (the secure desktop of
// Ctrl+Alt+Del or Win+L, a UAC prompt) changes no later key: the hook asks
// the system before a held modifier changes a key's word. A modifier that
// is held still does, even when it is let go before the key.
TEST(GestureKeys, AModifierReleasedWhereTheHookCannotSeeChangesNoLaterKey) {
  using std::string;
  const string num = words::in::KeyPrefix;
  struct Row {
    const char* name;
    int modifier;                      // as the hook reports it (162 = left Ctrl)
    bool lost;                         // its release goes past the hook
    int key;
    string word;                       // the key's word in the input caption
    string wrong;                      // the word it must not give
    std::vector<string> answer;        // what the program synthesises for it
  };
  const std::vector<Row> rows = {
      {"Ctrl lost, then X", 162, true, 'X', num + "88", words::in::KeyCtrlX, {}},
      {"Ctrl lost, then C", 162, true, 'C', num + "67", words::in::KeyCtrlC, {}},
      {"Ctrl lost, then Z", 162, true, 'Z', num + "90", words::in::KeyCtrlZ, {}},
      {"Shift lost, then 1", 160, true, '1', num + "49", string(words::in::DigitPrefix) + "49", {}},
      {"Alt lost, then Shift", 164, true, 160, words::in::KeyShift, words::in::KeyAltShift, {}},
      {"Ctrl held, let go before X", 162, false, 'X', words::in::KeyCtrlX, num + "88",
       {"key 46 down", "key 46 up"}},
      {"Ctrl held, let go before Z", 162, false, 'Z', words::in::KeyCtrlZ, num + "90", CtrlKey('Z')},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    d.StopLifePanel();
    d.sim.addTextEditor({0, 0, 300, 200});
    d.sim.moveMouse(150, 100);
    d.Ticks(2);
    std::size_t m = 0;
    // Step table: the hand, then the time that passes after it.
    const std::vector<std::pair<std::function<void()>, unsigned>> steps = {
        {[&] { d.sim.keyDown(row.modifier); }, 70},
        {[&] { if (row.lost) d.sim.keyUpUnseen(row.modifier); }, row.lost ? 400 : 0},
        {[&] { m = d.sim.mark(); d.sim.keyDown(row.key); }, 40},
        {[&] { if (!row.lost) d.sim.keyUp(row.modifier); }, 60},
        {[&] { d.sim.keyUp(row.key); }, 400},
    };
    for (const auto& [hand, ms] : steps) {
      hand();
      d.sim.advance(ms);
    }
    std::vector<string> said;
    for (const auto& e : d.sim.eventsSince(m, simfilter::captionsOf("Tqirinputor")))
      said.push_back(e.substr(string("caption Tqirinputor=").size()));
    const auto has = [&said](const string& w) { return std::find(said.begin(), said.end(), w) != said.end(); };
    EXPECT_TRUE(has(row.word)) << "no word " << row.word;
    EXPECT_FALSE(has(row.wrong)) << "the word " << row.wrong;
    EXPECT_TRUE(SameEvents(row.answer, d.Keys(m)));
  }
}

// Ctrl held and a letter held past the typematic delay: the keyboard
// repeats the letter (key-downs with no key-up between them). The program
// may answer the repeats while the keys are held, but none once the letter
// is let go: no Delete or undo comes after the hand has stopped. (The undo
// answers once: its own Ctrl+Z lets Ctrl go as far as the system knows, so
// the repeats after it are plain Z's, for the hook as for the window.)
TEST(GestureKeys, RepeatsOfAHeldChordEndWithTheKey) {
  struct Row {
    const char* name;
    int key;
    std::string answer;  // the first event of the program's answer
    int whileHeld;       // answers at least, while the keys are held
  };
  const std::vector<Row> rows = {
      {"Ctrl+X held", 'X', "key 46 down", 10},
      {"Ctrl+Z held", 'Z', "key 90 down", 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Desk d;
    ASSERT_TRUE(d.Start());
    d.StopLifePanel();
    Wnd ed = d.sim.addTextEditor({0, 0, 300, 200});
    d.sim.setEditorText(ed, std::string(400, 'a'));
    d.sim.setSelection(ed, 0, 0);
    d.sim.moveMouse(150, 100);
    d.Ticks(2);
    const auto m = d.sim.mark();
    const std::uint32_t t0 = d.sim.tickCount();
    std::uint32_t released = 0;
    // Step table: the hand, then the time that passes after it.
    const std::vector<std::pair<std::function<void()>, unsigned>> steps = {
        {[&] { d.sim.keyDown(162); }, 80},
        {[&] { d.sim.keyDown(row.key); }, 2500},  // held: repeats from 500 ms on
        {[&] { d.sim.keyUp(row.key); released = d.sim.tickCount() - t0; }, 60},
        {[&] { d.sim.keyUp(162); }, 2000},
    };
    for (const auto& [hand, ms] : steps) {
      hand();
      d.sim.advance(ms);
    }
    int whileHeld = 0, late = 0;
    for (const std::string& e : d.sim.timedEventsSince(m, t0, simfilter::keys())) {
      const auto space = e.find(' ');
      const long at = std::stol(e.substr(1, space - 1));
      if (e.substr(space + 1) != row.answer) continue;
      if (at <= static_cast<long>(released)) ++whileHeld;
      // The word in the caption as the key went up is answered by the
      // next tick or the one after; nothing later.
      else if (at > static_cast<long>(released) + 2 * 40 + 20) ++late;
    }
    EXPECT_GE(whileHeld, row.whileHeld) << "the held chord was not repeated";
    EXPECT_EQ(late, 0) << "answers after the key was let go";
  }
}

TEST(TickImeIdle, AnsweredWordsReturnToIdleInTheSameTick) {
  struct Row {
    std::string word;
    std::string expected;  // input caption after one tick
  };
  const std::vector<Row> rows = {
      // Answered by "key--ccok2", "key--ccok3", then done with.
      {"key--ccok1", "old--mode"},
      // A copy sighting is counted, then done with: it counts once.
      {"key--shiftc--copy--ok", "old--mode"},
      // Caps Lock words stay.
      {"key--20", "key--20"},
      {"old--20", "old--20"},
      {"key--65", "old--mode"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.word);
    Desk d;
    ASSERT_TRUE(d.Start());
    AddInputMethod(d, false);
    d.sim.moveMouse(300, 300);
    d.Ticks(2);
    ASSERT_EQ(d.app.input.qirinputor->Panel4.Caption(), "1");
    d.app.input.qirinputor->SetCaption(row.word);
    d.Ticks(1);
    EXPECT_EQ(d.InputCaption(), row.expected);
  }
}

TEST(TickImeIdle, EachCopyIsCapturedWhileNothingIsComposed) {
  // The idle word replaces the copy word on its first sighting; the capture
  // goes on by itself and takes every copy, not every third.
  Desk d;
  ASSERT_TRUE(d.Start());
  AddInputMethod(d, false);
  Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
  d.sim.moveMouse(200, 200);
  d.Ticks(2);
  const std::vector<std::string> texts = {"one", "two", "three"};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    d.sim.setEditorText(ed, text);
    d.sim.setSelection(ed, 0, text.size());
    d.sim.keyDown(vk::Control);
    d.Ticks(1);
    d.sim.keyDown('C');
    d.Ticks(1);
    ASSERT_EQ(d.InputCaption(), "key--shiftc--copy--ok");
    d.Ticks(1);
    EXPECT_EQ(d.InputCaption(), "old--mode");
    // The first sighting counted: not captured yet.
    EXPECT_NE(d.app.bar.qircom->ListBox2.Item(0), text);
    d.Ticks(2);
    EXPECT_EQ(d.app.bar.qircom->ListBox2.Item(0), text);
    // The capture is over: it takes nothing more by itself.
    d.sim.setClipboardText("not copied");
    d.Ticks(3);
    EXPECT_EQ(d.app.bar.qircom->ListBox2.Item(0), text);
    d.sim.keyUp('C');
    d.sim.keyUp(vk::Control);
    d.Ticks(2);
  }
  EXPECT_EQ(d.Items(d.app.bar.qircom->ListBox2),
            (std::vector<std::string>{"three", "two", "one", "智能粘贴板"}));
}

TEST(TickImeIdle, NotAppliedWhileComposingOrWithoutTheStatusBar) {
  for (int variant = 0; variant < 2; ++variant) {
    SCOPED_TRACE(variant == 0 ? "composing" : "status bar elsewhere");
    Desk d;
    ASSERT_TRUE(d.Start());
    if (variant == 0) {
      AddInputMethod(d, true);
    } else {
      d.sim.addWindow("UNISPIM_STATUSCLS", "", {600, 700, 200, 30});
      Wnd comp = d.sim.addWindow("UNISPIM_COMPCLS", "", {40, 40, 120, 24});
      d.sim.showWindow(comp, false);
      // Something else now lies below the strip.
      d.Ticks(2);
      d.sim.addWindow("Other", "", {0, 690, 1024, 78});
    }
    d.sim.moveMouse(300, 300);
    d.Ticks(2);
    d.app.input.qirinputor->SetCaption("key--65");
    d.Ticks(1);
    EXPECT_EQ(d.InputCaption(), "key--65");
  }
}

TEST(TickImeIdle, ShiftAndADigitStillPasteWhileNothingIsComposed) {
  Desk d;
  ASSERT_TRUE(d.Start());
  AddInputMethod(d, false);
  Wnd ed = d.sim.addTextEditor({0, 0, 250, 250});
  Tqircom& bar = *d.app.bar.qircom;
  bar.ListBox2.Clear();
  for (const char* s : {"one", "two"}) bar.ListBox2.Add(s);
  d.sim.setClipboardText("one");
  bar.SetWindowPos(ZOrder::TopMost, 300, 300, 400, 350, swp::ShowWindow);
  d.sim.moveMouse(310, 310);
  d.Ticks(2);
  ASSERT_EQ(d.app.input.qirinputor->Panel4.Caption(), "1");
  const auto m = d.sim.mark();
  d.sim.keyDown(vk::Shift);
  d.Ticks(1);
  EXPECT_EQ(d.InputCaption(), "key//bshiftok2");
  d.sim.keyDown('2');
  d.Ticks(2);  // one to read "key//bshiftok2", one to choose
  EXPECT_EQ(d.InputCaption(), "key--ctrlv");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(CtrlKey('V'), d.Input(m)));
  EXPECT_EQ(d.sim.editorText(ed), "@two");
  d.sim.keyUp('2');
  d.sim.keyUp(vk::Shift);
}

TEST(TickKeyWords, ShiftAwayFromTheBarShowsTheSmartClipboard) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  Tqircom& bar = *d.app.bar.qircom;
  bar.Panel4.SetLeft(500);
  bar.Panel12.Show();
  d.app.input.qirinputor->SetCaption("key--shiftdown");
  d.Ticks(1);
  EXPECT_EQ(d.InputCaption(), "key//bshiftok");
  EXPECT_EQ(bar.Panel4.Left(), 0);
  EXPECT_EQ(bar.Panel4.Top(), 0);
  EXPECT_EQ(bar.CppWebBrowser1.Left(), -2000);
  EXPECT_FALSE(bar.Panel12.Visible());
  // The smart clipboard took nothing: Shift over the shown bar puts the
  // clipboard at the top of the list.
  d.sim.keyUp(vk::Shift);
  d.Ticks(2);
  d.sim.setClipboardText("fresh");
  bar.SetWindowPos(ZOrder::TopMost, 300, 300, 400, 350, swp::ShowWindow);
  d.sim.moveMouse(310, 310);
  d.Ticks(1);
  d.sim.keyDown(vk::Shift);
  d.Ticks(1);
  EXPECT_EQ(d.InputCaption(), "key//bshiftok2");
  EXPECT_EQ(bar.ListBox2.Item(0), "fresh");
  d.sim.keyUp(vk::Shift);
}

TEST(TickKeyWords, CtrlCWithShiftHeldCopiesAndLetsShiftGo) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  d.sim.keyDown(vk::Shift);
  d.Ticks(1);
  const auto m = d.sim.mark();
  d.app.input.qirinputor->SetCaption("key--ctrlc");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents(Concat({CtrlKey('C'), {"key 16 up"}}), d.Keys(m)));
  EXPECT_EQ(d.InputCaption(), "key--shiftc--copy--ok");
  EXPECT_EQ(d.app.bar.qircom->Panel4.Caption(), "ctrlc");
}

TEST(TickKeyWords, WindowsTapAlignsThePendingBlockToTheCaptureColumn) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  Tqircom& bar = *d.app.bar.qircom;
  d.tick().SetCaptureColumn(3);
  bar.BitBtn6.SetCaption("---align");
  bar.ListBox11.SetText("      a\nb\n  c");
  const auto m = d.sim.mark();
  d.sim.keyDown(vk::LWin);
  d.sim.advance(25);
  d.sim.keyUp(vk::LWin);
  d.sim.advance(25);
  d.Ticks(1);
  auto keys = d.Keys(m);
  EXPECT_TRUE(SameEvents({"key 27 down", "key 27 up"}, keys));
  EXPECT_EQ(bar.BitBtn6.Caption(), "win-align3");
  EXPECT_EQ(d.Items(bar.ListBox11), (std::vector<std::string>{"   a", "   b", "   c"}));
  d.Ticks(1);
  EXPECT_EQ(d.Items(bar.ListBox8)[0], "xx align//3");
}

TEST(TickKeyWords, CtrlPressedAgainAfterCtrlCCopiesOnceMore) {
  Desk d;
  ASSERT_TRUE(d.Start());
  d.sim.moveMouse(300, 300);
  d.Ticks(1);
  Control& hist = d.app.bar.qircom->ListBox1;
  hist.Clear();
  hist.Add("key--17//");
  hist.Add("key--ctrlc");
  d.app.input.qirinputor->SetCaption("key--17//");
  const auto m = d.sim.mark();
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"key 17 down", "key 67 down", "key 67 up", "key 17 up", "key 37 down",
                          "key 37 up"},
                         d.Keys(m)));
  EXPECT_EQ(hist.Item(0), "key--shiftc--copy--ok");
}

TEST(TickKeyWords, MenuKeyClicksAtTheStripsRightEnd) {
  Desk d;
  ASSERT_TRUE(d.Start());
  AddInputMethod(d, true);
  d.sim.moveMouse(300, 300);
  d.Ticks(2);
  const auto m = d.sim.mark();
  d.app.input.qirinputor->SetCaption("key--menu");
  d.Ticks(1);
  EXPECT_TRUE(SameEvents({"cursor 790,730", "mouse leftdown", "mouse leftup", "mouse move 0,50"},
                         d.Input(m)));
  EXPECT_EQ(d.InputCaption(), "key--menuok");
}

}  // namespace
}  // namespace sq::testing
