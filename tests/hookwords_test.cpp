// The hook library's word composition: physical events in, caption words
// out, as tables.
#include <gtest/gtest.h>

#include <sstream>

#include "input/hookwords.h"
#include "input/words.h"
#include "input/mailbox.h"
#include "platform/platform.h"

namespace sq {
namespace {

struct Step {
  char what;  // 'd' key down, 'u' key up, 'L'/'l' left down/up, 'R'/'r' right, 'w' wheel
  int value;  // vk or wheel delta
  bool own = false;
};

std::string Show(const Word& w) {
  const char* box = w.box == Mailbox::Input ? "input" : w.box == Mailbox::Bar ? "bar" : "scroll";
  std::string s = std::string(box) + "=" + w.text;
  if (!w.onlyIf.empty()) s += " if " + w.onlyIf;
  return s;
}

std::vector<std::string> Compose(const std::vector<Step>& steps) {
  HookWords hw;
  std::vector<std::string> out;
  for (const auto& s : steps) {
    std::vector<Word> words;
    std::uintptr_t extra = s.own ? kOwnInputMark : 0;
    switch (s.what) {
      case 'd': words = hw.Key({s.value, false, s.own, extra}); break;
      case 'u': words = hw.Key({s.value, true, s.own, extra}); break;
      case 'L': words = hw.Mouse({MouseAction::LeftDown, 10, 20, 0, s.own, extra}); break;
      case 'l': words = hw.Mouse({MouseAction::LeftUp, 10, 20, 0, s.own, extra}); break;
      case 'R': words = hw.Mouse({MouseAction::RightDown, 5, 6, 0, s.own, extra}); break;
      case 'r': words = hw.Mouse({MouseAction::RightUp, 5, 6, 0, s.own, extra}); break;
      case 'w': words = hw.Mouse({MouseAction::Wheel, 0, 0, s.value, s.own, extra}); break;
    }
    for (const auto& w : words) out.push_back(Show(w));
  }
  return out;
}

void ExpectSeq(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  if (expected == actual) return;
  std::ostringstream os;
  size_t n = std::max(expected.size(), actual.size());
  for (size_t i = 0; i < n; ++i) {
    std::string e = i < expected.size() ? expected[i] : "-";
    std::string a = i < actual.size() ? actual[i] : "-";
    os << (e == a ? "  " : "! ") << e << " | " << a << "\n";
  }
  ADD_FAILURE() << "expected | actual\n" << os.str();
}

TEST(HookWords, AltTappedTwiceGivesTheDoubleTapHistory) {
  ExpectSeq({"bar=18down", "input=key--18", "bar=old--18up", "input=old--18",
             "bar=18down", "input=key--18", "bar=old--18up", "input=old--18"},
            Compose({{'d', 164}, {'u', 164}, {'d', 164}, {'u', 164}}));
}

TEST(HookWords, LeftAndRightModifiersAreFoldedToNeutralCodes) {
  ExpectSeq({"bar=17down", "input=key--17//", "bar=old--17up", "input=old--17",
             "bar=16down", "input=key--shiftdown", "bar=91down", "input=key--91"},
            Compose({{'d', 163}, {'u', 162}, {'d', 161}, {'d', 92}}));
}

TEST(HookWords, CtrlCombinationsNameTheCommand) {
  ExpectSeq({"bar=17down", "input=key--17//", "bar=67down", "input=key--ctrlc",
             "bar=old--67up", "input=old--67", "bar=88down", "input=key--ctrlx",
             "bar=90down", "input=key--ctrlz", "bar=86down", "input=key--86",
             "bar=old--17up", "input=old--17", "bar=67down", "input=key--67"},
            Compose({{'d', 162}, {'d', 'C'}, {'u', 'C'}, {'d', 'X'}, {'d', 'Z'}, {'d', 'V'},
                 {'u', 162}, {'d', 'C'}}));
}

TEST(HookWords, ShiftWithAltAndSpecialKeys) {
  ExpectSeq({"bar=18down", "input=key--18", "bar=16down", "input=key--18//alt--shiftdown",
             "bar=186down", "input=key--186", "bar=93down", "input=key--menu",
             "bar=20down", "input=key--20"},
            Compose({{'d', 164}, {'d', 160}, {'d', 186}, {'d', 93}, {'d', 20}}));
}

TEST(HookWords, DigitAfterShiftIsConditionalOnTheAcknowledgement) {
  ExpectSeq({"bar=16down", "input=key--shiftdown",
             "bar=49down", "input=key//bshiftok2--49 if key//bshiftok2",
             "bar=old--16up", "input=old--16", "bar=49down", "input=key--49"},
            Compose({{'d', 160}, {'d', '1'}, {'u', 160}, {'d', '1'}}));
}

TEST(HookWords, OwnSynthesisedInputProducesNoWordAndLeavesModifiersAlone) {
  // The program's own Ctrl+V must not look like a Ctrl tap; and its Ctrl
  // down must not turn the user's next C into Ctrl+C.
  ExpectSeq({"bar=67down", "input=key--67"},
            Compose({{'d', 17, true}, {'d', 86, true}, {'u', 86, true}, {'d', 'C'}}));
  ExpectSeq({}, Compose({{'L', 0, true}, {'l', 0, true}, {'w', 120, true}}));
}

TEST(HookWords, InjectedInputOfOtherProgramsStillCounts) {
  HookWords hw;
  auto w = hw.Key({17, false, true, 0});
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[1].text, "key--17//");
}

TEST(HookWords, MouseWordsCarryThePoint) {
  ExpectSeq({"scroll=down/10,20/", "scroll=ystop==/[[514]]]10,20--", "scroll=rightdn5,6",
             "scroll=rightup5,6", "scroll=ystop wheel=///", "scroll=ystop wheel=vvv"},
            Compose({{'L', 0}, {'l', 0}, {'R', 0}, {'r', 0}, {'w', 120}, {'w', -240}}));
}

TEST(HookWords, HeldKeyRepeatsAndOutOfRangeCodesAreIgnored) {
  HookWords hw;
  EXPECT_EQ(hw.Key({17, false}).size(), 2u);
  EXPECT_EQ(hw.Key({17, false}).size(), 2u);  // auto-repeat is reported again
  EXPECT_TRUE(hw.held(17));
  hw.Key({17, true});
  EXPECT_FALSE(hw.held(17));
  EXPECT_TRUE(hw.Key({0, false}).empty());
  EXPECT_TRUE(hw.Key({300, false}).empty());
  EXPECT_TRUE(hw.Key({-5, true}).empty());
}

// The readers compare with the named words; each named key word must be
// exactly what the composer writes for its key, or the reader never fires.
TEST(HookWords, NamedKeyWordsAreTheComposedOnes) {
  struct Case { int vk; bool up; Mailbox box; const char* named; };
  const Case cases[] = {
      {162, false, Mailbox::Bar, words::bar::CtrlDown},
      {162, true, Mailbox::Bar, words::bar::CtrlUp},
      {164, false, Mailbox::Bar, words::bar::AltDown},
      {164, true, Mailbox::Bar, words::bar::AltUp},
      {91, false, Mailbox::Bar, words::bar::WinDown},
      {91, true, Mailbox::Bar, words::bar::WinUp},
      {162, false, Mailbox::Input, words::in::KeyCtrl},
      {162, true, Mailbox::Input, words::in::ReleasedCtrl},
      {'C', true, Mailbox::Input, words::in::ReleasedC},
      {'V', true, Mailbox::Input, words::in::ReleasedV},
      {92, true, Mailbox::Input, words::in::ReleasedWin},
      {160, false, Mailbox::Input, words::in::KeyShift},
      {186, false, Mailbox::Input, words::in::KeySemicolon},
      {93, false, Mailbox::Input, words::in::KeyMenu},
      {20, false, Mailbox::Input, words::in::KeyCapsLock},
  };
  for (const Case& c : cases) {
    HookWords hw;
    std::string got;
    for (const Word& w : hw.Key({c.vk, c.up}))
      if (w.box == c.box) got = w.text;
    EXPECT_EQ(got, c.named) << "key " << c.vk << (c.up ? " up" : " down");
  }
  // Combinations and the pending/handled prefixes the tick tests.
  HookWords hw;
  hw.Key({162, false});
  EXPECT_EQ(hw.Key({'C', false}).back().text, words::in::KeyCtrlC);
  EXPECT_EQ(hw.Key({'X', false}).back().text, words::in::KeyCtrlX);
  EXPECT_EQ(hw.Key({'Z', false}).back().text, words::in::KeyCtrlZ);
  hw.Key({162, true});
  hw.Key({164, false});
  EXPECT_EQ(hw.Key({160, false}).back().text, words::in::KeyAltShift);
  EXPECT_TRUE(mail::Starts(hw.Key({'Q', false}).back().text, words::in::KeyPrefix));
  EXPECT_TRUE(mail::Starts(hw.Key({'Q', true}).back().text, words::in::HandledPrefix));
  const Word digit = hw.Key({'5', false}).back();
  EXPECT_TRUE(mail::Starts(digit.text, words::in::DigitPrefix));
  EXPECT_EQ(digit.text.substr(words::in::DigitCodeAt, 2), "53");
  EXPECT_EQ(digit.onlyIf, words::in::ShiftAck2);
  // Mouse words against the prefixes their readers test.
  EXPECT_TRUE(mail::Starts(hw.Mouse({MouseAction::LeftDown, 1, 2}).at(0).text, words::hook::LeftDownPrefix));
  EXPECT_TRUE(mail::Starts(hw.Mouse({MouseAction::RightDown, 1, 2}).at(0).text, words::hook::RightDownPrefix));
  EXPECT_TRUE(mail::Starts(hw.Mouse({MouseAction::RightUp, 1, 2}).at(0).text, words::hook::RightUpPrefix));
  EXPECT_TRUE(mail::Starts(hw.Mouse({MouseAction::Wheel, 0, 0, 120}).at(0).text, words::scroll::WheelPrefix));
  EXPECT_TRUE(mail::Starts(hw.Mouse({MouseAction::Wheel, 0, 0, -120}).at(0).text, words::scroll::WheelPrefix));
  EXPECT_TRUE(mail::Starts(hw.Mouse({MouseAction::LeftUp, 1, 2}).at(0).text, words::scroll::StopPrefix));
}

}  // namespace
}  // namespace sq
