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
};

}  // namespace sq
