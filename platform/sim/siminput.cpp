// The simulated desktop: pointer, keyboard, hook, text editor and virtual
// clock.
#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "platform/sim/simdesktop.h"
#include "platform/sim/simtext.h"

namespace sq {

namespace {

constexpr int kShift = SimKeyboard::kShift, kCtrl = SimKeyboard::kCtrl, kAlt = SimKeyboard::kAlt;

// Character typed by a key, without and with Shift; 0 = none.
struct KeyChars {
  int vk;
  char plain, shifted;
};
constexpr KeyChars kPunct[] = {
    {32, ' ', ' '},   {9, '\t', '\t'},  {186, ';', ':'},  {187, '=', '+'},
    {188, ',', '<'},  {189, '-', '_'},  {190, '.', '>'},  {191, '/', '?'},
    {192, '`', '~'},  {219, '[', '{'},  {220, '\\', '|'}, {221, ']', '}'},
    {222, '\'', '"'},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

char CharOf(int vk, bool shift) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<char>(shift ? vk : vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<char>(vk);
  if (vk >= 96 && vk <= 105) return static_cast<char>('0' + vk - 96);  // numeric pad
  for (const auto& k : kPunct)
    if (k.vk == vk) return shift ? k.shifted : k.plain;
  return 0;
}

// The key (and whether Shift is needed) that types an ASCII character.
bool KeyFor(char c, int& vk, bool& shift) {
  shift = false;
  if (c >= 'a' && c <= 'z') { vk = c - 'a' + 'A'; return true; }
  if (c >= 'A' && c <= 'Z') { vk = c; shift = true; return true; }
  if (c >= '0' && c <= '9') { vk = c; return true; }
  if (c == '\n') { vk = 13; return true; }
  for (int d = 0; d < 10; ++d)
    if (kShiftedDigits[d] == c) { vk = '0' + d; shift = true; return true; }
  for (const auto& k : kPunct) {
    if (k.plain == c) { vk = k.vk; return true; }
    if (k.shifted == c) { vk = k.vk; shift = true; return true; }
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------- keys and pointer

bool SimDesktop::isKeyDown(int vk) { return keyboard_.down(vk); }

void SimDesktop::setCursorPos(Point p) {
  record_.cursor(tickCount(), p);
  inputSeen();
  // The move reaches the hook like the hand's: SetCursorPos cannot carry
  // the program's mark. A move the hook keeps leaves the pointer where it was.
  if (hookMouse(MouseAction::Move, 0, false, screen_.onMonitors(p))) return;
  cursor_ = screen_.onMonitors(p);
  // The system moves the pointer and tells the window under it.
  if (queue_.busy()) {
    SimPending m;
    m.kind = SimPending::Call;
    m.call = [this] { pointerMoved(); };
    queue_.push(std::move(m));
  } else {
    pointerMoved();
  }
}

void SimDesktop::keybdEvent(int vk, int scan, unsigned flags) {
  record_.key(tickCount(), vk, scan, flags);
  if (queue_.busy()) {
    queue_.push({SimPending::Key, vk, scan, flags, 0, 0, 0, {}, {}, 0});
    return;
  }
  applyKey(vk, (flags & keyflag::KeyUp) != 0, true, scan);
}

void SimDesktop::mouseEvent(unsigned flags, int dx, int dy, int data) {
  record_.mouse(tickCount(), flags, dx, dy, data);
  if (queue_.busy()) {
    queue_.push({SimPending::Mouse, 0, 0, flags, dx, dy, data, {}, {}, 0});
    return;
  }
  applyMouse(flags, dx, dy, data, true);
}

void SimDesktop::applyKey(int vk, bool up, bool injected, int scan) {
  (void)scan;
  inputSeen();
  keyboard_.set(vk, !up);
  hookKey(vk, up, injected);
  deliverKey(vk, up);
}

void SimDesktop::applyMouse(unsigned flags, int dx, int dy, int data, bool injected) {
  inputSeen();
  if (flags & mouseflag::Move) {
    Point p = cursor_;
    if (flags & mouseflag::Absolute) {
      p.x = static_cast<int>(static_cast<long long>(dx) * screen_.width() / 65536);
      p.y = static_cast<int>(static_cast<long long>(dy) * screen_.height() / 65536);
    } else {
      p.x += dx;
      p.y += dy;
    }
    // The hook sees the move before the pointer does and may keep it.
    if (!hookMouse(MouseAction::Move, 0, injected, screen_.onMonitors(p))) {
      cursor_ = screen_.onMonitors(p);
      pointerMoved();
      scrolling_.foreignMouse(MouseAction::Move, cursor_, keyboard_.down(1));
    }
  }
  struct B { unsigned flag; int vk; bool down; MouseAction a; };
  static constexpr B kButtons[] = {
      {mouseflag::LeftDown, 1, true, MouseAction::LeftDown},
      {mouseflag::LeftUp, 1, false, MouseAction::LeftUp},
      {mouseflag::RightDown, 2, true, MouseAction::RightDown},
      {mouseflag::RightUp, 2, false, MouseAction::RightUp},
      {mouseflag::MiddleDown, 4, true, MouseAction::MiddleDown},
      {mouseflag::MiddleUp, 4, false, MouseAction::MiddleUp},
  };
  for (const B& b : kButtons) {
    if (!(flags & b.flag)) continue;
    if (hookMouse(b.a, 0, injected, cursor_)) continue;  // kept by the hook
    const bool anyHeld = keyboard_.anyButton();
    keyboard_.set(b.vk, b.down);
    scrolling_.foreignMouse(b.a, cursor_, keyboard_.down(1));
    // The press goes to the window under the pointer as the press happens,
    // even when the activation it causes moves that window away.
    if (b.down && ownMouseTarget() != hover_) pointerMoved();
    const Wnd under = mouseTarget();
    Wnd target = under;
    if (buttons_.grabs()) {
      if (b.down && !anyHeld) buttons_.grabFor(target ? target : windowFromPoint(cursor_));
      if (buttons_.grabbed() && rec(buttons_.grabbed())) target = buttons_.grabbed();
      if (!keyboard_.anyButton()) buttons_.grabFor(0);
    }
    const bool grabbedAway = target != under;
    if (b.down && !grabbedAway) buttonDown();
    mouseButtonEvent(b.vk == 1 ? MouseButton::Left : b.vk == 2 ? MouseButton::Right
                                                               : MouseButton::Middle,
                     b.down, target);
    if (b.a == MouseAction::LeftDown) buttons_.pressedOn(grabbedAway ? 0 : clickTarget(cursor_));
    if (b.a == MouseAction::LeftUp) {
      const Wnd w = clickTarget(cursor_);
      if (buttons_.releasedOn(w) && handlers_.hasClick(w)) dispatch(handlers_.click(w));
    }
  }
  if (flags & mouseflag::Wheel) {
    if (!hookMouse(MouseAction::Wheel, data, injected, cursor_)) wheelEvent(data);
  }
}

void SimDesktop::hookKey(int vk, bool up, bool injected) {
  if (!hooks_.keyboard()) return;
  modules_.checkHookCode();
  hooks_.called();
  KeyInput e;
  e.vk = SimKeyboard::HookCode(vk);
  e.up = up;
  e.injected = injected;
  e.extra = injected ? kOwnInputMark : 0;
  applyWords(composer_.Key(e));
}

bool SimDesktop::hookMouse(MouseAction a, int delta, bool injected, Point at) {
  if (!hooks_.mouse()) return false;
  modules_.checkHookCode();
  hooks_.called();
  // A drag request left by the program is taken first (the library does
  // so on every mouse event as well as on its thread's turn).
  drag_.take();
  MouseInput e;
  e.action = a;
  e.x = at.x;
  e.y = at.y;
  e.wheelDelta = delta;
  e.injected = injected;
  e.extra = injected ? kOwnInputMark : 0;
  DragScroll& drag = drag_.drag();
  const bool alive = !drag.active() || rec(drag.target().window);
  const Wnd target = drag.target().window;
  HookMouseResult r = HookMouse(composer_, drag, e, cursor_, alive);
  applyWords(r.words);
  if (r.drag.scroll) scrollBy(target, r.drag.step);
  // A kept move leaves the pointer at the drag's anchor.
  if (r.drag.swallow && a == MouseAction::Move && drag.active()) cursor_ = screen_.onMonitors(drag.target().anchor);
  // The hook lets go of the program's press, as the program's own input.
  if (r.drag.releaseLeft) mouseEvent(mouseflag::LeftUp, 0, 0, 0);
  drag_.publish();
  // The library puts the pointer back at the anchor on its thread's turn,
  // after the callback has returned.
  if (r.drag.recentre && drag.active()) postToHookThread([this] { recentrePointer(); });
  return r.drag.swallow;
}

void SimDesktop::applyWords(const std::vector<Word>& words) {
  if (words.empty()) return;
  if (queue_.busy()) {
    queue_.push({SimPending::Words, 0, 0, 0, 0, 0, 0, words, {}, 0});
    return;
  }
  mailboxes_.offer(words);
}

void SimDesktop::mailboxSeen(Wnd w) {
  if (!rec(w)) return;
  mailboxes_.seen(w);
  if (queue_.busy()) {
    // Like the real backend's posted message: after the running handler.
    SimPending p;
    p.kind = SimPending::Deliver;
    p.wnd = w;
    queue_.push(std::move(p));
    return;
  }
  mailboxes_.deliverWaiting(w);
}

void SimDesktop::buttonDown() {
  Wnd w = windowFromPoint(cursor_);
  SimWindow* r = rec(w);
  if (!r) return;
  Wnd top = topLevelOf(w);
  SimWindow* t = rec(top);
  if (!t->enabled) return;
  if (!t->foreign && !activateOwnOnClick_) return;
  // Edits, lists and buttons take the focus on a press; panels do not.
  const bool takesFocus = r->editor || (!r->foreign && (r->kind == Kind::ListBox ||
                                                        r->kind == Kind::ListView ||
                                                        r->kind == Kind::Memo ||
                                                        r->kind == Kind::Button));
  if (takesFocus) t->lastFocus = w;
  activate(top);
}

// ---------------------------------------------------------------- window events

void SimDesktop::dispatch(std::function<void()> fn) {
  if (!fn) return;
  if (queue_.busy()) {
    SimPending p;
    p.kind = SimPending::Call;
    p.call = std::move(fn);
    queue_.push(std::move(p));
    return;
  }
  runAsHandler(fn);
}

void SimDesktop::setClickHandler(Wnd w, std::function<void()> fn) {
  if (rec(w)) handlers_.setClick(w, std::move(fn));
}

void SimDesktop::setCloseHandler(Wnd w, std::function<void()> fn) {
  if (rec(w)) handlers_.setClose(w, std::move(fn));
}

void SimDesktop::setMessageHandler(Wnd w, unsigned msg,
                                   std::function<void(std::uintptr_t, std::intptr_t)> fn) {
  if (rec(w)) handlers_.setMessage(w, msg, std::move(fn));
}

bool SimDesktop::runClickHandler(Wnd w) {
  if (!handlers_.hasClick(w)) return false;
  dispatch(handlers_.click(w));
  return true;
}

void SimDesktop::clickWindow(Wnd w) {
  const SimWindow* r = rec(w);
  if (!r) return;
  Rect s = screenRect(*r);
  moveMouse(s.left + s.width / 2, s.top + s.height / 2);
  leftDown();
  leftUp();
}

bool SimDesktop::trayMessage(unsigned id, unsigned mouseMessage) {
  for (const TrayIcon& t : taskbar_.trayIcons()) {
    if (t.id != id) continue;
    TrayEvent e = TrayEvent::Other;
    switch (mouseMessage) {
      case 0x201: e = TrayEvent::LeftDown; break;
      case 0x202: e = TrayEvent::LeftUp; break;
      case 0x203: e = TrayEvent::LeftDouble; break;
      case 0x204: e = TrayEvent::RightDown; break;
      case 0x205: e = TrayEvent::RightUp; break;
      default: break;
    }
    if (handlers_.hasTray(t.owner)) {
      const Wnd owner = t.owner;
      dispatch([this, owner, e] {
        // The owner may be gone by now.
        if (auto h = handlers_.tray(owner)) h(e);
      });
    }
    return true;
  }
  return false;
}

bool SimDesktop::trayClick(unsigned id, MouseButton button) {
  const bool left = button == MouseButton::Left;
  if (!trayMessage(id, left ? 0x201 : 0x204)) return false;
  return trayMessage(id, left ? 0x202 : 0x205);
}

// ---------------------------------------------------------------- real input

void SimDesktop::moveMouse(int x, int y) {
  inputSeen();
  if (hookMouse(MouseAction::Move, 0, false, screen_.onMonitors({x, y}))) return;
  cursor_ = screen_.onMonitors({x, y});
  pointerMoved();
  scrolling_.foreignMouse(MouseAction::Move, cursor_, keyboard_.down(1));
}
void SimDesktop::leftDown() { applyMouse(mouseflag::LeftDown, 0, 0, 0, false); }
void SimDesktop::leftUp() { applyMouse(mouseflag::LeftUp, 0, 0, 0, false); }
void SimDesktop::rightDown() { applyMouse(mouseflag::RightDown, 0, 0, 0, false); }
void SimDesktop::rightUp() { applyMouse(mouseflag::RightUp, 0, 0, 0, false); }
void SimDesktop::middleDown() { applyMouse(mouseflag::MiddleDown, 0, 0, 0, false); }
void SimDesktop::middleUp() { applyMouse(mouseflag::MiddleUp, 0, 0, 0, false); }

void SimDesktop::wheel(int notches) {
  int step = notches > 0 ? 120 : -120;
  for (int i = 0; i < std::abs(notches); ++i) applyMouse(mouseflag::Wheel, 0, 0, step, false);
}

void SimDesktop::keyDown(int vk) {
  applyKey(vk, false, false, 0);
  keyboard_.pressed(vk);
}
void SimDesktop::keyUp(int vk) {
  applyKey(vk, true, false, 0);
  keyboard_.released(vk);
}
void SimDesktop::keyUpUnseen(int vk) {
  keyboard_.set(vk, false);
  keyboard_.released(vk);
}

void SimDesktop::chord(const std::vector<int>& keys, unsigned ms) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i) advance(ms);
    keyDown(keys[i]);
  }
  for (std::size_t i = keys.size(); i-- > 0;) {
    advance(ms);
    keyUp(keys[i]);
  }
}

void SimDesktop::typeText(const std::string& ascii) {
  for (char c : ascii) {
    int vk = 0;
    bool shift = false;
    if (!KeyFor(c, vk, shift))
      throw std::invalid_argument(std::string("typeText: no key types '") + c + "'");
    bool press = shift && !keyboard_.down(kShift);
    if (press) keyDown(kShift);
    tapKey(vk);
    if (press) keyUp(kShift);
  }
}

// ---------------------------------------------------------------- text editor

Wnd SimDesktop::addTextEditor(Rect b, const std::string& caption) {
  Wnd top = addWindow("Notepad", caption, b);
  Wnd edit = addWindow("Edit", "", {0, 0, b.width, b.height}, top);
  SimWindow* e = rec(edit);
  e->fillParent = true;
  e->editor = true;
  e->lineHeight = 16;
  e->kind = Kind::Edit;
  rec(top)->lastFocus = edit;
  activate(top);
  return top;
}

Wnd SimDesktop::editorEdit(Wnd w) {
  const SimWindow* r = rec(w);
  if (!r) return 0;
  if (r->editor) return w;
  for (Wnd c : r->children) {
    const SimWindow* cr = rec(c);
    if (cr && cr->editor) return c;
  }
  return 0;
}

std::string SimDesktop::editorText(Wnd w) { return getWindowText(editorEdit(w)); }

void SimDesktop::setEditorText(Wnd w, const std::string& text) {
  if (Wnd e = editorEdit(w)) setWindowText(e, text);
}

void SimDesktop::setSelection(Wnd w, std::size_t start, std::size_t end) {
  SimWindow* e = rec(editorEdit(w));
  if (!e) return;
  e->anchor = std::min(start, e->caption.size());
  e->caret = std::min(end, e->caption.size());
}

std::string SimDesktop::selectionText(Wnd w) {
  const SimWindow* e = rec(editorEdit(w));
  if (!e) return {};
  std::size_t a = std::min(e->anchor, e->caret), b = std::max(e->anchor, e->caret);
  return e->caption.substr(a, b - a);
}

std::size_t SimDesktop::caretPos(Wnd w) {
  const SimWindow* e = rec(editorEdit(w));
  return e ? e->caret : 0;
}

void SimDesktop::deliverKey(int vk, bool up) {
  SimWindow* r = rec(focus_);
  if (!r) return;
  if (!r->foreign) {
    programKey(*r, vk, up);
    return;
  }
  if (up) return;
  if (!r->editor) r = rec(editorEdit(focus_));
  if (r && r->editor) editorKey(*r, vk);
}

void SimDesktop::editorKey(SimWindow& e, int vk) {
  using namespace simtext;
  std::string& t = e.caption;
  std::size_t a = std::min(e.anchor, e.caret), b = std::max(e.anchor, e.caret);
  auto replaceSel = [&](const std::string& with) {
    if (e.readOnly) return;
    t.replace(a, b - a, with);
    e.caret = e.anchor = a + with.size();
  };
  bool shift = keyboard_.down(kShift), ctrl = keyboard_.down(kCtrl), alt = keyboard_.down(kAlt);
  if (alt) return;
  if (ctrl) {
    switch (vk) {
      case 'A': e.anchor = 0; e.caret = t.size(); break;
      case 'C': if (b > a) setClipboardText(t.substr(a, b - a)); break;
      case 'X':
        if (b > a && !e.readOnly) {
          setClipboardText(t.substr(a, b - a));
          replaceSel("");
        }
        break;
      case 'V': replaceSel(clipboard_.text()); break;
      default: break;
    }
  } else {
    std::size_t c = e.caret;
    bool move = true;
    switch (vk) {
      case 36: c = LineStart(t, c); break;                         // Home
      case 35: c = LineEnd(t, c); break;                           // End
      case 37: c = (!shift && b > a) ? a : PrevChar(t, c); break;  // Left
      case 39: c = (!shift && b > a) ? b : NextChar(t, c); break;  // Right
      case 38:                                                     // Up
      case 40: {                                                   // Down
        std::size_t ls = LineStart(t, c), col = c - ls;
        if (vk == 38) {
          if (ls == 0) { c = 0; break; }
          std::size_t ps = LineStart(t, ls - 1);
          c = Snap(t, std::min(ps + col, LineEnd(t, ps)));
        } else {
          std::size_t le = LineEnd(t, c);
          if (le >= t.size()) { c = t.size(); break; }
          std::size_t ns = NextChar(t, le);
          c = Snap(t, std::min(ns + col, LineEnd(t, ns)));
        }
        break;
      }
      default: move = false; break;
    }
    if (move) {
      e.caret = c;
      if (!shift) e.anchor = c;
    } else if (e.readOnly) {
      // A read-only edit moves its caret and nothing else.
    } else if (vk == 46) {  // Delete
      if (b > a)
        replaceSel("");
      else if (a < t.size()) {
        t.erase(a, NextChar(t, a) - a);
      }
    } else if (vk == 8) {  // Backspace
      if (b > a) {
        replaceSel("");
      } else if (a > 0) {
        std::size_t p = PrevChar(t, a);
        t.erase(p, a - p);
        e.caret = e.anchor = p;
      }
    } else if (vk == 13 || vk == 9) {
      if (!e.singleLine) replaceSel(vk == 13 ? "\r\n" : "\t");
    } else if (char ch = CharOf(vk, shift)) {
      replaceSel(std::string(1, ch));
    }
  }
}

// ---------------------------------------------------------------- clipboard

bool SimDesktop::setClipboardText(const std::string& text) {
  clipboard_.write(text);
  return true;
}

// ---------------------------------------------------------------- time

void SimDesktop::sleep(unsigned ms) {
  // The keyboard and the hook thread go on while the program sleeps.
  const std::uint64_t until = clock_.now() + ms;
  systemUntil(until);
  clock_.reach(until);
  // The user's hands go on while the program sleeps.
  if (auto hands = std::exchange(duringSleep_, {})) hands();
}

void SimDesktop::setTimer(Wnd owner, unsigned id, unsigned ms, TimerProc proc) {
  if (owner && !rec(owner)) return;
  clock_.setTimer(owner, id, ms, std::move(proc));
}

void SimDesktop::killTimer(Wnd owner, unsigned id) {
  clock_.killTimer(owner, id);
}

bool SimDesktop::hasTimer(Wnd owner, unsigned id) const {
  return timerInterval(owner, id) != 0;
}

std::size_t SimDesktop::timerCount() const { return clock_.timerCount(); }

unsigned SimDesktop::timerInterval(Wnd owner, unsigned id) const {
  return clock_.interval(owner, id);
}

void SimDesktop::flushPending() {
  queue_.flush([this](SimPending& p) {
    switch (p.kind) {
      case SimPending::Key: applyKey(p.vk, (p.flags & keyflag::KeyUp) != 0, true, p.scan); break;
      case SimPending::Mouse: applyMouse(p.flags, p.dx, p.dy, p.data, true); break;
      case SimPending::Words: mailboxes_.offer(p.words); break;
      case SimPending::Call: runAsHandler(p.call); break;
      case SimPending::Deliver: mailboxes_.deliverWaiting(p.wnd); break;
    }
  });
}

void SimDesktop::endHandler() {
  if (queue_.leave()) {
    flushPending();
    // A window that moved, hid or appeared under the still pointer hears of
    // it, as the system's mouse move after a window change tells it.
    if (!queue_.busy() && !queue_.flushing() && ownMouseTarget() != hover_) pointerMoved();
  }
}

void SimDesktop::runAsHandler(const std::function<void()>& fn) {
  queue_.enter();
  try {
    fn();
  } catch (...) {
    endHandler();
    throw;
  }
  endHandler();
}

void SimDesktop::advance(unsigned ms) {
  if (queue_.busy()) {  // from inside a handler: a plain wait
    sleep(ms);
    return;
  }
  const std::uint64_t target = clock_.now() + ms;
  for (;;) {
    const std::optional<std::uint64_t> timer = clock_.nextDue(target);
    // The system's own work due before the next timer comes first.
    const std::uint64_t sys = nextSystemDue();
    if (sys <= target && (!timer || sys < *timer)) {
      clock_.reach(sys);
      runSystemDue();
      continue;
    }
    if (!timer) break;
    if (TimerProc proc = clock_.fire(target)) runAsHandler(proc);
  }
  clock_.reach(target);
}

// ---------------------------------------------------------------- the system's own work

std::uint64_t SimDesktop::nextSystemDue() const {
  std::uint64_t due = UINT64_MAX;
  due = std::min(due, keyboard_.repeatDue());
  due = std::min(due, hooks_.nextDue());
  return std::max(due, clock_.now());
}

void SimDesktop::runSystemDue() {
  if (const int vk = keyboard_.repeatTurn()) applyKey(vk, false, false, 0);
  hooks_.runDue();
}

void SimDesktop::systemUntil(std::uint64_t t) {
  for (std::uint64_t due = nextSystemDue(); due <= t; due = nextSystemDue()) {
    clock_.reach(due);
    runSystemDue();
  }
}

void SimDesktop::postToHookThread(std::function<void()> work) {
  hooks_.post(std::move(work));
}

void SimDesktop::removeHooks() { hooks_.removeAll(); }

void SimDesktop::recentrePointer() {
  DragScroll& drag = drag_.drag();
  if (!hooks_.mouse() || !drag.active()) return;
  // A step aside first, as the library does for Wine's sake.
  const Point at = drag.target().anchor;
  drag.OwnMoveComing({at.x + 1, at.y});
  drag.OwnMoveComing(at);
  setCursorPos({at.x + 1, at.y});
  setCursorPos(at);
}

}  // namespace sq
