// The command bar: a floating, parked window that also serves as the
// mailbox of the key history.
#pragma once

#include "app/app.h"
#include "app/form.h"
#include "forms/qircom_controls.h"

namespace sq {

class Tqircom : public Form, public qircom_controls {
 public:
  explicit Tqircom(App& app);
  void FormCreate() override;
  // The bar's 20 ms tick.
  void Timer1Timer();
  // Refresh the window list (run as a plain call by the input core).
  void Button1Click();
  // ">>": the hint names the system menu; a release of either button opens
  // the main menu at the pointer.
  void Panel13MouseMove(ShiftState shift, int x, int y);
  void Panel13MouseUp(MouseButton button, ShiftState shift, int x, int y);

  static const char* const kHintSystemMenu;  // "进入系统菜单"
};

}  // namespace sq
