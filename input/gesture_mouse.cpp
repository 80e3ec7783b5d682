// Mouse gestures of the tick: the right-button chords, the right press and
// its menu, the right-then-left pointer widget, the title-window words, the
// Ctrl tap, drag stops and restarts, the left release and the still test
// that starts drag-scrolling.
#include <string>

#include "app/app.h"
#include "app/caretinfo.h"
#include "app/relays.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/qirform4.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "input/tick.h"

namespace sq {

namespace {
constexpr int kTitleListLimit = 100;

std::string PointWord(const char* prefix, Point pt) {
  return prefix + std::to_string(pt.x) + words::hook::PointSeparator + std::to_string(pt.y);
}

// A drag runs on the hook thread, or the program's request for it has not
// reached that thread yet (it may still refuse it).
bool DragLives(const DragScrollState& s) { return s.active || s.pending; }
}  // namespace

bool Tick::RightChords() {
  App& a = app_;
  Platform& p = a.platform();
  Tqircom& bar = *a.qircom;
  TqirForm3& scroll = *a.qirForm3;
  const std::string word = scroll.Caption();
  const bool down = mail::Starts(word, words::hook::RightDownPrefix);
  const bool up = mail::Starts(word, words::hook::RightUpPrefix);
  if (!down && !up) return false;
  if (down) s_.rightdnPoint = s_.cursor;

  const bool away = !OverBarOrBrowser();
  const bool heldAtRight = Same(s_.leftHold, s_.rightPress) && s_.leftHoldSet;
  if (up && away && heldAtRight) {
    scroll.SetCaption(words::scroll::MyRight);
    bar.Panel14.SetCaption(words::zone::Equal);
  }
  if (down && away && heldAtRight) {
    // Right pressed where the selection ended: copy and offer the paste.
    if (Same(s_.leftRelease, s_.rightPress) && s_.rightPressSet) {
      scroll.SetCaption(words::scroll::MyRight);
      bar.Panel14.SetCaption(words::zone::Dots);
      a.qirinputor->SetCaption(words::in::Idle);
      ShowClipPanels();
      bar.Panel14.SetCaption(words::zone::F3);
      if (!a.easyie->Shown()) {
        keys::Combo(p, vk::Control, 'C');
      } else if (WebBrowser* page = BrowserPage()) {
        page->setFocus();
        page->execWB(12, 1);  // copy
      }
      a.lifeform->Panel7.SetCaption(words::life::HintPaste);
      keys::Escape42(p);
      scroll.SetCaption(words::scroll::MyRight);
      p.sleep(20);
      a.qirinputor->SetCaption(words::in::CopyDone);
      scroll.SetCaption(words::scroll::MyRight);
      ShowClipWidget(-30, -6);
    }
    return true;
  }
  if (mail::Starts(scroll.Caption(), words::hook::RightUpPrefix) && !s_.dragActive) {
    Wnd under = p.windowFromPoint(s_.cursor);
    const bool overMenu = under && p.isChild(a.easyie->Panel3.Handle(), under);
    if (away && !overMenu) {
      if (!Same(s_.cursor, s_.rightdnPoint)) {
        scroll.SetCaption(words::scroll::RightHandled);
        return true;
      }
      // A right press released where it began: count it.
      ++s_.rightReleaseCount;
      if (BarEdit2Ticks() < s_.rightReleaseCount) {
        scroll.SetCaption(words::scroll::RightHandled);
        ShowClipPanels();
        s_.rightReleaseCount = 0;
        return true;
      }
    }
  }
  return false;
}

void Tick::TitleWordsAndCtrlTap() {
  App& a = app_;
  Platform& p = a.platform();
  Tqircom& bar = *a.qircom;
  TqirForm4& title = *a.qirForm4;
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
      !mail::Is(bar.Caption(), words::bar::DoubleCtrl) && !s_.ctrlDrag &&
      !a.wrpyreadpanel->lctrl.Checked()) {
    if (CtrlHeldLong()) {
      // Ctrl was held, not tapped: no drag, whatever the life panel counted;
      // the count of this hold is used up, or the next holds would add to it
      // and a later tap be taken for a hold.
      hist.SetItem(0, words::bar::CtrlHeldMark);
      a.lifeform->Panel9.SetCaption("0");
    } else if (LeadingInt(a.lifeform->Panel9.Caption()) < 11) {
      // A short tap: press the left button for the user and drag.
      s_.ctrlDrag = true;
      hist.SetItem(0, words::bar::CtrlTapMark);
      s_.dragAnchor = s_.cursor;
      title.SetCaption(words::title::Dragging);
      p.sleep(200);
      p.mouseEvent(mouseflag::LeftUp, 0, 0, 0);
      p.mouseEvent(mouseflag::LeftDown, 0, 0, 0);
      BeginDrag(true);
    } else {
      // Ctrl was held long: give it back as held.
      hist.SetItem(0, words::bar::CtrlHeldMark);
      a.lifeform->Panel9.SetCaption("0");
      keys::Down(p, vk::Control);
      bar.Button3.SetCaption(words::trace::CtrlHeld);
    }
  }
  if (mail::Is(a.qirinputor->Caption(), words::in::ModeRequest)) a.qirinputor->SetCaption(words::in::ModeAck);
  bar.inputcap.SetCaption(a.qirinputor->Caption());
}

