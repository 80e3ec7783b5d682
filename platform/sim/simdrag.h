// Drag-scrolling on the simulated desktop as the hook library runs it: the
// drag its thread keeps, the hand-off by which the program's requests
// reach that thread (taken on the thread's next turn, or at a mouse event
// before it), and the user's hands a test lets act before a request does.
#pragma once

#include <functional>
#include <utility>

#include "input/dragscroll.h"
#include "platform/platform.h"
#include "platform/sim/simhooks.h"

namespace sq {

class SimDrag {
 public:
  explicit SimDrag(SimHooks& hooks) : hooks_(hooks) {}

  // The program asks for a drag in t, or ends it: left for the hook thread.
  void ask(const DragTarget& t);
  void askEnd();
  // What the hook thread last published (without a mouse hook nothing
  // runs and the user's left button is `leftHeld`).
  DragScrollState state(bool leftHeld) const;
  void duringNextRequest(std::function<void()> hands) { duringRequest_ = std::move(hands); }

  // ---- on the hook thread ----
  DragScroll& drag() { return drag_; }
  void take() { handOff_.Take(drag_); }  // a waiting request, if any
  void publish() { handOff_.Publish(drag_); }

 private:
  SimHooks& hooks_;
  DragScroll drag_;
  DragHandOff handOff_;
  std::function<void()> duringRequest_;
};

}  // namespace sq
