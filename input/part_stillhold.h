// The still test's state: how long the left button has been held still
// since its press, which starts drag-scrolling once it passes the settings
// panel's hold time, and whether the press moved (its release then ends a
// selection).
#pragma once

#include <cstdint>

namespace sq {

struct StillHold {
  int ticks = 0;             // ticks held still since the press
  // The same in milliseconds on the clock: the hold settings are times,
  // whatever the ticks' pace. leftUpAt: the last tick that saw the left
  // button up (a press came after it); lastStillAt: the last still tick.
  std::uint32_t ms = 0;
  std::uint32_t leftUpAt = 0, lastStillAt = 0;
  // The pointer was away on the last tick, so the time up to the next
  // still tick does not count either.
  bool broken = false;
  bool leftWasUp = false;    // the last tick saw the left button up
  // The press moved away from its point: its release is where a selection
  // ends (the pointer chords' release point).
  bool releaseEndsSelection = false;
};

}  // namespace sq
