#include "app/formmain.h"

#include "app/wrpyreadpanel.h"
#include "browser/lifeform.h"
#include "input/qirinputor.h"

namespace sq {

const char* const TFormMain::kVerbKey = "*\\shell\\轻松打开";
const char* const TFormMain::kCommandKey = "*\\shell\\轻松打开\\command";

TFormMain::TFormMain(App& app) : Form(app, app.FormMain, "FormMain"), FormMain_controls(this) {
  CheckBox1.OnClick = [this] { CheckBox1Click(); };
  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button3.OnClick = [this] { Button3Click(); };
  N1.OnClick = [this] { N1Click(); };
  N3.OnClick = [this] { N3Click(); };
  Shutdown1.OnClick = [this] { Shutdown1Click(); };
}

void TFormMain::FormCreate() {
  Park();
  Hide();
  CheckBox1.SetChecked(true);
  CheckBox1Click();
  Button2Click();
  Park();
  Hide();
}

void TFormMain::FormActivate() { Park(); }

std::string TFormMain::VerbCommand(const std::string& currentDir) {
  // Both the program path and the file are quoted, so folders and files
  // whose names hold blanks open as one argument.
  return "\"" + currentDir + "\\wordpad.exe\" \"%1\"";
}

int TFormMain::TrayIconHandle() { return RadioButton1.Checked() ? 1 : 2; }

bool TFormMain::NotifyTray(int action) {
  TrayIcon t;
  t.owner = Handle();
  t.id = kTrayId;
  t.callbackMessage = kTrayMessage;
  switch (action) {
    case 0: return platform().trayAdd(t);
    case 1:
      t.icon = TrayIconHandle();
      t.tip = "Tovimo之Velvane";
      return platform().trayModify(t);
    case 2: return platform().trayDelete(Handle(), kTrayId);
    default: return false;
  }
}

void TFormMain::CheckBox1Click() {
  if (CheckBox1.Checked()) {
    NotifyTray(0);
    NotifyTray(1);
  } else {
    NotifyTray(2);
  }
  Button1.SetEnabled(CheckBox1.Checked());
}

void TFormMain::Button1Click() { Hide(); }

void TFormMain::Button2Click() {
  Platform& p = platform();
  p.regSetValue(kVerbKey, "", "轻松打开");
  p.regSetValue(kCommandKey, "", VerbCommand(p.currentDirectory()));
}

void TFormMain::Button3Click() {
  Platform& p = platform();
  p.regDeleteKey(kCommandKey);
  p.regDeleteKey(kVerbKey);
}

void TFormMain::N1Click() {
  Twrpyreadpanel* w = app().wrpyreadpanel;
  if (!w) return;
  w->Show();
  Rect r = w->Bounds();
  platform().setCursorPos({r.left + r.width / 2, r.top + r.height / 2});
}

void TFormMain::N3Click() {
  if (app().qirinputor) app().qirinputor->installbuttonClick();
}

void TFormMain::Shutdown1Click() {
  Tlifeform* life = app().lifeform;
  if (life) life->Hide();
  Panel1.SetCaption("close");
  if (life) life->Button3Click();
  Close();
}

void TFormMain::FormClose() { Button3Click(); }

void TFormMain::FormDestroy() {
  Button3Click();
  NotifyTray(2);
}

}  // namespace sq
