// Pointer chords: the right-button chords, the right press and its menu,
// the right-then-left pointer widget and the right-click replay.
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

void Tick::RightClickReplay() {
  App& a = app_;
  if (!mail::Is(a.input.qirinputor->Caption(), words::in::RightReplay)) return;
  a.bar.qircom->Park();
  a.input.qirinputor->SetCaption(words::in::RightReplayAck);
  keys::RightClick(a.platform());
}

bool Tick::RightChords() {
  App& a = app_;
  Platform& p = a.platform();
  Tqircom& bar = *a.bar.qircom;
  TqirForm3& scroll = *a.bar.qirForm3;
  const std::string word = scroll.Caption();
  const bool down = mail::Starts(word, words::hook::RightDownPrefix);
  const bool up = mail::Starts(word, words::hook::RightUpPrefix);
  if (!down && !up) return false;
  if (down) chords_.rightDownAt = view_.cursor;

  const bool away = !OverBarOrBrowser();
  const bool heldAtRight = Same(chords_.leftHold, chords_.rightPress) && chords_.leftHoldSet;
  if (up && away && heldAtRight) {
    scroll.SetCaption(words::scroll::MyRight);
    bar.Panel14.SetCaption(words::zone::Equal);
  }
  if (down && away && heldAtRight) {
    // Right pressed where the selection ended: copy and offer the paste.
    if (Same(chords_.leftRelease, chords_.rightPress) && chords_.rightPressSet) {
      scroll.SetCaption(words::scroll::MyRight);
      bar.Panel14.SetCaption(words::zone::Dots);
      a.input.qirinputor->SetCaption(words::in::Idle);
      ShowClipPanels();
      bar.Panel14.SetCaption(words::zone::F3);
      if (!a.browser.easyie->Shown()) {
        keys::Combo(p, vk::Control, 'C');
      } else if (WebBrowser* page = BrowserPage()) {
        page->setFocus();
        page->execWB(12, 1);  // copy
      }
      a.browser.lifeform->Panel7.SetCaption(words::life::HintPaste);
      keys::Escape42(p);
      scroll.SetCaption(words::scroll::MyRight);
      p.sleep(20);
      a.input.qirinputor->SetCaption(words::in::CopyDone);
      scroll.SetCaption(words::scroll::MyRight);
      ShowClipWidget(-30, -6);
    }
    return true;
  }
  if (mail::Starts(scroll.Caption(), words::hook::RightUpPrefix) && !drag_.dragResumed) {
    Wnd under = p.windowFromPoint(view_.cursor);
    const bool overMenu = under && p.isChild(a.browser.easyie->Panel3.Handle(), under);
    if (away && !overMenu) {
      if (!Same(view_.cursor, chords_.rightDownAt)) {
        scroll.SetCaption(words::scroll::RightHandled);
        return true;
      }
      // A right press released where it began: count it.
      ++chords_.rightClicks;
      if (BarEdit2Ticks() < chords_.rightClicks) {
        scroll.SetCaption(words::scroll::RightHandled);
        ShowClipPanels();
        chords_.rightClicks = 0;
        return true;
      }
    }
  }
  return false;
}

bool Tick::RightPress() {
  App& a = app_;
  Platform& p = a.platform();
  if (!p.isKeyDown(vk::RButton)) return false;
  Tqircom& bar = *a.bar.qircom;
  if (!OverBar() && !mail::Is(a.bar.qirForm3->Caption(), words::scroll::AutoDrag)) {
    chords_.rightPress = view_.cursor;
    chords_.rightPressSet = true;
    a.relays.rightform->SetCaption(PointWord(words::right::PressPrefix, view_.cursor));
    a.relays.leftform->SetLeft(view_.cursor.x);
    a.relays.leftform->SetTop(view_.cursor.y);
    drag_.tapDrag = false;
    ++chords_.rightHeldTicks;
    if (chords_.rightHeldTicks > kLongRightPress &&
        !mail::Starts(a.input.qirinputor->Caption(), words::in::KeyPrefix)) {
      a.bar.qirForm3->SetCaption(words::scroll::MyRight);
      return true;
    }
  }
  if (!OverBarOrBrowser() && bar.rightrb.Checked()) {
    // The right-button menu: the clip widget at the pointer over a fresh
    // window list.
    FocusUnder(view_.cursor);
    ShowClipWidget(-42, -16);
    bar.Button1Click();
    p.sleep(30);
    keys::Escape42(p);
    BringToFront(TopLevelAt(app_.platform(), {view_.cursor.x, bar.Top() - Px(10)}));
  }
  return false;
}

// The left button held away from the bar: its point is the left hold;
// right then left at the same point shows the pointer widget.
bool Tick::PointerWidget() {
  App& a = app_;
  Platform& p = a.platform();
  Tqircom& bar = *a.bar.qircom;
  Tlifeform& life = *a.browser.lifeform;
  drag_.tapDrag = false;
  chords_.rightHeldTicks = 0;
  chords_.prevLeftHold = chords_.leftHold;
  chords_.leftHold = view_.cursor;
  chords_.leftHoldSet = true;
  a.input.caretinfo->SetCaption(PointWord(words::caret::LeftPosPrefix, view_.cursor));
  if (Same(chords_.leftHold, chords_.rightPress) && chords_.leftHoldSet && !drag_.dragResumed) {
    bar.Panel35.SetCaption(words::chord::Widget);
    bar.Panel4.Hide();
    chords_.leftHold = chords_.prevLeftHold;
    chords_.leftHold.x = 0;
    chords_.leftHoldSet = false;
    FocusUnder(view_.cursor);
    bar.Panel14.SetCaption(words::zone::X);
    a.bar.mousepp->ShowCard(Tmousepp::Card::Pointer);
    bar.Panel27.Show();
    a.relays.rightform->SetCaption("");
    life.Panel7.SetCaption(words::life::HintNetClose);
    if (mail::Is(life.Panel4.Caption(), words::life::CtrlHeld)) bar.Panel14.SetCaption(words::zone::NotY);
    bar.PlaceAtPointer(view_.cursor, -12, -12, 25, 25, ZOrder::TopMost, swp::ShowWindow);
    bar.Show();
    bar.Button1Click();
    p.sleep(30);
    keys::Escape42(p);
    BringToFront(TopLevelAt(app_.platform(), {view_.cursor.x, bar.Top() - Px(10)}));
    return true;
  }
  return false;
}

}  // namespace sq
