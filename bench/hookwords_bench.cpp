// Cost of composing the words of one low-level event: this runs inside the
// system-wide hooks for every key and mouse event, so it must stay a few
// hundred nanoseconds at most.
#include <benchmark/benchmark.h>

#include "input/hookwords.h"
#include "input/worddelivery.h"
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

// Delivery of one word on the GUI thread when it has to wait: offered while
// its caption is unread, handed out once the reader has read it. Compare
// with BM_KeyDownUp (two words composed) in the same run.
void BM_WordWaitsForItsReader(benchmark::State& state) {
  WordDelivery d;
  const Word w{Mailbox::Input, "key--65", ""};
  for (auto _ : state) {
    d.Changed(1);
    benchmark::DoNotOptimize(d.Offer(1, w));
    d.Seen(1);
    benchmark::DoNotOptimize(d.Next(1));
  }
}
BENCHMARK(BM_WordWaitsForItsReader);

}  // namespace
}  // namespace sq
