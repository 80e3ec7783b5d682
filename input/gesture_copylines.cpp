// Copy-lines and capture: selection words, the Alt-then-Windows selection,
// the copy-lines gesture and its stage, and the capture after a copy.
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

void Tick::SelectionWords() {
  App& a = app_;
  Platform& p = a.platform();
  Tcaretinfo& caret = *a.input.caretinfo;
  // A selection finished outside the system: cut it.
  if (mail::Starts(caret.Caption(), words::caret::SelectDonePrefix)) {
    caret.SetCaption(words::caret::SelectHandled);
    a.bar.qirForm3->SetCaption(words::scroll::Text);
    a.bar.qircom->Park();
    keys::Down(p, vk::Shift);
    keys::Down(p, vk::Delete);
    keys::Up(p, vk::Delete);
    keys::Up(p, vk::Shift);
  }
  if (p.isKeyDown(vk::LButton) && mail::Is(caret.Caption(), words::caret::Select))
    caret.SetCaption(words::caret::LeftExit);
  if (p.isKeyDown(vk::RButton) && mail::Is(caret.Caption(), words::caret::Select))
    caret.SetCaption(words::caret::RightExit);
  if (lines_.selectArmed && mail::Starts(a.bar.qirForm3->Caption(), words::hook::LeftDownPrefix) &&
      !mail::Has(caret.Caption(), words::caret::Select)) {
    caret.SetCaption(words::caret::MouseDown);
    if (lines_.selectOnPress) {
      caret.SetCaption(words::caret::Select);
      lines_.selectOnPress = false;
    }
    lines_.selectArmed = false;
  }
}

bool Tick::KeyHistoryGestures() {
  App& a = app_;
  Platform& p = a.platform();
  Tqircom& bar = *a.bar.qircom;
  Control& hist = bar.ListBox8;
  const std::string h0 = mail::ItemOr(hist, 0), h1 = mail::ItemOr(hist, 1),
                    h2 = mail::ItemOr(hist, 2), h3 = mail::ItemOr(hist, 3);
  // Alt tapped twice: paste.
  if (h0 == words::bar::AltUp && h1 == words::bar::AltDown && h2 == words::bar::AltUp && h3 == words::bar::AltDown) {
    for (int i = 0; i < 4; ++i) hist.SetItem(i, words::bar::PatternUsed);
    hist.Insert(0, words::bar::PasteMark);
    keys::Combo(p, vk::Control, 'V');
    return true;
  }
  // Alt then the Windows key: select from the caret to the pointer and copy.
  if (h0 == words::bar::WinDown && h1 == words::bar::AltUp && h2 == words::bar::AltDown) {
    hist.SetItem(0, words::bar::SelectMark);
    bar.Panel35.SetCaption(words::chord::Select);
    keys::Down(p, vk::Shift);
    p.sleep(10);
    lines_.selectArmed = true;
    keys::LeftClick(p);
    keys::Up(p, vk::Shift);
    p.sleep(10);
    keys::Combo(p, vk::Control, 'C');
    p.sleep(200);
    a.input.qirinputor->Panel4.SetLeft(0);
    a.input.qirinputor->Panel4.SetTop(0);
    ShowClipWidget(40, 20);
    if (bar.Shown()) p.setCursorPos({bar.Left() + bar.Scale(30), bar.Top() + bar.Scale(8)});
    bar.Panel14.SetCaption(mail::Is(a.browser.lifeform->Panel4.Caption(), words::life::CtrlHeld)
                               ? words::zone::CutMark
                               : words::zone::F3);
    bar.Panel12.Show();
    a.input.caretinfo->SetCaption(words::caret::Select);
    return true;
  }
  return false;
}

bool Tick::CopyLinesStage() {
  if (!lines_.stageWaiting) return false;
  Platform& p = app_.platform();
  // A text past the capture budget is not copied out of the clipboard; it
  // differs from every text the stage saved, all of which are within it.
  std::string clip;
  const bool small = p.getClipboardTextUpTo(budget::kCaptureBytes, clip);
  if (!small || clip != lines_.lastLineCopy) {
    // The line copy arrived: extend the selection over the counted lines.
    lines_.stageWaiting = false;
    lines_.stageTicks = 0;
    lines_.lastLineCopy = clip;
    keys::Press(p, vk::Home);
    keys::Down(p, vk::Shift);
    for (int i = 0; i < lines_.stageLines; ++i) keys::Press(p, vk::Down);
    keys::Up(p, vk::Shift);
    keys::Combo(p, vk::Control, 'C');
    return true;
  }
  if (++lines_.stageTicks >= kClipboardWait) {
    lines_.stageWaiting = false;
    lines_.stageTicks = 0;
  }
  return false;
}

