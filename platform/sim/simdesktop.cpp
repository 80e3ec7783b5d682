// The simulated desktop: the program's calls on windows and controls,
// activation and the windows' DPI, over the window tree (simwindowtree).
// Input and timers are in siminput.cpp; the process, modules, files and
// the browser in simservices.cpp.
#include "platform/sim/simdesktop.h"

#include <algorithm>
#include <iterator>

#include "platform/sim/simtext.h"

namespace sq {

namespace {

std::string ClassForKind(const WindowSpec& s) {
  switch (s.kind) {
    case Kind::Panel: return "TPanel";
    case Kind::Label: return "TLabel";
    case Kind::Button: return "TButton";
    case Kind::Edit: return "TEdit";
    case Kind::Memo: return "TMemo";
    case Kind::ListBox: return "TListBox";
    case Kind::ListView: return "TListView";
    case Kind::CheckBox: return "TCheckBox";
    case Kind::RadioButton: return "TRadioButton";
    case Kind::GroupBox: return "TGroupBox";
    case Kind::Image: return "TImage";
    case Kind::Browser: return "Shell Embedding";
    case Kind::Shape: return "TShape";
    case Kind::Timer: return "TTimer";
    case Kind::MenuItem: return "TMenuItem";
    case Kind::Form: return s.className.empty() ? "TForm" : s.className;
    case Kind::Other: return s.className.empty() ? "TWinControl" : s.className;
  }
  return "TWinControl";
}

}  // namespace

Wnd SimDesktop::topLevelOf(Wnd w) const { return tree_.topLevelOf(w); }

Wnd SimDesktop::findControl(Wnd top, const std::string& name) const {
  return tree_.findControl(top, name);
}

std::string SimDesktop::describe() const { return tree_.describe(foreground_, focus_); }

const SimWindow* SimDesktop::window(Wnd w) const { return rec(w); }
SimWindow* SimDesktop::window(Wnd w) { return rec(w); }

std::vector<Wnd> SimDesktop::children(Wnd w) const {
  const SimWindow* r = rec(w);
  return r ? r->children : std::vector<Wnd>{};
}

Wnd SimDesktop::findControl(const std::string& formClass, const std::string& name) {
  return findControl(findWindow(formClass), name);
}

void SimDesktop::activate(Wnd w) {
  Wnd top = topLevelOf(w);
  if (!top) return;
  raise(top);
  const Wnd was = foreground_;
  foreground_ = top;
  SimWindow* t = rec(top);
  Wnd f = t->lastFocus;
  focus_ = (f && (f == top || isChild(top, f))) ? f : top;
  if (was != top) foregroundChanged(was, top);
}

// ---------------------------------------------------------------- windows

Wnd SimDesktop::createWindow(const WindowSpec& desc) {
  if (desc.parent && !rec(desc.parent)) return 0;
  SimWindow r;
  r.parent = desc.parent;
  r.kind = desc.kind;
  if (desc.parent)
    r.className = ClassForKind(desc);
  else
    r.className = desc.className.empty() ? "TForm" : desc.className;
  r.name = desc.name;
  r.caption = simtext::AsWindowText(desc.caption);
  r.bounds = desc.bounds;
  r.visible = desc.visible;
  r.enabled = desc.enabled;
  r.topmost = desc.parent ? false : desc.topmost;
  r.borderless = desc.borderless;
  r.pid = ownPid_;
  r.color = desc.color;
  r.align = desc.align;
  r.fontColor = desc.fontColor;
  r.fontName = desc.fontName;
  r.fontSize = desc.fontSize;
  for (const auto& it : desc.items) r.items.push_back(simtext::AsWindowText(it));
  r.checked = desc.checked;
  r.dpi = desc.dpi;
  if (!desc.parent) r.systemDpi = screen_.dpiFor(desc.bounds);
  if (desc.parent && desc.kind == Kind::Edit) {
    // The program's edit boxes take typed keys as an edit control does.
    r.editor = true;
    r.singleLine = true;
    r.readOnly = desc.readOnly;
    r.caret = r.anchor = r.caption.size();
  }
  return tree_.add(std::move(r));
}

Wnd SimDesktop::addWindow(const std::string& className, const std::string& caption, Rect b,
                          Wnd parent) {
  WindowSpec s;
  s.kind = Kind::Other;
  s.className = className;
  s.caption = caption;
  s.bounds = b;
  s.parent = parent;
  s.borderless = false;
  Wnd w = createWindow(s);
  if (SimWindow* r = rec(w)) {
    r->foreign = true;
    r->pid = 1000 + static_cast<unsigned>(topLevelOf(w) & 0xffff);
  }
  return w;
}

void SimDesktop::eraseWindow(Wnd w) {
  SimWindow* r = rec(w);
  if (!r) return;
  for (Wnd c : std::vector<Wnd>(r->children)) eraseWindow(c);
  clock_.killTimersOf(w);
  if (focus_ == w) focus_ = 0;
  if (foreground_ == w) foreground_ = 0;
  if (capture_ == w) capture_ = 0;
  hooks_.windowGone(w);
  if (hover_ == w) hover_ = 0;
  buttons_.windowGone(w);
  mailboxes_.windowGone(w);
  handlers_.forget(w);
  tree_.erase(w);
}

void SimDesktop::destroyWindow(Wnd w) {
  if (!rec(w)) return;
  tree_.unlink(w);
  eraseWindow(w);
}

bool SimDesktop::isWindow(Wnd w) { return rec(w) != nullptr; }

std::string SimDesktop::getWindowText(Wnd w) {
  const SimWindow* r = rec(w);
  return r ? r->caption : std::string();
}

std::string SimDesktop::getWindowTextUpTo(Wnd w, std::size_t maxBytes) {
  const SimWindow* r = rec(w);
  return r ? r->caption.substr(0, maxBytes) : std::string();
}

void SimDesktop::logCaption(SimWindow& r, const std::string& old) {
  if (old == r.caption) return;
  record_.caption(tickCount(), r.handle, r.caption, r.className);
}

void SimDesktop::setTextAlign(Wnd w, TextAlign align) {
  if (SimWindow* r = rec(w)) r->align = align;
}

TextAlign SimDesktop::textAlign(Wnd w) const {
  const SimWindow* r = window(w);
  return r ? r->align : TextAlign::Center;
}

void SimDesktop::setWindowText(Wnd w, const std::string& text) {
  SimWindow* r = rec(w);
  if (!r) return;
  std::string old = std::move(r->caption);
  r->caption = simtext::AsWindowText(text);
  if (r->editor) r->caret = r->anchor = text.size();
  // A new word in a top-level caption is unread until its reader says so.
  if (r->parent == 0 && old != r->caption) mailboxes_.changed(w);
  logCaption(*r, old);
}

std::string SimDesktop::getClassName(Wnd w) {
  const SimWindow* r = rec(w);
  return r ? r->className : std::string();
}

Rect SimDesktop::getBounds(Wnd w) {
  const SimWindow* r = rec(w);
  return r ? boundsOf(*r) : Rect{};
}

void SimDesktop::setBounds(Wnd w, const Rect& b) {
  SimWindow* r = rec(w);
  if (!r) return;
  r->fillParent = false;
  r->bounds = b;
  if (!r->parent) updateSystemDpi(w);
}

// ---------------------------------------------------------------- monitors

void SimDesktop::setScreenSize(int w, int h) { screen_.setSize(w, h); }

void SimDesktop::setMonitors(std::vector<Monitor> ms) {
  if (!screen_.setMonitors(std::move(ms))) return;
  cursor_ = screen_.onMonitors(cursor_);
  const std::vector<Wnd> tops = tree_.zOrder();
  for (Wnd w : tops) updateSystemDpi(w);
  for (Wnd w : tops) {
    UiEvent e;
    e.type = UiEvent::DisplayChange;
    raiseEvent(w, e);
  }
}

void SimDesktop::updateSystemDpi(Wnd w) {
  SimWindow* r = rec(w);
  if (!r || r->parent || r->foreign) return;
  const int dpi = screen_.dpiFor(r->bounds);
  if (dpi == r->systemDpi) return;
  r->systemDpi = dpi;
  // Sent, not posted: it runs inside the call that moved the window.
  UiEventHandler fn = handlers_.event(w);
  if (!fn) return;
  UiEvent e;
  e.type = UiEvent::DpiChanged;
  e.dpi = dpi;
  fn(e);
}

void SimDesktop::setFontDpi(Wnd w, int dpi) {
  if (SimWindow* r = rec(w)) r->dpi = dpi;
}

Rect SimDesktop::getWindowRect(Wnd w) {
  const SimWindow* r = rec(w);
  return r ? screenRect(*r) : Rect{};
}

Rect SimDesktop::getClientScreenRect(Wnd w) {
  const SimWindow* r = rec(w);
  if (!r) return {};
  const Rect s = screenRect(*r);
  const int e = std::min({r->clientEdge, s.width / 2, s.height / 2});
  return {s.left + e, s.top + e, s.width - 2 * e, s.height - 2 * e};
}

void SimDesktop::showWindow(Wnd w, bool show) {
  if (SimWindow* r = rec(w)) r->visible = show;
}

bool SimDesktop::isWindowVisible(Wnd w) {
  const SimWindow* r = rec(w);
  return r && r->visible;
}

bool SimDesktop::isShown(Wnd w) const {
  const SimWindow* r = rec(w);
  return r && tree_.visibleChain(*r);
}

void SimDesktop::enableWindow(Wnd w, bool enable) {
  if (SimWindow* r = rec(w)) r->enabled = enable;
}

bool SimDesktop::isWindowEnabled(Wnd w) {
  const SimWindow* r = rec(w);
  return r && r->enabled;
}

void SimDesktop::setWindowPos(Wnd w, ZOrder z, const Rect& b, unsigned flags) {
  SimWindow* r = rec(w);
  if (!r) return;
  if (!(flags & swp::NoMove) || !(flags & swp::NoSize)) {
    Rect cur = boundsOf(*r);
    r->fillParent = false;
    if (!(flags & swp::NoMove)) {
      cur.left = b.left;
      cur.top = b.top;
    }
    if (!(flags & swp::NoSize)) {
      cur.width = b.width;
      cur.height = b.height;
    }
    r->bounds = cur;
    if (!r->parent) updateSystemDpi(w);
    r = rec(w);
    if (!r) return;
  }
  if (flags & swp::ShowWindow) r->visible = true;
  if (flags & swp::HideWindow) r->visible = false;
  if (flags & swp::NoZOrder) return;
  switch (z) {
    case ZOrder::Keep: break;
    case ZOrder::Top: raise(w); break;
    case ZOrder::TopMost:
      if (!r->parent) r->topmost = true;
      raise(w);
      break;
    case ZOrder::NoTopMost:
      if (!r->parent && r->topmost) {
        r->topmost = false;
        tree_.placeTopLevel(w);
      }
      break;
    case ZOrder::Bottom: tree_.lower(w); break;
  }
}

bool SimDesktop::isTopmost(Wnd w) {
  const SimWindow* r = rec(w);
  return r && r->topmost;
}

bool SimDesktop::bringWindowToTop(Wnd w) {
  SimWindow* r = rec(w);
  if (!r) return false;
  if (r->parent)
    raise(w);
  else
    activate(w);
  return true;
}

bool SimDesktop::setForegroundWindow(Wnd w) {
  if (!rec(w)) return false;
  activate(w);
  return true;
}

Wnd SimDesktop::setActiveWindow(Wnd w) {
  Wnd prev = foreground_;
  if (rec(w)) activate(w);
  return prev;
}

Wnd SimDesktop::getForegroundWindow() { return foreground_; }

Wnd SimDesktop::getParent(Wnd w) {
  const SimWindow* r = rec(w);
  return r ? r->parent : 0;
}

Wnd SimDesktop::getTopWindow() { return tree_.zOrder().empty() ? 0 : tree_.zOrder().front(); }

std::vector<Wnd> SimDesktop::enumWindows() { return tree_.zOrder(); }

bool SimDesktop::isChild(Wnd parent, Wnd w) { return tree_.isChild(parent, w); }

Wnd SimDesktop::windowFromPoint(Point p) { return tree_.fromPoint(p); }

Wnd SimDesktop::findWindow(const std::string& className, const std::optional<std::string>& caption) {
  return tree_.find(className, caption);
}

bool SimDesktop::setWindowRgnFromPicture(Wnd w, int width, int height,
                                         const std::vector<int>& pixels, int key) {
  SimWindow* s = rec(w);
  if (!s || width < 0 || height < 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return false;
  s->shapeMask.assign(pixels.size(), 0);
  for (std::size_t i = 0; i < pixels.size(); ++i) s->shapeMask[i] = pixels[i] != key;
  s->shapeWidth = width;
  s->shapeHeight = height;
  s->shaped = true;
  s->region = Region::None;
  return true;
}

bool SimDesktop::setPicture(Wnd w, int width, int height, const std::vector<int>& pixels) {
  SimWindow* s = rec(w);
  if (!s || width < 0 || height < 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return false;
  s->picture = pixels;
  s->pictureWidth = width;
  s->pictureHeight = height;
  return true;
}

void SimDesktop::setWindowRgn(Wnd w, Region shape, const Rect& r) {
  if (SimWindow* s = rec(w)) {
    s->region = shape;
    s->regionRect = r;
    s->shaped = false;
    s->shapeMask.clear();
  }
}

bool SimDesktop::postMessage(Wnd w, unsigned msg, std::uintptr_t wp, std::intptr_t lp) {
  if (!rec(w)) return false;
  messages_.posted(w, msg, wp, lp);
  if (msg == SimMessages::kClose) {
    deliverClose(w);
  } else {
    if (auto fn = handlers_.message(w, msg)) dispatch([fn, wp, lp] { fn(wp, lp); });
  }
  return true;
}

void SimDesktop::closeWindow(Wnd w) {
  if (!rec(w)) return;
  messages_.closeAsked(w);
  deliverClose(w);
}

void SimDesktop::deliverClose(Wnd w) {
  SimWindow* r = rec(w);
  if (!r) return;
  if (auto fn = handlers_.close(w)) {
    dispatch(std::move(fn));
  } else if (r->foreign && !messages_.foreignIgnoreClose()) {
    destroyWindow(w);
  }
}

unsigned SimDesktop::windowProcessId(Wnd w) {
  const SimWindow* r = rec(w);
  return r ? r->pid : 0;
}

void SimDesktop::setWindowProcessId(Wnd w, unsigned pid) {
  if (SimWindow* r = rec(w)) r->pid = pid;
}

WindowState SimDesktop::windowState(Wnd w) {
  WindowState s;
  const SimWindow* r = rec(w);
  if (!r) return s;
  s.minimized = r->minimized;
  s.toolWindow = r->toolWindow || (!r->foreign && !r->parent);  // the program's forms are tool windows
  s.appWindow = r->appWindow;
  s.topmost = r->topmost;
  s.exStyle = r->exStyleOther | (s.toolWindow ? 0x80u : 0u) | (s.appWindow ? 0x40000u : 0u) |
              (s.topmost ? 0x8u : 0u) | (r->borderless ? 0u : 0x100u);
  s.maximized = r->maximized;
  return s;
}

void SimDesktop::setExtendedStyleBits(Wnd w, unsigned ex) {
  SimWindow* r = rec(w);
  if (!r) return;
  r->toolWindow = (ex & 0x80u) != 0;
  r->appWindow = (ex & 0x40000u) != 0;
  r->borderless = (ex & 0x100u) == 0;
  r->exStyleOther = ex & ~(0x80u | 0x40000u | 0x8u | 0x100u);
  const bool top = (ex & 0x8u) != 0;
  if (top != r->topmost && !r->parent)
    setWindowPos(w, top ? ZOrder::TopMost : ZOrder::NoTopMost, {},
                 swp::NoMove | swp::NoSize | swp::NoActivate);
}

void SimDesktop::restoreWindow(Wnd w) {
  SimWindow* r = rec(w);
  if (!r) return;
  r->minimized = false;
  r->visible = true;
}

void SimDesktop::setMinimized(Wnd w, bool on) {
  if (SimWindow* r = rec(w)) r->minimized = on;
}

void SimDesktop::setExtendedStyle(Wnd w, bool toolWindow, bool appWindow) {
  if (SimWindow* r = rec(w)) {
    r->toolWindow = toolWindow;
    r->appWindow = appWindow;
  }
}

void SimDesktop::setFocus(Wnd w) {
  SimWindow* r = rec(w);
  if (!r) return;
  Wnd top = topLevelOf(w);
  const Wnd was = foreground_;
  if (top != foreground_) {
    raise(top);
    foreground_ = top;
  }
  focus_ = w;
  rec(top)->lastFocus = w;
  if (was != top) foregroundChanged(was, top);
}

// ---------------------------------------------------------------- controls

int SimDesktop::listCount(Wnd w) {
  const SimWindow* r = rec(w);
  return r ? static_cast<int>(r->items.size()) : 0;
}

std::string SimDesktop::listItem(Wnd w, int i) {
  const SimWindow* r = rec(w);
  if (!r || i < 0 || i >= static_cast<int>(r->items.size())) return {};
  return r->items[static_cast<size_t>(i)];
}

void SimDesktop::listInsert(Wnd w, int i, const std::string& s) {
  SimWindow* r = rec(w);
  if (!r) return;
  int n = static_cast<int>(r->items.size());
  if (i < 0 || i > n) i = n;
  r->items.insert(r->items.begin() + i, simtext::AsWindowText(s));
  if (r->selected >= i) ++r->selected;
  if (i <= static_cast<int>(r->rowIcons.size())) r->rowIcons.insert(r->rowIcons.begin() + i, 0);
}

void SimDesktop::listDelete(Wnd w, int i) {
  SimWindow* r = rec(w);
  if (!r || i < 0 || i >= static_cast<int>(r->items.size())) return;
  r->items.erase(r->items.begin() + i);
  if (i < static_cast<int>(r->rowIcons.size())) r->rowIcons.erase(r->rowIcons.begin() + i);
  if (r->hotRow >= static_cast<int>(r->items.size())) r->hotRow = -1;
  clampTop(*r);
  if (r->selected == i)
    r->selected = -1;
  else if (r->selected > i)
    --r->selected;
}

void SimDesktop::listSet(Wnd w, int i, const std::string& s) {
  SimWindow* r = rec(w);
  if (!r || i < 0 || i >= static_cast<int>(r->items.size())) return;
  r->items[static_cast<size_t>(i)] = simtext::AsWindowText(s);
}

void SimDesktop::listClear(Wnd w) {
  if (SimWindow* r = rec(w)) {
    r->items.clear();
    r->selected = -1;
    r->rowIcons.clear();
    r->topRow = 0;
    r->hotRow = -1;
  }
}

int SimDesktop::listSelected(Wnd w) {
  const SimWindow* r = rec(w);
  return r ? r->selected : -1;
}

void SimDesktop::listSelect(Wnd w, int i) {
  SimWindow* r = rec(w);
  if (!r) return;
  r->selected = (i >= 0 && i < static_cast<int>(r->items.size())) ? i : -1;
}

bool SimDesktop::isChecked(Wnd w) {
  const SimWindow* r = rec(w);
  return r && r->checked;
}

void SimDesktop::setChecked(Wnd w, bool on) {
  SimWindow* r = rec(w);
  if (!r) return;
  r->checked = on;
  // A radio button that becomes checked unchecks the others of its group
  // (the radio buttons sharing its parent), as the framework does.
  if (on && r->kind == Kind::RadioButton && r->parent) {
    for (Wnd c : rec(r->parent)->children) {
      SimWindow* s = rec(c);
      if (s && c != w && s->kind == Kind::RadioButton) s->checked = false;
    }
  }
}

// ---------------------------------------------------------------- list views

int SimDesktop::listRowsShown(const SimWindow& r) const {
  // Whole rows in the client area, inside the 2-pixel sunken border.
  const int client = r.bounds.height - 4;
  return client > 0 ? client / kListRowHeight : 0;
}

void SimDesktop::clampTop(SimWindow& r) {
  const int n = static_cast<int>(r.items.size());
  const int maxTop = std::max(0, n - listRowsShown(r));
  r.topRow = std::clamp(r.topRow, 0, maxTop);
}

int SimDesktop::listViewAdd(Wnd w, const std::string& caption, std::uintptr_t icon) {
  SimWindow* r = rec(w);
  if (!r || r->kind != Kind::ListView) return -1;
  r->rowIcons.resize(r->items.size(), 0);
  r->items.push_back(caption);
  r->rowIcons.push_back(icon);
  return static_cast<int>(r->items.size()) - 1;
}

std::uintptr_t SimDesktop::listViewIcon(Wnd w, int row) const {
  const SimWindow* r = rec(w);
  if (!r || row < 0 || row >= static_cast<int>(r->rowIcons.size())) return 0;
  return r->rowIcons[static_cast<std::size_t>(row)];
}

int SimDesktop::listViewHitTest(Wnd w, Point c) {
  const SimWindow* r = rec(w);
  if (!r || r->kind != Kind::ListView) return -1;
  if (c.x < 0 || c.y < 0 || c.x >= r->bounds.width - 4 || c.y >= r->bounds.height - 4) return -1;
  const int row = r->topRow + c.y / kListRowHeight;
  return row < static_cast<int>(r->items.size()) ? row : -1;
}

int SimDesktop::listViewHot(Wnd w) {
  const SimWindow* r = rec(w);
  return r && r->kind == Kind::ListView ? r->hotRow : -1;
}

void SimDesktop::listViewSetHot(Wnd w, int row) {
  SimWindow* r = rec(w);
  if (!r || r->kind != Kind::ListView) return;
  r->hotRow = row >= 0 && row < static_cast<int>(r->items.size()) ? row : -1;
}

int SimDesktop::listViewTopIndex(Wnd w) {
  const SimWindow* r = rec(w);
  return r && r->kind == Kind::ListView ? r->topRow : 0;
}

void SimDesktop::listViewScroll(Wnd w, int rows) {
  SimWindow* r = rec(w);
  if (!r || r->kind != Kind::ListView) return;
  r->topRow = static_cast<int>(std::clamp<long long>(static_cast<long long>(r->topRow) + rows,
                                                     -1, 1LL << 30));
  clampTop(*r);
}

int SimDesktop::listViewRowHeight(Wnd w) {
  const SimWindow* r = rec(w);
  return r && r->kind == Kind::ListView ? kListRowHeight : 0;
}

void SimDesktop::listViewSetColumnWidth(Wnd w, int width) {
  SimWindow* r = rec(w);
  if (!r || r->kind != Kind::ListView) return;
  r->columnWidth = std::max(0, width);
}

bool SimDesktop::listViewScrollsDown(Wnd w) const {
  const SimWindow* r = rec(w);
  if (!r || r->kind != Kind::ListView) return false;
  return static_cast<int>(r->items.size()) > listRowsShown(*r);
}

bool SimDesktop::listViewScrollsSideways(Wnd w) const {
  const SimWindow* r = rec(w);
  if (!r || r->kind != Kind::ListView || r->items.empty()) return false;
  constexpr int kScrollBar = 17;  // SM_CXVSCROLL at 96 DPI
  const int client = r->bounds.width - 4 - (listViewScrollsDown(w) ? kScrollBar : 0);
  const int column = r->columnWidth < 0 ? r->bounds.width - 4 : r->columnWidth;
  return column > client;
}

int SimDesktop::listItemFromPoint(Wnd w, Point c) {
  const SimWindow* r = rec(w);
  if (!r || r->kind != Kind::ListBox || c.x < 0 || c.y < 0) return -1;
  const int row = c.y / kListBoxRowHeight;
  return row < static_cast<int>(r->items.size()) ? row : -1;
}

}  // namespace sq
