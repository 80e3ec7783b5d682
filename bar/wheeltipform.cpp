#include "bar/wheeltipform.h"

#include <algorithm>

#include "app/frame/screens.h"
#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "bar/tippictures.h"
#include "browser/easyie.h"

namespace sq {

const char* const Twheeltipform::kDragMarker = "拖";

Twheeltipform::Twheeltipform(App& app)
    : Form(app, app.bar.wheeltipform, "wheeltipform"), wheeltipform_controls(this) {
  // A press anywhere on the strip toggles: on the picture, the mode name or
  // the marker, or on the panel they lie on where the system hands a
  // label's press to its parent.
  for (Control* c : {&wheelmess, &Image2, &wheelmode, &Label2})
    c->OnMouseDown = [this](MouseButton b, ShiftState, int, int) { Pressed(b); };
}

void Twheeltipform::FormCreate() {
  Park();
  SetWidth(104);
  SetHeight(18);
  pictures::Show(Image2, pictures::WheelStrip());
  // The marker tells the setting as the settings panel has it now.
  if (app().shell.wrpyreadpanel)
    ShowMarker(app().shell.wrpyreadpanel->lleft.Checked() ? "" : kDragMarker);
}

void Twheeltipform::ShowMarker(const std::string& text) {
  Label2.SetCaption(text);
  Label2.SetVisible(!text.empty());
  if (app().browser.easyie) app().browser.easyie->Label26.SetCaption(text);
}

void Twheeltipform::ToggleHoldToDrag() {
  if (!app().shell.wrpyreadpanel) return;
  CheckBox& box = app().shell.wrpyreadpanel->lleft;
  box.SetChecked(!box.Checked());
  ShowMarker(box.Checked() ? "" : kDragMarker);
}

bool Twheeltipform::OwnWindow(Wnd w) const {
  for (const Form* f : const_cast<Twheeltipform*>(this)->app().forms())
    if (f->Handle() == w) return true;
  return false;
}

void Twheeltipform::KeepOnActiveWindow() {
  App& a = app();
  const bool browserShown = a.browser.easyie && a.browser.easyie->Shown();
  const bool barShown = a.bar.qircom && a.bar.qircom->Shown();
  if (browserShown || (barShown && a.bar.qircom->Height() > 100)) {
    if (followed_ || Shown()) ParkTip();
    return;
  }
  if (!barShown) FollowActiveWindow();
}

void Twheeltipform::ParkTip() {
  followed_ = 0;
  followedRect_ = {};
  if (Shown()) Park();
}

bool Twheeltipform::FollowActiveWindow(bool again) {
  Platform& p = platform();
  const Wnd active = p.getForegroundWindow();
  if (!active || OwnWindow(active)) {
    lastActive_ = active;
    return false;
  }
  const Rect r = p.getWindowRect(active);
  // Coming back to the followed window (from the tip itself, say) places
  // the tip again too: the activated window may now be drawn over it.
  const bool cameBack = active != lastActive_;
  lastActive_ = active;
  if (!again && !cameBack && active == followed_ && r == followedRect_) return false;
  followed_ = active;
  followedRect_ = r;

  const auto ms = screens::Query(p);
  // The title bar: the window's top strip, as high as the tip.
  const Rect bar{r.left, r.top, r.width, std::min(r.height, 1)};
  if (r.width <= 0 || r.height <= 0 || p.windowState(active).minimized || !screens::OnAny(ms, bar)) {
    if (Shown()) Park();
    return true;
  }
  // Over the window's right part, on the monitor its title bar is on.
  const Monitor& m = screens::ForRect(ms, {r.left, r.top, r.width, std::max(1, std::min(r.height, 30))});
  const int d = screens::ClampDpi(m.dpi);
  const int w = screens::Scale(104, d), h = screens::Scale(18, d);
  Rect at{std::max(r.left, r.right() - screens::Scale(180, d)), r.top + screens::Scale(2, d), w, h};
  at = screens::KeepInside(at, m.rect);
  // Out of the topmost band and back in: on top of the window that was
  // just activated even where the system draws that one over topmost
  // windows.
  Place(at, d, ZOrder::NoTopMost, swp::NoActivate);
  Place(at, d, ZOrder::TopMost, swp::ShowWindow | swp::NoActivate);
  if (p.getForegroundWindow() != active) p.setForegroundWindow(active);
  return true;
}

}  // namespace sq
