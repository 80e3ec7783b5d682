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
  }
  void FormCreate() override { Panel4.SetLeft(-100); }
  void Button1Click() {}
};

}  // namespace sq
