// The built-in browser window.
#pragma once

#include "app/app.h"
#include "app/form.h"
#include "forms/easyie_controls.h"

namespace sq {

class Teasyie : public Form, public easyie_controls {
 public:
  explicit Teasyie(App& app);
  void FormCreate() override;
  void FormClose() override;
  void FormDestroy() override;
  void Button21Click();

  bool showHelpAtStart() const { return app_.settings.ShowHelp(); }
  bool showWebAtStart() const { return app_.settings.ShowWeb(); }

 private:
  App& app_;
  bool urlsUnreadable_ = false;  // url.txt exists but could not be read
};

}  // namespace sq
