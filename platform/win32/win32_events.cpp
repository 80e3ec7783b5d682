// Events of the Win32 backend: the handlers the core sets, the popup menu,
// the hook's words into their mailboxes, and the window procedure that turns
// messages into the core's events.
#include "platform/win32/win32_internal.h"

namespace sq {

using namespace w32;

// ---------------------------------------------------------------- events

void Win32Platform::setClickHandler(Wnd w, std::function<void()> fn) {
  if (Info* in = info(H(w))) in->onClick = std::move(fn);
}
void Win32Platform::setCloseHandler(Wnd w, std::function<void()> fn) {
  if (Info* in = info(H(w))) in->onClose = std::move(fn);
}
void Win32Platform::setEventHandler(Wnd w, UiEventHandler fn) {
  if (Info* in = info(H(w))) in->onEvent = std::move(fn);
}
void Win32Platform::setTrayHandler(Wnd owner, std::function<void(TrayEvent)> fn) {
  if (Info* in = info(H(owner))) in->onTray = std::move(fn);
}

int Win32Platform::trackPopupMenu(Wnd owner, const std::vector<MenuEntry>& entries, Point at) {
  forgetGlance();
  startPendingTimers();  // a menu's loop runs the timers too
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& e = entries[i];
    if (e.separator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (e.enabled ? MF_ENABLED : MF_GRAYED);
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(i + 1), Wide(e.caption).c_str());
  }
  // The owner must be the foreground window or the menu does not close
  // when the user clicks elsewhere.
  SetForegroundWindow(H(owner));
  int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN,
                                               at.x, at.y, 0, H(owner), nullptr));
  PostMessageW(H(owner), WM_NULL, 0, 0);
  DestroyMenu(menu);
  return chosen > 0 ? chosen - 1 : -1;
}

namespace {
// Posted to a mailbox window by mailboxSeen: its waiting words may go on.
constexpr UINT kDeliverMessage = WM_APP + 0x3A2;
}  // namespace

bool Win32Platform::IsWordMessage(UINT msg) {
  return msg == hookmsg::kWordMessage || msg == kDeliverMessage;
}

void Win32Platform::applyWord(LPARAM lp) {
  const auto* b = reinterpret_cast<const hookmsg::WordBlock*>(lp);
  if (!b) return;
  // A pointer's word (a button, the wheel) may have changed what is in
  // front and under the pointer at once. A key's word keeps what the timer
  // handlers looked up: what another program does in answer to a key is
  // seen once that look-up is old (kGlanceUs), as what it does on its own.
  if (b->key == 0) forgetGlance();
  // The window the core named for the box (setHookMailbox), while it lives.
  HWND target = b->box < 3 ? mailboxes_[b->box] : nullptr;
  if (target && IsWindow(target)) {
    Word word{static_cast<Mailbox>(b->box), hookmsg::WordText(b), hookmsg::WordOnlyIf(b),
              static_cast<int>(b->key), b->edge <= 3 ? static_cast<Word::Edge>(b->edge) : Word::Edge::None};
    const std::uint64_t dropped = delivery_.Dropped();
    const bool now = delivery_.Offer(W(target), word);
    for (const Word& passed : delivery_.Superseded()) traceWord('P', target, passed.text);
    if (now) writeWord(target, word);
    else if (delivery_.Dropped() != dropped && delivery_.LastDropped())
      traceWord('D', target, delivery_.LastDropped()->text);
  } else {
    traceWord('D', nullptr, hookmsg::WordText(b));
  }
  hookmsg::FreeWord(b);
}

void Win32Platform::writeWord(HWND to, const Word& word) {
  // The condition is tested when the word's turn comes, not when it arrived.
  if (word.onlyIf.empty() || getWindowText(W(to)) == word.onlyIf) {
    // The caption of one of the program's own windows, kept in the process:
    // nothing the timer handlers looked up changes with it.
    OwnTextWrite own(*this, true);
    SetWindowTextW(to, Wide(word.text).c_str());
  } else {
    traceWord('K', to, word.text);
  }
}

void Win32Platform::traceWord(char kind, HWND box, const std::string& text) {
  if (wordTrace_ == INVALID_HANDLE_VALUE) return;
  int i = 0;
  while (i < 3 && mailboxes_[i] != box) ++i;
  if (kind == 'W' && i == 3) return;  // not a mailbox
  if (kind == 'S') {
    if (i == 3 || traceSeen_[i] == text) return;
    traceSeen_[i] = text;
  }
  std::string line = std::string(1, kind) + " " + std::to_string(i) + " " + text;
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  line += '\n';
  DWORD done = 0;
  WriteFile(wordTrace_, line.data(), static_cast<DWORD>(line.size()), &done, nullptr);
}