bool Tick::DragStops() {
  App& a = app_;
  Platform& p = a.platform();
  TqirForm3& scroll = *a.qirForm3;
  // A drag the hook thread refused (the user's release reached it before
  // the request did) or ended without a stop word for this tick: wound up,
  // so no badge, capture or cross is left and the next drag starts from
  // its own press point.
  if (s_.dragRunning && !DragLives(p.dragScrollState())) EndDrag();
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
    s_.wheelStopSeen.clear();
  } else if (mail::Has(word, words::scroll::WheelPart) && word == s_.wheelStopSeen) {
    // A wheel word stays as written; it was answered when it arrived.
  } else {
    if (mail::Has(word, words::scroll::WheelPart)) s_.wheelStopSeen = word;
    else scroll.SetCaption(words::scroll::StopHandled);
    // A key word that no tick has looked at yet is answered, not ended.
    if (!InputPending()) a.qirinputor->SetCaption(words::in::HandledLeft);
    s_.rightReleaseCount = 0;
    s_.zGuard = false;
    if (s_.dragActive) {
      s_.dragActive = false;
      if (!DragLives(p.dragScrollState())) EndDrag();
      return true;
    }
    scroll.Park();
    // Only a button the user still holds goes on dragging: after a release
    // the program would otherwise press the button by itself.
    const bool restart = HeldStillLongEnough() && !a.wrpyreadpanel->lleft.Checked() &&
                         UserHoldsLeft();
    s_.stillCount = 0;
    s_.stillMs = 0;
    if (!restart && !DragLives(p.dragScrollState())) EndDrag();
    if (restart) {
      // Still held long enough: the drag goes on from here.
      s_.rightHoldCount = 0;
      s_.captureFlag = false;
      a.qircom->Park();
      scroll.Hide();
      a.qirinputor->SetCaption(words::in::HandledDrag);
      a.qirForm4->SetCaption(words::title::Dragging);
      s_.dragAnchor = s_.cursor;
      p.sleep(200);
      if (!UserHoldsLeft()) {
        // Let go while the tick slept: nothing to press again.
        EndDrag();
      } else {
        s_.dragActive = true;
        p.mouseEvent(mouseflag::LeftUp, 0, 0, 0);
        p.mouseEvent(mouseflag::LeftDown, 0, 0, 0);
        BeginDrag(false);
      }
    }
  }
  if (mail::Starts(scroll.Caption(), words::hook::RightUpPrefix)) scroll.SetCaption(words::scroll::RightUpHandled);
  return false;
}

bool Tick::RightPress() {
  App& a = app_;
  Platform& p = a.platform();
  if (!p.isKeyDown(vk::RButton)) return false;
  Tqircom& bar = *a.qircom;
  if (!OverBar() && !mail::Is(a.qirForm3->Caption(), words::scroll::AutoDrag)) {
    s_.rightPress = s_.cursor;
    s_.rightPressSet = true;
    a.rightform->SetCaption(PointWord(words::right::PressPrefix, s_.cursor));
    a.leftform->SetLeft(s_.cursor.x);
    a.leftform->SetTop(s_.cursor.y);
    s_.ctrlDrag = false;
    ++s_.rightHoldCount;
    if (s_.rightHoldCount > kLongRightPress && !mail::Starts(a.qirinputor->Caption(), words::in::KeyPrefix)) {
      a.qirForm3->SetCaption(words::scroll::MyRight);
      return true;
    }
  }
  if (!OverBarOrBrowser() && bar.rightrb.Checked()) {
    // The right-button menu: the clip widget at the pointer over a fresh
    // window list.
    FocusUnder(s_.cursor);
    ShowClipWidget(-42, -16);
    bar.Button1Click();
    p.sleep(30);
    keys::Escape42(p);
    BringToFront(TopWindowAt({s_.cursor.x, bar.Top() - Px(10)}));
  }
  return false;
}

