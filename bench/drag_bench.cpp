// Cost of one mouse move in the hook: passed through with no drag running,
// and during a drag, where it is turned into a scroll step. Both run the
// same hook-side decision (words and drag) the real library runs; the
// ratio of the two is the drag's price per move (goal: at most 1.5).
#include <benchmark/benchmark.h>

#include "input/dragscroll.h"

namespace sq {
namespace {

// A hand moving steadily, 3 px an event, mostly down and now and then back;
// during a drag the pointer is put back at the anchor (300, 300) after each.
MouseInput Move(int i) { return {MouseAction::Move, 300, 300 + ((i % 4 == 3) ? -3 : 3)}; }

void BM_HookMovePassedThrough(benchmark::State& state) {
  HookWords words;
  DragScroll drag;
  int i = 0;
  for (auto _ : state) {
    HookMouseResult r = HookMouse(words, drag, Move(i++), {300, 300});
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_HookMovePassedThrough);

void BM_HookMoveDuringDrag(benchmark::State& state) {
  HookWords words;
  DragScroll drag;
  DragTarget t;
  t.window = 0x1234;
  t.anchor = {300, 300};
  t.way = static_cast<ScrollWay>(state.range(0));
  t.lineHeight = 2;  // a step on most moves
  t.systemHeld = true;  // as after a Ctrl tap: the drag runs without a user's press
  drag.Begin(t);
  if (!drag.active()) {
    state.SkipWithError("the drag did not begin");
    return;
  }
  int i = 0;
  std::int64_t steps = 0;
  for (auto _ : state) {
    HookMouseResult r = HookMouse(words, drag, Move(i++), {300, 300});
    steps += r.drag.scroll;
    benchmark::DoNotOptimize(r);
  }
  state.counters["steps/move"] = benchmark::Counter(static_cast<double>(steps) /
                                                     static_cast<double>(state.iterations()));
}
BENCHMARK(BM_HookMoveDuringDrag)->Arg(static_cast<int>(ScrollWay::Lines))
    ->Arg(static_cast<int>(ScrollWay::Wheel));

}  // namespace
}  // namespace sq
