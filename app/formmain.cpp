#include "app/formmain.h"

#include "app/frame/screens.h"

#include "app/wrpyreadpanel.h"
#include "bar/qircom.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/qirinputor.h"
#include "input/words.h"

namespace sq {

const char* const TFormMain::kVerbKey = "*\\shell\\轻松打开";
const char* const TFormMain::kCommandKey = "*\\shell\\轻松打开\\command";
const char* const TFormMain::kHomePage = "http://www.sipquill.com/";

TFormMain::TFormMain(App& app)
    : Form(app, app.shell.FormMain, "FormMain"), FormMain_controls(this) {
  CheckBox1.OnClick = [this] { CheckBox1Click(); };
  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button3.OnClick = [this] { Button3Click(); };
  N1.OnClick = [this] { N1Click(); };
  N3.OnClick = [this] { N3Click(); };
  Shutdown1.OnClick = [this] { Shutdown1Click(); };
  Properties1.OnClick = [this] { Properties1Click(); };
  N7.OnClick = [this] { N7Click(); };
  N6.OnClick = [this] { N6Click(); };
  N4.OnClick = [this] { N4Click(); };
  N5.OnClick = [this] { N5Click(); };
  N8.OnClick = [this] { N8Click(); };
  N9.OnClick = [this] { N9Click(); };
  RadioButton1.OnClick = [this] { RadioButtonClick(); };
  RadioButton2.OnClick = [this] { RadioButtonClick(); };
  Platform& p = platform();
  p.setTrayHandler(Handle(), [this](TrayEvent e) {
    RunHandler(this->app(), [this, e] { TrayMessage(e); });
  });
  // Activation parks the form again, so it never shows on the screen.
  OnActivate = [this] { FormActivate(); };
  Edit1.OnKeyUp = [this](int& key, ShiftState shift) { EditKeyUp(key, shift); };
  Edit2.OnKeyUp = [this](int& key, ShiftState shift) { EditKeyUp(key, shift); };
}

void TFormMain::TrayMessage(TrayEvent event) {
  Platform& p = platform();
  if (event != TrayEvent::LeftUp && event != TrayEvent::RightUp) return;
  if (app().input.qirinputor) app().input.qirinputor->SetCaption(words::in::IdleTray);
  if (event == TrayEvent::LeftUp && app().bar.qircom) {
    Form& bar = *static_cast<Form*>(app().bar.qircom);
    // Shown, topmost, but off every monitor.
    bar.ParkAt(screens::kParkLeft);
    bar.SetWindowPos(ZOrder::TopMost, bar.Left(), 10, bar.Width(), bar.Height(), swp::ShowWindow);
  }
  PopupMenu(p.getCursorPos());
}

void TFormMain::PopupMenu(Point at) {
  std::vector<Platform::MenuEntry> entries;
  std::vector<Control*> items;
  for (const auto& c : controls()) {
    if (c->kind() != Kind::MenuItem || c->layout().geometry.parent != "PopupMenu1") continue;
    Platform::MenuEntry e;
    e.caption = c->Caption();
    e.enabled = c->Enabled();
    e.separator = e.caption == "-";
    entries.push_back(e);
    items.push_back(c.get());
  }
  platform().setForegroundWindow(Handle());
  int chosen = platform().trackPopupMenu(Handle(), entries, at);
  if (chosen < 0 || chosen >= static_cast<int>(items.size())) return;
  Control* item = items[static_cast<size_t>(chosen)];
  if (item->Enabled() && item->OnClick) item->OnClick();
}

void TFormMain::Properties1Click() {
  Teasyie* web = app().browser.easyie;
  if (!web) return;
  web->SetLeft(0);
  web->Button21Click();
  web->Panel3.SetLeft(-2000);
}

void TFormMain::N7Click() {
  Platform& p = platform();
  p.setCursorPos({p.screenWidth() / 2, p.screenHeight() / 2});
}

void TFormMain::N6Click() {
  Teasyie* web = app().browser.easyie;
  if (!web) return;
  if (!web->Shown()) web->SetLeft(0); else web->Park();
}

void TFormMain::N5Click() {
  Tlifeform* life = app().browser.lifeform;
  Teasyie* web = app().browser.easyie;
  if (!life || !web) return;
  if (life->Visible()) {
    life->SetHeight(0);
    life->Hide();
    life->Button3Click();
    web->SetTop(0);
  } else {
    life->SetHeight(web->Shown() ? 32 : 114);
    web->SetTop(web->Scale(30));
    life->Show();
    life->Button1Click();
  }
}

void TFormMain::N4Click() {
  Teasyie* web = app().browser.easyie;
  if (!web) return;
  web->Edit1.SetCaption(kHomePage);
  web->Button1Click();
  if (app().bar.qircom) static_cast<Form*>(app().bar.qircom)->Park();
  web->SetLeft(0);
}

void TFormMain::N8Click() {
  Tlifeform* life = app().browser.lifeform;
  if (life) life->windmess.SetVisible(!life->windmess.Visible());
}

void TFormMain::N9Click() {
  if (app().browser.lifeform) app().browser.lifeform->ShowHelpTitle();
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

void TFormMain::RadioButtonClick() {
  if (CheckBox1.Checked()) NotifyTray(1);
}

void TFormMain::EditKeyUp(int&, ShiftState) {
  if (CheckBox1.Checked()) NotifyTray(1);
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
  Twrpyreadpanel* w = app().shell.wrpyreadpanel;
  if (!w) return;
  w->Show();
  if (app().bar.qircom) static_cast<Form*>(app().bar.qircom)->Park();
  const Rect r = w->ScreenRect();
  if (w->Shown()) platform().setCursorPos({r.left + r.width / 2, r.top + r.height / 2});
}

void TFormMain::N3Click() {
  if (app().input.qirinputor) app().input.qirinputor->installbuttonClick();
}

void TFormMain::Shutdown1Click() {
  Tlifeform* life = app().browser.lifeform;
  if (life) life->Hide();
  Panel1.SetCaption(words::mainform::Closing);
  if (life) life->Button3Click();
  Close();
}

void TFormMain::FormClose() { Button3Click(); }

void TFormMain::FormDestroy() {
  Button3Click();
  NotifyTray(2);
}

}  // namespace sq
