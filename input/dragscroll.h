// Drag-scrolling on the hook thread: while a drag runs, the user's pointer
// movement scrolls the window under the press point, the content following
// the hand, and the pointer stays where the drag began.
//
// Portable and free of system types, like the word composer: the real hook
// library (hook/) and the simulated desktop (platform/sim/) run the same
// decisions on every mouse event. The GUI thread only says when a drag
// begins and for which window (Begin, through the backend); the hook side
// never waits on it, and it ends the drag by itself on the user's release,
// with the stop word the input tick expects.
//
// Why this way: a low-level mouse hook sees every movement before any window
// does, so it can keep the movement from the target (nothing gets selected,
// the pointer does not move) and turn it into scroll messages that need no
// answer (posted, never sent). A press on the scroll bar or a captured mouse
// would need the target's cooperation; scroll messages work across
// processes on edit, rich edit, list box and list view controls, and the
// wheel reaches nearly every other program.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "input/hookwords.h"
#include "platform/platform.h"

namespace sq {

// How a window's content is moved.
enum class ScrollWay {
  Lines,      // edit and rich edit controls: EM_LINESCROLL by whole lines
  ListLines,  // list boxes: one WM_VSCROLL line step per line
  Pixels,     // list views: LVM_SCROLL by pixels
  Wheel,      // anything else: wheel notches
};

// The way for a window class; the wheel when the class is not known.
ScrollWay ScrollWayFor(const std::string& className);

// A scroll to apply to the target: `amount` lines (Lines, ListLines) or
// pixels (Pixels), positive towards the end of the content; for Wheel a
// wheel delta, positive away from the user (towards the beginning).
struct ScrollStep {
  ScrollWay way = ScrollWay::Wheel;
  int amount = 0;
  bool operator==(const ScrollStep&) const = default;
};

struct DragTarget {
  Wnd window = 0;
  Point anchor;             // where the drag began: the pointer stays there
  ScrollWay way = ScrollWay::Wheel;
  int lineHeight = 16;      // pixels of one line of the target (at least 1)
  bool systemHeld = false;  // the program pressed the button (Ctrl tap, restart)
  bool thumb = false;       // a grabbed scroll-bar thumb: movement passes through
};

// What to do with one mouse event.
struct DragVerdict {
  bool swallow = false;     // keep the event from every window
  bool scroll = false;      // apply `step` to the target
  ScrollStep step;
  bool ended = false;       // the drag ended with this event
  bool releaseLeft = false; // synthesise a left release (own input)
  // A kept move that would have taken the pointer off the anchor: where the
  // system moves the pointer all the same, the backend puts it back.
  bool recentre = false;
};

class DragScroll {
 public:
  // A drag begins (or, for the same window, goes on as it was).
  void Begin(const DragTarget& t);
  // The drag ends without a release of the user's (the program stopped it,
  // or the target went away). True when a drag was running.
  bool Cancel();

  // One event as the hook sees it; `cursor` is the pointer before the event.
  DragVerdict Mouse(const MouseInput& e, Point cursor);

  // The hook thread is about to move the pointer to `to` itself
  // (SetCursorPos, whose move reaches the hook unmarked): that move is its
  // own, passed untouched, neither kept nor counted as the hand's.
  void OwnMoveComing(Point to);

  bool active() const { return active_; }
  // Whether the user's own hand holds the left button (the program's
  // synthesised presses do not count).
  bool userLeft() const { return userLeft_; }
  const DragTarget& target() const { return t_; }

  // The word that ends a drag, in the scroll-mode caption.
  static std::string StopWord(Point at);

 private:
  DragTarget t_;
  bool active_ = false;
  bool userLeft_ = false;
  int carry_ = 0;  // hand movement in pixels not yet scrolled (+ = down)
  static constexpr int kOwnMovesMax = 4;
  Point ownMoves_[kOwnMovesMax];  // the hook thread's own moves to come, in order
  int ownCount_ = 0;
};

// Bits of the drag state the hook thread publishes (GetDragScroll).
namespace dragbits {
constexpr int Running = 1, UserLeft = 2, Pending = 4;
}

// The hand-off of drag requests from the GUI thread to the hook thread,
// neither waiting on the other: the GUI thread leaves a request (a newer
// one replaces one not taken yet) and the hook thread takes it on its next
// mouse event or its next turn, and publishes what the drag is then.
class DragHandOff {
 public:
  DragHandOff() = default;
  ~DragHandOff();
  DragHandOff(const DragHandOff&) = delete;
  DragHandOff& operator=(const DragHandOff&) = delete;

  // GUI thread: a drag begins in t, or the program ends the drag.
  void Ask(const DragTarget& t);
  void AskEnd();
  // Any thread: dragbits of the drag as last published.
  int State() const;

  // Hook thread: the waiting request into the drag (true when one was
  // waiting), published at once.
  bool Take(DragScroll& d);
  void Publish(const DragScroll& d);

 private:
  struct Request {
    bool end = false;
    DragTarget target;
    std::uint32_t seq = 0;
  };
  void Leave(Request* q);
  std::atomic<Request*> request_{nullptr};
  std::atomic<std::uint32_t> asked_{0};  // number of the last request left
  std::atomic<std::uint32_t> taken_{0};  // number of the last request taken
  std::atomic<int> state_{0};
};

// Both hook-side decisions for one mouse event: the words to report and
// what the drag makes of the event. Shared by the hook library and the
// simulated desktop. `targetAlive`: the drag's window still exists; when it
// is gone the drag ends with its stop word and the program's press is let go.
struct HookMouseResult {
  std::vector<Word> words;
  DragVerdict drag;
};
HookMouseResult HookMouse(HookWords& words, DragScroll& drag, const MouseInput& e, Point cursor,
                          bool targetAlive = true);

}  // namespace sq
