// The simulated desktop's window tree: every window's record (the
// program's and the foreign ones the tests add), the z-order of the
// top-level windows, and where a point falls among them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

// A window of the simulated desktop, as the tests may inspect it.
struct SimWindow {
  Wnd handle = 0;
  Wnd parent = 0;
  Kind kind = Kind::Other;
  std::string className;
  std::string name;        // layout name of a control, "" for foreign windows
  std::string caption;
  Rect bounds;             // parent-relative for children, screen for top-level
  bool fillParent = false; // bounds follow the parent's size (editor, browser)
  bool visible = true;     // own style bit
  bool enabled = true;
  bool topmost = false;
  bool borderless = true;
  int clientEdge = 0;      // pixels of frame and edge around the client area
  bool foreign = false;    // added by a test, not created by the program
  bool minimized = false;  // off the screen as a task-bar button only
  bool maximized = false;  // fills the work area of its monitor
  bool toolWindow = false, appWindow = false;
  unsigned exStyleOther = 0;  // extended style bits beyond the flags here
  unsigned pid = 0;
  int color = -1, fontColor = -1;
  TextAlign align = TextAlign::Center;
  std::string fontName;
  int fontSize = 0;
  std::vector<std::string> items;
  int selected = -1;
  bool checked = false;
  Region region = Region::None;
  Rect regionRect;
  // A picture's shape, when set: width*height flags, row by row from the
  // window's top-left corner; outside the picture is outside the window.
  std::vector<std::uint8_t> shapeMask;
  int shapeWidth = 0, shapeHeight = 0;
  bool shaped = false;
  // The picture shown in it (setPicture), stretched over it; none when empty.
  std::vector<int> picture;
  int pictureWidth = 0, pictureHeight = 0;
  // List views: each row's icon, the first row shown, the hot row.
  std::vector<std::uintptr_t> rowIcons;
  int topRow = 0;
  int hotRow = -1;
  int columnWidth = -1;  // list view: -1 = the client width at creation
  int dpi = 96;        // what its layout and font were made for (the program's)
  int systemDpi = 96;  // top-level: the DPI of the monitor the system puts it on
  std::vector<Wnd> children;  // creation order; the last is on top
  // Text editor state (Edit children made by addTextEditor, and the
  // program's own edits).
  bool editor = false;
  bool singleLine = false;            // Enter and Tab type nothing
  bool readOnly = false;
  std::size_t caret = 0, anchor = 0;  // byte offsets; selection [min, max)
  Wnd lastFocus = 0;                  // top-level: focus to restore
  // Scrolling content (setScrollContent; editors count their text's lines).
  int scrollLines = 0, lineHeight = 0, firstLine = 0;
  bool takesWheel = true;
  int wheelTotal = 0;
};

class SimWindowTree {
 public:
  SimWindow* rec(Wnd w);
  const SimWindow* rec(Wnd w) const;
  // Takes in a window (its parent, when it has one, exists): the handle is
  // given here; a child goes on top of its siblings, a top-level window on
  // top of its band (topmost or not).
  Wnd add(SimWindow r);
  // Takes w out of its parent's children or out of the z-order.
  void unlink(Wnd w);
  // Forgets w's record (its children are the caller's to erase first).
  void erase(Wnd w) { wins_.erase(w); }
  const std::vector<Wnd>& zOrder() const { return ztop_; }  // index 0 on top

  Rect boundsOf(const SimWindow& r) const;    // parent-relative, filling followed
  Rect screenRect(const SimWindow& r) const;
  bool visibleChain(const SimWindow& r) const;  // own bit and every ancestor's
  bool hitTest(const SimWindow& r, Point p) const;  // shape and region too
  void placeTopLevel(Wnd w);  // top of its band
  void raise(Wnd w);          // top of its band / siblings
  void lower(Wnd w);
  Wnd topLevelOf(Wnd w) const;
  bool isChild(Wnd parent, Wnd w) const;  // any depth, not itself

  // WindowFromPoint: disabled children pass the point on, and so do the
  // framework's graphic controls while they are transparent.
  Wnd fromPoint(Point p) const;
  // Like fromPoint, but a label or image takes its own clicks.
  Wnd clickTarget(Point p) const;
  // The window mouse input at p goes to (0: a disabled top-level window).
  Wnd inputTarget(Point p) const;
  Wnd find(const std::string& className, const std::optional<std::string>& caption) const;
  Wnd findControl(Wnd top, const std::string& name) const;
  void setGraphicsTransparent(bool on) { transparentGraphics_ = on; }
  // The tree as text, marking the foreground and focused windows.
  std::string describe(Wnd foreground, Wnd focus) const;

 private:
  Wnd deepest(const SimWindow& r, Point p) const;

  std::map<Wnd, SimWindow> wins_;
  std::vector<Wnd> ztop_;  // top-level windows, index 0 on top
  Wnd next_ = 0x10010;
  bool transparentGraphics_ = true;
};

}  // namespace sq
