// The command bar's smart-clipboard work: captures on request and after a
// copy, the clipboard gestures of its tick, and pasting an entry back.
#include "app/frame/budget.h"
#include "app/caretinfo.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/smartclip.h"
#include "browser/easyie.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "input/words.h"
#include "platform/lines.h"

namespace sq {

Tqircom::Presentation Tqircom::presentation() const {
  const Rect r = Bounds();
  if (r.width < 100 && r.height <= 30) return Presentation::Widget;
  if (r.width == 180 && r.height == 250) return Presentation::SmartClipboard;
  if (r.width == 400 && r.height == 350) return Presentation::FullBar;
  return Presentation::OwnSize;
}

bool Tqircom::Squeezed() const { return Width() < 20; }

void Tqircom::AlignCaptured(const std::string& text) {
  Tick& tick = app().input.qirinputor->tick();
  int column = tick.CaptureColumn();
  smartclip::Align(text, column, ListBox11, BitBtn2);
  tick.SetCaptureColumn(column);
}

void Tqircom::LineCopyRequest() {
  SetInputCaption(words::cmd::LineCopyAck);
  Panel19.SetCaption(words::clip::Copy);
  app().input.caretinfo->SetCaption(words::caret::CopyLines);
}

void Tqircom::CaptureOnRequest() {
  Platform& p = platform();
  std::string text;
  const smartclip::Read got = smartclip::ReadForCapture(p, text);
  if (got != smartclip::Read::Text) {
    // A private or oversized clipboard is answered once and left alone.
    Panel19.SetCaption(words::cmd::TestAck);
    return;
  }
  if (text == lastCaptured_) return;
  lastCaptured_ = text;
  Panel19.SetCaption(words::cmd::TestAck);
  smartclip::Insert(ListBox2, text);
  p.sleep(20);
  CopyFinisher();
}

void Tqircom::CopyFinisher() {
  Platform& p = platform();
  copyDone_ = 0;
  Panel19.SetCaption(words::clip::Copy);
  SetCaption(words::cmd::CopyOkAck);
  SetInputCaption(words::in::CaptureStage2);
  BitBtn6.SetCaption(words::align::Pending);
  std::string text;
  const bool capturable = smartclip::ReadForCapture(p, text) == smartclip::Read::Text;
  p.sleep(30);
  if (capturable) {
    AlignCaptured(text);
    // The aligned lines go back on the clipboard, each ending in CR LF.
    std::vector<std::string> lines;
    for (int i = 0, n = ListBox11.Count(); i < n; ++i) lines.push_back(ListBox11.Item(i));
    p.setClipboardText(JoinLines(lines, true));
  }
  p.sleep(200);
  SetInputCaption(words::in::CaptureStage3);
  SetInputCaption(words::in::HandledCapture);
}

void Tqircom::CopyCompletion() {
  Platform& p = platform();
  copyDone_ = 0;
  Panel19.SetCaption(words::clip::Copy);
  SetCaption(words::cmd::CopyOkAck);
  SetInputCaption(words::in::CaptureStage2);
  std::string text;
  const bool capturable = smartclip::ReadForCapture(p, text) == smartclip::Read::Text;
  if (capturable) smartclip::Insert(ListBox2, text);
  BitBtn6.SetCaption(words::align::Pending);
  p.sleep(30);
  if (capturable) AlignCaptured(text);
  SetInputCaption(words::in::CaptureStage3);
  if (capturable) {
    Edit1.SetCaption(text);
    if (app().browser.easyie) app().browser.easyie->Edit1.SetCaption(text);
  }
  SetInputCaption(words::in::HandledCapture);
  if (ListBox1.Count() > 0) ListBox1.SetItem(0, words::inhist::CaptureUsed);
}

void Tqircom::ShiftClickCopy() {
  Platform& p = platform();
  Edit1.SetCaption(words::cmd::ShiftClickMark);
  p.mouseEvent(mouseflag::LeftUp, 0, 0, 0);
  p.sleep(20);
  keys::Down(p, vk::Shift);
  p.sleep(10);
  keys::LeftClick(p);
  p.sleep(10);
  keys::Up(p, vk::Shift);
  p.sleep(20);
  keys::Combo(p, vk::Control, 'C');
  p.sleep(300);
}

void Tqircom::WinKeyPaste() {
  Platform& p = platform();
  SetCaption(words::bar::NoMessagePart);
  ListBox8.SetItem(0, words::cmd::WinUpUsed);
  if (!BrowserShown()) {
    const Point at = p.getCursorPos();
    if (Wnd w = p.windowFromPoint({at.x - Scale(30), at.y})) p.setActiveWindow(w);
    keys::Combo(p, vk::Control, 'V');
  } else if (WebBrowser* page =
                 app().browser.easyie ? app().browser.easyie->ActiveBrowser() : nullptr) {
    // A shown browser pastes into its page through the page's control.
    page->execWB(olecmd::Paste, olecmd::DoDefault);
  }
}

// ---- pasting an entry back ----------------------------------------------------------

void Tqircom::ListBox2MouseUp(MouseButton, ShiftState, int, int) {
  const int i = ListBox2.ItemIndex();
  if (i < 0 || i >= ListBox2.Count()) return;
  Platform& p = platform();
  p.setClipboardText(ListBox2.Item(i));
  ActivateAt(LeftOfBar());
  // The input core sends the paste keys into the window left of the bar.
  SetInputCaption(words::in::PasteRequest);
  p.sleep(10);
  KeepOnTop();
}

void Tqircom::ListBox3MouseUp(MouseButton b, ShiftState s, int x, int y) {
  // The letters beside the list paste the list's selected entry, as a
  // release on the list does; the row a letter stands beside does not
  // matter (the wheel and the digits choose the entry).
  ListBox2MouseUp(b, s, x, y);
}

void Tqircom::BitBtn2MouseUp(MouseButton button, ShiftState, int, int) {
  Teasyie* web = app().browser.easyie;
  if (!web) return;
  web->SetLeft(0);
  web->Panel3.SetLeft(-1000);
  SetWidth(0);
  Park();
  if (button == MouseButton::Left) {
    web->Edit1.SetCaption(Edit1.Caption());
    web->Button1Click();
  }
}

void Tqircom::Panel7Click() { Park(); }

}  // namespace sq
