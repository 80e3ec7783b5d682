// Scrolling of foreign windows on the simulated desktop.
#include "platform/sim/simscrolling.h"

#include <algorithm>

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

void SimScrolling::setContent(Wnd w, int lines, int lineHeight, bool takesWheel) {
  SimWindow* r = tree_.rec(w);
  if (!r) return;
  r->scrollLines = std::max(0, lines);
  r->lineHeight = std::max(1, lineHeight);
  r->takesWheel = takesWheel;
  r->firstLine = 0;
}

int SimScrolling::contentLines(const SimWindow& r) const {
  if (!r.editor) return r.scrollLines;
  return static_cast<int>(std::count(r.caption.begin(), r.caption.end(), '\n')) + 1;
}

int SimScrolling::linesShown(const SimWindow& r) const {
  return r.lineHeight > 0 ? std::max(1, tree_.boundsOf(r).height / r.lineHeight) : 1;
}

int SimScrolling::firstVisibleLine(Wnd w) const {
  const SimWindow* r = tree_.rec(w);
  return r ? r->firstLine : 0;
}

int SimScrolling::wheelReceived(Wnd w) const {
  const SimWindow* r = tree_.rec(w);
  return r ? r->wheelTotal : 0;
}

void SimScrolling::logStep(const SimWindow& r, const ScrollStep& step) {
  log_.push_back(r.className + " " + WayName(step.way) + " " + std::to_string(step.amount));
}

void SimScrolling::scrollForeign(SimWindow& r, const ScrollStep& step) {
  const ScrollWay takes = ScrollWayFor(r.className);
  int lines = 0;
  if (step.way == ScrollWay::Wheel) {
    r.wheelTotal += step.amount;
    if (!r.takesWheel) return;
    lines = -step.amount / 40;  // 3 lines a notch, the wheel away = up
  } else if (step.way != takes) {
    return;  // a message this class does not answer
  } else if (step.way == ScrollWay::Pixels) {
    lines = r.lineHeight > 0 ? step.amount / r.lineHeight : 0;
  } else {
    lines = step.amount;
  }
  const int last = std::max(0, contentLines(r) - linesShown(r));
  r.firstLine = std::clamp(r.firstLine + lines, 0, last);
}

void SimScrolling::foreignMouse(MouseAction a, Point cursor, bool leftHeld) {
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
    const Rect sr = tree_.screenRect(e);
    const int h = e.lineHeight > 0 ? e.lineHeight : 16;
    return e.firstLine + std::max(0, (cursor.y - sr.top) / h);
  };
  if (a == MouseAction::LeftDown) {
    SimWindow* e = tree_.rec(tree_.fromPoint(cursor));
    selecting_ = 0;
    if (!e || !e->foreign || !e->editor) return;
    e->caret = e->anchor = lineStart(e->caption, lineAt(*e));
    selecting_ = e->handle;
  } else if (a == MouseAction::Move) {
    SimWindow* e = tree_.rec(selecting_);
    if (!e || !leftHeld) return;
    e->caret = lineStart(e->caption, lineAt(*e));
  } else if (a == MouseAction::LeftUp) {
    selecting_ = 0;
  }
}

}  // namespace sq