void Win32Platform::deliverWaiting(HWND w) {
  while (auto word = delivery_.Next(W(w))) {
    if (word->key == 0) forgetGlance();
    writeWord(w, *word);
  }
}

void Win32Platform::mailboxSeen(Wnd w) {
  if (!w || !info(H(w))) return;
  if (wordTrace_ != INVALID_HANDLE_VALUE) traceWord('S', H(w), getWindowText(w));
  delivery_.Seen(w);
  // The reader is inside its tick: the next word goes after it returns.
  if (delivery_.Waiting(w) > 0) PostMessageW(H(w), kDeliverMessage, 0, 0);
}

void Win32Platform::paintPanel(HWND h, Info& in) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  if (in.kind == Kind::GroupBox) {
    RECT frame = rc;
    frame.top += 7;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  }
  if (!in.picture.empty()) {
    // BGR ints are the 0x00RRGGBB of a top-down 32-bit DIB with red and
    // blue swapped.
    std::vector<DWORD> bits(in.picture.size());
    for (size_t i = 0; i < bits.size(); ++i) {
      const unsigned c = static_cast<unsigned>(in.picture[i]);
      bits[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = in.pictureWidth;
    bi.bmiHeader.biHeight = -in.pictureHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, rc.right, rc.bottom, 0, 0, in.pictureWidth, in.pictureHeight,
                  bits.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
  }
  if (in.kind != Kind::Image && in.kind != Kind::Browser && in.kind != Kind::Shape) {
    std::wstring text;
    int n = GetWindowTextLengthW(h);
    text.resize(static_cast<size_t>(n) + 1);
    text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), n + 1)));
    if (!text.empty()) {
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, in.fontColor >= 0 ? static_cast<COLORREF>(in.fontColor)
                                         : GetSysColor(COLOR_BTNTEXT));
      UINT fmt = DT_NOPREFIX;
      if (in.kind == Kind::Panel) {
        fmt |= DT_VCENTER | DT_SINGLELINE;
        fmt |= in.align == TextAlign::Left ? DT_LEFT : in.align == TextAlign::Right ? DT_RIGHT : DT_CENTER;
      }
      else if (in.kind == Kind::GroupBox) { rc.left += 8; fmt |= DT_SINGLELINE; }
      else fmt |= DT_LEFT | DT_WORDBREAK;
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, fmt);
      SelectObject(dc, old);
    }
  }
  EndPaint(h, &ps);
}

LRESULT CALLBACK Win32Platform::WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (g_self) return g_self->handle(h, msg, wp, lp);
  return DefWindowProcW(h, msg, wp, lp);
}

LRESULT Win32Platform::fallback(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Info* in = info(h);
  if (in && in->orig) return CallWindowProcW(in->orig, h, msg, wp, lp);
  return DefWindowProcW(h, msg, wp, lp);
}

namespace {
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED, missing from older headers
constexpr UINT kListMessageLast = 0x01B3;     // LB_MSGMAX of the newest headers
ShiftState MouseShift(WPARAM wp) {
  ShiftState s;
  s.shift = (wp & MK_SHIFT) != 0;
  s.ctrl = (wp & MK_CONTROL) != 0;
  s.alt = GetKeyState(VK_MENU) < 0;
  s.left = (wp & MK_LBUTTON) != 0;
  s.right = (wp & MK_RBUTTON) != 0;
  s.middle = (wp & MK_MBUTTON) != 0;
  return s;
}
ShiftState KeyShift() {
  // One ask for the whole keyboard (under Wine each GetKeyState is a
  // server round trip).
  BYTE k[256] = {};
  GetKeyboardState(k);
  ShiftState s;
  s.shift = (k[VK_SHIFT] & 0x80) != 0;
  s.ctrl = (k[VK_CONTROL] & 0x80) != 0;
  s.alt = (k[VK_MENU] & 0x80) != 0;
  s.left = (k[VK_LBUTTON] & 0x80) != 0;
  s.right = (k[VK_RBUTTON] & 0x80) != 0;
  s.middle = (k[VK_MBUTTON] & 0x80) != 0;
  return s;
}
Point ClientPoint(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }
}  // namespace

