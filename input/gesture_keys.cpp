// Keyboard gestures of the tick: the Z guard, the paste request and the
// paste of a smart-clipboard entry by digit, the patterns of the input-word history,
// the tracking of the pinyin input method's windows with the semicolon
// toggle, and the keyboard words the hook library writes into the input
// caption.
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
const char* const kCompositionClass = "UNISPIM_COMPCLS";
const char* const kStatusClass = "UNISPIM_STATUSCLS";
constexpr int kClassMax = 95;
constexpr int kCaptionMax = 110;

void SetIfChanged(Control& c, const std::string& s) {
  if (c.Caption() != s) c.SetCaption(s);
}
}  // namespace

bool Tick::ZGuard() {
  if (keys_.zGuard) return false;
  if (!mail::Starts(app_.input.qirinputor->Caption(), words::in::KeyPrefix)) return false;
  if (!app_.platform().isKeyDown('Z')) return false;
  keys_.zGuard = true;
  return true;
}

bool Tick::PasteRequest() {
  App& a = app_;
  Platform& p = a.platform();
  if (!mail::Is(a.input.qirinputor->Caption(), words::in::PasteRequest)) return false;
  Tqircom& bar = *a.bar.qircom;
  a.input.qirinputor->SetCaption(words::in::PasteDone);
  a.bar.qirForm3->SetCaption(words::scroll::PasteDone);
  bar.Panel18.SetCaption(words::trace::CtrlV);
  a.browser.easyie->ListBox11.Insert(0, words::in::PasteStart);
  p.sleep(10);
  if (!a.browser.easyie->Shown()) {
    // Paste into the window just left of the bar.
    const Point at{bar.Left() - bar.Scale(2), bar.Top()};
    BringToFront(TopLevelAt(app_.platform(), at));
    if (Wnd w = p.windowFromPoint(at)) p.setActiveWindow(w);
    keys::Combo(p, vk::Control, 'V');
  } else if (WebBrowser* page = BrowserPage()) {
    page->execWB(13, 1);  // paste
  }
  return true;
}

void Tick::PasteByDigit() {
  App& a = app_;
  const std::string cap = a.input.qirinputor->Caption();
  if (cap.size() < 18) return;
  const std::string code = cap.substr(16, 2);
  int index = -1;
  if (code == "48") index = 9;
  else if (code[0] == '4' && code[1] == '9') index = 0;
  else if (code[0] == '5' && code[1] >= '0' && code[1] <= '7') index = code[1] - '0' + 1;
  if (index < 0) return;
  Control& list = a.bar.qircom->ListBox2;
  // A digit beyond the list chooses nothing.
  if (index >= list.Count()) return;
  const std::string entry = list.Item(index);
  a.platform().setClipboardText(entry);
  keys_.listTextSet = true;
  keys_.listText = entry;
  a.input.qirinputor->SetCaption(words::in::PasteRequest);
  a.bar.qircom->Park();
}

void Tick::InputHistoryPatterns() {
  App& a = app_;
  Platform& p = a.platform();
  Tqirinputor& in = *a.input.qirinputor;
  Tqircom& bar = *a.bar.qircom;
  Control& hist = bar.ListBox1;
  auto item = [&hist](int i) { return mail::ItemOr(hist, i); };

  // C released after Ctrl+C: a copy was seen.
  if (item(0) == words::in::ReleasedC && item(1) == words::in::KeyCtrlC) {
    hist.SetItem(0, words::inhist::ReleasedCUsed);
    in.SetCaption(words::in::CopySeen1);
  }
  // Ctrl pressed again right after Ctrl+C: copy once more and capture.
  if (item(0) == words::in::KeyCtrl && item(1) == words::in::KeyCtrlC) {
    in.SetCaption(words::in::CopyAgain);
    keys::Down(p, vk::Control);
    p.sleep(10);
    keys::Press(p, 'C');
    p.sleep(10);
    keys::Up(p, vk::Control);
    p.sleep(20);
    in.SetCaption(words::in::CopyDone);
    keys::Press(p, vk::Left);
    in.SetCaption(words::in::CopyDone);
  }
  // Shift and a digit: paste an earlier copied text.
  if (mail::Starts(in.Caption(), words::in::DigitPrefix)) PasteByDigit();
  // Shift pressed while Alt is held: hand Shift back as held.
  if (mail::Is(in.Caption(), words::in::KeyAltShift)) {
    in.SetCaption(words::in::AltShiftAck);
    keys::Down(p, vk::Shift);
  }
  // Diagnostic: the first window in z-order.
  if (Wnd top = p.getTopWindow()) {
    SetIfChanged(bar.Panel3, p.getWindowText(top).substr(0, kCaptionMax) + "//" +
                                 p.getClassName(top).substr(0, kClassMax));
  }
  // Windows key held after its release was recorded.
  if (p.isKeyDown(vk::LWin) && item(0) == words::in::ReleasedWin) {
    hist.SetItem(0, words::inhist::ReleasedWinUsed);
    bar.Panel2.SetCaption(words::trace::WinWin);
  }
  if (item(0) != words::in::ReleasedWin && item(1) != words::in::ReleasedWin) SetIfChanged(bar.Panel2, words::trace::Dashes);
  // C and then Ctrl released after Ctrl+C.
  if (item(0) == words::in::ReleasedC && item(1) == words::in::ReleasedCtrl && item(2) == words::in::KeyCtrlC) {
    hist.SetItem(0, words::inhist::ReleasedCUsed);
    in.SetCaption(words::in::CopySeen1);
  }
  // V released after a paste.
  if (item(0) == words::in::ReleasedV && mail::Starts(item(1), words::in::KeyPrefix)) in.SetCaption(words::in::PasteSeen);
}

