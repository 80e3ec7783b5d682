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
  bool started() const { return run_.started; }
  int exitCode() const { return run_.exitCode; }

  // The framework's standard error box.
  void frameworkError(const std::string& message) override;
  // Monitors were added, removed or rearranged: a parked form that a new
  // monitor would show is parked again further left, and a shown form whose
  // monitor went away comes back to the main monitor.
  void DisplayChanged();

  // A form finished closing; closing the main form ends the message loop.
  void formClosed(Form& f) override;
  bool quitPosted() const { return run_.quitPosted; }

  // Forms in creation order (only those created so far).
  const std::vector<Form*>& forms() const { return order_; }

  // Global form pointers, by subsystem: valid once each form is built
  // (before its timers and its creation handler run), null before it.
  // The main form with the tray, and the settings panel.
  struct ShellWindows {
    TFormMain* FormMain = nullptr;
    Twrpyreadpanel* wrpyreadpanel = nullptr;
  };
  // The input window with the hooks and the tick, and the caret window.
  struct InputWindows {
    Tqirinputor* qirinputor = nullptr;
    Tcaretinfo* caretinfo = nullptr;
  };
  // The command bar and the windows at its side: the scroll-mode window,
  // the title window, the mouse picture window and the wheel tip.
  struct BarWindows {
    Tqircom* qircom = nullptr;
    TqirForm3* qirForm3 = nullptr;
    TqirForm4* qirForm4 = nullptr;
    Tmousepp* mousepp = nullptr;
    Twheeltipform* wheeltipform = nullptr;
  };
  // The browser window and the life panel.
  struct BrowserWindows {
    Teasyie* easyie = nullptr;
    Tlifeform* lifeform = nullptr;
  };
  // The relay and holder windows.
  struct RelayWindows {
    TForm1* Form1 = nullptr;
    TForm2* Form2 = nullptr;
    Trightform* rightform = nullptr;
    Tleftform* leftform = nullptr;
  };
  ShellWindows shell;
  InputWindows input;
  BarWindows bar;
  BrowserWindows browser;
  RelayWindows relays;

  SharedSettings settings;

 private:
  template <class T>
  void create();
  std::string title_ = "Tovimo zuzi";
  std::vector<std::unique_ptr<Form>> owned_;
  std::vector<Form*> order_;
  std::vector<Monitor> monitors_;  // as the forms were last placed for
  // Where the run is: started, the quit posted, finished, and its exit code.
  struct RunState {
    bool started = false;
    bool quitPosted = false;
    bool finished = false;
    int exitCode = 0;
  };
  RunState run_;
};

// Every form belongs to the one application object.
inline App& Form::app() { return static_cast<App&>(host()); }

}  // namespace sq
