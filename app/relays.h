// Relay and holder windows: they have no behaviour of their own; other
// windows write and read their captions and controls.
//
// Who touches which: TForm1.Edit1 and TForm2 (caption, Panel1) only the
// input core; Trightform's caption the command bar, the input core and the
// life panel, its place the browser's timer and the life panel; Tleftform's
// place the input core, its caption the life panel.
#pragma once

#include "app/app.h"
#include "app/frame/form.h"
#include "forms/Form1_controls.h"
#include "forms/Form2_controls.h"
#include "forms/leftform_controls.h"
#include "forms/rightform_controls.h"

namespace sq {

class TForm1 : public Form, public Form1_controls {
 public:
  explicit TForm1(App& app) : Form(app, app.relays.Form1, "Form1"), Form1_controls(this) {}
};

class TForm2 : public Form, public Form2_controls {
 public:
  explicit TForm2(App& app) : Form(app, app.relays.Form2, "Form2"), Form2_controls(this) {}
};

class Trightform : public Form, public rightform_controls {
 public:
  explicit Trightform(App& app)
      : Form(app, app.relays.rightform, "rightform"), rightform_controls(this) {}
  void FormCreate() override { Park(); }
};

class Tleftform : public Form, public leftform_controls {
 public:
  explicit Tleftform(App& app)
      : Form(app, app.relays.leftform, "leftform"), leftform_controls(this) {}
};

}  // namespace sq
