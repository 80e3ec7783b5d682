// Keyboard words and the input method: the semicolon toggle in each state
// of the pinyin input method's windows, and the keyboard words' answers.
#include <algorithm>
#include <functional>
#include <utility>

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
    Tqirinputor& in = *d.app.qirinputor;
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
    d.app.qirinputor->SetCaption(row.word);
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

}  // namespace
}  // namespace sq::testing
