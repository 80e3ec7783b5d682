#include "app/frame/form.h"
#include "app/frame/gbk.h"

#include "app/frame/budget.h"
#include "platform/lines.h"

namespace sq {

ListIndexError::ListIndexError(int i)
    : std::runtime_error("List index out of bounds (" + std::to_string(i) + ")"), index(i) {}

FileCreateError::FileCreateError(const std::string& name)
    : std::runtime_error("Cannot create file " + name) {}

namespace {
// Timer ids are the control's address, unique for the run (kept positive).
unsigned TimerIdOf(const void* c) {
  return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(c) & 0x7fffffffu);
}

WindowSpec SpecOf(const ControlLayout& l, Wnd parent, int dpi) {
  WindowSpec s;
  s.kind = l.kind;
  s.className = l.className;
  s.name = l.name;
  s.caption = l.text.caption;
  s.parent = parent;
  // A form's corner is on the screen; everything else is scaled.
  const Rect& b = l.geometry.bounds;
  s.bounds = {parent ? screens::Scale(b.left, dpi) : b.left,
              parent ? screens::Scale(b.top, dpi) : b.top, screens::Scale(b.width, dpi),
              screens::Scale(b.height, dpi)};
  s.dpi = dpi;
  s.visible = l.behaviour.visible;
  s.enabled = l.behaviour.enabled;
  s.topmost = l.look.topmost;
  s.borderless = l.look.borderless;
  s.color = l.look.color;
  s.fontColor = l.look.fontColor;
  s.fontName = l.look.fontName;
  s.fontSize = l.look.fontSize;
  s.items = l.text.items;
  s.checked = l.behaviour.checked;
  auto ro = l.extra.find("readonly");
  s.readOnly = ro != l.extra.end() && ro->second == "true";
  auto al = l.extra.find("alignment");
  if (al != l.extra.end())
    s.align = al->second == "left" ? TextAlign::Left : al->second == "right" ? TextAlign::Right : TextAlign::Center;
  return s;
}

Rect ScaleRect(const Rect& r, int dpi) {
  return {screens::Scale(r.left, dpi), screens::Scale(r.top, dpi), screens::Scale(r.width, dpi),
          screens::Scale(r.height, dpi)};
}
Rect UnscaleRect(const Rect& r, int dpi) {
  return {screens::Unscale(r.left, dpi), screens::Unscale(r.top, dpi),
          screens::Unscale(r.width, dpi), screens::Unscale(r.height, dpi)};
}

// A new form is laid out for the monitor its stored rectangle lies on, or,
// when it starts parked, for the main monitor.
int InitialDpi(Platform& p, const Rect& stored) {
  const auto ms = screens::Query(p);
  const int dpi = screens::OnAny(ms, stored) ? screens::ForRect(ms, stored).dpi
                                             : screens::Main(ms).dpi;
  return screens::ClampDpi(dpi);
}
}  // namespace

Control::Control(Form* form, Platform& p, const ControlLayout& layout, Wnd parentWnd, int dpi)
    : form_(form), p_(p), layout_(layout), dpi_(screens::ClampDpi(dpi)) {
  if (kind() == Kind::Timer) {
    timer_.interval = layout.behaviour.interval;
    timer_.enabled = layout.behaviour.timerEnabled;
    return;  // a timer has no window
  }
  if (kind() == Kind::MenuItem) {
    // Menu items keep caption and enabled state in the layout copy; they
    // are shown by the form's popup menu, not as windows.
    return;
  }
  wnd_ = p_.createWindow(SpecOf(layout, parentWnd, dpi_));
  // Clicks reach the handler the owning form wired, run as the framework
  // runs every handler.
  p_.setClickHandler(wnd_, [this] {
    if (OnClick && form_) RunHandler(form_->host(), OnClick);
  });
  p_.setEventHandler(wnd_, [this](UiEvent& e) { HandleEvent(e); });
}

Control::~Control() {
  // A form clears its own hover in ~Form, while it is still whole.
  if (form_ && form_ != this && form_->host().hovered() == this) form_->host().setHovered(nullptr);
  // A control that goes before its window (a closed browser tab) leaves no
  // handler behind that would call into it.
  if (wnd_) {
    p_.setClickHandler(wnd_, nullptr);
    p_.setEventHandler(wnd_, nullptr);
  }
}

