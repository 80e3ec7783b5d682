#include "bar/qircom.h"

#include "app/formmain.h"
#include "bar/wheeltipform.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"

namespace sq {

const char* const Tqircom::kHintSystemMenu = "进入系统菜单";

Tqircom::Tqircom(App& app) : Form(app, app.qircom, "qircom"), qircom_controls(this) {
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Button1.OnClick = [this] { Button1Click(); };
  Panel13.OnMouseMove = [this](ShiftState s, int x, int y) { Panel13MouseMove(s, x, y); };
  Panel13.OnMouseUp = [this](MouseButton b, ShiftState s, int x, int y) {
    Panel13MouseUp(b, s, x, y);
  };
  // The key words of the hook library go to this window's caption.
  platform().setHookMailbox(Mailbox::Bar, Handle());
}

void Tqircom::FormCreate() {
  Park();
  // The full bar's container and the clip widget at their home places.
  Panel9.SetLeft(0);
  Panel9.SetTop(0);
  Panel12.SetLeft(0);
  Panel12.SetTop(0);
}

void Tqircom::Timer1Timer() {
  // The wheel tip sits on the active window's title bar.
  if (app().wheeltipform) app().wheeltipform->KeepOnActiveWindow();
  // Every new word the hook library wrote into the caption enters the key
  // history, newest first; then the library's next word may come.
  mail::RecordKeyWord(ListBox8, Caption());
  platform().mailboxSeen(Handle());
}

void Tqircom::Button1Click() {}

void Tqircom::Panel13MouseMove(ShiftState, int, int) { Panel16.SetCaption(kHintSystemMenu); }

void Tqircom::Panel13MouseUp(MouseButton, ShiftState, int, int) {
  Park();
  if (app().qirinputor) app().qirinputor->SetCaption(words::in::Idle);
  if (app().FormMain) app().FormMain->PopupMenu(platform().getCursorPos());
}

}  // namespace sq