bool Win32Platform::raise(HWND h, UiEvent& e) {
  Info* in = info(h);
  if (!in || !in->onEvent) return false;
  UiEventHandler fn = in->onEvent;  // the handler may replace itself
  const int key = e.key;
  Run([&] { fn(e); });
  return key != 0 && e.key == 0;
}

bool Win32Platform::raiseEvents(HWND h, Info& in, UINT msg, WPARAM wp, LPARAM lp) {
  UiEvent e;
  switch (msg) {
    case WM_MOUSEMOVE: {
      if (!in.tracking) {
        // Ask for the leave, then tell the window it was entered.
        TRACKMOUSEEVENT t{};
        t.cbSize = sizeof t;
        t.dwFlags = TME_LEAVE;
        t.hwndTrack = h;
        in.tracking = TrackMouseEvent(&t) != FALSE;
        UiEvent enter;
        enter.type = UiEvent::MouseEnter;
        enter.pt = ClientPoint(lp);
        raise(h, enter);
        if (!info(h)) return false;  // the handler destroyed the window
      }
      e.type = UiEvent::MouseMove;
      e.pt = ClientPoint(lp);
      e.shift = MouseShift(wp);
      // A list view's hot row follows the pointer before its handler
      // hears of the move.
      if (in.kind == Kind::ListView) in.hot = listViewHitTest(W(h), e.pt);
      return raise(h, e);
    }
    case WM_MOUSELEAVE:
      in.tracking = false;
      in.hot = -1;
      e.type = UiEvent::MouseLeave;
      return raise(h, e);
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
      const bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      e.type = UiEvent::MouseDown;
      e.button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? MouseButton::Left
                 : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? MouseButton::Right
                                                                       : MouseButton::Middle;
      e.pt = ClientPoint(lp);
      e.shift = MouseShift(wp);
      e.doubleClick = dbl;
      if (e.button == MouseButton::Left) in.leftPressed = true;
      raise(h, e);
      if (dbl && info(h)) {
        UiEvent d = e;
        d.type = UiEvent::DblClick;
        raise(h, d);
      }
      return false;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      e.type = UiEvent::MouseUp;
      e.button = msg == WM_LBUTTONUP ? MouseButton::Left
                 : msg == WM_RBUTTONUP ? MouseButton::Right : MouseButton::Middle;
      e.pt = ClientPoint(lp);
      e.shift = MouseShift(wp);
      return raise(h, e);
    case WM_MOUSEWHEEL: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};  // screen
      ScreenToClient(h, &p);
      e.type = UiEvent::MouseWheel;
      e.wheelDelta = GET_WHEEL_DELTA_WPARAM(wp);
      e.pt = {p.x, p.y};
      e.shift = MouseShift(GET_KEYSTATE_WPARAM(wp));
      return raise(h, e);
    }
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
    case WM_KEYUP: case WM_SYSKEYUP:
      e.type = (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) ? UiEvent::KeyDown : UiEvent::KeyUp;
      e.key = static_cast<int>(wp);
      e.shift = KeyShift();
      return raise(h, e);
    case WM_CHAR: {
      // The character's first GBK byte (the whole of it for ASCII).
      const wchar_t wc[2] = {static_cast<wchar_t>(wp), 0};
      const std::string gbk = Gbk(wc);
      e.type = UiEvent::KeyPress;
      e.key = gbk.empty() ? 0 : static_cast<unsigned char>(gbk[0]);
      e.shift = KeyShift();
      if (e.key == 0) return false;
      return raise(h, e);
    }
    case kDpiChangedMessage:
      if (!in.topLevel || !in.onEvent) return false;
      e.type = UiEvent::DpiChanged;
      e.dpi = LOWORD(wp);
      raise(h, e);
      return true;  // the core places the window itself
    case WM_DISPLAYCHANGE:
      if (!in.topLevel || !in.onEvent) return false;
      e.type = UiEvent::DisplayChange;
      raise(h, e);
      return true;
    case WM_ACTIVATE:
      if (!in.topLevel) return false;
      e.type = LOWORD(wp) == WA_INACTIVE ? UiEvent::Deactivate : UiEvent::Activate;
      e.shift = KeyShift();
      raise(h, e);
      return false;
    default:
      return false;
  }
}

