// The mouse picture window.
#pragma once

#include "app/app.h"
#include "app/form.h"
#include "forms/mousepp_controls.h"

namespace sq {

class Tmousepp : public Form, public mousepp_controls {
 public:
  explicit Tmousepp(App& app) : Form(app, app.mousepp, "mousepp"), mousepp_controls(this) {}
  void FormCreate() override {
    Park();
    Panel1.SetLeft(0); Panel1.SetTop(0);
    Panel2.SetLeft(0); Panel2.SetTop(0);
    Panel3.SetLeft(0); Panel3.SetTop(0);
    SetWindowPos(ZOrder::TopMost, Left(), Top(), 336, 67);
  }
};

}  // namespace sq
