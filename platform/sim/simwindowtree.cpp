// The simulated desktop's window tree: records, z-order and hit-testing.
#include "platform/sim/simwindowtree.h"

#include <algorithm>
#include <functional>
#include <sstream>

#include "platform/sim/simtext.h"

namespace sq {

namespace {
bool Graphic(Kind k) { return k == Kind::Label || k == Kind::Image || k == Kind::Shape; }
}  // namespace

Wnd SimWindowTree::add(SimWindow r) {
  r.handle = next_;
  next_ += 0x10;
  const Wnd w = r.handle, parent = r.parent;
  wins_[w] = std::move(r);
  if (parent)
    rec(parent)->children.push_back(w);
  else
    placeTopLevel(w);
  return w;
}

void SimWindowTree::unlink(Wnd w) {
  SimWindow* r = rec(w);
  if (!r) return;
  if (r->parent) {
    if (SimWindow* p = rec(r->parent)) {
      auto& ch = p->children;
      ch.erase(std::remove(ch.begin(), ch.end(), w), ch.end());
    }
  } else {
    ztop_.erase(std::remove(ztop_.begin(), ztop_.end(), w), ztop_.end());
  }
}

SimWindow* SimWindowTree::rec(Wnd w) {
  auto it = wins_.find(w);
  return it == wins_.end() ? nullptr : &it->second;
}

const SimWindow* SimWindowTree::rec(Wnd w) const {
  auto it = wins_.find(w);
  return it == wins_.end() ? nullptr : &it->second;
}

Wnd SimWindowTree::topLevelOf(Wnd w) const {
  const SimWindow* r = rec(w);
  while (r && r->parent) r = rec(r->parent);
  return r ? r->handle : 0;
}

Wnd SimWindowTree::findControl(Wnd top, const std::string& name) const {
  const SimWindow* r = rec(top);
  if (!r) return 0;
  for (Wnd c : r->children) {
    const SimWindow* cr = rec(c);
    if (cr && cr->name == name) return c;
    if (Wnd d = findControl(c, name)) return d;
  }
  return 0;
}

std::string SimWindowTree::describe(Wnd foreground, Wnd focus) const {
  std::ostringstream o;
  std::function<void(Wnd, int)> one = [&](Wnd w, int depth) {
    const SimWindow* r = rec(w);
    if (!r) return;
    Rect b = boundsOf(*r);
    o << std::string(static_cast<size_t>(depth) * 2, ' ') << std::hex << "0x" << w << std::dec
      << ' ' << r->className;
    if (!r->name.empty()) o << " '" << r->name << "'";
    o << " \"" << r->caption << "\" " << b.left << ',' << b.top << ' ' << b.width << 'x'
      << b.height << (r->visible ? "" : " hidden") << (r->enabled ? "" : " disabled")
      << (r->topmost ? " topmost" : "") << (w == foreground ? " [foreground]" : "")
      << (w == focus ? " [focus]" : "") << '\n';
    for (auto it = r->children.rbegin(); it != r->children.rend(); ++it) one(*it, depth + 1);
  };
  for (Wnd w : ztop_) one(w, 0);
  return o.str();
}

Rect SimWindowTree::boundsOf(const SimWindow& r) const {
  if (r.fillParent && r.parent) {
    if (const SimWindow* p = rec(r.parent)) {
      Rect pb = boundsOf(*p);
      return {0, 0, pb.width, pb.height};
    }
  }
  return r.bounds;
}

Rect SimWindowTree::screenRect(const SimWindow& r) const {
  Rect b = boundsOf(r);
  for (const SimWindow* p = rec(r.parent); p; p = rec(p->parent)) {
    Rect pb = boundsOf(*p);
    b.left += pb.left;
    b.top += pb.top;
  }
  return b;
}

bool SimWindowTree::visibleChain(const SimWindow& r) const {
  for (const SimWindow* p = &r; p; p = rec(p->parent))
    if (!p->visible) return false;
  return true;
}

bool SimWindowTree::hitTest(const SimWindow& r, Point p) const {
  Rect s = screenRect(r);
  if (s.width <= 0 || s.height <= 0 || !s.contains(p)) return false;
  if (r.shaped) {
    const int x = p.x - s.left, y = p.y - s.top;
    if (x >= r.shapeWidth || y >= r.shapeHeight) return false;
    return r.shapeMask[static_cast<std::size_t>(y) * static_cast<std::size_t>(r.shapeWidth) +
                       static_cast<std::size_t>(x)] != 0;
  }
  if (r.region == Region::None) return true;
  Rect g = r.regionRect;
  g.left += s.left;
  g.top += s.top;
  if (!g.contains(p)) return false;
  if (r.region == Region::Ellipse && g.width > 0 && g.height > 0) {
    // Inside the ellipse inscribed in g (pixel centres).
    double rx = g.width / 2.0, ry = g.height / 2.0;
    double nx = (p.x + 0.5 - (g.left + rx)) / rx, ny = (p.y + 0.5 - (g.top + ry)) / ry;
    return nx * nx + ny * ny <= 1.0;
  }
  return true;
}

Wnd SimWindowTree::deepest(const SimWindow& r, Point p) const {
  for (auto it = r.children.rbegin(); it != r.children.rend(); ++it) {
    const SimWindow* c = rec(*it);
    if (!c || !c->visible || !c->enabled) continue;  // disabled children pass the point on
    if (transparentGraphics_ && Graphic(c->kind)) continue;
    if (hitTest(*c, p)) return deepest(*c, p);
  }
  return r.handle;
}

void SimWindowTree::placeTopLevel(Wnd w) {
  const SimWindow* r = rec(w);
  if (!r) return;
  ztop_.erase(std::remove(ztop_.begin(), ztop_.end(), w), ztop_.end());
  auto pos = ztop_.begin();
  if (!r->topmost) {
    while (pos != ztop_.end() && rec(*pos) && rec(*pos)->topmost) ++pos;
  }
  ztop_.insert(pos, w);
}

void SimWindowTree::raise(Wnd w) {
  SimWindow* r = rec(w);
  if (!r) return;
  if (!r->parent) {
    placeTopLevel(w);
    return;
  }
  if (SimWindow* p = rec(r->parent)) {
    auto& ch = p->children;
    ch.erase(std::remove(ch.begin(), ch.end(), w), ch.end());
    ch.push_back(w);
  }
}

void SimWindowTree::lower(Wnd w) {
  SimWindow* r = rec(w);
  if (!r) return;
  if (!r->parent) {
    r->topmost = false;
    ztop_.erase(std::remove(ztop_.begin(), ztop_.end(), w), ztop_.end());
    ztop_.push_back(w);
    return;
  }
  if (SimWindow* p = rec(r->parent)) {
    auto& ch = p->children;
    ch.erase(std::remove(ch.begin(), ch.end(), w), ch.end());
    ch.insert(ch.begin(), w);
  }
}

bool SimWindowTree::isChild(Wnd parent, Wnd w) const {
  const SimWindow* r = rec(w);
  if (!r || !parent) return false;
  for (const SimWindow* p = rec(r->parent); p; p = rec(p->parent))
    if (p->handle == parent) return true;
  return false;
}

Wnd SimWindowTree::fromPoint(Point p) const {
  for (Wnd w : ztop_) {
    const SimWindow* r = rec(w);
    if (!r || !r->visible || r->minimized) continue;
    if (hitTest(*r, p)) return deepest(*r, p);
  }
  return 0;
}

Wnd SimWindowTree::find(const std::string& className, const std::optional<std::string>& caption) const {
  std::string want = simtext::LowerGbk(className);
  for (Wnd w : ztop_) {
    const SimWindow* r = rec(w);
    if (!r || simtext::LowerGbk(r->className) != want) continue;
    if (caption && r->caption != *caption) continue;
    return w;
  }
  return 0;
}

Wnd SimWindowTree::clickTarget(Point p) const {
  // Like windowFromPoint, but a label or image takes its own clicks.
  for (Wnd w : ztop_) {
    const SimWindow* r = rec(w);
    if (!r || !r->visible || r->minimized || !hitTest(*r, p)) continue;
    for (bool descended = true; descended;) {
      descended = false;
      for (auto it = r->children.rbegin(); it != r->children.rend(); ++it) {
        const SimWindow* c = rec(*it);
        if (c && c->visible && c->enabled && hitTest(*c, p)) {
          r = c;
          descended = true;
          break;
        }
      }
    }
    return r->handle;
  }
  return 0;
}

Wnd SimWindowTree::inputTarget(Point p) const {
  // The front-most shown window under the point, down through the
  // children; a disabled child stops the search and its parent gets the
  // input (a label takes its own, unlike WindowFromPoint).
  for (Wnd w : ztop_) {
    const SimWindow* r = rec(w);
    if (!r || !r->visible || r->minimized || !hitTest(*r, p)) continue;
    if (!r->enabled) return 0;
    for (bool descended = true; descended;) {
      descended = false;
      for (auto it = r->children.rbegin(); it != r->children.rend(); ++it) {
        const SimWindow* c = rec(*it);
        if (!c || !c->visible || !hitTest(*c, p)) continue;
        if (!c->enabled) return r->handle;
        r = c;
        descended = true;
        break;
      }
    }
    return r->handle;
  }
  return 0;
}

}  // namespace sq
