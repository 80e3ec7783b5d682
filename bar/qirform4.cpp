#include "bar/qirform4.h"

#include <algorithm>

#include "app/frame/screens.h"
#include "bar/tippictures.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/words.h"

namespace sq {

TqirForm4::TqirForm4(App& app) : Form(app, app.bar.qirForm4, "qirForm4"), qirForm4_controls(this) {
  Button1.OnClick = [this] { Button1Click(); };
  BitBtn1.OnClick = [this] { BitBtn1Click(); };
  Timer1.OnTimer = [this] { Timer1Timer(); };
}

void TqirForm4::FormCreate() {
  pictures::Show(Image1, pictures::BadgeIcon());
  pictures::Show(Image6, pictures::BadgeBack());
  Platform& p = platform();
  browser_ = p.createBrowser(CppWebBrowser1.Handle(), nullptr);
  if (browser_) OpenLocalPage(p, *browser_, "\\title.htm");
}

bool TqirForm4::DragWord(const std::string& caption) {
  return mail::Is(caption, words::title::Dragging) || mail::Is(caption, words::title::DragUp) ||
         mail::Is(caption, words::title::KeyScroll);
}

bool TqirForm4::BadgeShown() const { return Height() > 0 && Shown(); }

void TqirForm4::ShowBadge(Point pointer) {
  badgeAt_ = pointer;
  PlaceAtPointer(pointer, -52, -40, 100, 27, ZOrder::TopMost, swp::ShowWindow | swp::NoActivate);
  Show();
}

void TqirForm4::HideBadge() {
  int bottom = platform().screenHeight();
  for (const Monitor& m : screens::Query(platform())) bottom = std::max(bottom, m.rect.bottom());
  SetHeight(0);
  SetTop(bottom + 10);
}

void TqirForm4::EndDrag() {
  upTicks_ = 0;
  heldDuringDrag_ = false;
  HideBadge();
  if (!mail::Is(Caption(), words::title::Ended)) SetCaption(words::title::Ended);
}

void TqirForm4::BitBtn1Click() {
  SetWidth(350);
  SetHeight(150);
  const Picture shape = pictures::BadgeIcon();
  // The picture at the window's scale: the region is in its pixels.
  const Picture scaled = pictures::Resized(shape, Scale(shape.width), Scale(shape.height));
  platform().setWindowRgnFromPicture(Handle(), scaled.width, scaled.height, scaled.pixels,
                                     pictures::kWhite);
}

void TqirForm4::Timer1Timer() {
  Platform& p = platform();
  const bool word = DragWord(platform().getWindowTextUpTo(Handle(), 32));
  const bool shown = BadgeShown();
  if (!word && !shown) {
    upTicks_ = 0;
    heldDuringDrag_ = false;
    return;
  }
  if (p.isKeyDown(vk::LButton)) {
    upTicks_ = 0;
    heldDuringDrag_ = true;
    // The badge comes with the drag and stays by the pointer.
    const Point at = p.getCursorPos();
    if (!shown || at != badgeAt_) ShowBadge(at);
    return;
  }
  // A drag word with no press behind it yet (another program's word, or
  // the system's own press still on its way) waits for the button.
  if (word && !heldDuringDrag_ && !shown) return;
  if (++upTicks_ >= kReleaseTicks) EndDrag();
}

}  // namespace sq
