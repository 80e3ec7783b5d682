// Drag-scrolling as the tick sees it: telling the hook thread a drag
// begins, winding a drag up once it is over, and the Ctrl hold that is not
// a tap.
#include "app/app.h"
#include "app/frame/screens.h"
#include "bar/qirform4.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/tick.h"
#include "input/words.h"

namespace sq {

bool Tick::UserHoldsLeft() { return app_.platform().dragScrollState().userLeft; }

void Tick::BeginDrag(bool systemHeld) {
  Platform& p = app_.platform();
  const Wnd target = p.windowFromPoint(s_.cursor);
  if (!target) return;
  if (!s_.dragRunning) s_.dragAnchor = s_.cursor;
  s_.dragRunning = true;
  DragScrollRequest r;
  r.target = target;
  r.anchor = s_.dragAnchor;
  r.systemHeld = systemHeld;
  p.dragScrollBegin(r);
}

void Tick::EndDrag() {
  App& a = app_;
  Platform& p = a.platform();
  TqirForm4& title = *a.qirForm4;
  const std::string t = title.Caption();
  const bool titleDragging = mail::Is(t, words::title::Dragging) || mail::Is(t, words::title::DragUp);
  if (!s_.dragRunning && !titleDragging) return;
  p.dragScrollEnd();
  p.releaseCapture();
  p.setCursorShape(CursorShape::Arrow);
  // The pointer stays where the drag began; where the system moved it all
  // the same, it goes back there.
  // (A step aside first: under Wine the system may believe the pointer
  // is still there and skip the move.)
  if (s_.dragRunning && OnScreen(s_.dragAnchor)) {
    p.setCursorPos({s_.dragAnchor.x + 1, s_.dragAnchor.y});
    p.setCursorPos(s_.dragAnchor);
  }
  s_.dragRunning = false;
  s_.ctrlDrag = false;
  // No drag word is left in the title caption, so the next still press is
  // measured again; the badge goes below the screen at height 0.
  title.SetCaption(words::title::Ended);
  if (title.Height() != 0 || title.Shown()) {
    const Rect m = screens::At(monitors_, s_.cursor).rect;
    const Rect r = title.ScreenRect();
    title.Place({r.left, m.bottom() + 10, r.width, 0}, title.Dpi(), ZOrder::Keep, swp::NoZOrder);
  }
}

bool Tick::CtrlHeldLong() {
  const std::uint32_t now = app_.platform().tickCount();
  // A hold seen long ago says nothing about the tap now.
  return s_.ctrlHeldMs > kCtrlTapMaxMs && now - s_.ctrlUpAt < 3 * kCtrlTapMaxMs;
}

void Tick::TrackCtrlHold() {
  Platform& p = app_.platform();
  const bool down = p.isKeyDown(vk::Control);
  const std::uint32_t now = p.tickCount();
  if (down && !s_.ctrlSeenDown) {
    s_.ctrlSeenDown = true;
    s_.ctrlDownSince = now;
  } else if (!down && s_.ctrlSeenDown) {
    s_.ctrlSeenDown = false;
    s_.ctrlHeldMs = now - s_.ctrlDownSince;
    s_.ctrlUpAt = now;
  }
}

}  // namespace sq
