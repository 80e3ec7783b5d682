#include "input/tick.h"

#include <algorithm>

#include "app/app.h"
#include "app/budget.h"
#include "app/caretinfo.h"
#include "app/formmain.h"
#include "app/relays.h"
#include "app/screens.h"
#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
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

Wnd Tick::TopWindowAt(Point pt) {
  Platform& p = app_.platform();
  Wnd w = p.windowFromPoint(pt);
  // Climb to the window without a parent; the bound only guards against a
  // broken parent chain.
  for (int depth = 0; w && depth < 256; ++depth) {
    Wnd parent = p.getParent(w);
    if (!parent) break;
    w = parent;
  }
  return w;
}

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
  // Newest first, no two entries equal; past the entry or byte budget the
  // oldest entries go (the new one always stays).
  Control& list = app_.qircom->ListBox2;
  list.Insert(0, text);
  std::size_t bytes = text.size();
  for (int n = 1; n < list.Count();) {
    const std::string item = list.Item(n);
    if (item == text) {
      list.Delete(n);
      continue;
    }
    bytes += item.size();
    ++n;
  }
  while (list.Count() > 1 &&
         (static_cast<std::size_t>(list.Count()) > budget::kSmartClipEntries ||
          bytes > budget::kSmartClipBytes)) {
    bytes -= list.Item(list.Count() - 1).size();
    list.Delete(list.Count() - 1);
  }
}

void Tick::SetLines(Control& list, const std::vector<std::string>& lines) {
  list.Clear();
  for (const auto& l : lines) list.Add(l);
}

bool Tick::ReadCapturable(std::string& text) {
  if (!app_.platform().getClipboardTextUpTo(budget::kCaptureBytes, text)) return false;
  if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >=
      budget::kCaptureLines) {
    text.clear();
    return false;
  }
  return true;
}

int Tick::BarEdit2Ticks() { return LeadingInt(app_.qircom->Edit2.Caption()) / 20; }

int Tick::HoldTicks() { return app_.wrpyreadpanel->LeftHoldMs() / 20; }

WebBrowser* Tick::BrowserPage() { return app_.easyie->ActiveBrowser(); }

int Tick::AlignLines(std::vector<std::string>& lines, int column) {
  if (lines.empty()) return 0;
  const std::string& first = lines[0];
  std::size_t lead = first.find_first_not_of(' ');
  if (lead == std::string::npos) lead = first.size();
  long long n = static_cast<long long>(column) - static_cast<long long>(lead);
  n = std::clamp<long long>(n, -budget::kAlignColumn, budget::kAlignColumn);
  if (n > 0) {
    const std::string pad(static_cast<std::size_t>(n), ' ');
    for (auto& line : lines) line.insert(0, pad);
  } else if (n < 0) {
    const std::size_t cut = static_cast<std::size_t>(-n);
    for (auto& line : lines) {
      // Only leading blanks are taken away: a line indented less than the
      // first keeps all of its text (blanks are single bytes, so a cut
      // never splits a GBK character either).
      std::size_t i = 0;
      while (i < line.size() && i < cut && line[i] == ' ') ++i;
      line.erase(0, i);
    }
  }
  return static_cast<int>(n);
}

}  // namespace sq
