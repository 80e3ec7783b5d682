// The mouse buttons' bookkeeping on the simulated desktop: the control a
// press went down on (a click needs the release there too), the control
// that holds the left button's events from its press to its release, the
// press before (for double clicks) and, as Wine under X has it, the window
// a grab gives every button event to while any button is held.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/sim/simclock.h"

namespace sq {

class SimButtons {
 public:
  static constexpr int kDoubleClickSquare = 2;  // half of SM_CXDOUBLECLK

  explicit SimButtons(const SimClock& clock) : clock_(clock) {}

  // The left button went down on w (0: on no control that takes clicks).
  void pressedOn(Wnd w) { pressed_ = w; }
  // It came up over w: true when it went down there too (a click).
  bool releasedOn(Wnd w);

  Wnd owner() const { return owner_; }  // 0: none
  void setOwner(Wnd w) { owner_ = w; }

  // A press of b on t at `at`: true when it makes a double click with the
  // press before (same window and button, in time, within the square),
  // which then counts no more.
  bool press(Wnd t, MouseButton b, Point at);
  void setDoubleClickTime(unsigned ms) { dblTime_ = ms; }

  bool grabs() const { return grabs_; }
  void setGrabs(bool on) {
    grabs_ = on;
    grab_ = 0;
  }
  Wnd grabbed() const { return grab_; }
  void grabFor(Wnd w) { grab_ = w; }

  void windowGone(Wnd w);

 private:
  struct Press {
    Wnd w = 0;
    MouseButton b = MouseButton::Left;
    std::uint64_t time = 0;
    Point at;
  };
  const SimClock& clock_;
  Wnd pressed_ = 0;  // the control the left button went down on
  Wnd owner_ = 0;    // a control holding the left button's events
  Press last_;
  unsigned dblTime_ = 500;
  bool grabs_ = false;
  Wnd grab_ = 0;  // the window holding the button events under a grab
};

}  // namespace sq
