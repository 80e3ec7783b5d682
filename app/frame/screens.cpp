#include "app/frame/screens.h"

#include <algorithm>
#include <climits>

namespace sq::screens {

int ClampDpi(int dpi) { return std::clamp(dpi, kBaseDpi, 8 * kBaseDpi); }

namespace {
// v * num / den rounded half away from zero, in 64 bits.
int MulDivRound(int v, int num, int den) {
  const long long n = static_cast<long long>(v) * num;
  const long long q = n >= 0 ? (n + den / 2) / den : -((-n + den / 2) / den);
  return static_cast<int>(std::clamp<long long>(q, INT_MIN, INT_MAX));
}

long long Overlap(const Rect& a, const Rect& b) {
  const long long w = std::min(a.right(), b.right()) - std::max(a.left, b.left);
  const long long h = std::min(a.bottom(), b.bottom()) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance from the rectangle to the point (0 inside).
long long Distance2(const Rect& r, Point p) {
  const long long dx = p.x < r.left ? r.left - p.x : p.x >= r.right() ? p.x - (r.right() - 1) : 0;
  const long long dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom() ? p.y - (r.bottom() - 1) : 0;
  return dx * dx + dy * dy;
}

Rect NonEmpty(Rect r) {
  r.width = std::max(r.width, 1);
  r.height = std::max(r.height, 1);
  return r;
}
}  // namespace

int Scale(int v, int dpi) { return MulDivRound(v, ClampDpi(dpi), kBaseDpi); }
int Unscale(int px, int dpi) { return MulDivRound(px, kBaseDpi, ClampDpi(dpi)); }

std::vector<Monitor> Query(role::Display& p) {
  std::vector<Monitor> ms = p.monitors();
  ms.erase(std::remove_if(ms.begin(), ms.end(),
                          [](const Monitor& m) { return m.rect.width <= 0 || m.rect.height <= 0; }),
           ms.end());
  if (ms.empty()) {
    Monitor m;
    m.rect = {0, 0, std::max(p.screenWidth(), 1), std::max(p.screenHeight(), 1)};
    m.work = m.rect;
    m.primary = true;
    ms.push_back(m);
  }
  return ms;
}

const Monitor& Main(const std::vector<Monitor>& ms) {
  for (const Monitor& m : ms)
    if (m.primary) return m;
  return ms.front();
}

const Monitor& At(const std::vector<Monitor>& ms, Point pt) {
  const Monitor* best = &ms.front();
  long long bestD = LLONG_MAX;
  for (const Monitor& m : ms) {
    const long long d = Distance2(m.rect, pt);
    if (d < bestD) {
      best = &m;
      bestD = d;
    }
  }
  return *best;
}

const Monitor& ForRect(const std::vector<Monitor>& ms, const Rect& r) {
  const Rect q = NonEmpty(r);
  const Monitor* best = nullptr;
  long long bestArea = 0;
  for (const Monitor& m : ms) {
    const long long a = Overlap(m.rect, q);
    if (a > bestArea) {
      best = &m;
      bestArea = a;
    }
  }
  if (best) return *best;
  return At(ms, {q.left + q.width / 2, q.top + q.height / 2});
}

bool OnAny(const std::vector<Monitor>& ms, const Rect& r) {
  const Rect q = NonEmpty(r);
  for (const Monitor& m : ms)
    if (Overlap(m.rect, q) > 0) return true;
  return false;
}

Rect Virtual(const std::vector<Monitor>& ms) {
  int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
  for (const Monitor& m : ms) {
    l = std::min(l, m.rect.left);
    t = std::min(t, m.rect.top);
    r = std::max(r, m.rect.right());
    b = std::max(b, m.rect.bottom());
  }
  return {l, t, r - l, b - t};
}

int ParkLeft(const std::vector<Monitor>& ms) {
  const Rect v = Virtual(ms);
  return std::min(kParkLeft, v.left - std::max(-kParkLeft, v.width));
}

Rect KeepInside(Rect r, const Rect& area) {
  if (r.right() > area.right()) r.left = area.right() - r.width;
  if (r.bottom() > area.bottom()) r.top = area.bottom() - r.height;
  if (r.left < area.left) r.left = area.left;
  if (r.top < area.top) r.top = area.top;
  return r;
}

}  // namespace sq::screens
