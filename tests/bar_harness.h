// The command bar on the simulated desktop: its presentations put on the
// screen as the input core puts them, and the user's hands on its controls.
#pragma once

#include <string>

#include "tests/gesture_harness.h"

namespace sq::testing {

class BarDesk : public Desk {
 public:
  Tqircom& bar() { return *app.bar.qircom; }

  // Screen rectangle of one of the bar's controls.
  Rect At(const std::string& control) {
    const Wnd w = sim.findControl("Tqircom", control);
    EXPECT_NE(w, 0u) << control;
    return sim.getWindowRect(w);
  }
  // Moves the pointer to (dx, dy) inside a control of the bar and lets the
  // bar's tick see it.
  void MoveTo(const std::string& control, int dx, int dy) {
    const Rect r = At(control);
    sim.moveMouse(r.left + dx, r.top + dy);
  }
  // A press held `ms` and its release, where the pointer is.
  void Press(MouseButton b, unsigned ms) {
    if (b == MouseButton::Left) sim.click(ms);
    else sim.rightClick(ms);
  }

  // The full bar at (x, y), the pointer on its hint line.
  void ShowFullBar(int x, int y) {
    bar().SetWindowPos(ZOrder::TopMost, x, y, 400, 350, swp::ShowWindow);
    bar().Panel9.Show();
  }
  // The pointer widget as the input core shows it, centred on (x, y), the
  // pointer there.
  void ShowPointerWidget(int x, int y) {
    sim.moveMouse(x, y);
    bar().Panel27.Show();
    bar().PlaceAtPointer({x, y}, -12, -12, 25, 25, ZOrder::TopMost, swp::ShowWindow);
  }
  // The clip widget as the input core shows it: 70 x 24 at (x, y).
  void ShowClipWidget(int x, int y) {
    bar().SetWindowPos(ZOrder::TopMost, x, y, 70, 24, swp::ShowWindow);
    bar().Panel9.Show();
    bar().Panel12.Show();
    bar().Panel35.Show();
  }
  // The smart clipboard's panel on a 180 x 250 bar at (x, y).
  void ShowSmartClipboard(int x, int y) {
    bar().SetWindowPos(ZOrder::TopMost, x, y, 180, 250, swp::ShowWindow);
    bar().Panel4.SetLeft(0);
    bar().Panel4.SetTop(0);
    bar().Panel4.Show();
  }
  void SetEntries(const std::vector<std::string>& entries) {
    bar().ListBox2.Clear();
    for (const auto& e : entries) bar().ListBox2.Add(e);
  }
};

}  // namespace sq::testing
