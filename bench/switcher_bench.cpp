// Cost of the window switcher on the simulated desktop.
//
// BM_SwitcherRebuild: a rebuild and fill of the list with N foreign windows
// of 5 programs, beside a bare enumeration of the same windows measured in
// the same iterations (the listing's own questions to the system: the
// z-ordered windows, each one's process, style, visibility and title, with
// no list, process or icon work). Counter x_bare is the ratio; the goal is
// at most 3 at 500 windows.
//
// BM_PointerMoves: pointer moves that stay on one row of the filled list,
// beside the same moves over the bar's echo line, which has no handler.
// Counter x_plain is the ratio; staying on a row costs no list work, so it
// is near 1.
#include <benchmark/benchmark.h>

#include <time.h>  // clock_gettime: <chrono> holds a literal the GBK build cannot encode

#include "app/app.h"
#include "bar/qircom.h"
#include "platform/sim/simdesktop.h"

namespace sq {
namespace {

double Now() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);  // this thread's own time: a busy machine does not count
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Bench {
  SimDesktop sim;
  App app{sim};
  bool ok = false;

  explicit Bench(int windows) {
    if (!app.Start()) return;
    sim.advance(200);
    std::vector<ProcessInfo> procs;
    for (unsigned p = 0; p < 5; ++p)
      procs.push_back({700 + p, "C:\\Programs\\tool" + std::to_string(p) + "\\prog.exe"});
    sim.setProcesses(procs);
    for (int i = 0; i < windows; ++i) {
      Wnd w = sim.addWindow("Foreign", "document " + std::to_string(i) + " - 编辑器",
                            {(i * 37) % 600, (i * 23) % 400, 300, 200});
      sim.setWindowProcessId(w, 700 + static_cast<unsigned>(i % 5));
    }
    app.bar.qircom->SetWindowPos(ZOrder::TopMost, 560, 200, 400, 350, swp::ShowWindow);
    ok = true;
  }

  // What any listing of the windows must ask the system.
  std::size_t BareEnumeration() {
    std::size_t bytes = 0;
    for (Wnd w : sim.enumWindows()) {
      if (!sim.windowProcessId(w)) continue;
      if (!(sim.windowState(w).exStyle & 0x100) || !sim.isWindowVisible(w)) continue;
      bytes += sim.getWindowTextUpTo(w, Switcher::kTitleBytes + 1).size();
    }
    return bytes;
  }
};

void BM_SwitcherRebuild(benchmark::State& state) {
  Bench b(static_cast<int>(state.range(0)));
  if (!b.ok) {
    state.SkipWithError("start-up failed");
    return;
  }
  Switcher& sw = b.app.bar.qircom->switcher;
  double bare = 0, rebuild = 0;
  for (auto _ : state) {
    auto t0 = Now();
    benchmark::DoNotOptimize(b.BareEnumeration());
    auto t1 = Now();
    b.sim.runAsHandler([&sw] {
      sw.Rebuild();
      sw.Fill();
    });
    auto t2 = Now();
    bare += (t1 - t0);
    rebuild += (t2 - t1);
    state.SetIterationTime((t2 - t1));
  }
  if (b.sim.listCount(b.app.bar.qircom->ListView1.Handle()) != state.range(0))
    state.SkipWithError("the list does not hold every window");
  const double n = static_cast<double>(state.iterations());
  state.counters["bare_us"] = bare / n * 1e6;
  state.counters["rebuild_us"] = rebuild / n * 1e6;
  state.counters["x_bare"] = bare > 0 ? rebuild / bare : 0;
}
BENCHMARK(BM_SwitcherRebuild)->Arg(10)->Arg(100)->Arg(500)->UseManualTime();

void BM_PointerMoves(benchmark::State& state) {
  Bench b(100);
  if (!b.ok) {
    state.SkipWithError("start-up failed");
    return;
  }
  Tqircom& bar = *b.app.bar.qircom;
  b.sim.runAsHandler([&bar] {
    bar.switcher.Rebuild();
    bar.switcher.Fill();
  });
  const Rect row = b.sim.getWindowRect(bar.ListView1.Handle());
  const Rect echo = b.sim.getWindowRect(bar.Edit3.Handle());
  const int ry = row.top + 2 + 3 * SimDesktop::kListRowHeight + 5;
  const int ey = echo.top + 8;
  // Onto row 3 once: it is previewed; every move after stays on it.
  b.sim.moveMouse(row.left + 100, ry);
  double onRow = 0, plain = 0;
  int k = 0;
  for (auto _ : state) {
    const int dx = 80 + (k++ % 2) * 100;
    // Each timed move stays inside one control.
    b.sim.moveMouse(echo.left + dx, ey);
    auto t0 = Now();
    b.sim.moveMouse(echo.left + dx + 10, ey);
    auto t1 = Now();
    b.sim.moveMouse(row.left + dx, ry);
    auto t2 = Now();
    b.sim.moveMouse(row.left + dx + 10, ry);  // the row is already the hovered one
    auto t3 = Now();
    plain += (t1 - t0);
    onRow += (t3 - t2);
  }
  state.counters["x_plain"] = plain > 0 ? onRow / plain : 0;
}
BENCHMARK(BM_PointerMoves);

}  // namespace
}  // namespace sq
