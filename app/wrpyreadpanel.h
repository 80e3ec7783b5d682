// The settings panel. Its controls are the live settings: other windows
// read its check boxes and edits on every tick. A few values are stored in
// "wr.ini", a plain list of lines.
//
// Other forms only read it, on every tick: its check boxes (lleft, lctrl,
// lmbutton: which gestures are on) and the left hold time (LeftHoldMs).
// The main form and the command bar show, hide and place it.
#pragma once

#include "app/app.h"
#include "app/frame/form.h"
#include "app/frame/textfile.h"
#include "forms/wrpyreadpanel_controls.h"

namespace sq {

class Twrpyreadpanel : public Form, public wrpyreadpanel_controls {
 public:
  explicit Twrpyreadpanel(App& app);
  void FormCreate() override;
  void FormDestroy() override;
  void ListBox2MouseDown();
  void lmbuttonClick();
  void Panel4Click();  // save and close
  void Panel5Click();  // close without saving
  void Button1Click();

  static const char* const kFileName;  // "wr.ini"
  static constexpr int kLines = 6;

  // The hold time of the left button in milliseconds (Edit2 as a decimal
  // integer; text that is not a number counts as its leading digits, or 0).
  int LeftHoldMs() const;

 private:
  // Writes the stored lines; false when the file must not or could not be
  // written.
  bool Save();
  LineFile file_;                   // wr.ini as read
  std::vector<std::string> shown_;  // each line as the list showed it after loading
};

// Leading decimal integer of a text ("120ms" -> 120, "x" -> 0).
int LeadingInt(const std::string& s);

}  // namespace sq
