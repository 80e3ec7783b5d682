// Scrolling of foreign windows on the simulated desktop: the content that
// scrolls by the messages each class takes, the record of every scroll the
// hook applied, and a foreign editor's selection by the mouse.
#pragma once

#include <string>
#include <vector>

#include "input/dragscroll.h"
#include "platform/platform.h"
#include "platform/sim/simwindowtree.h"

namespace sq {

class SimScrolling {
 public:
  explicit SimScrolling(SimWindowTree& tree) : tree_(tree) {}

  void setContent(Wnd w, int lines, int lineHeight, bool takesWheel);
  int firstVisibleLine(Wnd w) const;
  int wheelReceived(Wnd w) const;
  // The hook applies a step to r: recorded ("Edit lines -3").
  void logStep(const SimWindow& r, const ScrollStep& step);
  const std::vector<std::string>& log() const { return log_; }
  // A foreign window's content moves by the step when its class answers
  // it (the wheel: 3 lines a notch, when it takes the wheel at all).
  void scrollForeign(SimWindow& r, const ScrollStep& step);

  // A foreign editor: a press puts the caret at the start of the line under
  // the pointer; moving with the left button held selects to the line under it.
  void foreignMouse(MouseAction a, Point cursor, bool leftHeld);

 private:
  int contentLines(const SimWindow& r) const;
  int linesShown(const SimWindow& r) const;

  SimWindowTree& tree_;
  std::vector<std::string> log_;
  Wnd selecting_ = 0;  // a foreign editor selecting with the left button
};

}  // namespace sq