std::string Control::TraceName() const {
  if (form_ == this) return layout_.className;
  return (form_ ? form_->ClassName() + "." : std::string()) + Name();
}

namespace {
const char* ButtonName(MouseButton b) {
  return b == MouseButton::Left ? "left" : b == MouseButton::Right ? "right" : "middle";
}
const char* EventName(UiEvent::Type t) {
  switch (t) {
    case UiEvent::MouseEnter: return "MouseEnter";
    case UiEvent::MouseMove: return "MouseMove";
    case UiEvent::MouseLeave: return "MouseLeave";
    case UiEvent::MouseDown: return "MouseDown";
    case UiEvent::MouseUp: return "MouseUp";
    case UiEvent::DblClick: return "DblClick";
    case UiEvent::MouseWheel: return "MouseWheel";
    case UiEvent::KeyDown: return "KeyDown";
    case UiEvent::KeyPress: return "KeyPress";
    case UiEvent::KeyUp: return "KeyUp";
    case UiEvent::Activate: return "Activate";
    case UiEvent::Deactivate: return "Deactivate";
    case UiEvent::DpiChanged: return "DpiChanged";
    case UiEvent::DisplayChange: return "DisplayChange";
  }
  return "?";
}
std::string Describe(const UiEvent& e) {
  std::string s = EventName(e.type);
  auto point = [&s](Point p) {
    s.append(" ").append(std::to_string(p.x)).append(",").append(std::to_string(p.y));
  };
  switch (e.type) {
    case UiEvent::MouseMove: point(e.pt); break;
    case UiEvent::MouseDown:
    case UiEvent::MouseUp:
      s.append(" ").append(ButtonName(e.button));
      point(e.pt);
      if (e.doubleClick) s.append(" double");
      break;
    case UiEvent::DblClick: s.append(" ").append(ButtonName(e.button)); break;
    case UiEvent::MouseWheel:
      s.append(" ").append(std::to_string(e.wheelDelta));
      point(e.pt);
      break;
    case UiEvent::KeyDown:
    case UiEvent::KeyPress:
    case UiEvent::KeyUp: s.append(" ").append(std::to_string(e.key)); break;
    default: break;
  }
  if (e.type != UiEvent::MouseEnter && e.type != UiEvent::MouseLeave) {
    if (e.shift.shift) s.append(" shift");
    if (e.shift.ctrl) s.append(" ctrl");
  }
  return s;
}
}  // namespace

void Control::HandleEvent(UiEvent& e) {
  if (!form_) return;
  FormHost& host = form_->host();
  const bool mouse = e.type == UiEvent::MouseEnter || e.type == UiEvent::MouseMove ||
                     e.type == UiEvent::MouseDown || e.type == UiEvent::MouseUp ||
                     e.type == UiEvent::DblClick;
  if (e.type == UiEvent::MouseLeave) {
    if (host.hovered() != this) return;  // already closed
    host.setHovered(nullptr);
    RunEvent(e);
    return;
  }
  if (mouse && host.hovered() != this) {
    // Close a hover whose Leave never came, then enter this control.
    if (Control* old = host.hovered()) {
      host.setHovered(nullptr);
      UiEvent leave;
      leave.type = UiEvent::MouseLeave;
      old->RunEvent(leave);
    }
    host.setHovered(this);
    if (e.type != UiEvent::MouseEnter) {
      UiEvent enter;
      enter.type = UiEvent::MouseEnter;
      RunEvent(enter);
    }
  } else if (e.type == UiEvent::MouseEnter) {
    return;  // a repeated Enter
  }
  if (e.type == UiEvent::MouseWheel && e.wheelDelta == 0) return;
  RunEvent(e);
}

