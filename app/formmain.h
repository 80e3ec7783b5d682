// The main form: tray icon, the main (popup) menu, the easy-open verb and
// the one orderly exit, Shutdown1Click.
//
// Other forms touch only this: the popup menu (the command bar's menu
// button and the life panel open it; the bar runs N1Click), the item N3
// (the input window), and Shutdown1Click, the one orderly exit (the
// browser's close word and the mouse picture window's close card).
#pragma once

#include "app/app.h"
#include "app/frame/form.h"
#include "forms/FormMain_controls.h"

namespace sq {

class TFormMain : public Form, public FormMain_controls {
 public:
  explicit TFormMain(App& app);

  void FormCreate() override;
  void FormClose() override;
  void FormDestroy() override;
  void FormActivate();
  // Mouse events on the tray icon: a left or a right release opens the
  // main menu; every other event does nothing.
  void TrayMessage(TrayEvent event);
  // Shows PopupMenu1 at a point and runs the chosen item's handler.
  void PopupMenu(Point at);
  void Properties1Click();
  void N7Click();
  void N6Click();
  void N5Click();
  void N4Click();   // the maker's home page in the browser
  void N8Click();   // show or hide the life panel's window information
  void N9Click();

  // Tray icon: add = 0, modify = 1, delete = 2. True when the shell took it.
  bool NotifyTray(int action);
  int TrayIconHandle();
  void CheckBox1Click();
  // Both radio buttons and both tip edits refresh the icon while it is shown.
  void RadioButtonClick();
  void EditKeyUp(int& key, ShiftState shift);
  void Button1Click();
  void Button2Click();  // register the easy-open verb
  void Button3Click();  // remove the easy-open verb

  void N1Click();   // settings
  void N3Click();   // shortcuts on the desktop and in the Start menu
  void Shutdown1Click();

  static constexpr unsigned kTrayId = 1006;
  // The maker's home page, opened by N4 (and the command bar's "主").
  static const char* const kHomePage;
  static const char* const kVerbKey;     // "*\\shell\\轻松打开"
  static const char* const kCommandKey;  // kVerbKey + "\\command"
  // The command the verb runs, built from the current directory.
  static std::string VerbCommand(const std::string& currentDir);
};

}  // namespace sq
