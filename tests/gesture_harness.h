// The whole program on the simulated desktop, driven tick by tick: the
// gesture tests give physical input and ticks in, and read the synthesised
// events, the caption words, the windows and the files out.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/caretinfo.h"
#include "app/relays.h"
#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/qirform4.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/qirinputor.h"
#include "input/tick.h"
#include "platform/sim/simdesktop.h"
#include "platform/sim/simtest.h"

namespace sq::testing {

class Desk {
 public:
  Desk() : app(sim) {}

  // Starts the program and lets it settle (the input tick has run).
  ::testing::AssertionResult Start() {
    if (!app.Start()) return ::testing::AssertionFailure() << "start-up failed";
    Ticks(3);
    return ::testing::AssertionSuccess();
  }

  // Starts the program with a foreign page window under the pointer at
  // (x, y) and lets one input tick see it.
  ::testing::AssertionResult StartOverPage(int x = 300, int y = 300) {
    auto started = Start();
    if (!started) return started;
    sim.addWindow("PageWnd", "page", {100, 100, 600, 500});
    sim.moveMouse(x, y);
    Ticks(1);
    return ::testing::AssertionSuccess();
  }

  // A text editor at the top left, the smart clipboard holding "one",
  // "two", "three" (with "one" on the clipboard) and the full bar shown at
  // the pointer, so that Shift offers the digits; one input tick has seen
  // it. Returns the editor.
  Wnd ReadyForDigitPaste() {
    Wnd ed = sim.addTextEditor({0, 0, 250, 250});
    Tqircom& bar = *app.bar.qircom;
    bar.ListBox2.Clear();
    for (const char* s : {"one", "two", "three"}) bar.ListBox2.Add(s);
    sim.setClipboardText("one");
    bar.SetWindowPos(ZOrder::TopMost, 300, 300, 400, 350, swp::ShowWindow);
    sim.moveMouse(310, 310);
    Ticks(1);
    return ed;
  }

  // Stops the life panel's timers, for checks of the input core's own
  // events: the panel's hints and cards (an Escape when a card comes up,
  // its answer to right releases) would add to them.
  void StopLifePanel() {
    Tlifeform& life = *app.browser.lifeform;
    for (Control* t : {&life.Timer1, &life.Timer2, &life.Timer3}) t->SetTimerEnabled(false);
  }

  Tick& tick() { return app.input.qirinputor->tick(); }

  // Runs the clock until the input tick has run n more times.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      const auto before = tick().runs();
      for (int guard = 0; tick().runs() == before; ++guard) {
        ASSERT_LT(guard, 1000) << "the input tick stopped running";
        sim.advance(5);
      }
    }
  }

  std::string InputCaption() { return app.input.qirinputor->Caption(); }
  std::string ScrollCaption() { return app.bar.qirForm3->Caption(); }
  std::vector<std::string> Keys(std::size_t mark) {
    return sim.eventsSince(mark, simfilter::keys());
  }
  std::vector<std::string> Input(std::size_t mark) {
    return sim.eventsSince(mark, simfilter::input());
  }
  std::vector<std::string> Items(const Control& list) {
    std::vector<std::string> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list.Item(i));
    return v;
  }

  SimDesktop sim;
  App app;
};

// The still ticks of the press held now as the life panel's trace shows
// them: the count the last tick found, before it added its own.
inline int StillTicks(Desk& d) {
  const std::string c = d.app.browser.lifeform->leftdownmess.Caption();
  const std::string prefix = "leftdown:";
  if (c.compare(0, prefix.size(), prefix) != 0) return -1;
  return std::atoi(c.c_str() + prefix.size());
}

// The four events of Ctrl+K.
inline std::vector<std::string> CtrlKey(int k) {
  const std::string code = std::to_string(k);
  return {"key 17 down", "key " + code + " down", "key " + code + " up", "key 17 up"};
}

inline std::vector<std::string> Concat(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

}  // namespace sq::testing
