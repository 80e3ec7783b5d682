// Drag-scrolling on the simulated desktop's hook thread.
#include "platform/sim/simdrag.h"

namespace sq {

void SimDrag::ask(const DragTarget& t) {
  // Left for the hook thread.
  if (auto hands = std::exchange(duringRequest_, {})) hands();
  handOff_.Ask(t);
  // Taken on the hook thread's next turn, or at a mouse event before it.
  hooks_.post([this] { take(); });
}

void SimDrag::askEnd() {
  handOff_.AskEnd();
  hooks_.post([this] { take(); });
}

DragScrollState SimDrag::state(bool leftHeld) const {
  if (!hooks_.mouse()) return {false, leftHeld, false};
  const int bits = handOff_.State();
  return {(bits & dragbits::Running) != 0, (bits & dragbits::UserLeft) != 0,
          (bits & dragbits::Pending) != 0};
}

}  // namespace sq
