// Physical input on the simulated desktop, through the hook words, into the
// program's mailboxes: input scripts in, caption words out.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/app.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "input/hookwatch.h"
#include "input/qirinputor.h"
#include "input/words.h"
#include "platform/sim/simtest.h"

namespace sq {
namespace {

struct Script {
  const char* what;
  std::function<void(SimDesktop&)> act;
};

class HookScript : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.Start());
    sim.moveMouse(600, 500);
    sim.advance(200);  // let the start-up words settle
    app.bar.qircom->ListBox8.Clear();
    mark = sim.mark();
  }
  void Play(const std::vector<Script>& steps, unsigned gapMs = 100) {
    for (const auto& s : steps) {
      s.act(sim);
      sim.advance(gapMs);
    }
  }
  std::vector<std::string> Words(const char* cls) {
    std::vector<std::string> out;
    const std::string prefix = std::string("caption ") + cls + "=";
    for (const auto& e : sim.eventsSince(mark, simfilter::captionsOf(cls)))
      out.push_back(e.substr(prefix.size()));
    return out;
  }
  std::vector<std::string> History() {
    std::vector<std::string> out;
    for (int i = 0; i < app.bar.qircom->ListBox8.Count(); ++i)
      out.push_back(app.bar.qircom->ListBox8.Item(i));
    return out;
  }
  SimDesktop sim;
  App app{sim};
  size_t mark = 0;
};

TEST_F(HookScript, AltTappedTwiceIsRecordedThenConsumedAsAPaste) {
  Play({{"alt down", [](SimDesktop& s) { s.keyDown(164); }},
        {"alt up", [](SimDesktop& s) { s.keyUp(164); }},
        {"alt down", [](SimDesktop& s) { s.keyDown(164); }},
        {"alt up", [](SimDesktop& s) { s.keyUp(164); }}});
  EXPECT_TRUE(SameEvents({"18down", "old--18up", "18down", "old--18up"}, Words("Tqircom")));
  // The four tap words were entered, then overwritten so the tap cannot
  // fire again, and the marker put on top; the bar's caption still reads
  // the last tap word, which differs from the marker and so is entered once
  // more. It cannot complete a pattern: the marker stands below it.
  EXPECT_TRUE(SameEvents({"old--18up", "91ok", "cvok", "cvok", "cvok", "cvok"}, History()));
  EXPECT_TRUE(SameEvents({"key--18", "old--18", "key--18", "old--18"},
                         [&] {
                           auto w = Words("Tqirinputor");
                           std::vector<std::string> hook;
                           for (auto& x : w)
                             if (x == "key--18" || x == "old--18") hook.push_back(x);
                           return hook;
                         }()));
  // The paste was the system's own Ctrl+V: it left no key word behind.
  EXPECT_TRUE(SameEvents({"key 17 down", "key 86 down", "key 86 up", "key 17 up"},
                         sim.eventsSince(mark, simfilter::keys())));
  // A third tap alone does not paste again.
  size_t before = sim.mark();
  Play({{"alt down", [](SimDesktop& s) { s.keyDown(164); }},
        {"alt up", [](SimDesktop& s) { s.keyUp(164); }}});
  EXPECT_TRUE(sim.eventsSince(before, simfilter::keys()).empty());
}

TEST_F(HookScript, MouseButtonsAndWheelWriteTheScrollModeCaption) {
  Play({{"left down", [](SimDesktop& s) { s.leftDown(); }},
        {"left up", [](SimDesktop& s) { s.leftUp(); }},
        {"right down", [](SimDesktop& s) { s.rightDown(); }},
        {"right up", [](SimDesktop& s) { s.rightUp(); }},
        {"wheel up", [](SimDesktop& s) { s.wheel(1); }},
        {"wheel down", [](SimDesktop& s) { s.wheel(-1); }}},
       10);
  // Six words in 60 ms: each waits for the tick to read the one before.
  sim.advance(600);
  auto words = Words("TqirForm3");
  std::vector<std::string> fromHook;
  for (const auto& w : words)
    if (w.rfind("down/", 0) == 0 || w.rfind("ystop==/", 0) == 0 || w.rfind("rightdn", 0) == 0 ||
        w.rfind("rightup", 0) == 0 || w.rfind("ystop wheel=", 0) == 0)
      fromHook.push_back(w);
  EXPECT_TRUE(SameEvents({"down/600,500/", "ystop==/[[514]]]600,500--", "rightdn600,500",
                          "rightup600,500", "ystop wheel=///", "ystop wheel=vvv"},
                         fromHook));
  // Mouse words never reach the key history: it holds only the bar's
  // caption, entered again after the list was cleared.
  EXPECT_TRUE(SameEvents({"old--17up"}, History()));
}

