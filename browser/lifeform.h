// The life panel: a bar at the screen edge registered as a desktop toolbar,
// with a browser control showing the local hint page.
#pragma once

#include "app/app.h"
#include "app/form.h"
#include "forms/lifeform_controls.h"

namespace sq {

class Tlifeform : public Form, public lifeform_controls {
 public:
  explicit Tlifeform(App& app);
  void FormCreate() override;
  void FormDestroy() override;
  // Register as a desktop toolbar along the top edge.
  void Button1Click();
  // Remove the toolbar; while the process is ending, close the main form.
  void Button3Click();
  // Stops the panel's browser and opens the local hint page again (the
  // main menu's "提示").
  void ShowHelpTitle();
  // "file://" + current directory + "\helptitle.htm".
  std::string HelpTitleAddress();
  WebBrowser* browser() { return browser_.get(); }

  static constexpr int kEdgeTop = 1;
  bool registered() const { return registered_; }

 private:
  std::unique_ptr<BrowserEvents> links_;  // its links go to the browser window
  std::unique_ptr<WebBrowser> browser_;
  bool registered_ = false;
};

}  // namespace sq
