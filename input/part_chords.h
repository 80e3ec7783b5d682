// The pointer chords' state: the right press and the left hold that make
// the right-then-left pointer widget and the copy at a selection's end, the
// right release counted in place, and the long right press.
#pragma once

#include "platform/platform.h"

namespace sq {

struct PointerChords {
  Point rightPress;         // while right is down away from the command bar
  Point leftHold;           // while left is down away from the command bar
  Point prevLeftHold;       // the hold point before the last one
  Point leftRelease;        // first tick after the release of a moved press
  Point rightDownAt;        // the pointer when "rightdn" was last seen
  // Whether the right-press and left-hold points hold a press: x = 0 is a
  // point like any other where a monitor lies left of the main one.
  bool rightPressSet = false;
  bool leftHoldSet = false;
  int rightHeldTicks = 0;   // ticks of the right press held away from the bar
  int rightClicks = 0;      // right releases where the press began, counted
};

}  // namespace sq
