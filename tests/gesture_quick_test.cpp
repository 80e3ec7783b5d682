// Quick hands: the keyboard gestures with taps from 5 ms (shorter than a
// tick, as a program sends them) to 150 ms (a slow person). Every gesture
// fires once, whatever the length of its taps: no hook word is lost because
// a later one came before the tick, and none makes a gesture fire twice.
#include "tests/gesture_harness.h"

namespace sq::testing {

namespace {

const std::vector<unsigned> kHolds = {5, 30, 60, 150};

std::vector<std::string> Repeat(const std::vector<std::string>& seq, int n) {
  std::vector<std::string> all;
  for (int i = 0; i < n; ++i) all.insert(all.end(), seq.begin(), seq.end());
  return all;
}

struct Copying {
  Desk d;
  Wnd ed = 0;
  ::testing::AssertionResult Start() {
    auto started = d.Start();
    if (!started) return started;
    ed = d.sim.addTextEditor({100, 100, 400, 300});
    d.sim.moveMouse(200, 200);
    d.Ticks(1);
    return ::testing::AssertionSuccess();
  }
  // Selects the text and presses Ctrl+C with every edge `hold` ms apart,
  // then waits `gap` ms before anything else happens.
  void Copy(const std::string& text, unsigned hold, unsigned gap) {
    d.sim.setEditorText(ed, text);
    d.sim.setSelection(ed, 0, text.size());
    d.sim.chord({vk::Control, 'C'}, hold);
    d.sim.advance(gap);
  }
  std::vector<std::string> Newest(std::size_t n) {
    std::vector<std::string> all = d.Items(d.app.bar.qircom->ListBox2);
    if (all.size() > n) all.resize(n);
    return all;
  }
};

TEST(QuickTaps, EveryCtrlCIsCapturedOnce) {
  for (unsigned hold : kHolds) {
    SCOPED_TRACE("edges " + std::to_string(hold) + " ms apart");
    Copying c;
    ASSERT_TRUE(c.Start());
    const auto m = c.d.sim.mark();
    const std::vector<std::string> texts = {"alpha", "beta", "gamma", "delta"};
    for (const auto& t : texts) c.Copy(t, hold, 250);
    c.d.sim.advance(500);
    // One synthesised Ctrl+C for each copy, no more, and nothing else: a
    // Ctrl+C whose C went unseen would look like a Ctrl tap, which starts a
    // drag with a synthesised left press.
    EXPECT_TRUE(SameEvents(Repeat(CtrlKey('C'), 4), c.d.Input(m)));
    EXPECT_EQ(c.Newest(5),
              (std::vector<std::string>{"delta", "gamma", "beta", "alpha", "智能粘贴板"}));
    // No capture is left under way: a later clipboard text is not taken.
    c.d.sim.setClipboardText("not copied");
    c.d.sim.advance(500);
    EXPECT_EQ(c.Newest(1), (std::vector<std::string>{"delta"}));
  }
}

TEST(QuickTaps, TwentyCopiesInARowAreAllInTheSmartClipboardNewestFirst) {
  // C held 30 to 150 ms, the next copy soon after: copies whose words
  // still wait for the tick when the next copy begins.
  Copying c;
  ASSERT_TRUE(c.Start());
  const auto m = c.d.sim.mark();
  std::vector<std::string> expected;
  for (int i = 0; i < 20; ++i) {
    const std::string text = "copy " + std::to_string(i);
    const unsigned hold = 30 + static_cast<unsigned>(i * 37 % 121);
    c.Copy(text, hold, 120);
    expected.insert(expected.begin(), text);
  }
  c.d.sim.advance(1000);
  EXPECT_TRUE(SameEvents(Repeat(CtrlKey('C'), 20), c.d.Input(m)));
  EXPECT_TRUE(SameEvents(expected, c.Newest(20)));
}

TEST(QuickTaps, ACopyRightBeforeAClickIsStillAnswered) {
  // A press or release of the left button ends a pending key word
  // ("old--lm"), but not one that no tick has looked at yet: the Ctrl+C
  // pressed just before the click is answered and captured.
  for (unsigned hold : kHolds) {
    SCOPED_TRACE("edges " + std::to_string(hold) + " ms apart");
    Copying c;
    ASSERT_TRUE(c.Start());
    c.d.sim.setEditorText(c.ed, "clicked after");
    c.d.sim.setSelection(c.ed, 0, 13);
    const auto m = c.d.sim.mark();
    c.d.sim.chord({vk::Control, 'C'}, hold);
    c.d.sim.click(hold);
    c.d.sim.advance(600);
    EXPECT_TRUE(SameEvents(CtrlKey('C'), c.d.Input(m)));
    EXPECT_EQ(c.Newest(1), (std::vector<std::string>{"clicked after"}));
  }
}

TEST(QuickTaps, EveryAltDoubleTapPastesOnce) {
  for (unsigned hold : kHolds) {
    SCOPED_TRACE("taps " + std::to_string(hold) + " ms");
    Desk d;
    ASSERT_TRUE(d.Start());
    Wnd ed = d.sim.addTextEditor({100, 100, 400, 300});
    d.sim.setClipboardText("X");
    d.sim.moveMouse(200, 200);
    d.Ticks(1);
    const auto m = d.sim.mark();
    for (int round = 0; round < 2; ++round) {
      d.sim.tapKey(vk::Menu, hold);
      d.sim.advance(hold);
      d.sim.tapKey(vk::Menu, hold);
      d.sim.advance(600);
    }
    // A single tap afterwards pastes nothing.
    d.sim.tapKey(vk::Menu, hold);
    d.sim.advance(600);
    EXPECT_TRUE(SameEvents(Repeat(CtrlKey('V'), 2), d.Input(m)));
    EXPECT_EQ(d.sim.editorText(ed), "XX");
  }
}

TEST(QuickTaps, EveryShiftDigitPastesTheChosenEntry) {
  struct Row {
    int digit;
    std::string typed, pasted;
  };
  const std::vector<Row> rows = {{'1', "!", "one"}, {'3', "#", "three"}};
  for (unsigned hold : kHolds) {
    for (const Row& row : rows) {
      SCOPED_TRACE("edges " + std::to_string(hold) + " ms apart, digit " +
                   static_cast<char>(row.digit));
      Desk d;
      ASSERT_TRUE(d.Start());
      Wnd ed = d.ReadyForDigitPaste();
      const auto m = d.sim.mark();
      d.sim.chord({vk::Shift, row.digit}, hold);
      d.sim.advance(600);
      EXPECT_TRUE(SameEvents(CtrlKey('V'), d.Input(m)));
      EXPECT_EQ(d.sim.editorText(ed), row.typed + row.pasted);
    }
  }
}

}  // namespace
}  // namespace sq::testing