void Control::RunEvent(UiEvent& e) {
  FormHost& host = form_->host();
  if (host.eventTrace) host.eventTrace(TraceName() + " " + Describe(e));
  RunHandler(host, [&] {
    switch (e.type) {
      case UiEvent::MouseEnter: if (OnMouseEnter) OnMouseEnter(); break;
      case UiEvent::MouseLeave: if (OnMouseLeave) OnMouseLeave(); break;
      case UiEvent::MouseMove: if (OnMouseMove) OnMouseMove(e.shift, e.pt.x, e.pt.y); break;
      case UiEvent::MouseDown:
        if (OnMouseDown) OnMouseDown(e.button, e.shift, e.pt.x, e.pt.y);
        break;
      case UiEvent::MouseUp: if (OnMouseUp) OnMouseUp(e.button, e.shift, e.pt.x, e.pt.y); break;
      case UiEvent::DblClick: if (OnDblClick) OnDblClick(); break;
      case UiEvent::MouseWheel: if (OnMouseWheel) OnMouseWheel(e.shift, e.wheelDelta, e.pt); break;
      case UiEvent::KeyDown: if (OnKeyDown) OnKeyDown(e.key, e.shift); break;
      case UiEvent::KeyUp: if (OnKeyUp) OnKeyUp(e.key, e.shift); break;
      case UiEvent::KeyPress:
        if (OnKeyPress) {
          char c = static_cast<char>(e.key);
          OnKeyPress(c);
          e.key = static_cast<unsigned char>(c);
        }
        break;
      case UiEvent::Activate: if (OnActivate) OnActivate(); break;
      case UiEvent::Deactivate: if (OnDeactivate) OnDeactivate(); break;
      case UiEvent::DpiChanged: if (OnDpiChanged) OnDpiChanged(e.dpi); break;
      case UiEvent::DisplayChange: if (OnDisplayChange) OnDisplayChange(); break;
    }
  });
}

std::string Control::Caption() const {
  if (kind() == Kind::Timer || kind() == Kind::MenuItem) return layout_.text.caption;
  // Any program can write our captions: read only as much as a reader can
  // use, whatever the caption holds.
  // One byte more than the budget tells whether the cut splits a character.
  std::string s = p_.getWindowTextUpTo(wnd_, budget::kCaptionRead + 1);
  s.resize(gbk::Cut(s, budget::kCaptionRead));
  return s;
}
void Control::SetCaption(const std::string& s) {
  if (kind() == Kind::Timer || kind() == Kind::MenuItem) {
    const_cast<ControlLayout&>(layout_).text.caption = s;
    return;
  }
  // As the framework does: an unchanged text is not written again, so the
  // tick's relays repaint nothing while their words stay the same.
  if (s.size() <= budget::kCaptionRead && Caption() == s) return;
  p_.setWindowText(wnd_, s);
}

std::string Control::Text() const {
  if (kind() == Kind::ListBox || kind() == Kind::Memo || kind() == Kind::ListView) {
    std::string out;
    int n = Count();
    for (int i = 0; i < n; ++i) {
      if (i) out += "\r\n";
      out += p_.listItem(wnd_, i);
    }
    return out;
  }
  return Caption();
}

namespace {
// The fewest item changes that turn the list `now` into `want`, for a list
// whose items change at the head (new ones inserted, the tail cut) or in
// one run in the middle (items overwritten): false when none is cheaper
// than writing every item again.
struct ListEdit {
  std::size_t at = 0;       // where the run of changes begins
  std::size_t removed = 0;  // items taken out there
  std::size_t tailCut = 0;  // items taken off the end first
  std::size_t inserted = 0; // want[at .. at + inserted) put in at `at`
};
bool CheapestEdit(const std::vector<std::string>& now, const std::vector<std::string>& want,
                  ListEdit& edit) {
  const std::size_t n = now.size(), m = want.size();
  // One run in the middle: the common head and tail stay.
  std::size_t head = 0;
  while (head < n && head < m && now[head] == want[head]) ++head;
  std::size_t tail = 0;
  while (tail < n - head && tail < m - head && now[n - 1 - tail] == want[m - 1 - tail]) ++tail;
  ListEdit best{head, n - head - tail, 0, m - head - tail};
  std::size_t cost = best.removed + best.inserted;
  // New items at the head, the end cut: want = new items + a head of now.
  for (std::size_t j = 0; j <= m && j < cost; ++j) {
    const std::size_t keep = m - j;
    if (keep > n) continue;
    bool fits = true;
    for (std::size_t i = 0; i < keep && fits; ++i) fits = want[j + i] == now[i];
    if (!fits) continue;
    const std::size_t c = j + (n - keep);
    if (c < cost) {
      best = {0, 0, n - keep, j};
      cost = c;
    }
    break;  // the smallest j that fits is the cheapest of this kind
  }
  edit = best;
  return cost < m + 1;  // clearing and adding every item costs m + 1
}
}  // namespace

