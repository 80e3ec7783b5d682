// The scroll-mode window: its caption is the mailbox of the mouse words; its
// buttons start the automatic scrolling of the window under the pointer.
//
// Every form may read and write its caption (the mouse words); the input
// core and the browser's timer also press Button1 and read its panels
// (Panel1 ... Panel6); the command bar's switcher and the browser write
// their words into the caption.
#pragma once

#include <vector>

#include "app/app.h"
#include "app/frame/form.h"
#include "forms/qirForm3_controls.h"

namespace sq {

class TqirForm3 : public Form, public qirForm3_controls {
 public:
  explicit TqirForm3(App& app);
  // Panel4's corner holds the drag start point; until there is one it
  // lies off every monitor (at the stored -100 where that is off them).
  void FormCreate() override;

  // Starts scrolling the window left of the pointer: a middle-button
  // auto-scroll for documents and web pages, a grab of the scroll-bar
  // thumb for every other window.
  void Button1Click();
  // Grabs the vertical scroll bar's thumb of the window under the pointer
  // (or of the target, when the pointer is on the command bar).
  void normalscrollClick();
  // Page Down (left button) or Page Up (right) into the window left of
  // the pointer.
  void Panel10MouseUp(MouseButton button);

  // The start point, kept twice: the origin to return to and the working
  // point; and the window Button1Click chose.
  Point origin() const { return origin_; }
  Point working() const { return working_; }
  Wnd target() const { return target_; }

  // The thumb's row in a column of scroll-bar pixels (top down): the first
  // run of two pixels below the arrow button of the colour of the first
  // such run inside it. -1 when there is none, or when the column shows no
  // arrow button (one colour down its whole height).
  static int ThumbRow(const std::vector<int>& column, int arrowHeight, int last);

 private:
  Point origin_, working_;
  Wnd target_ = 0;
};

}  // namespace sq
