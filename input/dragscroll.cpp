#include "input/dragscroll.h"

#include <algorithm>
#include <cctype>

#include "input/words.h"

namespace sq {

namespace {
constexpr int kNotch = 120;        // one wheel notch
constexpr int kLinesPerNotch = 3;  // the system's default

std::string Lower(const std::string& s) {
  std::string out = s;
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool Own(const MouseInput& e) { return HookWords::IsOwn(e.injected, e.extra); }
}  // namespace

ScrollWay ScrollWayFor(const std::string& className) {
  // Class names compare without regard to case, as the system's do.
  const std::string c = Lower(className);
  if (c == "edit" || c == "richedit" || c.rfind("richedit20", 0) == 0 || c == "richedit50w")
    return ScrollWay::Lines;
  if (c == "listbox" || c == "combolbox") return ScrollWay::ListLines;
  if (c == "syslistview32") return ScrollWay::Pixels;
  return ScrollWay::Wheel;
}

std::string DragScroll::StopWord(Point at) {
  return std::string(words::hook::DragStopPrefix) + std::to_string(at.x) +
         words::hook::PointSeparator + std::to_string(at.y) + words::hook::LeftUpTail;
}

void DragScroll::Begin(const DragTarget& t) {
  if (!t.window) return;
  ownCount_ = 0;
  // Asked for while the user held the button, but the release came first:
  // the drag is over before it began.
  if (!t.systemHeld && !userLeft_) return;
  if (active_ && t.window == t_.window && t.thumb == t_.thumb) return;  // goes on
  t_ = t;
  t_.lineHeight = std::max(1, t.lineHeight);
  carry_ = 0;
  active_ = true;
}

bool DragScroll::Cancel() {
  const bool was = active_;
  active_ = false;
  carry_ = 0;
  return was;
}

DragVerdict DragScroll::Mouse(const MouseInput& e, Point cursor) {
  DragVerdict v;
  const bool own = Own(e);
  if (!active_) {
    if (!own && e.action == MouseAction::LeftDown) userLeft_ = true;
    if (!own && e.action == MouseAction::LeftUp) userLeft_ = false;
    return v;
  }
  if (own) return v;  // the program's own input passes untouched
  if (e.action == MouseAction::Move && ownCount_ > 0 && e.x == ownMoves_[0].x &&
      e.y == ownMoves_[0].y) {
    // The hook thread's own move of the pointer (SetCursorPos, unmarked).
    for (int i = 1; i < ownCount_; ++i) ownMoves_[i - 1] = ownMoves_[i];
    --ownCount_;
    return v;
  }
  switch (e.action) {
    case MouseAction::Move: {
      if (t_.thumb) return v;  // the held thumb follows the pointer
      // No window sees it: nothing is selected, and the pointer is kept at
      // the anchor (the backends put it back there where the system moved
      // it all the same), so each move counts from the anchor.
      (void)cursor;
      v.swallow = true;
      v.recentre = e.x != t_.anchor.x || e.y != t_.anchor.y;
      carry_ += e.y - t_.anchor.y;
      int amount = 0;
      if (t_.way == ScrollWay::Wheel) {
        // Content down (hand down) is the wheel turned away from the user.
        const int perNotch = kLinesPerNotch * t_.lineHeight;
        const int notches = carry_ / perNotch;
        carry_ -= notches * perNotch;
        amount = notches * kNotch;
      } else if (t_.way == ScrollWay::Pixels) {
        // Report-style list views scroll by whole rows whatever the pixels
        // asked: whole rows are sent, the rest carried.
        const int lines = carry_ / t_.lineHeight;
        carry_ -= lines * t_.lineHeight;
        amount = -lines * t_.lineHeight;
      } else {
        const int lines = carry_ / t_.lineHeight;
        carry_ -= lines * t_.lineHeight;
        amount = -lines;
      }
      if (amount != 0) {
        v.scroll = true;
        v.step = {t_.way, amount};
      }
      return v;
    }
    case MouseAction::LeftDown:
      // The program holds the button already: a second press would reach
      // the target as a double click (a word selected). The release that
      // follows ends the drag.
      if (t_.systemHeld) v.swallow = true;
      else userLeft_ = true;
      return v;
    case MouseAction::LeftUp:
      // The user lets go: the target sees this release, so every press it
      // saw is matched.
      userLeft_ = false;
      active_ = false;
      carry_ = 0;
      v.ended = true;
      return v;
    default:
      return v;
  }
}

void DragScroll::OwnMoveComing(Point to) {
  if (ownCount_ == kOwnMovesMax) {  // the oldest never came: forgotten
    for (int i = 1; i < kOwnMovesMax; ++i) ownMoves_[i - 1] = ownMoves_[i];
    --ownCount_;
  }
  ownMoves_[ownCount_++] = to;
}

// ---- the hand-off ----------------------------------------------------------

DragHandOff::~DragHandOff() { delete request_.exchange(nullptr); }

void DragHandOff::Leave(Request* q) {
  q->seq = asked_.fetch_add(1) + 1;
  delete request_.exchange(q);  // one not taken yet is replaced
}

void DragHandOff::Ask(const DragTarget& t) {
  auto* q = new Request;
  q->target = t;
  Leave(q);
}

void DragHandOff::AskEnd() {
  auto* q = new Request;
  q->end = true;
  Leave(q);
}

int DragHandOff::State() const {
  // Not running before the hook thread has taken the request and said so:
  // a release that reached it first refuses the drag, and the program
  // must not take it for running meanwhile.
  const bool pending = taken_.load() != asked_.load();
  return state_.load() | (pending ? dragbits::Pending : 0);
}

bool DragHandOff::Take(DragScroll& d) {
  Request* q = request_.exchange(nullptr);
  if (!q) return false;
  if (q->end) d.Cancel();
  else d.Begin(q->target);
  // The drag's state first, then that the request was taken: whoever sees
  // it taken sees what came of it.
  Publish(d);
  taken_.store(q->seq);
  delete q;
  return true;
}

void DragHandOff::Publish(const DragScroll& d) {
  state_.store((d.active() ? dragbits::Running : 0) | (d.userLeft() ? dragbits::UserLeft : 0));
}

HookMouseResult HookMouse(HookWords& words, DragScroll& drag, const MouseInput& e, Point cursor,
                          bool targetAlive) {
  HookMouseResult r;
  if (drag.active() && !targetAlive) {
    // The target went away mid-drag: the drag ends here, the button the
    // program pressed is let go, and the tick hears the stop.
    const DragTarget t = drag.target();
    drag.Cancel();
    r.drag.ended = true;
    r.drag.releaseLeft = t.systemHeld;
    r.words = words.Mouse(e);
    drag.Mouse(e, cursor);  // keeps the user's button state
    r.words.push_back({Mailbox::Scroll, DragScroll::StopWord(t.anchor), ""});
    return r;
  }
  r.drag = drag.Mouse(e, cursor);
  r.words = words.Mouse(e);
  if (r.drag.ended) {
    // The release is reported as the drag's stop.
    for (Word& w : r.words)
      if (w.box == Mailbox::Scroll && w.text.rfind(words::hook::LeftUpPrefix, 0) == 0)
        w.text = DragScroll::StopWord({e.x, e.y});
  }
  return r;
}

}  // namespace sq