void Control::SetText(const std::string& s) {
  if (kind() == Kind::ListBox && wnd_ && !p_.isWindowVisible(wnd_)) {
    // A hidden list (one that only holds state) is brought to the new items
    // by the fewest changes; it ends as after clearing and adding them all:
    // the same items, none selected.
    const std::vector<std::string> want = SplitLines(s);
    std::vector<std::string> now;
    const int n = p_.listCount(wnd_);
    for (int i = 0; i < n; ++i) now.push_back(p_.listItem(wnd_, i));
    ListEdit e;
    if (now == want || CheapestEdit(now, want, e)) {
      if (now != want) {
        for (std::size_t k = 0; k < e.tailCut; ++k)
          p_.listDelete(wnd_, static_cast<int>(now.size() - 1 - k));
        for (std::size_t k = 0; k < e.removed; ++k) p_.listDelete(wnd_, static_cast<int>(e.at));
        for (std::size_t k = 0; k < e.inserted; ++k)
          p_.listInsert(wnd_, static_cast<int>(e.at + k), want[e.at + k]);
      }
      if (p_.listSelected(wnd_) != -1) p_.listSelect(wnd_, -1);
      return;
    }
  }
  if (kind() == Kind::ListBox || kind() == Kind::Memo || kind() == Kind::ListView) {
    p_.listClear(wnd_);
    for (const std::string& line : SplitLines(s)) p_.listInsert(wnd_, -1, line);
    return;
  }
  SetCaption(s);
}

int Control::Left() const { return Bounds().left; }
int Control::Top() const { return Bounds().top; }
int Control::Width() const { return Bounds().width; }
int Control::Height() const { return Bounds().height; }
Rect Control::Bounds() const {
  if (!wnd_) return layout_.geometry.bounds;
  const Rect r = p_.getBounds(wnd_);
  if (form_ == this)
    return {r.left, r.top, screens::Unscale(r.width, dpi_), screens::Unscale(r.height, dpi_)};
  return UnscaleRect(r, form_ ? form_->dpi_ : dpi_);
}
void Control::SetBounds(int l, int t, int w, int h) {
  if (!wnd_) {
    const_cast<ControlLayout&>(layout_).geometry.bounds = {l, t, w, h};
    return;
  }
  if (form_ == this) {
    static_cast<Form*>(this)->MoveTo(l, t, w, h, ZOrder::Keep, 0);
    return;
  }
  p_.setBounds(wnd_, ScaleRect({l, t, w, h}, form_ ? form_->dpi_ : dpi_));
}
void Control::SetLeft(int v) { Rect r = Bounds(); SetBounds(v, r.top, r.width, r.height); }
void Control::SetTop(int v) { Rect r = Bounds(); SetBounds(r.left, v, r.width, r.height); }
void Control::SetWidth(int v) { Rect r = Bounds(); SetBounds(r.left, r.top, v, r.height); }
void Control::SetHeight(int v) { Rect r = Bounds(); SetBounds(r.left, r.top, r.width, v); }

bool Control::Visible() const {
  if (!wnd_) return layout_.behaviour.visible;
  return p_.isWindowVisible(wnd_);
}
void Control::SetVisible(bool v) {
  if (!wnd_) {
    const_cast<ControlLayout&>(layout_).behaviour.visible = v;
    return;
  }
  p_.showWindow(wnd_, v);
}
bool Control::Enabled() const {
  if (!wnd_) return layout_.behaviour.enabled;
  return p_.isWindowEnabled(wnd_);
}
void Control::SetEnabled(bool v) {
  if (!wnd_) {
    const_cast<ControlLayout&>(layout_).behaviour.enabled = v;
    return;
  }
  p_.enableWindow(wnd_, v);
}
void Control::BringToFront() {
  if (wnd_) p_.setWindowPos(wnd_, ZOrder::Top, {}, swp::NoMove | swp::NoSize | swp::NoActivate);
}

