#include "bar/qirform3.h"

#include <algorithm>

#include "app/frame/screens.h"
#include "bar/qircom.h"
#include "bar/qirform4.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/qirinputor.h"
#include "input/words.h"

namespace sq {

namespace {
constexpr int kColumn = 768;     // pixels read down each column
constexpr int kLastThumbRow = 759;
constexpr char kWordClass[] = "_WwG";
constexpr char kPageClass[] = "Internet Explorer_Server";

Wnd TopOf(Platform& p, Wnd w) {
  for (int guard = 0; w && guard < 64; ++guard) {
    const Wnd up = p.getParent(w);
    if (!up) break;
    w = up;
  }
  return w;
}
}  // namespace

TqirForm3::TqirForm3(App& app) : Form(app, app.bar.qirForm3, "qirForm3"), qirForm3_controls(this) {
  Button1.OnClick = [this] { Button1Click(); };
  normalscroll.OnClick = [this] { normalscrollClick(); };
  Panel10.OnMouseUp = [this](MouseButton b, ShiftState, int, int) { Panel10MouseUp(b); };
  // The mouse words of the hook library go to this window's caption.
  platform().setHookMailbox(Mailbox::Scroll, Handle());
}

void TqirForm3::FormCreate() {
  const auto ms = screens::Query(platform());
  const int top = Panel4.Top();
  Panel4.SetLeft(screens::OnAny(ms, {-100, top, 1, 1}) ? screens::ParkLeft(ms) : -100);
}

void TqirForm3::Button1Click() {
  App& a = app();
  Platform& p = platform();
  a.bar.qircom->Park();
  const Point at = p.getCursorPos();
  origin_ = working_ = at;
  const Wnd under = p.windowFromPoint({at.x - 50, at.y});
  target_ = TopOf(p, under);
  p.setForegroundWindow(target_);
  std::string cls = p.getClassName(target_);
  if (cls == kPopupMenuClass) {
    target_ = p.windowFromPoint({at.x + 50, at.y});
    cls = p.getClassName(target_);
  }
  a.bar.qircom->Panel15.SetCaption(cls);
  // Documents and pages are told by the window under the point: their
  // classes belong to child windows, never to a top-level one.
  const std::string inner = p.getClassName(under);
  const bool word = cls == kWordClass || inner == kWordClass;
  const bool page = cls == kPageClass || inner == kPageClass;
  if (!word && !page) {
    normalscrollClick();
    return;
  }
  // The application's own middle-button scrolling.
  TqirForm4& title = *a.bar.qirForm4;
  const Rect tr = title.ScreenRect();
  title.Place({tr.left, p.screenHeight() + 10, tr.width, 0}, title.Dpi(), ZOrder::Keep, swp::NoZOrder);
  title.SetCaption(words::title::Ended);
  const Point now = p.getCursorPos();
  SetLeft(100);
  SetTop(now.y);
  p.setForegroundWindow(target_);
  p.sleep(100);
  a.browser.easyie->midmess.SetCaption(words::scroll::MiddleDown);
  p.mouseEvent(mouseflag::MiddleDown, 0, 0, 0);
  p.mouseEvent(mouseflag::MiddleUp, 0, 0, 30);
  p.sleep(10);
  p.mouseEvent(mouseflag::Move, 0, word ? 32 : 16, 0);
}

int TqirForm3::ThumbRow(const std::vector<int>& a, int arrowHeight, int last) {
  const int n = static_cast<int>(a.size());
  // An arrow button has edges: a column of one colour all down the arrow's
  // height is no scroll bar (plain content), and nothing is grabbed there.
  bool edged = false;
  for (int i = 1; i <= arrowHeight && i < n; ++i)
    if (a[static_cast<size_t>(i)] != a[0]) edged = true;
  if (!edged) return -1;
  int k = arrowHeight;
  for (int i = 0; i < arrowHeight && i + 1 < n; ++i) {
    if (a[static_cast<size_t>(i)] == a[static_cast<size_t>(i) + 1]) {
      k = i;
      break;
    }
  }
  if (k + 1 >= n) return -1;
  const int colour = a[static_cast<size_t>(k)];
  for (int i = arrowHeight; i <= last && i + 1 < n; ++i)
    if (a[static_cast<size_t>(i)] == colour && a[static_cast<size_t>(i) + 1] == colour) return i;
  return -1;
}

void TqirForm3::normalscrollClick() {
  App& a = app();
  Platform& p = platform();
  const Point start = p.getCursorPos();
  origin_ = working_ = start;
  SetCaption(words::scroll::QuickPageDown);
  // Under the pointer, unless that is the command bar or this window (the
  // start was asked from there): then the chosen target.
  Wnd w = p.windowFromPoint(start);
  if (!w || p.isChild(a.bar.qircom->Handle(), w) || w == Handle() || p.isChild(Handle(), w))
    w = target_;
  if (!w || !p.isWindow(w)) return;
  const Rect r = p.getWindowRect(w);
  const int vw = p.getSystemMetrics(sm::CxVScroll);
  const int vh = p.getSystemMetrics(sm::CyVScroll);
  // The first column inside the vertical scroll bar, read from the screen
  // (another program's window DC does not give its colours everywhere).
  auto column = [&](int x, int top) {
    std::vector<int> c(kColumn);
    for (int i = 0; i < kColumn; ++i) c[static_cast<size_t>(i)] = p.getPixel({x, top + i});
    return c;
  };
  // The scroll bar begins where the client area does, below the window's
  // frame and edges (whose own edge colours would otherwise pass for an
  // arrow's, and a row inside the arrow for the thumb).
  const Rect client = p.getClientScreenRect(w);
  const int barTop = client.height > 0 && client.top >= r.top && client.top < r.top + vh ? client.top : r.top;
  int x = 0, y0 = 0;
  const int t = ThumbRow(column(r.left + r.width - vw + 1, barTop), vh, kLastThumbRow);
  if (t > 0) {
    x = r.right() - vw + 3;
    y0 = barTop + t + 1;
  } else {
    // A scroll bar of its own beside the view, in the same window; a
    // window of another program is never grabbed.
    const Wnd n = p.windowFromPoint({r.right() + 5, r.top + 5});
    const Rect r2 = p.getWindowRect(n);
    const int t2 = n && n != w && TopOf(p, n) == TopOf(p, w)
                       ? ThumbRow(column(r2.left + 5, r2.top), vh, kLastThumbRow)
                       : -1;
    if (t2 <= 0) {
      // Nothing to grab: the pointer stays where it was.
      p.setCursorPos(start);
      return;
    }
    x = r.right() + 5;
    y0 = r2.top + t2 + 2;
  }
  const int sh = p.screenHeight();
  if (y0 > sh - 3) y0 = sh - 10;
  if (x < 1) return;
  p.setCursorPos({x, y0 + 1});
  p.sleep(120);
  Panel4.SetLeft(start.x);
  Panel4.SetTop(start.y);
  a.input.qirinputor->SetCaption(words::in::Idle);
  Panel5.SetCaption(words::scroll::GrabWheel);
  Panel6.SetCaption(words::scroll::GrabDrag);
  p.mouseEvent(mouseflag::LeftDown, 0, 0, 0);
  // The thumb follows the pointer while the button stays down; the user's
  // next click lets go of it (the hook reports the stop).
  DragScrollRequest q;
  q.target = w;
  q.anchor = start;
  q.systemHeld = true;
  q.thumb = true;
  p.dragScrollBegin(q);
  a.input.qirinputor->SetCaption(words::in::Idle);
  a.browser.lifeform->SetCaption(words::scroll::LifeWheel);
  Panel3.SetCaption(words::scroll::ThumbDrag);
  a.browser.easyie->Timer3.SetTimerEnabled(true);
}

void TqirForm3::Panel10MouseUp(MouseButton button) {
  Platform& p = platform();
  const Point at = p.getCursorPos();
  // The window left of the pointer, never this window itself: the key sits
  // well inside it, so 40 px left of the pointer may still be on it.
  const int x = std::min(at.x - Scale(40), ScreenRect().left - 1);
  p.setForegroundWindow(p.windowFromPoint({x, at.y}));
  const int key = button == MouseButton::Right ? 33 : 34;
  p.keybdEvent(key, 0, 0);
  p.keybdEvent(key, 0, keyflag::KeyUp);
  SetWindowPos(ZOrder::TopMost, Left(), Top(), 60, 60, swp::ShowWindow);
}

}  // namespace sq
