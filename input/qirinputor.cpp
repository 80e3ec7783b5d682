#include "input/qirinputor.h"

#include "app/formmain.h"
#include "input/keys.h"
#include "input/words.h"

namespace sq {

const char* const Tqirinputor::kHookLibrary = "dovahk1.dll";
const char* const Tqirinputor::kLinkName = "\\Sipquill.lnk";

Tqirinputor::Tqirinputor(App& app)
    : Form(app, app.input.qirinputor, "qirinputor"), qirinputor_controls(this), tick_(app) {
  Timer1.OnTimer = [this] { Timer1Timer(); };
  // The keyboard words of the hook library go to this window's caption.
  platform().setHookMailbox(Mailbox::Input, Handle());
  installbutton.OnClick = [this] { installbuttonClick(); };
  Button2.OnClick = [this] { Button2Click(); };
}

void Tqirinputor::LoadHooks() {
  Platform& p = platform();
  switch (p.installHooks(kHookLibrary, Handle())) {
    case HookInstall::Installed: return;
    case HookInstall::NoLibrary: p.messageBox(0, "DLL: 不能加载！程序退出。", app().Title()); break;
    case HookInstall::NoExport: p.messageBox(0, "DLL: 函数没找到！程序退出。", app().Title()); break;
  }
  p.exitProcess(1);
}

void Tqirinputor::FormCreate() {
  Platform& p = platform();
  SetCaption(words::in::Idle);
  // Toggle the input method once at start.
  keys::Combo(p, vk::Control, vk::Space);
  caretBlinkTime_ = p.getCaretBlinkTime();
  LoadHooks();
  SetHeight(0);
  SetWidth(0);
  Hide();
  auto desktop = p.specialFolder(csidl::Desktop);
  if (!desktop) {
    Close();
    return;
  }
  if (p.fileExists(*desktop + kLinkName) && app().shell.FormMain)
    app().shell.FormMain->N3.SetEnabled(false);
}

void Tqirinputor::FormClose() {
  Platform& p = platform();
  Wnd w = p.findWindow("TqirForm3");
  if (w) p.setWindowText(w, words::scroll::Closing);
}

void Tqirinputor::Timer1Timer() { tick_.Run(); }

bool Tqirinputor::WriteShortcut(int folder, const std::string& target) {
  Platform& p = platform();
  auto dir = p.specialFolder(folder);
  if (!dir) return false;
  ShellLink link;
  link.target = target;
  link.workingDir = p.currentDirectory();
  link.description = "Sipmate，输入惊喜";
  link.showCommand = 5;  // show normally
  return p.createShellLink(*dir + kLinkName, link);
}

void Tqirinputor::installbuttonClick() {
  std::string target = platform().currentDirectory() + "\\Sipquill.exe";
  WriteShortcut(csidl::StartMenu, target);
  WriteShortcut(csidl::Desktop, target);
}

void Tqirinputor::Button2Click() { Close(); }

void Tqirinputor::StopGestures() {
  // Once: the caption word that asks for it stays until someone overwrites it.
  if (!Timer1.TimerEnabled()) return;
  Timer1.SetTimerEnabled(false);
  Close();
}

}  // namespace sq
