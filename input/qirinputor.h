// The input window: owns the hook library and the 40 ms tick. Never seen.
//
// Every form may read and write its caption (the input words); the main
// form runs installbuttonClick, the browser closes it and stops the
// gestures (StopGestures), the command bar aligns a capture by its tick's
// capture column, and the input core's gestures place Panel4 and Panel5.
#pragma once

#include "app/app.h"
#include "app/frame/form.h"
#include "forms/qirinputor_controls.h"
#include "input/tick.h"

namespace sq {

class Tqirinputor : public Form, public qirinputor_controls {
 public:
  explicit Tqirinputor(App& app);

  void FormCreate() override;
  void FormClose() override;
  void Timer1Timer();
  void installbuttonClick();
  void Button2Click();
  // "Stop the gestures until the program starts again": the tick that
  // recognises them stops and the window closes. The hooks stay; their
  // words are only no longer acted on.
  void StopGestures();

  Tick& tick() { return tick_; }
  unsigned caretBlinkTime() const { return caretBlinkTime_; }

  static const char* const kHookLibrary;  // "dovahk1.dll"
  static const char* const kLinkName;     // "\\Sipquill.lnk"

 private:
  // Loads the hook library and installs both hooks; ends the process with
  // exit code 1 when the library or one of its exports is missing.
  void LoadHooks();
  bool WriteShortcut(int folder, const std::string& target);
  Tick tick_;
  unsigned caretBlinkTime_ = 0;
};

}  // namespace sq