bool Tick::CopyLinesGesture() {
  App& a = app_;
  Platform& p = a.platform();
  Tqircom& bar = *a.bar.qircom;
  if (mail::Starts(a.bar.qirForm3->Caption(), words::hook::LeftDownPrefix)) {
    lines_.justCaptured = false;
    // A left press ends whatever key word is pending, but not one that no
    // tick has looked at yet: that one is answered first, and a later tick
    // that still finds the press does this.
    if (!InputPending()) a.input.qirinputor->SetCaption(words::in::HandledLeft);
  }
  if (p.isKeyDown(vk::LButton)) lines_.justCaptured = false;
  if (!(lines_.justCaptured || mail::Is(bar.Panel19.Caption(), words::clip::Copy))) return false;
  if (!mail::Is(a.input.caretinfo->Caption(), words::caret::CopyLines)) return false;

  lines_.justCaptured = false;
  lines_.selectOnPress = true;
  a.input.caretinfo->SetCaption(words::caret::CopyLinesHandled);
  bar.Panel19.SetCaption(words::clip::CopyHandled);
  if (bar.ListBox1.Count() > 0) bar.ListBox1.SetItem(0, words::in::HandledEscape);
  a.input.qirinputor->SetCaption(words::in::HandledEscape);
  const int lines = bar.ListBox11.Count();
  // Click just right of the drag anchor and at it to put the caret there.
  // An anchor never set (x 0) moves nothing: both clicks land at the pointer.
  const Point right{drag_.anchor.x + Px(20), drag_.anchor.y};
  if (drag_.anchor.x != 0 && OnScreen(drag_.anchor)) p.setCursorPos(right);
  keys::LeftClick(p, true);
  if (drag_.anchor.x != 0 && OnScreen(drag_.anchor)) p.setCursorPos(drag_.anchor);
  keys::LeftClick(p, true);
  // Select to the start of the line and copy it.
  keys::Down(p, vk::Shift);
  keys::Press(p, vk::Home);
  keys::Up(p, vk::Shift);
  keys::Combo(p, vk::Control, 'C');
  lines_.stageWaiting = true;
  lines_.stageTicks = 0;
  lines_.stageLines = lines;
  // S1 is left as the last stage set it: the stage fires on the first tick
  // whose clipboard differs from the text the previous line copy took.
  a.input.caretinfo->SetCaption(words::caret::SelectCopy);
  return true;
}

void Tick::CaptureAfterCopy() {
  App& a = app_;
  Platform& p = a.platform();
  Tqircom& bar = *a.bar.qircom;
  Tlifeform& life = *a.browser.lifeform;
  // Once seen, the capture counts on by itself, whatever the input caption
  // reads by then: a key released right after the copy, or the input
  // method's idle word, no longer keeps the copy out of the smart
  // clipboard. The caption's words below only retire the copy word, so
  // they are written only while it is there.
  const bool word = mail::Is(a.input.qirinputor->Caption(), words::in::CopyDone);
  ++lines_.captureTicks;
  if (mail::Starts(life.Panel7.Caption(), words::life::NearLeftPrefix)) life.leftselect.SetCaption(words::life::LeftExit);
  if (lines_.captureTicks <= 2) return;

  // Third tick: the copied text enters the smart clipboard, aligned. A
  // text past the capture budget stays on the clipboard only: the list, the
  // alignment and the captured-text edits keep what they hold.
  lines_.captureTicks = 0;
  if (word) a.input.qirinputor->SetCaption(words::in::CaptureStage2);
  std::string text;
  const bool capturable = ReadCapturable(text);
  if (capturable) InsertSmartClipboard(text);
  life.Panel2.SetCaption(words::life::Clip3);
  life.Panel2.SetCaption(words::life::Clip4);
  bar.BitBtn6.SetCaption(words::align::Pending);
  p.sleep(30);
  if (capturable) smartclip::Align(text, lines_.captureColumn, bar.ListBox11, bar.BitBtn2);
  if (word) a.input.qirinputor->SetCaption(words::in::CaptureStage3);
  if (capturable) {
    bar.Edit1.SetCaption(text);
    a.browser.easyie->Edit1.SetCaption(text);
  }
  if (word) {
    a.input.qirinputor->SetCaption(words::in::HandledCapture);
    if (bar.ListBox1.Count() > 0) bar.ListBox1.SetItem(0, words::inhist::CaptureUsed);
  }
  life.Panel2.SetCaption(words::life::ClipOk);
  lines_.justCaptured = true;
}

}  // namespace sq
