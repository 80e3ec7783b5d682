// The title window: the badge "放手拖吧" at the pointer while a drag-scroll
// runs. Its caption is the drag's mailbox: the input core writes
// "down/...down/" when a Ctrl tap or a restart starts a drag, another
// program may write "mkeyscroll" (the input core makes it "drag up"), and
// "ystop mou3d" is the word of a drag that has ended.
//
// Its own timer reacts to the words and to the left button: while a drag
// word stands and the button is held, the badge is shown at the pointer and
// follows it; once the button has been up for two timer ticks after such a
// drag (or after a badge the input core showed), the drag has ended: the
// caption goes back to "ystop mou3d" and the badge is hidden (height 0,
// just below the lowest screen). Without this a drag word would stay for
// the rest of the run and no held-still press would start a drag again.
//
// Other forms touch only its caption and its place: the input core (drag
// words, the badge at the pointer) and the scroll-mode window.
#pragma once

#include <memory>

#include "app/app.h"
#include "app/frame/form.h"
#include "app/localpage.h"
#include "forms/qirForm4_controls.h"

namespace sq {

class TqirForm4 : public Form, public qirForm4_controls {
 public:
  explicit TqirForm4(App& app);
  void FormCreate() override;
  WebBrowser* browser() { return browser_.get(); }
  // Marks itself by its caption; nothing else happens.
  void Button1Click() { Button1.SetCaption("xx"); }
  // Sizes the window 350 x 150 and shapes it by Image1's picture.
  void BitBtn1Click();

  // The badge, 100 x 27, topmost at (x - 52, y - 40) from the point, kept
  // on the point's monitor.
  void ShowBadge(Point pointer);
  // Hides the badge: height 0, top just below the lowest screen.
  void HideBadge();
  // A drag has ended: the caption back to "ystop mou3d", the badge hidden.
  // The scroll-mode window calls it when it ends a drag of its own.
  void EndDrag();
  bool BadgeShown() const;
  // The caption is one of the words of a running drag.
  static bool DragWord(const std::string& caption);

  // Timer ticks with the left button up that end a drag.
  static constexpr int kReleaseTicks = 2;

 private:
  void Timer1Timer();
  std::unique_ptr<WebBrowser> browser_;
  int upTicks_ = 0;
  bool heldDuringDrag_ = false;  // the button was seen down since the drag began
  Point badgeAt_{};             // the pointer the badge was last placed for
};

}  // namespace sq
