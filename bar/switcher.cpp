#include "bar/switcher.h"

#include <algorithm>

#include "app/frame/budget.h"
#include "app/frame/gbk.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "browser/easyie.h"
#include "input/mailbox.h"

namespace sq {

const char* const Switcher::kHintRow = "左键转到所选窗口；右键关闭所选窗口";

namespace {
// Extended-style bits the enumeration filters on.
constexpr unsigned kTopmost = 0x8, kToolWindow = 0x80, kWindowEdge = 0x100,
                   kControlParent = 0x10000;
// The bar's layout places, in 96-DPI units.
constexpr int kListPartX = 315;   // the title strip's list part begins here
constexpr int kTitleBottom = 32;
constexpr int kListPointX = 343;  // where the wheel puts the pointer
constexpr int kNarrowBar = 180;
constexpr int kRowOffsetX = 50;   // hit-test slack beside the icon
constexpr int kCloseWait = 300;   // ms for a closing window before the rebuild
constexpr int kStaleLeft = 0, kFreshLeft = -2000;
// The column's width is the list's less these (with the scroll bar, without).
constexpr int kColumnLessScrolling = 32, kColumnLess = 6, kRowsWithoutScrolling = 10;

// Where a title as the list shows it ends: at most kTitleBytes, never
// inside a double-byte character (a lone lead byte at the end is dropped
// too).
std::size_t ListTitleEnd(const std::string& raw) {
  const std::size_t max = std::min(raw.size(), Switcher::kTitleBytes);
  std::size_t i = 0;
  while (i < max) {
    const std::size_t len = gbk::CharLen(raw[i]);
    if (i + len > max) break;
    i += len;
  }
  return i;
}

// Whether a path names a folder as well as a file (a bare executable name,
// the answer for a process that could not be opened, does not).
bool HasFolder(const std::string& path) {
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (gbk::IsLead(c)) ++i;
    else if (c == '\\' || c == '/') return true;
  }
  return false;
}

}  // namespace

Platform& Switcher::P() const { return bar_.app().platform(); }

Wnd Switcher::Handle(int i) const {
  return i >= 0 && i < Count() ? handles_[static_cast<std::size_t>(i)] : 0;
}

bool Switcher::Stale() const { return bar_.CppWebBrowser1.Left() >= 0; }
void Switcher::SetStale() { bar_.CppWebBrowser1.SetLeft(kStaleLeft); }

// ---- building the list --------------------------------------------------

bool Switcher::Listable(Wnd w, unsigned pid, unsigned ownPid, std::string& title) const {
  Platform& p = P();
  const unsigned ex = p.windowState(w).exStyle;
  if (!(ex & kWindowEdge) || !p.isWindowVisible(w)) return false;
  // A topmost tool palette and a bare control container are no task windows.
  if (ex == (kWindowEdge | kToolWindow | kTopmost) || ex == (kWindowEdge | kControlParent))
    return false;
  if (w == excluded_ || pid == ownPid) return false;
  title = p.getWindowTextUpTo(w, kTitleBytes + 1);
  title.resize(ListTitleEnd(title));
  return title != bar_.app().Title();
}

void Switcher::Enumerate() {
  Collect();
  // The rows and program paths still show the windows of the last rebuild.
  SetStale();
}

void Switcher::Collect() {
  Platform& p = P();
  bar_.ListBox5.Clear();
  handles_.clear();
  pids_.clear();
  titles_.clear();
  const unsigned ownPid = p.windowProcessId(bar_.Handle());
  const std::vector<Wnd> all = p.enumWindows();
  const std::size_t most = std::min(all.size(), static_cast<std::size_t>(kMaxEntries));
  handles_.reserve(most);
  pids_.reserve(most);
  titles_.reserve(most);
  std::string title;
  for (Wnd w : all) {
    // A window gone since the snapshot has no process: it is left out.
    const unsigned pid = p.windowProcessId(w);
    if (!pid || Count() >= kMaxEntries) continue;
    if (!Listable(w, pid, ownPid, title)) continue;
    bar_.ListBox5.Add(title);
    handles_.push_back(w);
    pids_.push_back(pid);
    titles_.push_back(std::move(title));
  }
  programs_.assign(handles_.size(), -1);
  bar_.ListBox5.SetItemIndex(0);
}

