// The work budget of the input tick: the worst ticks under a 16 MB clipboard
// and 16 MB captions, against an idle tick measured in the same run.
//
// Each case reports, besides the time of one tick:
//   max_ms      the slowest single tick seen (CPU time of the thread)
//   peak_MB     the growth of the process's peak resident size over its size
//               just before the first tick (the desktop's own copies of the
//               16 MB texts are already in that baseline)
//   vs_idle     the mean tick time as a multiple of the idle tick's (the
//               idle case runs first)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <string>

#include "app/app.h"
#include "app/frame/budget.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "input/qirinputor.h"
#include "input/tick.h"
#include "platform/sim/simdesktop.h"

namespace sq {
namespace {

constexpr std::size_t k16MB = 16u << 20;

long StatusKb(const char* field) {
  std::ifstream f("/proc/self/status");
  std::string key;
  long value = 0;
  while (f >> key) {
    if (key == field) {
      f >> value;
      return value;
    }
    f.ignore(1 << 12, '\n');
  }
  return 0;
}

// <chrono> cannot be used: its micro sign has no GBK form.
double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);  // CPU time: the machine may be shared
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double g_idleMs = 0;  // mean idle tick of this run

enum class Case {
  Idle,            // nothing pending
  HugeCaptions,    // 16 MB standing in the input, bar and scroll captions
  HugeClipCapture, // the capture sighting with 16 MB on the clipboard
  BiggestCapture,  // the largest text the budget captures, widest shift
  FullSmartClip,   // a capture into a smart clipboard at its byte budget
  WinKeyAlign,     // the Windows-key alignment of the largest capture
};

std::string Lines(std::size_t lines, std::size_t bytes) {
  std::string line(bytes / lines - 1, 'c');
  line += '\n';
  std::string t;
  t.reserve(bytes);
  for (std::size_t i = 0; i < lines; ++i) t += line;
  return t;
}

void BM_WorstTick(benchmark::State& state) {
  const Case c = static_cast<Case>(state.range(0));
  SimDesktop sim;
  App app(sim);
  if (!app.Start()) {
    state.SkipWithError("start-up failed");
    return;
  }
  sim.addWindow("Foreign", "page", {100, 100, 600, 500});
  sim.moveMouse(300, 300);
  sim.advance(400);
  Tick& tick = app.input.qirinputor->tick();
  Tqircom& bar = *app.bar.qircom;
  const std::string biggest = Lines(budget::kCaptureLines - 1, budget::kCaptureBytes - 64);

  // Inputs that stand for the whole run.
  switch (c) {
    case Case::Idle:
      break;
    case Case::HugeCaptions:
      sim.setWindowText(app.input.qirinputor->Handle(), std::string(k16MB, 'k'));
      sim.setWindowText(bar.Handle(), std::string(k16MB, 'b'));
      sim.setWindowText(app.bar.qirForm3->Handle(), "ystop wheel=" + std::string(k16MB, 'w'));
      break;
    case Case::HugeClipCapture:
      sim.setClipboardText(Lines(1'000'000, k16MB));
      break;
    case Case::BiggestCapture:
      sim.setClipboardText("    " + biggest);
      break;
    case Case::FullSmartClip:
      for (int i = 0; bar.ListBox2.Count() < 4; ++i)
        bar.ListBox2.Insert(0, std::to_string(i) + biggest);
      break;
    case Case::WinKeyAlign:
      sim.setClipboardText(biggest);
      break;
  }
  // Prepares the pending word of one tick (not timed).
  int round = 0;
  // A finished copy's word seen by two ticks: the third captures it.
  auto copySeenTwice = [&] {
    for (int i = 0; i < 2; ++i) {
      app.input.qirinputor->SetCaption("key--shiftc--copy--ok");
      sim.runAsHandler([&tick] { tick.Run(); });
    }
    app.input.qirinputor->SetCaption("key--shiftc--copy--ok");
  };
  auto arm = [&] {
    switch (c) {
      case Case::Idle:
      case Case::HugeCaptions:
        break;
      case Case::HugeClipCapture:
      case Case::BiggestCapture:
        // The third sighting of a finished copy: the capture runs.
        tick.SetCaptureColumn(budget::kAlignColumn);
        copySeenTwice();
        break;
      case Case::FullSmartClip:
        sim.setClipboardText(std::to_string(++round) + biggest);
        copySeenTwice();
        break;
      case Case::WinKeyAlign:
        bar.ListBox11.Clear();
        for (int i = 0; i < static_cast<int>(budget::kCaptureLines) - 1; ++i)
          bar.ListBox11.Add(std::string(40, 'c'));
        tick.SetCaptureColumn(budget::kAlignColumn);
        bar.BitBtn6.SetCaption("---align");
        bar.ListBox8.Insert(0, "91down");
        bar.ListBox8.Insert(0, "old--91up");
        app.input.qirinputor->SetCaption("old--mode");
        break;
    }
    sim.clearEvents();
  };

  arm();
  sim.runAsHandler([&tick] { tick.Run(); });  // warm up
  const long baseKb = StatusKb("VmRSS:");
  ResetPeak();
  double maxMs = 0, sumMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    arm();
    state.ResumeTiming();
    const double t0 = NowMs();
    sim.runAsHandler([&tick] { tick.Run(); });
    const double t1 = NowMs();
    const double ms = t1 - t0;
    maxMs = std::max(maxMs, ms);
    sumMs += ms;
  }
  const long peakKb = StatusKb("VmHWM:");
  state.counters["max_ms"] = maxMs;
  state.counters["peak_MB"] = static_cast<double>(std::max(0L, peakKb - baseKb)) / 1024.0;
  static const char* const names[] = {"idle",          "16 MB captions", "16 MB clipboard",
                                      "largest capture", "full smart clipboard",
                                      "Windows-key alignment"};
  state.SetLabel(names[state.range(0)]);
  const double meanMs = state.iterations() ? sumMs / static_cast<double>(state.iterations()) : 0;
  if (c == Case::Idle) {
    g_idleMs = meanMs;  // kept for the ratio of the cases after it
  } else if (g_idleMs > 0) {
    state.counters["vs_idle"] = meanMs / g_idleMs;
  }
}

BENCHMARK(BM_WorstTick)
    ->DenseRange(0, 5)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace
}  // namespace sq
