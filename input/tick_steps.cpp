// The tick's own steps: relays, the caret reset, scroll-mode resets, the
// Z guard, parking of the widgets, the history record and the sibling words.
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

void Tick::Relays() {
  App& a = app_;
  Platform& p = a.platform();
  // The right-press word of rightform goes to the life panel.
  a.browser.lifeform->Panel22.SetCaption(a.relays.rightform->Caption());
  // The pointer, and the DPI of its monitor for the distances of this tick.
  view_.cursor = p.getCursorPos();
  view_.dpi = screens::At(view_.monitors, view_.cursor).dpi;
  TrackCtrlHold();
  // The scroll-mode caption and the class under the pointer to Form2.
  const std::string scroll = a.bar.qirForm3->Caption();
  a.relays.Form2->SetCaption(scroll);
  a.relays.Form2->Panel1.SetCaption(p.getClassName(p.windowFromPoint(view_.cursor)).substr(0, 95));
  // Wheel words to the browser.
  if (mail::Starts(scroll, words::scroll::WheelPrefix))
    a.browser.easyie->Panel42.SetCaption(scroll);
  a.relays.Form1->Edit1.SetCaption(scroll);
}

void Tick::LeftPressAndCaretReset() {
  Platform& p = app_.platform();
  if (p.isKeyDown(vk::LButton)) view_.leftPress = view_.cursor;
  const int dy = view_.cursor.y - view_.leftPress.y;
  if (dy <= Px(kCaretBand) && -dy <= Px(kCaretBand)) {
    if (!app_.browser.lifeform->Caption().empty()) app_.browser.lifeform->SetCaption("");
    if (app_.input.caretinfo->Height() != 0) app_.input.caretinfo->SetHeight(0);
  }
}

void Tick::ScrollModeResets() {
  App& a = app_;
  Platform& p = a.platform();
  Control& marks = a.input.caretinfo->ListBox3;
  if (marks.Count() < 2) return;
  if (mail::Is(marks.Item(1), words::caret::ScrollReset)) {
    a.bar.qirForm3->SetCaption(words::scroll::Text);
    marks.SetItem(1, words::caret::ResetHandled);
    keys::LeftClick(p);
  }
  Control& start = a.bar.qirForm3->Panel4;
  if (start.Visible() && mail::Starts(marks.Item(1), words::caret::StopDragPrefix)) {
    marks.SetItem(1, words::caret::ResetHandled);
    start.Hide();
    if (OnScreen({start.Left(), start.Top()})) p.setCursorPos({start.Left(), start.Top()});
    a.bar.qirForm3->SetCaption(words::scroll::Restarted);
  }
}

void Tick::ParkWidgets() {
  App& a = app_;
  Platform& p = a.platform();
  Tqircom& bar = *a.bar.qircom;
  // The browser's menu panel goes away once the pointer has left it.
  if (mail::Is(a.bar.qirForm3->Caption(), words::scroll::MenuPanel)) {
    Wnd under = p.windowFromPoint(view_.cursor);
    Control& menu = a.browser.easyie->Panel3;
    if (!(under && p.isChild(menu.Handle(), under))) menu.Hide();
  }
  using Presentation = Tqircom::Presentation;
  const Presentation look = bar.presentation();
  // The smart clipboard's panel belongs to its own presentation only.
  if (look != Presentation::SmartClipboard && bar.Panel4.Visible()) bar.Panel4.Hide();
  const bool shown = bar.Shown();
  if (look == Presentation::FullBar && shown && !OverBar()) bar.Park();
  if (look == Presentation::Widget && shown && !OverBar()) {
    // The pointer left the clip widget: let go of whatever it was doing.
    if (p.isKeyDown(vk::LButton)) p.mouseEvent(mouseflag::LeftUp, 0, 0, 0);
    if (p.isKeyDown(vk::RButton)) {
      BringToFront(TopLevelAt(app_.platform(), {view_.cursor.x - Px(8), view_.cursor.y}));
      keys::Escape(p);
      keys::Escape(p);
      bar.Park();
      p.mouseEvent(mouseflag::RightUp, 0, 0, 0);
    }
    bar.Park();
  }
}

void Tick::LeftformOverBar() {
  Tleftform& left = *app_.relays.leftform;
  if (OverBar() && left.Left() != 0) {
    left.SetLeft(0);
    left.SetTop(0);
  }
}

void Tick::HideMainForm() {
  Form* main = app_.FormMainForm();
  if (main && main->Visible()) main->Hide();
}

void Tick::RecordInputCaption() {
  App& a = app_;
  const std::string cap = a.input.qirinputor->Caption();
  mail::RecordInputWord(a.bar.qircom->ListBox1, cap);
  mail::RecordInputWord(a.browser.easyie->ListBox11, cap);
}

void Tick::SiblingWords() {
  App& a = app_;
  Platform& p = a.platform();
  Wnd w = p.findWindow("TqirForm3");
  if (!w) return;
  const std::string word = p.getWindowText(w);
  if (mail::Is(word, words::scroll::GoHelpWeb)) {
    a.browser.easyie->SetLeft(0);
    BringToFront(a.browser.easyie->Handle());
    a.browser.easyie->Button21Click();
  } else if (mail::Is(word, words::scroll::GoWeb) && !reading_.gowebOnce) {
    reading_.gowebOnce = true;
    a.browser.easyie->SetLeft(0);
    BringToFront(a.browser.easyie->Handle());
    Wnd sibling = p.findWindow("TqirF1");
    if (sibling) {
      p.bringWindowToTop(sibling);
      p.setActiveWindow(sibling);
    }
  }
}

void Tick::LeftDownParkBar() {
  App& a = app_;
  Platform& p = a.platform();
  if (!p.isKeyDown(vk::LButton)) return;
  Wnd under = p.windowFromPoint(view_.cursor);
  if (under && p.isChild(a.bar.qirForm3->Handle(), under)) return;
  if (a.browser.easyie->Shown()) return;
  Tqircom& bar = *a.bar.qircom;
  if (bar.Squeezed() && bar.Shown()) bar.ParkAt(-1000);
  reading_.gowebOnce = false;
}

}  // namespace sq
