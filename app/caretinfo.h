// The caret window: its caption carries the text-selection words.
#pragma once

#include "app/app.h"
#include "app/frame/form.h"
#include "bar/qircom.h"
#include "forms/caretinfo_controls.h"
#include "input/words.h"

namespace sq {

class Tcaretinfo : public Form, public caretinfo_controls {
 public:
  explicit Tcaretinfo(App& app) : Form(app, app.caretinfo, "caretinfo"), caretinfo_controls(this) {
    Panel1.OnClick = [this] { Panel1Click(); };
  }
  // Asks the command bar to capture the clipboard into the smart clipboard.
  void Panel1Click() {
    if (app().qircom) app().qircom->Panel19.SetCaption(words::clip::Test);
  }
};

}  // namespace sq
