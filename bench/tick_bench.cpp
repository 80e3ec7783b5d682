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
  SimDesktop sim;
  App app(sim);
  if (!app.Start()) {
    state.SkipWithError("start-up failed");
    return;
  }
  // Foreign windows tiled over the screen, the pointer over the last one.
  for (int i = 0; i < windows; ++i)
    sim.addWindow("Foreign", "window " + std::to_string(i),
                  {(i * 37) % 900, (i * 23) % 650, 120, 90});
  sim.moveMouse(500, 400);
  sim.advance(400);  // let every form settle
  Tick& tick = app.qirinputor->tick();
  const auto before = tick.state().runs;
  for (auto _ : state) {
    sim.runAsHandler([&tick] { tick.Run(); });
  }
  if (tick.state().runs - before != static_cast<std::uint64_t>(state.iterations()))
    state.SkipWithError("the tick did not run on every iteration");
  state.SetLabel(std::to_string(windows) + " foreign windows");
}

BENCHMARK(BM_IdleTick)->Arg(10)->Arg(500);

}  // namespace
}  // namespace sq
