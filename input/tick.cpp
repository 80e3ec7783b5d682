// The tick: its readiness, its steps in order and the helpers its gestures
// share.
#include <algorithm>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/frame/budget.h"
#include "app/caretinfo.h"
#include "app/formmain.h"
#include "app/relays.h"
#include "app/frame/screens.h"
#include "app/settings_list.h"
#include "app/wrpyreadpanel.h"
#include "bar/mousepp.h"
#include "bar/qircom.h"
#include "bar/qirform3.h"
#include "bar/qirform4.h"
#include "bar/smartclip.h"
#include "browser/easyie.h"
#include "browser/lifeform.h"
#include "input/keys.h"
#include "input/mailbox.h"
#include "input/qirinputor.h"
#include "input/tick.h"
#include "input/words.h"

namespace sq {

bool Tick::Ready() const {
  // The tick may fire while a message box raised during start-up is open;
  // it then must not touch a window that does not exist yet.
  return app_.bar.wheeltipform != nullptr && app_.browser.easyie != nullptr && app_.running();
}

void Tick::Run() {
  if (!Ready()) return;
  ++runs_;
  view_.monitors = screens::Query(app_.platform());
  BeginReading();
  EndReading(Steps());
}

bool Tick::Steps() {
  Relays();
  LeftPressAndCaretReset();
  ScrollModeResets();
  SelectionWords();
  RightClickReplay();
  if (KeyHistoryGestures()) return false;
  if (PasteRequest()) return false;
  if (CopyLinesStage()) return false;
  if (CopyLinesGesture()) return false;
  if (ZGuard()) return false;
  ParkWidgets();
  if (RightChords()) return false;
  TitleWordsAndCtrlTap();
  if (DragStops()) return false;
  LeftformOverBar();
  if (RightPress()) return false;
  if (LeftRelease()) return false;
  if (LeftHold()) return false;
  HideMainForm();
  InputHistoryPatterns();
  RecordInputCaption();
  SiblingWords();
  LeftDownParkBar();
  InputMethodAndKeys();
  return true;
}

bool Tick::OverBar() {
  return app_.bar.qircom->HoldsChild(app_.platform().windowFromPoint(view_.cursor));
}

bool Tick::OverBarOrBrowser() {
  return sq::OverBarOrBrowser(app_, app_.platform().windowFromPoint(view_.cursor));
}

void Tick::BringToFront(Wnd w) {
  if (w) app_.platform().bringWindowToTop(w);
}

void Tick::ShowClipPanels() {
  Tqircom& bar = *app_.bar.qircom;
  bar.Panel9.Show();
  bar.Panel12.Show();
  bar.Panel35.Show();
}

void Tick::ShowClipWidget(int dx, int dy) {
  Tqircom& bar = *app_.bar.qircom;
  bar.PlaceAtPointer(view_.cursor, dx, dy, 70, 24, ZOrder::TopMost, swp::ShowWindow);
  bar.Show();
}

bool Tick::Same(Point a, Point b) const {
  const int near = view_.monitors.empty() ? kNear
                                     : screens::Scale(kNear, screens::At(view_.monitors, a).dpi);
  return (a.x - b.x <= near && b.x - a.x <= near) && (a.y - b.y <= near && b.y - a.y <= near);
}

int Tick::Px(int v) const { return screens::Scale(v, view_.dpi); }

bool Tick::OnScreen(Point pt) const {
  return !view_.monitors.empty() && screens::OnAny(view_.monitors, {pt.x, pt.y, 1, 1});
}

void Tick::FocusUnder(Point pt) {
  Platform& p = app_.platform();
  p.sleep(30);
  ShowClipPanels();
  BringToFront(TopLevelAt(app_.platform(), {pt.x, pt.y - Px(10)}));
  p.sleep(30);
  keys::Escape42(p);
  keys::Escape42(p);
}

void Tick::InsertSmartClipboard(const std::string& text) {
  smartclip::Insert(app_.bar.qircom->ListBox2, text);
}

void Tick::SetLines(Control& list, const std::vector<std::string>& lines) {
  list.Clear();
  for (const auto& l : lines) list.Add(l);
}

bool Tick::ReadCapturable(std::string& text) {
  return smartclip::ReadForCapture(app_.platform(), text) == smartclip::Read::Text;
}

int Tick::BarEdit2Ticks() { return LeadingInt(app_.bar.qircom->Edit2.Caption()) / 20; }

WebBrowser* Tick::BrowserPage() { return app_.browser.easyie->ActiveBrowser(); }

int Tick::AlignLines(std::vector<std::string>& lines, int column) {
  return smartclip::AlignLines(lines, column);
}

std::string Tick::PointWord(const char* prefix, Point pt) {
  return prefix + std::to_string(pt.x) + words::hook::PointSeparator + std::to_string(pt.y);
}

}  // namespace sq
