// The simulated desktop's monitors: their places, work areas and DPIs, the
// main one's size as the screen's, and the pixels a test paints on them.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace sq {

class SimScreen {
 public:
  // One monitor of this size, the main one, at 0, 0.
  SimScreen(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<Monitor>& monitors() const { return monitors_; }
  const Monitor& main() const;  // the last marked main, else the first
  // The main monitor changes size (its work area with it).
  void setSize(int w, int h);
  // Every monitor anew; the first becomes the main one unless one is
  // marked, and the main one is listed first. False (nothing changed) for
  // an empty list: a desktop always has a monitor.
  bool setMonitors(std::vector<Monitor> ms);

  // A point kept on the nearest monitor, as the system keeps the pointer.
  Point onMonitors(Point p) const;
  // The DPI the system gives a top-level window with these bounds: the
  // monitor with the largest share of it, else the nearest.
  int dpiFor(const Rect& r) const;

  int pixel(Point p) const { return pixels_ ? pixels_(p) : 0; }
  void setPixelSource(std::function<int(Point)> f) { pixels_ = std::move(f); }

 private:
  int width_, height_;
  std::vector<Monitor> monitors_;
  std::function<int(Point)> pixels_;
};

}  // namespace sq