bool Tick::LeftRelease() {
  App& a = app_;
  if (a.platform().isKeyDown(vk::LButton)) return false;
  s_.leftWasUp = true;
  s_.leftUpAt = a.platform().tickCount();
  if (s_.releaseArmed) {
    s_.leftRelease = s_.cursor;
    s_.releaseArmed = false;
    if (!s_.ctrlDrag && mail::Starts(a.lifeform->Panel7.Caption(), words::life::NearLeftPrefix))
      a.lifeform->leftselect.SetCaption(words::life::LeftExit);
    return true;
  }
  if (!mail::Is(a.lifeform->Panel12.Caption(), words::life::NoRelease)) a.lifeform->Panel12.SetCaption(words::life::NoRelease);
  return false;
}

bool Tick::LeftHold() {
  App& a = app_;
  Platform& p = a.platform();
  if (!p.isKeyDown(vk::LButton)) return false;
  if (OverBar() || mail::Is(a.qirForm3->Caption(), words::scroll::AutoDrag)) return false;
  Tqircom& bar = *a.qircom;
  Tlifeform& life = *a.lifeform;

  // Right then left at the same point: the pointer widget.
  s_.ctrlDrag = false;
  s_.rightHoldCount = 0;
  s_.prevLeftHold = s_.leftHold;
  s_.leftHold = s_.cursor;
  s_.leftHoldSet = true;
  a.caretinfo->SetCaption(PointWord(words::caret::LeftPosPrefix, s_.cursor));
  if (Same(s_.leftHold, s_.rightPress) && s_.leftHoldSet && !s_.dragActive) {
    bar.Panel35.SetCaption(words::chord::Widget);
    bar.Panel4.Hide();
    s_.leftHold = s_.prevLeftHold;
    s_.leftHold.x = 0;
    s_.leftHoldSet = false;
    FocusUnder(s_.cursor);
    bar.Panel14.SetCaption(words::zone::X);
    a.mousepp->ShowCard(Tmousepp::Card::Pointer);
    bar.Panel27.Show();
    a.rightform->SetCaption("");
    life.Panel7.SetCaption(words::life::HintNetClose);
    if (mail::Is(life.Panel4.Caption(), words::life::CtrlHeld)) bar.Panel14.SetCaption(words::zone::NotY);
    bar.PlaceAtPointer(s_.cursor, -12, -12, 25, 25, ZOrder::TopMost, swp::ShowWindow);
    bar.Show();
    bar.Button1Click();
    p.sleep(30);
    keys::Escape42(p);
    BringToFront(TopWindowAt({s_.cursor.x, bar.Top() - Px(10)}));
    return true;
  }

  // The still test.
  life.leftdownmess.SetCaption(words::trace::LeftDownPrefix + std::to_string(s_.stillCount));
  const std::string t = a.qirForm4->Caption();
  const bool dragging = mail::Is(t, words::title::Dragging) || mail::Is(t, words::title::KeyScroll) || mail::Is(t, words::title::DragUp);
  if (!dragging) {
    Control& anchor = a.qirinputor->oldcurpos;
    const std::uint32_t now = p.tickCount();
    if (s_.leftWasUp) {
      // First tick of a new press: the count starts over from here. The
      // press came after the last tick that saw the button up, at most a
      // tick's interval ago as far as this tick can tell.
      s_.leftWasUp = false;
      s_.stillCount = 0;
      s_.stillMs = std::min<std::uint32_t>(now - s_.leftUpAt, a.qirinputor->Timer1.Interval());
      s_.stillAt = now;
      s_.stillBroken = false;
      s_.releaseArmed = false;
      anchor.SetLeft(s_.cursor.x);
      anchor.SetTop(s_.cursor.y);
    } else if (Same({anchor.Left(), anchor.Top()}, s_.cursor)) {
      if (s_.stillCount < 20) {
        s_.stillX[static_cast<std::size_t>(s_.stillCount)] = s_.cursor.x;
        s_.stillY[static_cast<std::size_t>(s_.stillCount)] = s_.cursor.y;
      }
      ++s_.stillCount;
      if (!s_.stillBroken) s_.stillMs += now - s_.stillAt;
      s_.stillBroken = false;
      s_.stillAt = now;
    } else {
      // Moved: the time around a tick away from the press point does not
      // count, so a shaking hand is no still one.
      s_.stillBroken = true;
      s_.releaseArmed = true;
    }
  }
  if (HeldStillLongEnough() && !mail::Starts(a.qirinputor->Caption(), words::in::KeyPrefix) &&
      UserHoldsLeft()) {
    // Held still long enough (by the user's hand: the program's own press
    // never starts a drag): the drag starts here.
    BeginDrag(false);
    p.setCapture(p.windowFromPoint(s_.cursor));
    p.setCursorShape(CursorShape::Cross);
    s_.captureFlag = false;
    a.qirForm3->Panel1.SetCaption("0");
    a.qirForm4->PlaceAtPointer(s_.cursor, -52, -40, 100, 27, ZOrder::TopMost, swp::ShowWindow);
    a.qirForm4->Show();
  }
  return false;
}

}  // namespace sq
