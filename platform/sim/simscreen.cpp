// The simulated desktop's monitors.
#include "platform/sim/simscreen.h"

#include <algorithm>

namespace sq {

SimScreen::SimScreen(int width, int height) : width_(width), height_(height) {
  Monitor m;
  m.rect = m.work = {0, 0, width, height};
  m.primary = true;
  monitors_ = {m};
}

const Monitor& SimScreen::main() const {
  const Monitor* main = &monitors_.front();
  for (const Monitor& m : monitors_)
    if (m.primary) main = &m;
  return *main;
}

void SimScreen::setSize(int w, int h) {
  width_ = w;
  height_ = h;
  for (Monitor& m : monitors_)
    if (m.primary) m.rect = m.work = {m.rect.left, m.rect.top, w, h};
}

bool SimScreen::setMonitors(std::vector<Monitor> ms) {
  if (ms.empty()) return false;
  bool anyPrimary = false;
  for (const Monitor& m : ms) anyPrimary = anyPrimary || m.primary;
  if (!anyPrimary) ms.front().primary = true;
  // The main monitor first, as EnumDisplayMonitors lists it.
  std::stable_partition(ms.begin(), ms.end(), [](const Monitor& m) { return m.primary; });
  monitors_ = std::move(ms);
  width_ = monitors_.front().rect.width;
  height_ = monitors_.front().rect.height;
  return true;
}

namespace {
long long Dist2(const Rect& r, Point p) {
  const long long dx = p.x < r.left ? r.left - p.x : p.x >= r.right() ? p.x - (r.right() - 1) : 0;
  const long long dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom() ? p.y - (r.bottom() - 1) : 0;
  return dx * dx + dy * dy;
}

// The monitor nearest the point (the first of those as near).
const Monitor& Nearest(const std::vector<Monitor>& monitors, Point p) {
  const Monitor* best = &monitors.front();
  long long bestD = -1;
  for (const Monitor& m : monitors) {
    const long long d = Dist2(m.rect, p);
    if (bestD < 0 || d < bestD) {
      best = &m;
      bestD = d;
    }
  }
  return *best;
}
}  // namespace

Point SimScreen::onMonitors(Point p) const {
  const Rect& r = Nearest(monitors_, p).rect;
  return {std::clamp(p.x, r.left, r.right() - 1), std::clamp(p.y, r.top, r.bottom() - 1)};
}

int SimScreen::dpiFor(const Rect& b) const {
  Rect q = b;
  q.width = std::max(q.width, 1);
  q.height = std::max(q.height, 1);
  const Monitor* best = nullptr;
  long long bestArea = 0;
  for (const Monitor& m : monitors_) {
    const long long w = std::min(m.rect.right(), q.right()) - std::max(m.rect.left, q.left);
    const long long h = std::min(m.rect.bottom(), q.bottom()) - std::max(m.rect.top, q.top);
    if (w > 0 && h > 0 && w * h > bestArea) {
      best = &m;
      bestArea = w * h;
    }
  }
  if (!best) return Nearest(monitors_, {q.left + q.width / 2, q.top + q.height / 2}).dpi;
  return best->dpi;
}

}  // namespace sq
