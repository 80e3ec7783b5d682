// The state of the Ctrl tap and of drag-scrolling as the tick sees it: the
// drag the tick asked the hook thread for (whether or not that thread took
// it), the drag the tick resumed after a stop word, the drag a Ctrl tap
// began, and the Ctrl hold that is not a tap.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace sq {

struct CtrlTapDrag {
  Point anchor;                 // saved when a drag begins; clicks replay there
  // The hook thread was asked for a drag that has not been wound up yet
  // (it may have refused it or ended it since).
  bool dragAsked = false;
  // The tick resumed a drag after a stop word while the left button was
  // held still; the next stop word ends it.
  bool dragResumed = false;
  bool tapDrag = false;         // a Ctrl tap pressed the left button to drag
  // How long the tick last saw Ctrl held, and when it let go.
  bool ctrlSeenDown = false;
  std::uint32_t ctrlDownSince = 0, ctrlHeldMs = 0, ctrlUpAt = 0;
};

}  // namespace sq
