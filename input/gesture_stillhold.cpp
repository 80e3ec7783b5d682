// The left button held: its release, and the still test that starts
// drag-scrolling.
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

bool Tick::LeftRelease() {
  App& a = app_;
  if (a.platform().isKeyDown(vk::LButton)) return false;
  still_.leftWasUp = true;
  still_.leftUpAt = a.platform().tickCount();
  if (still_.releaseEndsSelection) {
    chords_.leftRelease = view_.cursor;
    still_.releaseEndsSelection = false;
    if (!drag_.tapDrag &&
        mail::Starts(a.browser.lifeform->Panel7.Caption(), words::life::NearLeftPrefix))
      a.browser.lifeform->leftselect.SetCaption(words::life::LeftExit);
    return true;
  }
  if (!mail::Is(a.browser.lifeform->Panel12.Caption(), words::life::NoRelease))
    a.browser.lifeform->Panel12.SetCaption(words::life::NoRelease);
  return false;
}

bool Tick::LeftHold() {
  App& a = app_;
  Platform& p = a.platform();
  if (!p.isKeyDown(vk::LButton)) return false;
  if (OverBar() || mail::Is(a.bar.qirForm3->Caption(), words::scroll::AutoDrag)) return false;
  Tlifeform& life = *a.browser.lifeform;

  if (PointerWidget()) return true;

  // The still test.
  life.leftdownmess.SetCaption(words::trace::LeftDownPrefix + std::to_string(still_.ticks));
  const std::string t = a.bar.qirForm4->Caption();
  const bool dragging = mail::Is(t, words::title::Dragging) || mail::Is(t, words::title::KeyScroll) || mail::Is(t, words::title::DragUp);
  if (!dragging) {
    Control& anchor = a.input.qirinputor->oldcurpos;
    const std::uint32_t now = p.tickCount();
    if (still_.leftWasUp) {
      // First tick of a new press: the count starts over from here. The
      // press came after the last tick that saw the button up, at most a
      // tick's interval ago as far as this tick can tell.
      still_.leftWasUp = false;
      still_.ticks = 0;
      still_.ms =
          std::min<std::uint32_t>(now - still_.leftUpAt, a.input.qirinputor->Timer1.Interval());
      still_.lastStillAt = now;
      still_.broken = false;
      still_.releaseEndsSelection = false;
      anchor.SetLeft(view_.cursor.x);
      anchor.SetTop(view_.cursor.y);
    } else if (Same({anchor.Left(), anchor.Top()}, view_.cursor)) {
      ++still_.ticks;
      if (!still_.broken) still_.ms += now - still_.lastStillAt;
      still_.broken = false;
      still_.lastStillAt = now;
    } else {
      // Moved: the time around a tick away from the press point does not
      // count, so a shaking hand is no still one.
      still_.broken = true;
      still_.releaseEndsSelection = true;
    }
  }
  if (HeldStillLongEnough() && !mail::Starts(a.input.qirinputor->Caption(), words::in::KeyPrefix) &&
      UserHoldsLeft()) {
    // Held still long enough (by the user's hand: the program's own press
    // never starts a drag): the drag starts here.
    BeginDrag(false);
    p.setCapture(p.windowFromPoint(view_.cursor));
    p.setCursorShape(CursorShape::Cross);
    lines_.justCaptured = false;
    a.bar.qirForm3->Panel1.SetCaption("0");
    a.bar.qirForm4->PlaceAtPointer(view_.cursor, -52, -40, 100, 27, ZOrder::TopMost,
                                   swp::ShowWindow);
    a.bar.qirForm4->Show();
  }
  return false;
}

bool Tick::HeldStillLongEnough() {
  const int ms = app_.shell.wrpyreadpanel->LeftHoldMs();
  return still_.ticks > 0 && static_cast<std::int64_t>(still_.ms) >= ms;
}

}  // namespace sq
