// The command bar's 20 ms tick: its steps in a fixed order; a step that
// ends the tick leaves the later ones out.
#include "app/frame/budget.h"
#include "app/caretinfo.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/wheeltipform.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "input/words.h"

namespace sq {

void Tqircom::Timer1Timer() {
  App& a = app();
  // The other windows the steps read all exist once start-up is through.
  if (!a.browser.easyie || !a.bar.wheeltipform || !a.browser.lifeform || !a.bar.qirForm3 ||
      !a.input.qirinputor || !a.input.caretinfo)
    return;
  Platform& p = platform();

  // 1. The pointer.
  const Point at = p.getCursorPos();
  // The pointer widget's click, seen by the tick.
  WatchWidgetButton(at);
  // 2. The wheel tip gives way to a shown browser and the full bar, and
  // otherwise sits on the active window's title bar.
  a.bar.wheeltipform->KeepOnActiveWindow();
  // 3. The life panel's height follows the browser: low while the browser
  // is shown, tall while it is parked, registered again at each change.
  Tlifeform& life = *a.browser.lifeform;
  Teasyie& web = *a.browser.easyie;
  const int lifeHeight = life.Height();
  if (lifeHeight < 1) {
    if (web.Top() != 0) web.SetTop(0);
  } else if (web.Shown() && lifeHeight > 100) {
    life.SetHeight(32);
    life.Button1Click();
  } else if (!web.Shown() && lifeHeight < 100) {
    life.SetHeight(114);
    life.Button1Click();
  }
  // 4. A left press ends any requested mode.
  if (p.isKeyDown(vk::LButton) && !mail::Is(Panel28.Caption(), words::web::CornersOff))
    SetPanel28(words::web::CornersOff);
  // 5. The second click of a cut in right-button mode.
  if (pendingSecondClick_ || mail::Is(Panel35.Caption(), words::cmd::SecondClick)) SecondClick();
  // 6. The clip widget never shows on the full bar.
  if (Height() > 200 && Panel12.Visible()) Panel12.Hide();
  // 7. A menu just beyond the bar's corner closes when the pointer is back.
  MenuGuard(at);
  // 8. The window list's wheel step.
  if (mail::Starts(a.bar.qirForm3->Caption(), words::scroll::WheelPrefix) && ListWheelStep()) {
    press_.seen = ScreenRect();
    return;
  }
  // 9. The line-copy request.
  if (mail::Is(a.input.qirinputor->Caption(), words::cmd::LineCopy)) LineCopyRequest();
  // 10. Capture on request.
  if (mail::Is(Panel19.Caption(), words::clip::Test)) CaptureOnRequest();
  // 11. The window list's fill.
  if (mail::Is(a.bar.qirForm3->Caption(), words::cmd::SetListView) || switcher.FillPending())
    ListFill();
  // 12 and 14. The key history, cut back past its limit.
  const std::string caption = Caption();
  mail::RecordKeyWord(ListBox8, caption);
  // 13.
  if (mail::Is(caption, words::bar::NoMessagePart) && p.isKeyDown(vk::LButton))
    SetCaption(words::cmd::NoMessageLeft);
  // 15. The class under the pointer.
  const std::string cls = p.getClassName(p.windowFromPoint(at)).substr(0, 95);
  if (Panel15.Caption() != cls) Panel15.SetCaption(cls);
  // 16. Every second Ctrl release word: the Shift-click copy.
  if (mail::Is(a.input.qirinputor->Caption(), words::bar::CtrlUp)) {
    SetInputCaption(words::cmd::CtrlUpAck);
    if (++ctrlUps_ >= 2) {
      ctrlUps_ = 0;
      ShiftClickCopy();
    }
  }
  // 17. The Windows key tapped twice: paste.
  const std::string h0 = mail::ItemOr(ListBox8, 0), h2 = mail::ItemOr(ListBox8, 2),
                    h3 = mail::ItemOr(ListBox8, 3);
  auto win = [](const std::string& h) {
    return h == words::bar::WinUp || h == words::bar::WinDown;
  };
  if (h0 == words::bar::WinUp && (win(h2) || win(h3))) WinKeyPaste();
  // 18. Copy completion on the third tick of its word.
  if (mail::Is(Caption(), words::cmd::CopyOk) && ++copyDone_ >= 3) CopyCompletion();
  // 19. The double Ctrl tap marker.
  DoubleCtrlMarker();
  // The hook library's next key word may come.
  p.mailboxSeen(Handle());
  press_.seen = ScreenRect();
}

void Tqircom::SecondClick() {
  Platform& p = platform();
  p.sleep(1000);
  Panel35.SetCaption(words::chord::Widget);
  pendingSecondClick_ = false;
  SetScrollCaption(words::cmd::MyRightSecond);
  keys::LeftClick(p);
}

void Tqircom::MenuGuard(Point at) {
  Platform& p = platform();
  const Rect r = ScreenRect();
  const Wnd beyond = p.windowFromPoint({r.right() + 3, r.bottom() + 3});
  if (!beyond || p.getClassName(beyond) != kPopupMenuClass) return;
  const Wnd under = p.windowFromPoint(at);
  if (under == Handle() || HoldsChild(under)) keys::Escape(p);
}

void Tqircom::DoubleCtrlMarker() {
  if (mail::ItemOr(ListBox8, 0) == words::bar::CtrlUp &&
      mail::ItemOr(ListBox8, 3) == words::bar::CtrlUp &&
      mail::ItemOr(ListBox8, 2) == words::bar::CtrlDown) {
    SetCaption(words::bar::DoubleCtrl);
    ListBox8.SetItem(3, words::cmd::CtrlUpUsed);
  }
}

// ---- the window switcher's list work ----------------------------------------------

bool Tqircom::ListStale() const { return switcher.Stale(); }
void Tqircom::SetListStale() { switcher.SetStale(); }
void Tqircom::ListRebuild() { switcher.Rebuild(); }
void Tqircom::ListFill() { switcher.Fill(); }
bool Tqircom::ListWheelStep() { return switcher.Wheel(); }
void Tqircom::ListCloseSelected() { switcher.CloseSelected(); }

}  // namespace sq
