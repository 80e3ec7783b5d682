// Cost of an idle input tick (no gesture fires) on the simulated desktop,
// with few and with many foreign windows. An idle tick reads captions, a
// few key states and the window under a few points; its cost must not grow
// with the number of windows beyond those look-ups.
#include <benchmark/benchmark.h>

#include "app/app.h"
#include "input/qirinputor.h"
#include "input/tick.h"
#include "platform/sim/simdesktop.h"

namespace sq {
namespace {

void BM_IdleTick(benchmark::State& state) {
  const int windows = static_cast<int>(state.range(0));
  // range(1): how many monitors; the pointer's is a second one, left of the
  // main monitor at 150 %, so every distance of the tick is scaled.
  const int monitors = static_cast<int>(state.range(1));
  SimDesktop sim;
  if (monitors > 1) {
    std::vector<Monitor> ms;
    Monitor main;
    main.rect = main.work = {0, 0, 1024, 768};
    main.primary = true;
    ms.push_back(main);
    for (int i = 1; i < monitors; ++i) {
      Monitor m;
      m.rect = m.work = {-1440 * i, 0, 1440, 900};
      m.dpi = 144;
      ms.push_back(m);
    }
    sim.setMonitors(ms);
  }
  App app(sim);
  if (!app.Start()) {
    state.SkipWithError("start-up failed");
    return;
  }
  // Foreign windows tiled over the screen, the pointer over the last one.
  for (int i = 0; i < windows; ++i)
    sim.addWindow("Foreign", "window " + std::to_string(i),
                  {(i * 37) % 900, (i * 23) % 650, 120, 90});
  sim.moveMouse(monitors > 1 ? -700 : 500, 400);
  sim.advance(400);  // let every form settle
  Tick& tick = app.input.qirinputor->tick();
  const auto before = tick.runs();
  for (auto _ : state) {
    sim.runAsHandler([&tick] { tick.Run(); });
  }
  if (tick.runs() - before != static_cast<std::uint64_t>(state.iterations()))
    state.SkipWithError("the tick did not run on every iteration");
  state.SetLabel(std::to_string(windows) + " foreign windows, " + std::to_string(monitors) +
                 " monitor(s)");
}

BENCHMARK(BM_IdleTick)->Args({10, 1})->Args({500, 1})->Args({10, 2})->Args({10, 4});

}  // namespace
}  // namespace sq
