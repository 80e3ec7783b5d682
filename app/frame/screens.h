// Monitors and DPI scaling for the form framework and the gestures.
//
// The stored layouts, and every fixed offset and threshold the program uses
// (a widget 12 px left of the pointer, 3 px for "the same point"), are in
// 96-DPI units. On the screen they become physical pixels of the monitor
// the window is shown on: Scale(v, dpi) = v * dpi / 96, rounded. DPI values
// below 96 are taken as 96, so a layout never shrinks and a value scaled and
// unscaled again comes back unchanged.
//
// Positions on the screen (the pointer, the hook's points, window corners)
// are physical pixels and are never scaled.
#pragma once

#include <vector>

#include "platform/platform.h"

namespace sq::screens {

constexpr int kBaseDpi = 96;
// The stored park position: left of a virtual screen that starts at 0.
constexpr int kParkLeft = -2000;

int ClampDpi(int dpi);
int Scale(int v, int dpi);    // 96-DPI units to pixels
int Unscale(int px, int dpi);  // pixels to 96-DPI units

// The monitors as the platform reports them, never empty: without an
// answer, one 96-DPI monitor of the platform's screen size.
std::vector<Monitor> Query(role::Display& p);

const Monitor& Main(const std::vector<Monitor>& ms);
// The monitor holding the point; rectangles are half-open, so a point on
// the border between two monitors belongs to the one to its right (below).
// A point on no monitor goes to the nearest one.
const Monitor& At(const std::vector<Monitor>& ms, Point pt);
// The monitor with the largest share of the rectangle, else the nearest.
const Monitor& ForRect(const std::vector<Monitor>& ms, const Rect& r);
// Whether any part of the rectangle lies on a monitor (an empty rectangle
// counts as its top-left pixel).
bool OnAny(const std::vector<Monitor>& ms, const Rect& r);
// Bounding box of all monitors.
Rect Virtual(const std::vector<Monitor>& ms);
// Left edge that puts a window off every monitor: the stored -2000 while
// the virtual screen starts at 0 and is at most 2000 wide, otherwise a
// screen's width further left than the virtual screen's left edge, which
// is far enough for the widest form (the browser spans a monitor).
int ParkLeft(const std::vector<Monitor>& ms);
// `r` moved (not resized) so that as much of it as fits lies in `area`:
// its right and bottom edges first, then its left and top edges.
Rect KeepInside(Rect r, const Rect& area);

}  // namespace sq::screens
