// The caret window: its caption carries the text-selection words.
//
// Other forms touch only this: its caption (the input core writes and reads
// the selection words, the command bar's clipboard writes them, the life
// panel reads them), its height (the input core and the browser's timer
// count queued scroll words in it) and ListBox3 and Panel3 (the input
// core's scroll-word queue, the browser's timer).
#pragma once

#include "app/app.h"
#include "app/frame/form.h"
#include "bar/qircom.h"
#include "forms/caretinfo_controls.h"
#include "input/words.h"

namespace sq {

class Tcaretinfo : public Form, public caretinfo_controls {
 public:
  explicit Tcaretinfo(App& app)
      : Form(app, app.input.caretinfo, "caretinfo"), caretinfo_controls(this) {
    Panel1.OnClick = [this] { Panel1Click(); };
  }
  // Asks the command bar to capture the clipboard into the smart clipboard.
  void Panel1Click() {
    if (app().bar.qircom) app().bar.qircom->Panel19.SetCaption(words::clip::Test);
  }
};

}  // namespace sq
