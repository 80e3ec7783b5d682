// The wheel tip: a 104 x 18 strip on the active window's title bar that
// shows the wheel mode; a press on it toggles hold-to-drag.
//
// Other forms touch only ToggleHoldToDrag (the command bar, the browser),
// KeepOnActiveWindow and FollowActiveWindow (the command bar's tick, the
// life panel) and its Panel1 (the life panel).
#pragma once

#include "app/app.h"
#include "app/frame/form.h"
#include "forms/wheeltipform_controls.h"

namespace sq {

class Twheeltipform : public Form, public wheeltipform_controls {
 public:
  explicit Twheeltipform(App& app);
  void FormCreate() override;

  // Inverts the settings panel's lleft ("左键按下片刻拖动") and writes the
  // drag marker: "拖" into this window's Label2 and the browser's Label26
  // while the box is cleared, nothing while it is ticked. The command bar's
  // left edge runs the same toggle.
  void ToggleHoldToDrag();

  // Keeps the tip on the title bar of the active window, topmost at
  // (right - 180, top + 2) in the 96-DPI units of that window's monitor,
  // moved to lie wholly on that monitor. The ticks that place it call this
  // often; it does something only when the active window changed (or was
  // activated again after another window), moved, or
  // `again` is set, and tells whether it placed (or parked) the tip. The
  // program's own windows are not followed (the tip stays where it is); a
  // minimised or empty window, or one whose title bar is on no monitor,
  // parks the tip. After placing, the followed window is made active again
  // when the placing took the activation from it.
  bool FollowActiveWindow(bool again = false);
  // What the command bar's and the life panel's ticks do with the tip: park
  // it while the browser is shown or the command bar is shown taller than
  // 100, otherwise, while the bar is parked, follow the active window.
  void KeepOnActiveWindow();
  // Parks the tip and forgets the followed window, so the next
  // FollowActiveWindow places it again.
  void ParkTip();
  // The window the tip was last placed for (0 when none).
  Wnd Followed() const { return followed_; }

  static const char* const kDragMarker;  // "拖"

 private:
  void Pressed(MouseButton) { ToggleHoldToDrag(); }
  void ShowMarker(const std::string& text);
  bool OwnWindow(Wnd w) const;
  Wnd followed_ = 0;
  Wnd lastActive_ = 0;  // the active window the last call saw
  Rect followedRect_;
};

}  // namespace sq
