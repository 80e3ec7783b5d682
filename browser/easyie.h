// The built-in browser window.
#pragma once

#include "app/app.h"
#include "app/form.h"
#include "app/textfile.h"
#include "forms/easyie_controls.h"

namespace sq {

class Teasyie : public Form, public easyie_controls {
 public:
  explicit Teasyie(App& app);
  void FormCreate() override;
  void FormClose() override;
  void FormDestroy() override;
  // Opens the address box's text in a new tab.
  void Button1Click();
  // Help at start: the address box gets the help page when the option is set.
  void Button10Click();
  // Left button of "? X": the operating-instructions page.
  void Button21Click();
  // "file://" + current directory + "\ehelp\easyhelp.htm".
  std::string HelpAddress();

  static constexpr int kBannerHeight = 150;

  bool showHelpAtStart() const { return app_.settings.ShowHelp(); }
  bool showWebAtStart() const { return app_.settings.ShowWeb(); }

 private:
  App& app_;
  LineFile urls_;                      // url.txt as read
  std::vector<std::string> urlsShown_;  // each favourite as the list showed it
  static constexpr const char* kUrlFile = "url.txt";
  static constexpr const char* kHistoryFile = "his.txt";
};

}  // namespace sq