TEST_F(HookScript, CtrlCIsReportedAsCommandWordsEvenWhenQuick) {
  // Ctrl and C pressed together, then let go together: no word is lost,
  // each caption's readers see them one after another, in order.
  Play({{"ctrl down", [](SimDesktop& s) { s.keyDown(162); }},
        {"c down", [](SimDesktop& s) { s.keyDown('C'); }}},
       0);
  EXPECT_EQ(app.input.qirinputor->Caption(), "key--17//");  // "key--ctrlc" waits
  EXPECT_EQ(app.bar.qircom->Caption(), "17down");
  Play({{"c up", [](SimDesktop& s) { s.keyUp('C'); }},
        {"ctrl up", [](SimDesktop& s) { s.keyUp(162); }}},
       0);
  sim.advance(400);
  EXPECT_TRUE(SameEvents({"17down", "67down", "old--67up", "old--17up"}, Words("Tqircom")));
  // Newest first; C's words stand between Ctrl's, so this is no Ctrl tap.
  EXPECT_TRUE(SameEvents({"old--17up", "old--67up", "67down", "17down"}, History()));
  std::vector<std::string> hook;
  for (const auto& w : Words("Tqirinputor"))
    if (w.rfind("key--17", 0) == 0 || w == "key--ctrlc" || w.rfind("old--", 0) == 0) hook.push_back(w);
  EXPECT_TRUE(SameEvents({"key--17//", "key--ctrlc", "old--67", "old--17"}, hook));
  // And the tick answered the copy once.
  EXPECT_TRUE(SameEvents({"key 17 down", "key 67 down", "key 67 up", "key 17 up"},
                         sim.eventsSince(mark, simfilter::keys())));
}

TEST_F(HookScript, HooksTheSystemTookAwayAreSetAgainAndInputArrivesOnceMore) {
  // Step table: the hand (or the system), then the time that passes.
  Play({{"A tapped", [](SimDesktop& s) { s.tapKey('A', 80); }},
        {"the system removes the hooks", [](SimDesktop& s) { s.removeHooks(); }},
        {"B tapped: no hook sees it", [](SimDesktop& s) { s.tapKey('B', 80); }}},
       100);
  sim.advance(HookWatch::kCheckMs + HookWatch::kGraceMs);
  Play({{"C tapped", [](SimDesktop& s) { s.tapKey('C', 70); }},
        {"left click", [](SimDesktop& s) { s.click(90); }}},
       300);
  const auto in = Words("Tqirinputor");
  const auto has = [&in](const std::string& w) { return std::find(in.begin(), in.end(), w) != in.end(); };
  const std::string num = words::in::KeyPrefix;
  EXPECT_TRUE(has(num + "65"));
  EXPECT_FALSE(has(num + "66"));  // the hooks were away
  EXPECT_TRUE(has(num + "67")) << "no word after the hooks were removed";
  EXPECT_TRUE(sim.mouseHookInstalled());
  EXPECT_TRUE(sim.keyboardHookInstalled());
  bool pressSeen = false;
  for (const auto& w : Words("TqirForm3"))
    pressSeen = pressSeen || w.rfind(words::hook::LeftDownPrefix, 0) == 0;
  EXPECT_TRUE(pressSeen) << "no word for the click";
}

}  // namespace
}  // namespace sq
