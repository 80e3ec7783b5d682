// The scroll-mode window: its caption is the mailbox of the mouse words.
#pragma once

#include "app/app.h"
#include "app/form.h"
#include "forms/qirForm3_controls.h"

namespace sq {

class TqirForm3 : public Form, public qirForm3_controls {
 public:
  explicit TqirForm3(App& app) : Form(app, app.qirForm3, "qirForm3"), qirForm3_controls(this) {
    Button1.OnClick = [this] { Button1Click(); };
    // The mouse words of the hook library go to this window's caption.
    platform().setHookMailbox(Mailbox::Scroll, Handle());
  }
  // Panel4's corner holds the drag start point; until there is one it
  // lies off every monitor (at the stored -100 where that is off them).
  void FormCreate() override {
    const auto ms = screens::Query(platform());
    const int top = Panel4.Top();
    Panel4.SetLeft(screens::OnAny(ms, {-100, top, 1, 1}) ? screens::ParkLeft(ms) : -100);
  }
  void Button1Click() {}
};

}  // namespace sq
