// Cost of the life panel's three timer ticks against an idle input tick
// measured in the same run: every 20 ms and 100 ms tick must stay a small
// multiple of the idle input tick, however long the key history and the
// caption of the window under the pointer are.
#include <benchmark/benchmark.h>

#include <string>

#include "app/app.h"
#include "bar/qircom.h"
#include "browser/lifeform.h"
#include "input/qirinputor.h"
#include "input/tick.h"
#include "platform/sim/simdesktop.h"

namespace sq {
namespace {

// 0: the idle input tick (the baseline); 1, 2, 3: the life panel's
// Timer1, Timer2, Timer3. range(1) 1: a full key history and a 1 MiB
// caption on the window under the pointer.
void BM_LifeTimers(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const bool heavy = state.range(1) != 0;
  SimDesktop sim;
  App app(sim);
  if (!app.Start()) {
    state.SkipWithError("start-up failed");
    return;
  }
  for (int i = 0; i < 200; ++i)
    sim.addWindow("Foreign", "window " + std::to_string(i), {(i * 37) % 900, (i * 23) % 650, 120, 90});
  Wnd under = sim.addWindow("Foreign", heavy ? std::string(1 << 20, 'x') : "short",
                            {400, 300, 300, 200});
  (void)under;
  if (heavy) {
    Control& hist = app.bar.qircom->ListBox8;
    for (int i = 0; hist.Count() < 300; ++i) hist.Insert(0, "word" + std::to_string(i));
  }
  sim.moveMouse(500, 400);
  sim.advance(400);
  Tlifeform& life = *app.browser.lifeform;
  Tick& tick = app.input.qirinputor->tick();
  int n = 0;
  for (auto _ : state) {
    // The pointer moves a little, as a hand does, so the samples change.
    sim.moveMouse(500 + (n & 7), 400 + ((n >> 3) & 7));
    ++n;
    sim.runAsHandler([&] {
      switch (which) {
        case 0: tick.Run(); break;
        case 1: life.Timer1Timer(); break;
        case 2: life.Timer2Timer(); break;
        default: life.Timer3Timer(); break;
      }
    });
  }
  static const char* const names[] = {"idle input tick", "life Timer1", "life Timer2",
                                      "life Timer3"};
  state.SetLabel(std::string(names[which]) + (heavy ? ", full history, 1 MiB caption" : ""));
}

BENCHMARK(BM_LifeTimers)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({3, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({3, 1});

}  // namespace
}  // namespace sq
