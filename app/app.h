// The application object: the platform, the fifteen forms with their global
// pointers, the shared settings list, start-up and the orderly end.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/frame/form.h"
#include "app/frame/host.h"
#include "app/settings_list.h"
#include "platform/platform.h"

namespace sq {

class Form;
class Control;
class TFormMain;
class Tqirinputor;
class Tqircom;
class Tlifeform;
class Tmousepp;
class TqirForm4;
class TqirForm3;
class Twrpyreadpanel;
class Tcaretinfo;
class TForm1;
class TForm2;
class Trightform;
class Tleftform;
class Teasyie;
class Twheeltipform;

class App final : public FormHost {
 public:
  explicit App(Platform& p);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  const std::string& Title() const { return title_; }

  // The whole run: start-up, message loop, destruction. Returns the exit code.
  int Run();
  // Start-up alone (creates the fifteen forms in order). Returns false when
  // the process ended during start-up; exitCode() then tells the code.
  bool Start();
  // Destroys the forms in reverse creation order, running their destruction
  // handlers; returns the exit code (0 for an orderly end).
  int Finish();
  bool started() const { return started_; }
  int exitCode() const { return exitCode_; }

  // The framework's standard error box.
  void frameworkError(const std::string& message) override;
  // Monitors were added, removed or rearranged: a parked form that a new
  // monitor would show is parked again further left, and a shown form whose
  // monitor went away comes back to the main monitor.
  void DisplayChanged();

  // A form finished closing; closing the main form ends the message loop.
  void formClosed(Form& f) override;
  bool quitPosted() const { return quitPosted_; }

  // Forms in creation order (only those created so far).
  const std::vector<Form*>& forms() const { return order_; }

  // Global form pointers: valid once each form is built (before its timers
  // and its creation handler run), null before it.
  TFormMain* FormMain = nullptr;
  Tqirinputor* qirinputor = nullptr;
  Tqircom* qircom = nullptr;
  Tlifeform* lifeform = nullptr;
  Tmousepp* mousepp = nullptr;
  TqirForm4* qirForm4 = nullptr;
  TqirForm3* qirForm3 = nullptr;
  Twrpyreadpanel* wrpyreadpanel = nullptr;
  Tcaretinfo* caretinfo = nullptr;
  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
  Trightform* rightform = nullptr;
  Tleftform* leftform = nullptr;
  Teasyie* easyie = nullptr;
  Twheeltipform* wheeltipform = nullptr;

  SharedSettings settings;

 private:
  template <class T>
  void create();
  std::string title_ = "Tovimo zuzi";
  std::vector<std::unique_ptr<Form>> owned_;
  std::vector<Form*> order_;
  std::vector<Monitor> monitors_;  // as the forms were last placed for
  bool started_ = false;
  bool quitPosted_ = false;
  bool finished_ = false;
  int exitCode_ = 0;
};

// Every form belongs to the one application object.
inline App& Form::app() { return static_cast<App&>(host()); }

}  // namespace sq
