// What the form framework needs of the application that owns its forms:
// the platform, whether the message loop runs, the framework's error box,
// the main form, the control under the pointer and the event trace. The
// application object derives from it; the framework knows no form by name.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace sq {

class Control;
class Form;

class FormHost {
 public:
  explicit FormHost(Platform& p) : p_(p) {}
  FormHost(const FormHost&) = delete;
  FormHost& operator=(const FormHost&) = delete;

  Platform& platform() { return p_; }
  bool running() const { return running_; }

  // The framework's standard error box.
  virtual void frameworkError(const std::string& message) = 0;
  // A form finished closing; closing the main form ends the message loop.
  virtual void formClosed(Form& f) = 0;

  // The main form (null before it exists).
  Form* FormMainForm() const { return mainForm_; }

  // The control the pointer is over, as its events told; null when none.
  Control* hovered() const { return hovered_; }
  void setHovered(Control* c) { hovered_ = c; }
  // When set, every control event the framework hands to a handler is
  // described here ("Tqircom.BitBtn4 MouseDown right 12,8"), whether or not
  // the control has a handler for it: the event trace the conformance tests
  // read.
  std::function<void(const std::string&)> eventTrace;

 protected:
  ~FormHost() = default;
  Platform& p_;
  Form* mainForm_ = nullptr;
  Control* hovered_ = nullptr;
  bool running_ = false;
};

// Runs a handler the way the framework does: a framework error shows its
// message box (titled with the application title) and abandons the handler.
void RunHandler(FormHost& host, const std::function<void()>& fn);

}  // namespace sq