LRESULT Win32Platform::handle(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  // News of a change reaching one of the program's windows, sent or
  // posted, from the program or another one (activation and focus, a
  // window moved, shown or closed, a caption written, input), may have
  // changed what the timer handlers looked up. (The program's own reads
  // of its controls are messages too, and change nothing.)
  if ((msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST))
    forgetGlance();
  switch (msg) {
    case WM_ACTIVATE: case WM_ACTIVATEAPP: case WM_NCACTIVATE: case WM_MOUSEACTIVATE:
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_CAPTURECHANGED: case WM_CLOSE:
    case WM_DESTROY: case WM_ENABLE:
      forgetGlance();
      break;
    case WM_WINDOWPOSCHANGED: case WM_SHOWWINDOW:
      if (ownPlaceChange_ > 0) forgetPlaces();
      else forgetGlance();
      break;
    case WM_SETTEXT:
      if (!ownTextWrite_) forgetGlance();
      break;
    default: break;
  }
  switch (msg) {
    case WM_GETTEXT: ++g_calls.textReadSys; break;
    case WM_SETTEXT: ++g_calls.textWriteSys; break;
    case LB_GETTEXT: case LB_GETCOUNT: ++g_calls.listReadSys; break;
    case LB_ADDSTRING: case LB_INSERTSTRING: case LB_DELETESTRING: case LB_RESETCONTENT:
      ++g_calls.listWriteSys;
      break;
    default: break;
  }
  if (msg == WM_PAINT && TickMarks()) {
    // The form's class and the control's layout name.
    wchar_t cls[64] = L"?", name[64] = L"";
    GetClassNameW(GetAncestor(h, GA_ROOT), cls, 64);
    if (HANDLE a = GetPropW(h, kNameProp))
      GlobalGetAtomNameW(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(a)), name, 64);
    const std::wstring mark = L"sqpaint " + std::wstring(cls) + L"." + name;
    GlobalFindAtomW(mark.c_str());
  }
  if (msg == hookmsg::kWordMessage) {
    applyWord(lp);
    return 0;
  }
  if (msg == kDeliverMessage) {
    deliverWaiting(h);
    return 0;
  }
  if (msg == kAttachBrowserMessage) {
    if (AttachNextWaitingBrowser()) PostMessageW(h, kAttachBrowserMessage, 0, 0);
    return 0;
  }
  if (msg == WM_DISPLAYCHANGE || msg == kDpiChangedMessage || msg == WM_SETTINGCHANGE) {
    monitorsValid_ = false;
    ForgetScreen();
  }
  if (msg == WM_WINDOWPOSCHANGED || msg == WM_DISPLAYCHANGE) wakeExposed();
  Info* in = info(h);
  if (in && msg == kTrayCallback && in->onTray) {
    TrayEvent e = TrayEvent::Other;
    switch (LOWORD(lp)) {
      case WM_LBUTTONDOWN: e = TrayEvent::LeftDown; break;
      case WM_LBUTTONUP: e = TrayEvent::LeftUp; break;
      case WM_LBUTTONDBLCLK: e = TrayEvent::LeftDouble; break;
      case WM_RBUTTONDOWN: e = TrayEvent::RightDown; break;
      case WM_RBUTTONUP: e = TrayEvent::RightUp; break;
      default: break;
    }
    auto fn = in->onTray;
    Run([&] { fn(e); });
    return fallback(h, msg, wp, lp);
  }
  if (in && raiseEvents(h, *in, msg, wp, lp)) return 0;  // swallowed
  in = info(h);  // a handler may have destroyed the window
  if (!in && msg != WM_NCDESTROY) return IsWindow(h) ? DefWindowProcW(h, msg, wp, lp) : 0;
  switch (msg) {
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lp);
      Info* c = child ? info(child) : nullptr;
      if (!c) break;
      WORD code = HIWORD(wp);
      bool click = (code == BN_CLICKED && !IsListKind(c->kind) && c->kind != Kind::Edit &&
                    c->kind != Kind::Memo) ||
                   (code == LBN_SELCHANGE && IsListKind(c->kind));
      if (click && c->onClick) {
        auto fn = c->onClick;
        Run(fn);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      Info* c = info(reinterpret_cast<HWND>(lp));
      if (!c || (c->color < 0 && c->fontColor < 0)) break;
      HDC dc = reinterpret_cast<HDC>(wp);
      if (c->fontColor >= 0) SetTextColor(dc, static_cast<COLORREF>(c->fontColor));
      int sys = (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_BTNFACE;
      if (c->color >= 0) SetBkColor(dc, static_cast<COLORREF>(c->color));
      else SetBkColor(dc, GetSysColor(sys));
      return reinterpret_cast<LRESULT>(c->brush ? c->brush : GetSysColorBrush(sys));
    }
    case WM_ERASEBKGND: {
      if (!in || in->orig) break;
      RECT rc;
      GetClientRect(h, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, in->brush ? in->brush : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT:
      if (in && !in->topLevel && !in->orig) {
        paintPanel(h, *in);
        return 0;
      }
      break;
    case WM_SETTEXT: {
      if (!in) break;
      // Every new text of a window, whoever writes it, comes here: the
      // kept copy follows it (or is dropped when the write failed).
      const auto* now = reinterpret_cast<const wchar_t*>(lp);
      const std::wstring next = now ? now : L"";
      if (in->topLevel) {
        // A new word in a form's caption, from any writer, is unread until
        // its reader says so (WordDelivery).
        const std::wstring* kept = keptText(h);
        const std::wstring before = kept ? *kept : w32::WindowTextW(h);
        LRESULT r = DefWindowProcW(h, msg, wp, lp);
        if (Info* after = info(h)) {
          if (r) after->keep(next);
          else after->textKnown = false;
        }
        if (before != next) {
          delivery_.Changed(W(h));
          if (wordTrace_ != INVALID_HANDLE_VALUE) traceWord('W', h, Gbk(next));
        }
        return r;
      }
      LRESULT r;
      if (!in->orig) {
        // A panel paints its caption; one that shows nothing on the screen
        // is not repainted for a new word (mailbox traffic lands mostly in
        // parked windows).
        r = DefWindowProcW(h, msg, wp, lp);
        if (ShowsOnScreen(h)) InvalidateRect(h, nullptr, TRUE);
      } else {
        r = fallback(h, msg, wp, lp);
      }
      if (Info* after = info(h); after && KeepsText(*after)) {
        if (r) after->keep(next);
        else after->textKnown = false;
      }
      return r;
    }
    case WM_MOUSEWHEEL:
      // Handled where it arrived; a panel does not pass it to its parent.
      if (in && !in->orig) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (in && in->kind == Kind::ListView && in->orig) {
        // The list view's own procedure selects the row, then waits for the
        // release or a drag in a loop of its own that takes the button-up
        // message: the release is told from here once it is over.
        const int vk = msg == WM_LBUTTONDOWN ? VK_LBUTTON : VK_RBUTTON;
        LRESULT r = fallback(h, msg, wp, lp);
        Info* after = info(h);
        if (after && GetKeyState(vk) >= 0) {
          POINT p{};
          GetCursorPos(&p);
          ScreenToClient(h, &p);
          UiEvent up;
          up.type = UiEvent::MouseUp;
          up.button = msg == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right;
          up.pt = {p.x, p.y};
          up.shift = KeyShift();
          raise(h, up);
        }
        return r;
      }
      break;
    case WM_LBUTTONUP:
      // A panel or label is clicked by a left press and release on it.
      if (in && !in->topLevel && !in->orig) {
        const bool pressed = in->leftPressed;
        in->leftPressed = false;
        if (pressed && in->onClick) {
          auto fn = in->onClick;
          Run(fn);
        }
        return 0;
      }
      if (in) in->leftPressed = false;
      break;
    case WM_CLOSE:
      if (in && in->topLevel) {
        if (in->onClose) {
          auto fn = in->onClose;
          Run(fn);
        } else {
          ShowWindow(h, SW_HIDE);  // forms are never destroyed by a close
        }
        return 0;
      }
      break;
    case WM_NCDESTROY: {
      WNDPROC orig = in ? in->orig : nullptr;
      if (in) {
        if (in->brush) DeleteObject(in->brush);
        infos_.erase(h);
      }
      for (HWND& m : mailboxes_)
        if (m == h) m = nullptr;
      for (auto it = timers_.begin(); it != timers_.end();)
        it = it->first.first == h ? timers_.erase(it) : std::next(it);
      if (HANDLE a = RemovePropW(h, kNameProp))
        GlobalDeleteAtom(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(a)));
      if (orig) return CallWindowProcW(orig, h, msg, wp, lp);
      return DefWindowProcW(h, msg, wp, lp);
    }
    default: break;
  }
  if (in && in->kind == Kind::ListBox && msg >= LB_ADDSTRING && msg <= kListMessageLast) {
    // Whoever changes a list box's items, the kept copy follows.
    const LRESULT r = fallback(h, msg, wp, lp);
    followList(h, msg, wp, lp, r);
    return r;
  }
  return fallback(h, msg, wp, lp);
}

}  // namespace sq
