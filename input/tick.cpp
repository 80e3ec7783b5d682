#include "input/tick.h"

#include <algorithm>

#include "app/app.h"
#include "app/frame/budget.h"
#include "app/caretinfo.h"
#include "app/formmain.h"
#include "app/relays.h"
#include "app/frame/screens.h"
#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/smartclip.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"

namespace sq {

bool Tick::Ready() const {
  // The tick may fire while a message box raised during start-up is open;
  // it then must not touch a window that does not exist yet.
  return app_.wheeltipform != nullptr && app_.easyie != nullptr && app_.running();
}

void Tick::Run() {
  if (!Ready()) return;
  ++s_.runs;
  monitors_ = screens::Query(app_.platform());
  BeginReading();
  EndReading(Steps());
}

bool Tick::Steps() {
  Relays();
  LeftPressAndCaretReset();
  ScrollModeResets();
  SelectionWords();
  RightClickReplay();
  if (KeyHistoryGestures()) return false;
  if (PasteRequest()) return false;
  if (CopyLinesStage()) return false;
  if (CopyLinesGesture()) return false;
  if (ZGuard()) return false;
  ParkWidgets();
  if (RightChords()) return false;
  TitleWordsAndCtrlTap();
  if (DragStops()) return false;
  LeftformOverBar();
  if (RightPress()) return false;
  if (LeftRelease()) return false;
  if (LeftHold()) return false;
  HideMainForm();
  InputHistoryPatterns();
  RecordInputCaption();
  SiblingWords();
  LeftDownParkBar();
  InputMethodAndKeys();
  return true;
}

// ---- reading the mailboxes -------------------------------------------

namespace {
void Begin(MailboxRead& r, const std::string& word) {
  if (word == r.atStart) {
    if (r.ticks < 2) ++r.ticks;
  } else {
    r.atStart = word;
    r.ticks = 1;
  }
}

// Whether the word now in the caption counts as read after this tick.
bool Read(const MailboxRead& r, const std::string& now, bool whole) {
  return now == r.atStart && (whole || r.ticks >= 2);
}

// A word that marks something as handled ("old--" in the input caption)
// or that no reader tests (beginning with "xx" or "qq"): when the tick
// leaves one, nothing is left for a later tick to look at.
bool DoneWith(const std::string& word) {
  return mail::Starts(word, words::in::HandledPrefix) || mail::Starts(word, words::unread::XxPrefix) ||
         mail::Starts(word, words::unread::QqPrefix);
}
}  // namespace

void Tick::BeginReading() {
  Begin(s_.inputRead, app_.qirinputor->Caption());
  Begin(s_.scrollRead, app_.qirForm3->Caption());
}

void Tick::EndReading(bool whole) {
  Platform& p = app_.platform();
  const std::string input = app_.qirinputor->Caption();
  if (Read(s_.inputRead, input, whole) || DoneWith(input)) {
    s_.inputRead.seen = input;
    p.mailboxSeen(app_.qirinputor->Handle());
  }
  const std::string scroll = app_.qirForm3->Caption();
  if (Read(s_.scrollRead, scroll, whole) || DoneWith(scroll)) {
    s_.scrollRead.seen = scroll;
    p.mailboxSeen(app_.qirForm3->Handle());
  }
}

bool Tick::InputPending() {
  const MailboxRead& r = s_.inputRead;
  return r.atStart != r.seen && !mail::Starts(r.atStart, words::in::HandledPrefix) &&
         app_.qirinputor->Caption() == r.atStart;
}

// ---- shared helpers ----------------------------------------------------

Wnd Tick::TopWindowAt(Point pt) { return TopLevelAt(app_.platform(), pt); }

bool Tick::OverBar() {
  Platform& p = app_.platform();
  Wnd under = p.windowFromPoint(s_.cursor);
  return under && p.isChild(app_.qircom->Handle(), under);
}

bool Tick::OverBarOrBrowser() {
  Platform& p = app_.platform();
  Wnd under = p.windowFromPoint(s_.cursor);
  if (!under) return false;
  Teasyie& b = *app_.easyie;
  return p.isChild(app_.qircom->Handle(), under) || p.isChild(b.Handle(), under) ||
         p.isChild(b.Panel9.Handle(), under) || p.isChild(b.Panel3.Handle(), under);
}

void Tick::BringToFront(Wnd w) {
  if (w) app_.platform().bringWindowToTop(w);
}

void Tick::ShowClipPanels() {
  Tqircom& bar = *app_.qircom;
  bar.Panel9.Show();
  bar.Panel12.Show();
  bar.Panel35.Show();
}

void Tick::ShowClipWidget(int dx, int dy) {
  Tqircom& bar = *app_.qircom;
  bar.PlaceAtPointer(s_.cursor, dx, dy, 70, 24, ZOrder::TopMost, swp::ShowWindow);
  bar.Show();
}

bool Tick::Same(Point a, Point b) const {
  const int near = monitors_.empty() ? kNear
                                     : screens::Scale(kNear, screens::At(monitors_, a).dpi);
  return (a.x - b.x <= near && b.x - a.x <= near) && (a.y - b.y <= near && b.y - a.y <= near);
}

int Tick::Px(int v) const { return screens::Scale(v, cursorDpi_); }

bool Tick::OnScreen(Point pt) const {
  return !monitors_.empty() && screens::OnAny(monitors_, {pt.x, pt.y, 1, 1});
}

void Tick::FocusUnder(Point pt) {
  Platform& p = app_.platform();
  p.sleep(30);
  ShowClipPanels();
  BringToFront(TopWindowAt({pt.x, pt.y - Px(10)}));
  p.sleep(30);
  keys::Escape42(p);
  keys::Escape42(p);
}

void Tick::InsertSmartClipboard(const std::string& text) {
  smartclip::Insert(app_.qircom->ListBox2, text);
}

void Tick::SetLines(Control& list, const std::vector<std::string>& lines) {
  list.Clear();
  for (const auto& l : lines) list.Add(l);
}

bool Tick::ReadCapturable(std::string& text) {
  return smartclip::ReadForCapture(app_.platform(), text) == smartclip::Read::Text;
}

int Tick::BarEdit2Ticks() { return LeadingInt(app_.qircom->Edit2.Caption()) / 20; }

bool Tick::HeldStillLongEnough() {
  const int ms = app_.wrpyreadpanel->LeftHoldMs();
  return s_.stillCount > 0 && static_cast<std::int64_t>(s_.stillMs) >= ms;
}

WebBrowser* Tick::BrowserPage() { return app_.easyie->ActiveBrowser(); }

int Tick::AlignLines(std::vector<std::string>& lines, int column) {
  return smartclip::AlignLines(lines, column);
}

}  // namespace sq