void Switcher::LookUpProcesses() {
  Platform& p = P();
  // Each process once, however many windows it has: one snapshot walk for
  // all of them, one program path a process.
  std::vector<unsigned> distinct = pids_;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  std::vector<ProcessImage> images = p.processImages(distinct);
  std::sort(images.begin(), images.end(),
            [](const ProcessImage& x, const ProcessImage& y) { return x.pid < y.pid; });
  programPaths_.clear();
  programIcons_.clear();
  for (const ProcessImage& im : images) {
    // Modules not listed: the bare executable name; listed without the
    // program file among them: no path.
    programPaths_.push_back(im.modulesListed ? im.mainModule : im.exeName);
  }
  for (int i = 0; i < Count(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    const unsigned pid = pids_[at];
    auto it = std::lower_bound(images.begin(), images.end(), pid,
                               [](const ProcessImage& x, unsigned v) { return x.pid < v; });
    programs_[at] = it != images.end() && it->pid == pid ? static_cast<int>(it - images.begin()) : -1;
  }
  // The fill request: a hook word may overwrite it before the bar's tick
  // reads it, so the switcher remembers it too.
  bar_.app().bar.qirForm3->SetCaption(words::cmd::SetListView);
  fillPending_ = true;
}

void Switcher::Rebuild() {
  bar_.CppWebBrowser1.SetLeft(kFreshLeft);
  // Rows may now stand for other windows: the pointer's row counts as new.
  lastHovered_ = -1;
  lastSelected_ = 0;
  bar_.ListView1.Clear();
  Collect();
  icons_.clear();
  LookUpProcesses();
}

std::uintptr_t Switcher::IconOf(const std::string& path) {
  if (!HasFolder(path)) return 0;
  auto it = icons_.find(path);
  if (it != icons_.end()) return it->second;
  const std::uintptr_t icon = P().fileIcon(path);
  icons_.emplace(path, icon);
  return icon;
}

void Switcher::Fill() {
  Platform& p = P();
  // Answered only while the request is still there: a later word is not
  // overwritten.
  TqirForm3& scroll = *bar_.app().bar.qirForm3;
  if (mail::Is(scroll.Caption(), words::cmd::SetListView)) scroll.SetCaption(words::winlist::Filled);
  fillPending_ = false;
  const Wnd list = bar_.ListView1.Handle();
  p.listClear(list);
  // One icon a process, each program path asked for once (IconOf).
  programIcons_.assign(programPaths_.size(), 0);
  for (std::size_t k = 0; k < programPaths_.size(); ++k) programIcons_[k] = IconOf(programPaths_[k]);
  for (int i = 0; i < Count(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    const int k = programs_[at];
    p.listViewAdd(list, titles_[at], k >= 0 ? programIcons_[static_cast<std::size_t>(k)] : 0);
  }
  const int sel = bar_.ListBox5.ItemIndex();
  if (sel >= 0) p.listSelect(list, sel);
  FitColumn();
}

void Switcher::FocusList() {
  // The list takes the keys (and the wheel) from the bar's other controls.
  // Only while the bar is the active window: taking the activation would
  // undo the preview of the window just brought forward.
  Platform& p = P();
  if (p.getForegroundWindow() == bar_.Handle()) p.setFocus(bar_.ListView1.Handle());
}

void Switcher::FitColumn() {
  Platform& p = P();
  const Wnd list = bar_.ListView1.Handle();
  const int less = bar_.Scale(Count() > kRowsWithoutScrolling ? kColumnLessScrolling : kColumnLess);
  p.listViewSetColumnWidth(list, std::max(0, p.getBounds(list).width - less));
}

// ---- acting on windows ------------------------------------------------------

void Switcher::KeepBarOnTop() {
  // Without activating the bar: the window just brought forward stays the
  // foreground window.
  bar_.SetWindowPos(ZOrder::TopMost, bar_.Left(), bar_.Top(), bar_.Width(), bar_.Height(),
                    swp::ShowWindow | swp::NoActivate);
}

void Switcher::BringForward(Wnd w) {
  Platform& p = P();
  const WindowState st = p.windowState(w);
  if (st.minimized) {
    p.restoreWindow(w);
  } else {
    // Lifted above the other windows of its band; a window that keeps
    // itself on top stays so.
    p.setWindowPos(w, st.topmost ? ZOrder::TopMost : ZOrder::NoTopMost, p.getWindowRect(w),
                   swp::ShowWindow | swp::NoActivate);
  }
  p.bringWindowToTop(bar_.Handle());
  p.setForegroundWindow(w);
  KeepBarOnTop();
}

int Switcher::RowAt(int x, int y) const {
  const int slack = bar_.Scale(kRowOffsetX);
  return P().listViewHitTest(bar_.ListView1.Handle(), {x <= slack ? x : x - slack, y});
}

void Switcher::SelectRow(int i) {
  Platform& p = P();
  const Wnd list = bar_.ListView1.Handle();
  p.listSelect(list, i);
  p.listViewSetHot(list, i);
}

void Switcher::EnsureVisible(int i) {
  Platform& p = P();
  const Wnd list = bar_.ListView1.Handle();
  const int rowHeight = p.listViewRowHeight(list);
  if (rowHeight <= 0) return;
  // Whole rows inside the list's 2-pixel border.
  const int shown = std::max(1, (p.getBounds(list).height - 4) / rowHeight);
  const int top = p.listViewTopIndex(list);
  if (i < top)
    p.listViewScroll(list, i - top);
  else if (i >= top + shown)
    p.listViewScroll(list, i - (top + shown - 1));
}

void Switcher::Hover(int x, int y) {
  // A stale list's rows may stand for other windows: rebuilt first.
  if (Stale()) {
    Rebuild();
    return;
  }
  FitColumn();
  FocusList();
  const int row = RowAt(x, y);
  // Nothing more while the pointer stays on one row.
  if (row < 0 || row == lastHovered_) return;
  lastHovered_ = row;
  Platform& p = P();
  SelectRow(row);
  if (row == lastSelected_) return;
  lastSelected_ = row;
  bar_.ListBox5.SetItemIndex(row);
  bar_.Panel16.SetCaption(kHintRow);
  const Wnd w = Handle(row);
  if (!w) return;
  if (!p.isWindow(w)) {  // gone since the list was built
    Rebuild();
    return;
  }
  BringForward(w);
}

void Switcher::Press(MouseButton button, int x, int y) {
  excluded_ = 0;
  if (Stale()) {
    Rebuild();
    return;
  }
  const int row = RowAt(x, y);
  if (row < 0 || button == MouseButton::Middle) return;
  bar_.ListBox5.SetItemIndex(row);
  const Wnd w = Handle(row);
  if (!w) return;
  Platform& p = P();
  if (!p.isWindow(w)) {
    Rebuild();
    return;
  }
  if (button == MouseButton::Right) {
    CloseEntry(row);
    return;
  }
  bar_.SetTop(p.screenHeight() + 10);
  if (p.windowState(w).minimized) p.restoreWindow(w);
  p.setForegroundWindow(w);
}

void Switcher::CloseSelected() {
  int i = bar_.ListBox5.ItemIndex();
  if (i < 0) i = 0;
  if (!Handle(i)) return;
  if (!P().isWindow(Handle(i))) {
    Rebuild();
    return;
  }
  CloseEntry(i);
}

void Switcher::CloseEntry(int i) {
  Platform& p = P();
  const Wnd w = Handle(i);
  bar_.app().bar.qirForm3->SetCaption(words::winlist::Closed);
  // The close request alone, as the window's own close box sends it: the
  // program may still ask to save.
  p.closeWindow(w);
  excluded_ = w;
  const auto at = static_cast<std::size_t>(i);
  if (i < bar_.ListBox5.Count()) bar_.ListBox5.Delete(i);
  if (i < bar_.ListView1.Count()) bar_.ListView1.Delete(i);
  handles_.erase(handles_.begin() + static_cast<std::ptrdiff_t>(at));
  pids_.erase(pids_.begin() + static_cast<std::ptrdiff_t>(at));
  titles_.erase(titles_.begin() + static_cast<std::ptrdiff_t>(at));
  programs_.erase(programs_.begin() + static_cast<std::ptrdiff_t>(at));
  p.sleep(kCloseWait);
  Rebuild();
}

// ---- the wheel ------------------------------------------------------------------

void Switcher::Answer() {
  // The notch is read and answered: the hook's next word may come at once.
  TqirForm3& scroll = *bar_.app().bar.qirForm3;
  scroll.SetCaption(words::web::WheelSeen);
  P().mailboxSeen(scroll.Handle());
}

bool Switcher::Wheel() {
  App& a = bar_.app();
  Platform& p = P();
  const std::string scroll = a.bar.qirForm3->Caption();
  if (!mail::Starts(scroll, words::scroll::WheelPrefix)) return false;
  // Only the full bar on screen switches windows. A parked or narrow bar
  // leaves the word to its other readers, whether the list is stale or not:
  // the notch belongs to the window under the pointer (paging, the corner
  // modes), and a hidden list has no use for a rebuild. Nothing is done
  // here either (the word stays until one of them answers it, so acting on
  // it would activate the window under the pointer on every tick).
  if (!(bar_.Shown() && bar_.Width() > kNarrowBar)) return false;
  const Point at = p.getCursorPos();
  if (const Wnd top = TopLevelAt(p, at)) p.setForegroundWindow(top);
  // The three characters after the prefix: "///" backwards, anything else
  // (a short or garbled direction too) forwards.
  const std::size_t pre = sizeof(words::scroll::WheelPrefix) - 1;
  const std::string dir = scroll.substr(pre, 3);
  const int step = dir == words::web::WheelUpMark ? -1 : 1;
  bar_.Edit3.SetCaption(dir + words::winlist::EchoSuffix);
  bar_.Edit5.SetCaption(words::winlist::Trace1);
  const Point ptr = p.getCursorPos();
  if (ptr.x < bar_.Left() + bar_.Scale(kListPartX) && ptr.y < bar_.Top() + bar_.Scale(kTitleBottom) &&
      bar_.Width() > kNarrowBar) {
    p.setCursorPos({bar_.Left() + bar_.Scale(kListPointX), ptr.y});
    bar_.Edit3.SetCaption(words::winlist::EchoMoved);
  }
  if (a.browser.easyie) a.browser.easyie->Panel42.SetCaption(scroll);

  const Wnd list = bar_.ListView1.Handle();
  if (fillPending_) Fill();  // its request was overwritten by this very notch
  if (Stale()) {
    Rebuild();
    Fill();
    Answer();
    SelectRow(Count() > 0 ? 0 : -1);
    return true;
  }
  bar_.Edit5.SetCaption(words::winlist::Trace2);
  bar_.Edit5.SetCaption(words::winlist::Trace3);
  Answer();
  const int n = Count();
  if (n == 0) return true;
  int i = bar_.ListBox5.ItemIndex() + step;
  if (i < 0) {
    i = n - 1;
    p.listViewScroll(list, n);  // to the end
  } else if (i > n - 1) {
    i = 0;
    p.listViewScroll(list, -n);  // back to the start
  }
  bar_.ListBox5.SetItemIndex(i);
  SelectRow(i);
  if (i > 10 && i != n - 1) p.listViewScroll(list, step);
  EnsureVisible(i);
  KeepBarOnTop();
  if (const Wnd w = Handle(i)) {
    if (p.isWindow(w))
      BringForward(w);
    else
      Rebuild();
  }
  return true;
}

}  // namespace sq
