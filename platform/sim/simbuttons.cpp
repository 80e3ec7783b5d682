// The mouse buttons' bookkeeping on the simulated desktop.
#include "platform/sim/simbuttons.h"

#include <cstdlib>

namespace sq {

bool SimButtons::releasedOn(Wnd w) {
  const bool same = w && w == pressed_;
  pressed_ = 0;
  return same;
}

bool SimButtons::press(Wnd t, MouseButton b, Point at) {
  const Press& l = last_;
  const bool dbl = l.w == t && l.b == b && clock_.now() - l.time <= dblTime_ &&
                   std::abs(at.x - l.at.x) <= kDoubleClickSquare &&
                   std::abs(at.y - l.at.y) <= kDoubleClickSquare;
  if (dbl)
    last_ = {};
  else
    last_ = {t, b, clock_.now(), at};
  return dbl;
}

void SimButtons::windowGone(Wnd w) {
  if (pressed_ == w) pressed_ = 0;
  if (owner_ == w) owner_ = 0;
  if (last_.w == w) last_ = {};
}

}  // namespace sq
