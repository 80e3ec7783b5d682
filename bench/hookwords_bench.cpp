// Cost of composing the words of one low-level event: this runs inside the
// system-wide hooks for every key and mouse event, so it must stay a few
// hundred nanoseconds at most.
#include <benchmark/benchmark.h>

#include "input/hookwords.h"
#include "platform/platform.h"

namespace sq {
namespace {

void BM_KeyDownUp(benchmark::State& state) {
  HookWords hw;
  for (auto _ : state) {
    benchmark::DoNotOptimize(hw.Key({'A', false}));
    benchmark::DoNotOptimize(hw.Key({'A', true}));
  }
}
BENCHMARK(BM_KeyDownUp);

void BM_MouseMove(benchmark::State& state) {
  HookWords hw;
  MouseInput e{MouseAction::Move, 100, 200};
  for (auto _ : state) benchmark::DoNotOptimize(hw.Mouse(e));
}
BENCHMARK(BM_MouseMove);

void BM_OwnInputIgnored(benchmark::State& state) {
  HookWords hw;
  KeyInput e{17, false, true, kOwnInputMark};
  for (auto _ : state) benchmark::DoNotOptimize(hw.Key(e));
}
BENCHMARK(BM_OwnInputIgnored);

void BM_LeftPress(benchmark::State& state) {
  HookWords hw;
  MouseInput e{MouseAction::LeftDown, 512, 384};
  for (auto _ : state) benchmark::DoNotOptimize(hw.Mouse(e));
}
BENCHMARK(BM_LeftPress);

}  // namespace
}  // namespace sq