void Tick::InputMethodAndKeys() {
  App& a = app_;
  Platform& p = a.platform();
  Tqirinputor& in = *a.input.qirinputor;
  Tqircom& bar = *a.bar.qircom;

  // ---- the input method's windows ----
  const Wnd comp = p.findWindow(kCompositionClass);
  bool compHidden = false;
  if (comp) {
    compHidden = !p.isWindowVisible(comp);
    if (compHidden) {
      if (!in.Panel5.Visible()) in.Panel5.Show();
      SetIfChanged(in.Panel4, words::im::CompositionHidden);
    } else {
      if (in.Panel5.Visible()) in.Panel5.Hide();
      SetIfChanged(in.Panel4, words::im::CompositionShown);
    }
  }
  const Rect self = in.ScreenRect();
  const Wnd below = p.windowFromPoint({self.left + in.Scale(10), self.bottom() + in.Scale(10)});
  if (p.getClassName(below).substr(0, kClassMax) != kStatusClass) SetIfChanged(in.Panel4, words::im::NoStatusBelow);

  // Semicolon: toggle the input method, or give the key to the composition.
  if (mail::Is(in.Caption(), words::in::KeySemicolon)) {
    if (mail::Is(in.Panel4.Caption(), words::im::NoStatusBelow)) return;
    if (in.Panel5.Visible()) {
      keys::Combo(p, vk::Control, vk::Space);
      in.SetCaption(words::in::SemicolonAck);
      return;
    }
    in.SetCaption(words::in::ModeRequest);
  }

  // Sit as a strip just above the status bar.
  if (const Wnd status = p.findWindow(kStatusClass)) {
    const Rect sr = p.getWindowRect(status);
    if (sr.left != in.Left()) {
      // Laid out for the status bar's monitor: 20 units high, as wide as
      // the status bar in pixels.
      const auto ms = screens::Query(p);
      const int d = screens::ClampDpi(screens::ForRect(ms, sr).dpi);
      const int h = screens::Scale(20, d);
      in.Place({sr.left, sr.top - h, sr.width, h}, d, ZOrder::Keep);
      if (in.Visible()) in.Hide();
    }
  }

  // Menu key: open the input method's menu at the strip's right end.
  if (mail::Is(in.Caption(), words::in::KeyMenu)) {
    in.SetCaption(words::in::MenuAck);
    const Rect strip = in.ScreenRect();
    const Point at{strip.right() - in.Scale(10), strip.top + in.Scale(50)};
    bool onColumn = false;  // below or above a monitor, as a pointer can reach
    for (const Monitor& m : view_.monitors) onColumn = onColumn || (at.x >= m.rect.left && at.x < m.rect.right());
    if (onColumn) {
      p.setCursorPos(at);
      keys::LeftClick(p);
      p.sleep(299);
      p.mouseEvent(mouseflag::Move, 0, in.Scale(50), 0);
    }
  }

  // ---- keyboard words ----
  if (mail::Is(in.Caption(), words::in::MoveClip)) {
    in.SetCaption(words::in::MoveClipAck);
    return;
  }

  // Windows key tapped while an alignment is pending: indent the captured
  // lines to the capture column.
  Control& keysHist = bar.ListBox8;
  if (mail::ItemOr(keysHist, 0) == words::bar::WinUp && mail::ItemOr(keysHist, 1) == words::bar::WinDown &&
      mail::Is(bar.BitBtn6.Caption(), words::align::Pending)) {
    keys::Escape(p);
    const std::string col = std::to_string(lines_.captureColumn);
    bar.BitBtn6.SetCaption(words::align::DonePrefix + col);
    bar.SetCaption(words::bar::AlignTracePrefix + col);
    const std::string pad(
        static_cast<std::size_t>(std::clamp(lines_.captureColumn, 0, budget::kAlignColumn)), ' ');
    Control& lines = bar.ListBox11;
    std::vector<std::string> v;
    v.reserve(static_cast<std::size_t>(std::max(lines.Count(), 0)));
    for (int i = 0, n = lines.Count(); i < n; ++i) {
      const std::string line = lines.Item(i);
      const std::size_t lead = std::min(line.find_first_not_of(' '), line.size());
      v.push_back(pad + line.substr(lead));
    }
    SetLines(lines, v);
  }

  // The words below are tried one after another on the caption as it
  // stands at each test: a word answered by one of them is already replaced
  // when the next one looks.
  if (mail::Is(in.Caption(), words::in::KeyShift)) {
    bar.Panel12.Hide();
    in.SetCaption(words::in::ShiftAck);
    const Wnd near = p.windowFromPoint({view_.cursor.x + Px(20), view_.cursor.y + Px(20)});
    if (!(near && p.isChild(bar.Handle(), near))) {
      bar.Panel4.SetLeft(0);
      bar.Panel4.SetTop(0);
      bar.CppWebBrowser1.SetLeft(-2000);
      return;
    }
    bar.Park();
    // A text past the capture budget is left on the clipboard only.
    std::string text;
    const bool capturable = ReadCapturable(text);
    if (capturable) bar.Edit1.SetCaption(text);
    // The list takes the clipboard once for each text it holds (text is
    // empty when it is not capturable), and never the entry a digit just
    // gave out, which would move it to the top and renumber the digits.
    if (!keys_.listTextSet || text != keys_.listText) {
      keys_.listTextSet = true;
      keys_.listText = text;
      if (capturable) InsertSmartClipboard(text);
      a.browser.lifeform->Panel2.SetCaption(words::life::Clip2);
    }
    in.SetCaption(words::in::ShiftAck2);
  }
  if (mail::Is(in.Caption(), words::in::KeyCtrlC)) {
    bar.Panel4.SetCaption(words::trace::CtrlC);
    if (p.isKeyDown(vk::Shift)) {
      in.SetCaption(words::in::CopyStarted);
      in.SetCaption(words::in::CopyRunning);
      p.closeClipboard();
      p.sleep(10);
      keys::Combo(p, vk::Control, 'C');
      bar.Panel4.SetCaption(words::trace::CtrlCShift);
      p.sleep(100);
      in.SetCaption(words::in::CopyDone);
      p.sleep(100);
      keys::Up(p, vk::Shift);
    } else {
      bar.Panel4.SetCaption(words::trace::CtrlCNoShift);
      BringToFront(TopLevelAt(app_.platform(), view_.cursor));
      keys::Combo(p, vk::Control, 'C');
      p.sleep(20);
      in.SetCaption(words::in::CopyDone);
    }
    return;
  }
  if (mail::Is(in.Caption(), words::in::KeyCtrlX)) {
    in.SetCaption(words::in::HandledCut);
    bar.Panel4.SetCaption(words::trace::CtrlX);
    bar.Panel4.SetCaption(words::trace::CtrlXNoShift);
    keys::Press(p, vk::Delete);
    return;
  }
  if (mail::Is(in.Caption(), words::in::CopyDone) || lines_.captureTicks > 0) CaptureAfterCopy();
  if (mail::Is(in.Caption(), words::in::CopySeen1)) {
    in.SetCaption(words::in::CopySeen2);
    in.SetCaption(words::in::CopySeen3);
  }
  if (mail::Is(in.Caption(), words::in::KeyCtrlZ)) {
    // Answered like every other word, so one Ctrl+Z undoes once.
    in.SetCaption(words::in::UndoDone);
    keys::Combo(p, vk::Control, 'Z');
    return;
  }
  // Whatever word is left (also one answered just above: a copy sighting
  // then counts once), nothing is being composed, so it is done with.
  // Caps Lock words (words::in::CapsLockPart) are kept, and so are the two requests this
  // tick has just left for a later reader: words::in::ShiftAck2 waits for the
  // digit key and words::in::PasteRequest (a digit's entry, already on the clipboard)
  // for the paste of the next tick; dropping them would lose the choice.
  const std::string word = in.Caption();
  const bool pending = mail::Is(word, words::in::ShiftAck2) || mail::Is(word, words::in::PasteRequest);
  if (comp && compHidden && !pending && !mail::Has(word, words::in::CapsLockPart) &&
      !mail::Is(in.Panel4.Caption(), words::im::NoStatusBelow)) {
    if (!mail::Is(word, words::in::Idle)) in.SetCaption(words::in::Idle);
  }
}

}  // namespace sq
