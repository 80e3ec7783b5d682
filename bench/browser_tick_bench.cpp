// Cost of the browser window's idle Timer1 tick against the idle input
// tick measured in the same run: with no page, and with a full page
// control (64 tabs, the most it holds) and fifty closed popups waiting in
// the holders. The browser's tick must stay of the input tick's order
// however many pages are open.
#include <benchmark/benchmark.h>

#include "app/app.h"
#include "browser/easyie.h"
#include "input/qirinputor.h"
#include "input/tick.h"
#include "platform/sim/simdesktop.h"

namespace sq {
namespace {

void Setup(SimDesktop& sim, App& app, int pages) {
  for (int i = 0; i < pages; ++i) {
    app.browser.easyie->Edit1.SetCaption("http://p" + std::to_string(i) + ".example/");
    sim.runAsHandler([&app] { app.browser.easyie->Button1Click(); });
  }
  sim.addWindow("Foreign", "window", {100, 100, 600, 400});
  sim.moveMouse(500, 400);
  sim.advance(400);
}

// range(0): 0 the input tick (the baseline), 1 the browser's Timer1.
// range(1): pages opened.
void BM_BrowserTick(benchmark::State& state) {
  SimDesktop sim;
  App app(sim);
  if (!app.Start()) {
    state.SkipWithError("start-up failed");
    return;
  }
  Setup(sim, app, static_cast<int>(state.range(1)));
  Tick& tick = app.input.qirinputor->tick();
  Teasyie& ie = *app.browser.easyie;
  const bool browser = state.range(0) == 1;
  for (auto _ : state) {
    if (browser) sim.runAsHandler([&ie] { ie.Timer1Timer(); });
    else sim.runAsHandler([&tick] { tick.Run(); });
  }
  state.SetLabel(std::string(browser ? "browser Timer1" : "input tick (baseline)") + ", " +
                 std::to_string(ie.PageCount()) + " pages");
}

BENCHMARK(BM_BrowserTick)->Args({0, 0})->Args({1, 0})->Args({1, 64})->Args({1, 200});

}  // namespace
}  // namespace sq
