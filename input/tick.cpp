#include "input/tick.h"

#include "app/app.h"
#include "app/relays.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"

namespace sq {

bool Tick::Ready() const {
  // The tick may fire while a message box raised during start-up is open;
  // it then must not touch a window that does not exist yet.
  return app_.wheeltipform != nullptr && app_.easyie != nullptr && app_.running();
}

void Tick::Run() {
  if (!Ready()) return;
  Relays();
  LeftPressAndCaretReset();
  ScrollModeResets();
  SelectionWords();
  RightClickReplay();
  if (KeyHistoryGestures()) return;
  if (PasteRequest()) return;
  if (CopyLinesStage()) return;
  if (CopyLinesGesture()) return;
  if (ZGuard()) return;
  ParkWidgets();
  if (RightChords()) return;
  TitleWordsAndCtrlTap();
  if (DragStops()) return;
  LeftformOverBar();
  if (RightPress()) return;
  if (LeftRelease()) return;
  if (LeftHold()) return;
  HideMainForm();
  InputHistoryPatterns();
  RecordInputCaption();
  SiblingWords();
  LeftDownParkBar();
  InputMethodAndKeys();
}

void Tick::Relays() {
  App& a = app_;
  Platform& p = a.platform();
  // 1: the right-press word of rightform goes to the life panel.
  a.lifeform->Panel22.SetCaption(a.rightform->Caption());
  // 2: the pointer.
  s_.cursor = p.getCursorPos();
  // 3: the scroll-mode caption and the class under the pointer to Form2.
  const std::string scroll = a.qirForm3->Caption();
  a.Form2->SetCaption(scroll);
  a.Form2->Panel1.SetCaption(p.getClassName(p.windowFromPoint(s_.cursor)).substr(0, 95));
  // 6 (done here with the other copies): wheel words to the browser.
  if (mail::Starts(scroll, "ystop wheel=")) a.easyie->Panel42.SetCaption(scroll);
  a.Form1->Edit1.SetCaption(scroll);
}

void Tick::RecordInputCaption() {
  App& a = app_;
  const std::string cap = a.qirinputor->Caption();
  mail::RecordInputWord(a.qircom->ListBox1, cap);
  mail::RecordInputWord(a.easyie->ListBox11, cap);
}

}  // namespace sq