int Control::Count() const { return wnd_ ? p_.listCount(wnd_) : 0; }
std::string Control::Item(int i) const {
  if (i < 0 || i >= Count()) throw ListIndexError(i);
  return p_.listItem(wnd_, i);
}
void Control::SetItem(int i, const std::string& s) {
  if (i < 0 || i >= Count()) throw ListIndexError(i);
  p_.listSet(wnd_, i, s);
}
void Control::Insert(int i, const std::string& s) {
  if (i < 0 || i > Count()) throw ListIndexError(i);
  p_.listInsert(wnd_, i, s);
}
void Control::Add(const std::string& s) {
  if (wnd_) p_.listInsert(wnd_, -1, s);
}
void Control::Delete(int i) {
  if (i < 0 || i >= Count()) throw ListIndexError(i);
  p_.listDelete(wnd_, i);
}
void Control::Clear() {
  if (wnd_) p_.listClear(wnd_);
}
int Control::ItemIndex() const { return wnd_ ? p_.listSelected(wnd_) : -1; }
void Control::SetItemIndex(int i) {
  if (wnd_) p_.listSelect(wnd_, i);
}
bool Control::Checked() const { return wnd_ ? p_.isChecked(wnd_) : layout_.behaviour.checked; }
void Control::SetChecked(bool on) {
  if (wnd_) p_.setChecked(wnd_, on);
}

void Control::startTimer() {
  if (kind() != Kind::Timer || !timer_.enabled || timer_.interval == 0 || !form_) return;
  Form* f = form_;
  unsigned id = TimerIdOf(this);
  p_.setTimer(f->Handle(), id, timer_.interval, [this, f] {
    if (OnTimer) RunHandler(f->host(), OnTimer);
  });
  timer_.running = true;
}

void Control::SetTimerEnabled(bool on) {
  if (kind() != Kind::Timer) return;
  timer_.enabled = on;
  unsigned id = TimerIdOf(this);
  if (!on && timer_.running) {
    p_.killTimer(form_->Handle(), id);
    timer_.running = false;
  } else if (on && !timer_.running && form_->host().running()) {
    startTimer();
  }
}

void Control::SetInterval(unsigned ms) {
  timer_.interval = ms;
  if (timer_.running) {
    SetTimerEnabled(false);
    SetTimerEnabled(true);
  }
}

Form::Form(FormHost& host, const std::string& layoutName)
    : Control(nullptr, host.platform(), StoredLayout(layoutName).form, 0,
              InitialDpi(host.platform(), StoredLayout(layoutName).form.geometry.bounds)),
      host_(host) {
  form_ = this;
  p_.setCloseHandler(wnd_, [this] { Close(); });
  OnDpiChanged = [this](int dpi) { DpiChanged(dpi); };
  const FormLayout& fl = StoredLayout(layoutName);
  for (const auto& cl : fl.controls) {
    Wnd parent = wnd_;
    if (!cl.geometry.parent.empty()) {
      auto it = byName_.find(cl.geometry.parent);
      if (it != byName_.end() && it->second->Handle()) parent = it->second->Handle();
    }
    controls_.push_back(std::make_unique<Control>(this, p_, cl, parent, dpi_));
    byName_[cl.name] = controls_.back().get();
  }
}

Form::~Form() {
  if (host_.hovered() == this) host_.setHovered(nullptr);
  stopTimers();
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    if ((*it)->Handle()) p_.destroyWindow((*it)->Handle());
  }
  controls_.clear();
  if (wnd_) p_.destroyWindow(wnd_);
}

Control& Form::ctl(const std::string& name) {
  auto it = byName_.find(name);
  if (it == byName_.end())
    throw std::out_of_range("form " + Name() + " has no control " + name);
  return *it->second;
}

