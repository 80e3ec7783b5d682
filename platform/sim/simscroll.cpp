// Scrolling of foreign windows on the simulated desktop: the content that
// the hook's drag moves, by the messages each class takes, and the foreign
// editor's selection by the mouse.
#include <algorithm>
#include <utility>

#include "platform/sim/simdesktop.h"

namespace sq {

namespace {
const char* WayName(ScrollWay w) {
  switch (w) {
    case ScrollWay::Lines: return "lines";
    case ScrollWay::ListLines: return "listlines";
    case ScrollWay::Pixels: return "pixels";
    case ScrollWay::Wheel: return "wheel";
  }
  return "?";
}
}  // namespace

int SimDesktop::getSystemMetrics(int index) {
  // The classic scroll bar at 96 DPI.
  if (index == sm::CxVScroll || index == sm::CyVScroll) return 17;
  return 0;
}

void SimDesktop::dragScrollBegin(const DragScrollRequest& q) {
  const SimWindow* r = rec(q.target);
  if (!r) return;
  DragTarget t;
  t.window = q.target;
  t.anchor = q.anchor;
  t.way = ScrollWayFor(r->className);
  if (r->kind == Kind::ListView && !r->foreign) t.way = ScrollWay::Pixels;
  t.lineHeight = r->kind == Kind::ListView ? kListRowHeight : (r->lineHeight > 0 ? r->lineHeight : 16);
  t.systemHeld = q.systemHeld;
  t.thumb = q.thumb;
  // Left for the hook thread.
  if (auto hands = std::exchange(duringDragRequest_, {})) hands();
  dragHandOff_.Ask(t);
  // Taken on the hook thread's next turn, or at a mouse event before it.
  postToHookThread([this] { dragHandOff_.Take(drag_); });
}

void SimDesktop::dragScrollEnd() {
  dragHandOff_.AskEnd();
  postToHookThread([this] { dragHandOff_.Take(drag_); });
}

DragScrollState SimDesktop::dragScrollState() {
  if (!hooks_.mouse()) return {false, keyboard_.down(1), false};
  const int bits = dragHandOff_.State();
  return {(bits & dragbits::Running) != 0, (bits & dragbits::UserLeft) != 0,
          (bits & dragbits::Pending) != 0};
}

void SimDesktop::setScrollContent(Wnd w, int lines, int lineHeight, bool takesWheel) {
  SimWindow* r = rec(w);
  if (!r) return;
  r->scrollLines = std::max(0, lines);
  r->lineHeight = std::max(1, lineHeight);
  r->takesWheel = takesWheel;
  r->firstLine = 0;
}

int SimDesktop::contentLines(const SimWindow& r) const {
  if (!r.editor) return r.scrollLines;
  return static_cast<int>(std::count(r.caption.begin(), r.caption.end(), '\n')) + 1;
}

int SimDesktop::linesShown(const SimWindow& r) const {
  return r.lineHeight > 0 ? std::max(1, boundsOf(r).height / r.lineHeight) : 1;
}

int SimDesktop::firstVisibleLine(Wnd w) const {
  const SimWindow* r = rec(w);
  return r ? r->firstLine : 0;
}

int SimDesktop::wheelReceived(Wnd w) const {
  const SimWindow* r = rec(w);
  return r ? r->wheelTotal : 0;
}

void SimDesktop::scrollBy(Wnd w, const ScrollStep& step) {
  SimWindow* r = rec(w);
  if (!r) return;
  scrollLog_.push_back(r->className + " " + WayName(step.way) + " " + std::to_string(step.amount));
  if (r->kind == Kind::ListView && !r->foreign) {
    if (step.way == ScrollWay::Pixels) listViewScroll(w, step.amount / kListRowHeight);
    return;
  }
  const ScrollWay takes = ScrollWayFor(r->className);
  int lines = 0;
  if (step.way == ScrollWay::Wheel) {
    r->wheelTotal += step.amount;
    if (!r->takesWheel) return;
    lines = -step.amount / 40;  // 3 lines a notch, the wheel away = up
  } else if (step.way != takes) {
    return;  // a message this class does not answer
  } else if (step.way == ScrollWay::Pixels) {
    lines = r->lineHeight > 0 ? step.amount / r->lineHeight : 0;
  } else {
    lines = step.amount;
  }
  const int last = std::max(0, contentLines(*r) - linesShown(*r));
  r->firstLine = std::clamp(r->firstLine + lines, 0, last);
}

void SimDesktop::foreignMouse(MouseAction a) {
  // A foreign editor: a press puts the caret at the start of the line under
  // the pointer; moving with the button held selects to the line under it.
  auto lineStart = [](const std::string& t, int line) {
    std::size_t pos = 0;
    for (int i = 0; i < line && pos != std::string::npos; ++i) {
      pos = t.find('\n', pos);
      if (pos != std::string::npos) ++pos;
    }
    return pos == std::string::npos ? t.size() : pos;
  };
  auto lineAt = [&](const SimWindow& e) {
    const Rect sr = screenRect(e);
    const int h = e.lineHeight > 0 ? e.lineHeight : 16;
    return e.firstLine + std::max(0, (cursor_.y - sr.top) / h);
  };
  if (a == MouseAction::LeftDown) {
    SimWindow* e = rec(windowFromPoint(cursor_));
    selecting_ = 0;
    if (!e || !e->foreign || !e->editor) return;
    e->caret = e->anchor = lineStart(e->caption, lineAt(*e));
    selecting_ = e->handle;
  } else if (a == MouseAction::Move) {
    SimWindow* e = rec(selecting_);
    if (!e || !keyboard_.down(1)) return;
    e->caret = lineStart(e->caption, lineAt(*e));
  } else if (a == MouseAction::LeftUp) {
    selecting_ = 0;
  }
}

}  // namespace sq
