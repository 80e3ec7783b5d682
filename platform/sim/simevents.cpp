// The simulated desktop: control events of the program's windows, raised
// from the pointer, the buttons, the wheel, the keys and activation, the
// way Windows hands its window messages to them.
#include <algorithm>
#include <cstdlib>

#include "platform/sim/simdesktop.h"

namespace sq {

namespace {

// Controls whose own window procedure keeps the left button's events from
// the press to the release (they capture the mouse on the press).
bool CapturesLeftButton(Kind k) {
  return k == Kind::Button || k == Kind::CheckBox || k == Kind::RadioButton ||
         k == Kind::Edit || k == Kind::Memo || k == Kind::ListBox || k == Kind::ListView;
}

// The character a key types on an edit control (WM_CHAR), 0 for none.
int TypedChar(int vk, bool shift, bool ctrl, bool alt) {
  if (alt) return 0;
  if (ctrl) return 0;
  if (vk == 8 || vk == 9 || vk == 13 || vk == 27 || vk == 32) return vk;
  if (vk >= 'A' && vk <= 'Z') return shift ? vk : vk - 'A' + 'a';
  static constexpr char kShifted[] = ")!@#$%^&*(";
  if (vk >= '0' && vk <= '9') return shift ? kShifted[vk - '0'] : vk;
  if (vk >= 96 && vk <= 105) return '0' + vk - 96;
  struct P { int vk; char plain, shifted; };
  static constexpr P kPunct[] = {{186, ';', ':'}, {187, '=', '+'}, {188, ',', '<'},
                                 {189, '-', '_'}, {190, '.', '>'}, {191, '/', '?'},
                                 {192, '`', '~'}, {219, '[', '{'}, {220, '\\', '|'},
                                 {221, ']', '}'}, {222, '\'', '"'}};
  for (const P& p : kPunct)
    if (p.vk == vk) return shift ? p.shifted : p.plain;
  return 0;
}
}  // namespace

void SimDesktop::setEventHandler(Wnd w, UiEventHandler fn) {
  if (rec(w)) handlers_.setEvent(w, std::move(fn));
}

void SimDesktop::setTrayHandler(Wnd owner, std::function<void(TrayEvent)> fn) {
  if (rec(owner)) handlers_.setTray(owner, std::move(fn));
}

bool SimDesktop::sendRawEvent(Wnd w, UiEvent e) {
  UiEventHandler fn = handlers_.event(w);
  if (!fn) return false;
  runAsHandler([&] { fn(e); });
  return true;
}

Point SimDesktop::clientPoint(Wnd w) const {
  const SimWindow* r = rec(w);
  if (!r) return cursor_;
  Rect s = screenRect(*r);
  // The program's edits and lists have a sunken 2-pixel border
  // (WS_EX_CLIENTEDGE): their client area starts inside it.
  const int edge = !r->foreign && r->parent &&
                           (r->kind == Kind::Edit || r->kind == Kind::Memo ||
                            r->kind == Kind::ListBox || r->kind == Kind::ListView)
                       ? 2 : 0;
  return {cursor_.x - s.left - edge, cursor_.y - s.top - edge};
}

Wnd SimDesktop::mouseTarget() const {
  if (capture_ && rec(capture_)) return capture_;
  if (buttons_.owner() && rec(buttons_.owner())) return buttons_.owner();
  return tree_.inputTarget(cursor_);
}

// Posted like input: the handler runs after the running one, and finds the
// window's handler only if the window still exists then.
void SimDesktop::raiseEvent(Wnd w, const UiEvent& e, std::function<void(const UiEvent&)> after) {
  const SimWindow* r = rec(w);
  if (!r || r->foreign) return;
  dispatch([this, w, e, after] {
    UiEvent copy = e;
    // A copy: the handler may replace itself.
    if (UiEventHandler fn = handlers_.event(w)) fn(copy);
    if (after && rec(w)) after(copy);
  });
}

// Sent, not posted: activation runs inside the call that caused it.
void SimDesktop::sendEvent(Wnd w, UiEvent::Type type) {
  UiEventHandler fn = handlers_.event(w);
  if (!fn) return;
  UiEvent e;
  e.type = type;
  e.shift = shiftState();
  runAsHandler([&] { fn(e); });
}

void SimDesktop::foregroundChanged(Wnd from, Wnd to) {
  if (from && rec(from) && !rec(from)->foreign) sendEvent(from, UiEvent::Deactivate);
  if (to && rec(to) && !rec(to)->foreign && foreground_ == to) sendEvent(to, UiEvent::Activate);
}

Wnd SimDesktop::ownMouseTarget() const {
  const Wnd t = mouseTarget();
  const SimWindow* r = rec(t);
  return r && !r->foreign ? t : 0;
}

void SimDesktop::pointerMoved() {
  // Handlers run from here (at once, outside a handler) must not start
  // another round of it.
  if (movingPointer_) return;
  struct Guard {
    bool& f;
    ~Guard() { f = false; }
  } guard{movingPointer_};
  movingPointer_ = true;
  browserPointer();
  const Wnd t = ownMouseTarget();
  if (hover_ && hover_ != t) {
    // The window the pointer was over hears that it left (TrackMouseEvent).
    UiEvent leave;
    leave.type = UiEvent::MouseLeave;
    const Wnd was = hover_;
    hover_ = 0;
    if (SimWindow* l = rec(was)) l->hotRow = -1;
    raiseEvent(was, leave);
  }
  if (!t) return;
  if (hover_ != t) {
    hover_ = t;
    UiEvent enter;
    enter.type = UiEvent::MouseEnter;
    enter.pt = clientPoint(t);
    raiseEvent(t, enter);
  }
  UiEvent move;
  move.type = UiEvent::MouseMove;
  move.pt = clientPoint(t);
  // A list view's hot row follows the pointer before its handler hears
  // of the move.
  if (SimWindow* l = rec(t); l && l->kind == Kind::ListView)
    l->hotRow = listViewHitTest(t, move.pt);
  move.shift = shiftState();
  raiseEvent(t, move);
}

void SimDesktop::mouseButtonEvent(MouseButton b, bool down, Wnd t) {
  browserButton(b, down, t);
  const SimWindow* r = rec(t);
  if (!down && b == MouseButton::Left) buttons_.setOwner(0);
  if (!r || r->foreign) return;
  UiEvent e;
  e.type = down ? UiEvent::MouseDown : UiEvent::MouseUp;
  e.button = b;
  e.pt = clientPoint(t);
  e.shift = shiftState();
  // A list view selects the row pressed with the left or the right button
  // (none when the press is below the last row) once the handler has seen
  // the press, as the control's own procedure runs after the subclass.
  std::function<void(const UiEvent&)> select;
  if (down && r->kind == Kind::ListView && b != MouseButton::Middle)
    select = [this, t](const UiEvent& done) {
      if (SimWindow* l = rec(t)) l->selected = listViewHitTest(t, done.pt);
    };
  // A list box selects the row pressed with the left button; a press below
  // the last row leaves the selection as it was.
  if (down && r->kind == Kind::ListBox && b == MouseButton::Left)
    select = [this, t](const UiEvent& done) {
      SimWindow* l = rec(t);
      if (!l || done.pt.y < 0) return;
      const int row = done.pt.y / kListBoxRowHeight;
      if (row < static_cast<int>(l->items.size())) l->selected = row;
    };
  if (down) {
    if (b == MouseButton::Left && CapturesLeftButton(r->kind)) buttons_.setOwner(t);
    if (buttons_.press(t, b, cursor_)) {
      e.doubleClick = true;
      raiseEvent(t, e, select);
      UiEvent d = e;
      d.type = UiEvent::DblClick;
      raiseEvent(t, d);
      return;
    }
  }
  raiseEvent(t, e, select);
  if (!down && b == MouseButton::Left && hover_ != ownMouseTarget()) pointerMoved();
}

void SimDesktop::wheelEvent(int delta) {
  // The wheel goes to the focused window, wherever the pointer is.
  const SimWindow* r = rec(focus_);
  if (!r || r->foreign) return;
  UiEvent e;
  e.type = UiEvent::MouseWheel;
  e.wheelDelta = delta;
  e.pt = clientPoint(focus_);
  e.shift = shiftState();
  // A list view then scrolls three rows a notch (the system's default).
  std::function<void(const UiEvent&)> scroll;
  if (r->kind == Kind::ListView)
    scroll = [this, w = focus_, delta](const UiEvent&) {
      listViewScroll(w, -static_cast<int>(static_cast<long long>(delta) * 3 / 120));
    };
  raiseEvent(focus_, e, scroll);
}

void SimDesktop::programKey(SimWindow& r, int vk, bool up) {
  const Wnd w = r.handle;
  UiEvent e;
  e.type = up ? UiEvent::KeyUp : UiEvent::KeyDown;
  e.key = vk;
  e.shift = shiftState();
  if (up) {
    raiseEvent(w, e);
    return;
  }
  const int ch = TypedChar(vk, e.shift.shift, e.shift.ctrl, e.shift.alt);
  // Key down, the edit's own handling of the key, then the character it
  // typed (TranslateMessage), each skipped when a handler swallowed it.
  raiseEvent(w, e, [this, w, ch](const UiEvent& done) {
    if (done.key == 0) return;
    SimWindow* ed = rec(w);
    const bool edit = ed && ed->editor;
    if (edit && ch == 0) editorKey(*ed, done.key);
    if (ch == 0) return;
    UiEvent press;
    press.type = UiEvent::KeyPress;
    press.key = ch;
    press.shift = shiftState();
    raiseEvent(w, press, [this, w](const UiEvent& typed) {
      SimWindow* ed2 = rec(w);
      if (typed.key == 0 || !ed2 || !ed2->editor) return;
      if (typed.key == 8 || typed.key == 13 || typed.key == 9 || typed.key == 27) {
        if (typed.key != 27) editorKey(*ed2, typed.key);
        return;
      }
      if (ed2->readOnly) return;
      std::string& t = ed2->caption;
      const std::size_t a = std::min({ed2->anchor, ed2->caret, t.size()});
      const std::size_t b = std::min(std::max(ed2->anchor, ed2->caret), t.size());
      t.erase(a, b - a);
      t.insert(t.begin() + static_cast<std::ptrdiff_t>(a), static_cast<char>(typed.key));
      ed2->caret = ed2->anchor = a + 1;
    });
  });
}

}  // namespace sq
