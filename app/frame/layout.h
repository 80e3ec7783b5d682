// Stored layouts of the forms (layouts/*.form), parsed at start-up.
//
// The layout files are UTF-8 in the repository and are embedded at build
// time as narrow string literals, which the compiler encodes as GBK; the
// parser therefore sees GBK text.
//
// Format, one statement per line, '#' starts a comment line:
//
//   form qircom Tqircom          <- form object name, class name
//     caption "old--17up"
//     bounds -2000 0 400 350     <- left top width height (screen)
//     visible true
//     topmost true
//   control Panel9 Panel         <- control name, kind
//     parent qircom              <- default: the form
//     caption "..."
//     bounds 0 0 400 350         <- relative to the parent
//     visible false
//     enabled false
//     color 14589846             <- BGR
//     fontcolor 65535
//     font "宋体" 9
//     items "1" "2" "3"          <- list items or memo lines (repeatable)
//     checked true
//     interval 40                <- timers
//     hint "..."                 <- free text, kept for the UI
//
// Strings are in double quotes with \" and \\ escapes.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sq {

// Where a stored control sits: its parent and its bounds.
struct LayoutGeometry {
  std::string parent;     // empty = the form
  Rect bounds;
};

// The text a stored control shows: its caption, its list items or memo
// lines, and its hint.
struct LayoutText {
  std::string caption;
  std::vector<std::string> items;
  std::string hint;
};

// How a stored control looks: colours, font, and for forms the topmost
// and border styles.
struct LayoutLook {
  int color = -1;
  int fontColor = -1;
  std::string fontName;
  int fontSize = 0;
  bool topmost = false;
  bool borderless = true;
};

// How a stored control starts: shown, enabled, checked, and for timers the
// interval and whether it runs.
struct LayoutBehaviour {
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  unsigned interval = 0;
  bool timerEnabled = true;
};

struct ControlLayout {
  std::string name;
  Kind kind = Kind::Panel;
  std::string className;  // forms only
  LayoutGeometry geometry;
  LayoutText text;
  LayoutLook look;
  LayoutBehaviour behaviour;
  std::map<std::string, std::string> extra;  // any other key, kept verbatim
};

struct FormLayout {
  ControlLayout form;
  std::vector<ControlLayout> controls;  // in file order; parents first
};

struct LayoutError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Parses one layout text; throws LayoutError naming the line on bad input.
FormLayout ParseLayout(const std::string& text);

// The embedded layout of a form by its object name ("qircom"); throws
// LayoutError when there is none.
const FormLayout& StoredLayout(const std::string& formName);
std::vector<std::string> StoredLayoutNames();

Kind KindFromName(const std::string& s);  // "Panel" -> Kind::Panel
const char* KindName(Kind k);

}  // namespace sq
