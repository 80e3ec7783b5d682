// The caret window: its caption carries the text-selection words.
#pragma once

#include "app/app.h"
#include "app/form.h"
#include "forms/caretinfo_controls.h"

namespace sq {

class Tcaretinfo : public Form, public caretinfo_controls {
 public:
  explicit Tcaretinfo(App& app) : Form(app, app.caretinfo, "caretinfo"), caretinfo_controls(this) {}
};

}  // namespace sq
