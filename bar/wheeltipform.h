// The wheel tip on the active window's title bar.
#pragma once

#include "app/app.h"
#include "app/form.h"
#include "forms/wheeltipform_controls.h"

namespace sq {

class Twheeltipform : public Form, public wheeltipform_controls {
 public:
  explicit Twheeltipform(App& app)
      : Form(app, app.wheeltipform, "wheeltipform"), wheeltipform_controls(this) {}
  void FormCreate() override {
    Park();
    SetWidth(104);
    SetHeight(18);
  }
};

}  // namespace sq
