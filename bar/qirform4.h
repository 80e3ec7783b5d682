// The title window: the small badge shown at the pointer during a drag.
#pragma once

#include "app/app.h"
#include "app/form.h"
#include "app/localpage.h"
#include "forms/qirForm4_controls.h"

namespace sq {

class TqirForm4 : public Form, public qirForm4_controls {
 public:
  explicit TqirForm4(App& app) : Form(app, app.qirForm4, "qirForm4"), qirForm4_controls(this) {
    Button1.OnClick = [this] { Button1Click(); };
  }
  void FormCreate() override {
    Platform& p = platform();
    browser_ = p.createBrowser(CppWebBrowser1.Handle(), nullptr);
    if (browser_) OpenLocalPage(p, *browser_, "\\title.htm");
  }
  WebBrowser* browser() { return browser_.get(); }
  // Marks itself by its caption; nothing else happens.
  void Button1Click() { Button1.SetCaption("xx"); }

 private:
  std::unique_ptr<WebBrowser> browser_;
};

}  // namespace sq
