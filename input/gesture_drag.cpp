// The Ctrl tap and drag-scrolling as the tick sees it: the title-window
// words, the Ctrl tap that drags, drag stops and restarts, telling the hook
// thread a drag begins, winding a drag up once it is over, and the Ctrl
// hold that is not a tap.
#include <algorithm>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/frame/budget.h"
#include "app/caretinfo.h"
#include "app/formmain.h"
#include "app/relays.h"
#include "app/frame/screens.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/qirform4.h"
#include "bar/smartclip.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "input/tick.h"
#include "input/words.h"

namespace sq {

namespace {
constexpr int kTitleListLimit = 100;

// A drag runs on the hook thread, or the program's request for it has not
// reached that thread yet (it may still refuse it).
bool DragLives(const DragScrollState& s) { return s.active || s.pending; }
}  // namespace

void Tick::TitleWordsAndCtrlTap() {
  App& a = app_;
  Platform& p = a.platform();
  Tqircom& bar = *a.bar.qircom;
  TqirForm4& title = *a.bar.qirForm4;
  if (mail::Is(title.Caption(), words::title::KeyScroll)) title.SetCaption(words::title::DragUp);
  // Every change of the title caption is kept, newest first.
  const std::string t = title.Caption();
  if (mail::ItemOr(bar.ListBox4, 0) != t) {
    bar.ListBox4.Insert(0, t);
    if (bar.ListBox4.Count() > kTitleListLimit) bar.ListBox4.Delete(bar.ListBox4.Count() - 1);
  }

  // Ctrl tapped alone.
  Control& hist = bar.ListBox8;
  if (mail::ItemOr(hist, 0) == words::bar::CtrlUp && mail::ItemOr(hist, 1) == words::bar::CtrlDown &&
      !mail::Is(bar.Caption(), words::bar::DoubleCtrl) && !drag_.tapDrag &&
      !a.shell.wrpyreadpanel->lctrl.Checked()) {
    if (CtrlHeldLong()) {
      // Ctrl was held, not tapped: no drag, whatever the life panel counted;
      // the count of this hold is used up, or the next holds would add to it
      // and a later tap be taken for a hold.
      hist.SetItem(0, words::bar::CtrlHeldMark);
      a.browser.lifeform->Panel9.SetCaption("0");
    } else if (LeadingInt(a.browser.lifeform->Panel9.Caption()) < 11) {
      // A short tap: press the left button for the user and drag.
      drag_.tapDrag = true;
      hist.SetItem(0, words::bar::CtrlTapMark);
      drag_.anchor = view_.cursor;
      title.SetCaption(words::title::Dragging);
      p.sleep(200);
      p.mouseEvent(mouseflag::LeftUp, 0, 0, 0);
      p.mouseEvent(mouseflag::LeftDown, 0, 0, 0);
      BeginDrag(true);
    } else {
      // Ctrl was held long: give it back as held.
      hist.SetItem(0, words::bar::CtrlHeldMark);
      a.browser.lifeform->Panel9.SetCaption("0");
      keys::Down(p, vk::Control);
      bar.Button3.SetCaption(words::trace::CtrlHeld);
    }
  }
  if (mail::Is(a.input.qirinputor->Caption(), words::in::ModeRequest))
    a.input.qirinputor->SetCaption(words::in::ModeAck);
  bar.inputcap.SetCaption(a.input.qirinputor->Caption());
}

bool Tick::DragStops() {
  App& a = app_;
  Platform& p = a.platform();
  TqirForm3& scroll = *a.bar.qirForm3;
  // A drag the hook thread refused (the user's release reached it before
  // the request did) or ended without a stop word for this tick: wound up,
  // so no badge, capture or cross is left and the next drag starts from
  // its own press point.
  if (drag_.dragAsked && !DragLives(p.dragScrollState())) EndDrag();
  if (mail::Has(scroll.Caption(), words::scroll::StopDragPart)) {
    scroll.SetCaption(words::scroll::DragStopped);
    if (mail::Is(scroll.Panel3.Caption(), words::scroll::ThumbDrag)) {
      scroll.Panel3.SetCaption(words::scroll::ThumbDragHandled);
      // Back to where the thumb drag began.
      const Point start{scroll.Panel4.Left(), scroll.Panel4.Top()};
      if (OnScreen(start)) p.setCursorPos(start);
    }
  }
  const std::string word = scroll.Caption();
  // An address request of another program and the browser's answer to it
  // are theirs.
  if (mail::Starts(word, words::web::UrlRequestPrefix) || mail::Is(word, words::web::UrlAck))
    return false;
  if (!mail::Starts(word, words::scroll::StopPrefix)) {
    reading_.wheelStopSeen.clear();
  } else if (mail::Has(word, words::scroll::WheelPart) && word == reading_.wheelStopSeen) {
    // A wheel word stays as written; it was answered when it arrived.
  } else {
    if (mail::Has(word, words::scroll::WheelPart)) reading_.wheelStopSeen = word;
    else scroll.SetCaption(words::scroll::StopHandled);
    // A key word that no tick has looked at yet is answered, not ended.
    if (!InputPending()) a.input.qirinputor->SetCaption(words::in::HandledLeft);
    chords_.rightClicks = 0;
    keys_.zGuard = false;
    if (drag_.dragResumed) {
      drag_.dragResumed = false;
      if (!DragLives(p.dragScrollState())) EndDrag();
      return true;
    }
    scroll.Park();
    // Only a button the user still holds goes on dragging: after a release
    // the program would otherwise press the button by itself.
    const bool restart = HeldStillLongEnough() && !a.shell.wrpyreadpanel->lleft.Checked() &&
                         UserHoldsLeft();
    still_.ticks = 0;
    still_.ms = 0;
    if (!restart && !DragLives(p.dragScrollState())) EndDrag();
    if (restart) {
      // Still held long enough: the drag goes on from here.
      chords_.rightHeldTicks = 0;
      lines_.justCaptured = false;
      a.bar.qircom->Park();
      scroll.Hide();
      a.input.qirinputor->SetCaption(words::in::HandledDrag);
      a.bar.qirForm4->SetCaption(words::title::Dragging);
      drag_.anchor = view_.cursor;
      p.sleep(200);
      if (!UserHoldsLeft()) {
        // Let go while the tick slept: nothing to press again.
        EndDrag();
      } else {
        drag_.dragResumed = true;
        p.mouseEvent(mouseflag::LeftUp, 0, 0, 0);
        p.mouseEvent(mouseflag::LeftDown, 0, 0, 0);
        BeginDrag(false);
      }
    }
  }
  if (mail::Starts(scroll.Caption(), words::hook::RightUpPrefix)) scroll.SetCaption(words::scroll::RightUpHandled);
  return false;
}

bool Tick::UserHoldsLeft() { return app_.platform().dragScrollState().userLeft; }

void Tick::BeginDrag(bool systemHeld) {
  Platform& p = app_.platform();
  const Wnd target = p.windowFromPoint(view_.cursor);
  if (!target) return;
  if (!drag_.dragAsked) drag_.anchor = view_.cursor;
  drag_.dragAsked = true;
  DragScrollRequest r;
  r.target = target;
  r.anchor = drag_.anchor;
  r.systemHeld = systemHeld;
  p.dragScrollBegin(r);
}

void Tick::EndDrag() {
  App& a = app_;
  Platform& p = a.platform();
  TqirForm4& title = *a.bar.qirForm4;
  const std::string t = title.Caption();
  const bool titleDragging = mail::Is(t, words::title::Dragging) || mail::Is(t, words::title::DragUp);
  if (!drag_.dragAsked && !titleDragging) return;
  p.dragScrollEnd();
  p.releaseCapture();
  p.setCursorShape(CursorShape::Arrow);
  // The pointer stays where the drag began; where the system moved it all
  // the same, it goes back there.
  // (A step aside first: under Wine the system may believe the pointer
  // is still there and skip the move.)
  if (drag_.dragAsked && OnScreen(drag_.anchor)) {
    p.setCursorPos({drag_.anchor.x + 1, drag_.anchor.y});
    p.setCursorPos(drag_.anchor);
  }
  drag_.dragAsked = false;
  drag_.tapDrag = false;
  // No drag word is left in the title caption, so the next still press is
  // measured again; the badge goes below the screen at height 0.
  title.SetCaption(words::title::Ended);
  if (title.Height() != 0 || title.Shown()) {
    const Rect m = screens::At(view_.monitors, view_.cursor).rect;
    const Rect r = title.ScreenRect();
    title.Place({r.left, m.bottom() + 10, r.width, 0}, title.Dpi(), ZOrder::Keep, swp::NoZOrder);
  }
}

bool Tick::CtrlHeldLong() {
  const std::uint32_t now = app_.platform().tickCount();
  // A hold seen long ago says nothing about the tap now.
  return drag_.ctrlHeldMs > kCtrlTapMaxMs && now - drag_.ctrlUpAt < 3 * kCtrlTapMaxMs;
}

void Tick::TrackCtrlHold() {
  Platform& p = app_.platform();
  const bool down = p.isKeyDown(vk::Control);
  const std::uint32_t now = p.tickCount();
  if (down && !drag_.ctrlSeenDown) {
    drag_.ctrlSeenDown = true;
    drag_.ctrlDownSince = now;
  } else if (!down && drag_.ctrlSeenDown) {
    drag_.ctrlSeenDown = false;
    drag_.ctrlHeldMs = now - drag_.ctrlDownSince;
    drag_.ctrlUpAt = now;
  }
}

}  // namespace sq