Control* Form::find(const std::string& name) {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

void Form::startTimers() {
  for (auto& c : controls_)
    if (c->kind() == Kind::Timer && !c->timer_.running) c->startTimer();
}

void Form::stopTimers() {
  for (auto& c : controls_) {
    if (c->kind() == Kind::Timer && c->timer_.running) {
      unsigned id = TimerIdOf(c.get());
      p_.killTimer(wnd_, id);
      c->timer_.running = false;
    }
  }
}

void Form::Close() {
  // Closing the main form ends the run; any other form is only hidden.
  closing_ = true;
  RunHandler(host_, [this] { FormClose(); });
  if (static_cast<Form*>(this) == static_cast<Form*>(host_.FormMainForm())) {
    host_.formClosed(*this);
  } else {
    Hide();
  }
}

void Form::SetWindowPos(ZOrder z, int x, int y, int w, int h, unsigned flags) {
  MoveTo(x, y, w, h, z, flags);
}

int Form::Scale(int v) const { return screens::Scale(v, dpi_); }

void Form::SetWindowStateNormal() {
  if (!wnd_) return;
  const WindowState st = p_.windowState(wnd_);
  if (st.minimized || st.maximized) p_.restoreWindow(wnd_);
}

Rect Form::ScreenRect() const { return wnd_ ? p_.getWindowRect(wnd_) : Rect{}; }

bool Form::Shown() const {
  return wnd_ && screens::OnAny(screens::Query(p_), ScreenRect());
}

void Form::ParkAt(int x) {
  if (!wnd_) return;
  const auto ms = screens::Query(p_);
  Rect r = ScreenRect();
  r.left = x;
  if (screens::OnAny(ms, r)) r.left = screens::ParkLeft(ms);
  // Off every monitor the form keeps the DPI it was laid out for.
  p_.setBounds(wnd_, r);
}

void Form::PlaceAtPointer(Point pointer, int dx, int dy, int w, int h, ZOrder z,
                          unsigned flags) {
  const auto ms = screens::Query(p_);
  const Monitor& m = screens::At(ms, pointer);
  const int d = screens::ClampDpi(m.dpi);
  Rect r{pointer.x + screens::Scale(dx, d), pointer.y + screens::Scale(dy, d),
         screens::Scale(w, d), screens::Scale(h, d)};
  Place(screens::KeepInside(r, m.rect), d, z, flags);
}

void Form::Place(const Rect& screen, int dpi, ZOrder z, unsigned flags) {
  if (!wnd_) return;
  Rescale(dpi);
  if (z == ZOrder::Keep && flags == 0)
    p_.setBounds(wnd_, screen);
  else
    p_.setWindowPos(wnd_, z, screen, flags);
}

void Form::MoveTo(int x, int y, int w, int h, ZOrder z, unsigned flags) {
  if (!wnd_) return;
  const Rect cur = ScreenRect();
  if (flags & swp::NoMove) {
    x = cur.left;
    y = cur.top;
  }
  if (flags & swp::NoSize) {
    w = screens::Unscale(cur.width, dpi_);
    h = screens::Unscale(cur.height, dpi_);
  }
  flags &= ~(swp::NoMove | swp::NoSize);
  // The monitor the form lands on decides its DPI; off every monitor
  // (parked) it keeps the one it has.
  const auto ms = screens::Query(p_);
  int d = dpi_;
  const Rect at{x, y, screens::Scale(w, d), screens::Scale(h, d)};
  if (screens::OnAny(ms, at)) d = screens::ClampDpi(screens::ForRect(ms, at).dpi);
  Place({x, y, screens::Scale(w, d), screens::Scale(h, d)}, d, z, flags);
}

void Form::Rescale(int dpi) {
  dpi = screens::ClampDpi(dpi);
  if (dpi == dpi_ || rescaling_) return;
  rescaling_ = true;
  std::vector<std::pair<Control*, Rect>> laid;
  for (auto& c : controls_)
    if (c->Handle()) laid.emplace_back(c.get(), c->Bounds());
  dpi_ = dpi;
  for (auto& [c, b] : laid) {
    p_.setBounds(c->Handle(), ScaleRect(b, dpi));
    p_.setFontDpi(c->Handle(), dpi);
  }
  p_.setFontDpi(wnd_, dpi);
  rescaling_ = false;
}

void Form::DpiChanged(int dpi) {
  dpi = screens::ClampDpi(dpi);
  // Parked forms keep their layout; a form the framework just placed has
  // its DPI already.
  if (rescaling_ || dpi == dpi_ || !Shown()) return;
  const Rect r = Bounds();
  Rescale(dpi);
  rescaling_ = true;
  p_.setBounds(wnd_, {r.left, r.top, screens::Scale(r.width, dpi), screens::Scale(r.height, dpi)});
  rescaling_ = false;
}

void RunHandler(FormHost& host, const std::function<void()>& fn) {
  try {
    fn();
  } catch (const ListIndexError& e) {
    host.frameworkError(e.what());
  } catch (const FileCreateError& e) {
    host.frameworkError(e.what());
  } catch (const std::out_of_range& e) {
    host.frameworkError(e.what());
  }
}

}  // namespace sq
