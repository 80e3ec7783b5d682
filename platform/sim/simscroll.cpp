// The simulated desktop's drag-scrolling calls and the scrolling of the
// windows the hook's drag moves (foreign ones in simscrolling).
#include <algorithm>
#include <utility>

#include "platform/sim/simdesktop.h"

namespace sq {

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
  drag_.ask(t);
}

void SimDesktop::dragScrollEnd() { drag_.askEnd(); }

DragScrollState SimDesktop::dragScrollState() { return drag_.state(keyboard_.down(1)); }

void SimDesktop::setScrollContent(Wnd w, int lines, int lineHeight, bool takesWheel) {
  scrolling_.setContent(w, lines, lineHeight, takesWheel);
}

int SimDesktop::firstVisibleLine(Wnd w) const { return scrolling_.firstVisibleLine(w); }

int SimDesktop::wheelReceived(Wnd w) const { return scrolling_.wheelReceived(w); }

void SimDesktop::scrollBy(Wnd w, const ScrollStep& step) {
  SimWindow* r = rec(w);
  if (!r) return;
  scrolling_.logStep(*r, step);
  if (r->kind == Kind::ListView && !r->foreign) {
    if (step.way == ScrollWay::Pixels) listViewScroll(w, step.amount / kListRowHeight);
    return;
  }
  scrolling_.scrollForeign(*r, step);
}

}  // namespace sq
