// The command bar: a floating, parked window with three presentations (the
// pointer widget, the clip widget and the full bar with the window list and
// the smart clipboard), its own 20 ms tick, and the mailbox of the key
// history.
//
// Other forms touch: its place (Shown, Park, PlaceAtPointer, Show: the
// input core, the life panel, the scroll-mode window, the browser), its
// history lists (ListBox1 input words, ListBox8 key history, ListBox2,
// ListBox4, ListBox11: the input core; ListBox8 and ListBox2 the life
// panel and the browser's timer), the smart clipboard Edit1 and its
// buttons (the input core), and the panels that hold the bar's state
// (Panel4, Panel12, Panel14, Panel19, Panel27, Panel35, ...: the input
// core and the life panel); the wheel tip reads its height.
#pragma once

#include <optional>
#include <string>

#include "app/app.h"
#include "app/frame/form.h"
#include "bar/switcher.h"
#include "forms/qircom_controls.h"

namespace sq {

class Tqircom : public Form, public qircom_controls {
 public:
  explicit Tqircom(App& app);
  void FormCreate() override;

  // The bar's 20 ms tick (qircom_tick.cpp).
  void Timer1Timer();

  // What the bar presents: the pointer widget or the clip widget at the
  // pointer (a strip at most 100 x 30), the smart clipboard alone
  // (180 x 250), the full bar (400 x 350), or a size its own commands left
  // it at (OwnSize). Other windows ask this, not the bar's size.
  enum class Presentation { Widget, SmartClipboard, FullBar, OwnSize };
  Presentation presentation() const;
  // Squeezed to less than 20 wide (a paste into the browser leaves it so).
  bool Squeezed() const;
  // Whether `w` is one of the bar's controls (a child window at any depth;
  // not the bar itself): the pointer "over the bar" for the gestures.
  bool HoldsChild(Wnd w);

  // Commands other windows and handlers run as plain calls.
  void Button1Click();       // refresh the window list
  void disptaskClick();      // open the task list
  void updownwheelClick();   // page-down mode, back to the window under the pointer
  void Button2Click();       // the system report into ListBox7

  // Hover, press, release and leave handlers, by control.
  void Panel27MouseMove(ShiftState shift, int x, int y);
  void Panel27MouseDown(MouseButton button, ShiftState shift, int x, int y);
  void Panel27MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void Panel32MouseMove(ShiftState shift, int x, int y);  // top edge (also Panel37)
  void Panel31MouseMove(ShiftState shift, int x, int y);  // left edge
  void Panel34MouseMove(ShiftState shift, int x, int y);  // right edge
  void Panel33MouseMove(ShiftState shift, int x, int y);  // bottom edge

  void Panel12MouseMove(ShiftState shift, int x, int y);  // cut
  void Panel35MouseMove(ShiftState shift, int x, int y);  // copy
  void Panel35MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void Panel38MouseMove(ShiftState shift, int x, int y);  // paste
  void Panel10MouseMove(ShiftState shift, int x, int y);
  void Panel10MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void Panel14MouseMove(ShiftState shift, int x, int y);  // the zone button
  void Panel14MouseDown(MouseButton button, ShiftState shift, int x, int y);
  void Panel14MouseUp(MouseButton button, ShiftState shift, int x, int y);

  void Panel9MouseMove(ShiftState shift, int x, int y);
  void Panel9MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void Panel16MouseMove(ShiftState shift, int x, int y);  // hint line
  void Panel17MouseMove(ShiftState shift, int x, int y);  // title strip
  void Panel17MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void Edit3MouseMove(ShiftState shift, int x, int y);
  void Panel13MouseMove(ShiftState shift, int x, int y);  // ">>"
  void Panel13MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void Panel24MouseMove(ShiftState shift, int x, int y);  // "<=>"
  void Panel24MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void BitBtn4MouseMove(ShiftState shift, int x, int y);
  void BitBtn4Click();
  void BitBtn5MouseMove(ShiftState shift, int x, int y);
  void BitBtn5Click();
  void Panel11MouseDown(MouseButton button, ShiftState shift, int x, int y);

  // The smart clipboard's panel (qircom_clip.cpp).
  void ListBox2MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void ListBox3MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void BitBtn2MouseUp(MouseButton button, ShiftState shift, int x, int y);
  void Panel7Click();

  static const char* const kHintSystemMenu;  // "进入系统菜单"
  static const char* const kHomePage;        // the maker's home page

 private:
  // Shared helpers.
  void Activate(Wnd w);
  // The top-level window at a point made the foreground window, and the
  // window at the point the active one.
  void ActivateAt(Point pt);
  // The window at the bar's left edge: (bar left - 2, bar top).
  Point LeftOfBar() const;
  void KeepOnTop();
  bool BrowserShown() const;
  // Invokes another window's button as a plain call (nothing when it has
  // no handler).
  static void Invoke(Control& button);
  void ParkMousepp();
  void HideMousepp();
  void SetScrollCaption(const std::string& w);
  void SetInputCaption(const std::string& w);
  void SetPanel28(const std::string& w);
  // The zone word of a client point of the zone button.
  std::string ZoneAt(int x, int y) const;
  bool TopRightZone(const std::string& word, int x, int y) const;

  void Desktop();
  void StartMenu();
  void FindCommand();
  void ExpandForSearch();
  void BrowserFullScreen();
  void RefillBrowserTabs();
  void CloseWindowUnderPointer();

  // The window switcher's list work: rebuild, fill, wheel step and the
  // close of the selected row (bar/switcher.h does it).
  void ListRebuild();
  void ListFill();
  bool ListWheelStep();
  void ListCloseSelected();
  bool ListStale() const;
  void SetListStale();

  // Tick steps.
  void SecondClick();
  void MenuGuard(Point p);
  void LineCopyRequest();
  void CaptureOnRequest();
  void CopyFinisher();
  void ShiftClickCopy();
  void WinKeyPaste();
  void CopyCompletion();
  void DoubleCtrlMarker();
  // The captured block aligned (smartclip::Align) to the input tick's
  // capture column, which it leaves at the block's column.
  void AlignCaptured(const std::string& text);

  bool leftPress_ = false;
  bool rightPress_ = false;
  // Where the widget stood when its centre was last pressed with the right
  // button: its release there, on a widget that has not moved, is a click.
  std::optional<Rect> centreRightPress_;
  bool pendingSecondClick_ = false;
  Wnd target_ = 0;
  int ctrlUps_ = 0;
  int copyDone_ = 0;
  std::string lastCaptured_;
  // Where the presses began: the title strip's and the background's
  // releases count only when the press began on the same control (a
  // button held since before the bar came up is not a command), and so do
  // the releases of the zone button, the page keys and the lists; a press
  // on a presentation that moved since the bar's last tick is not the
  // user's: nobody has seen it there yet (input the program synthesised
  // just before it came up lands on it).
  struct PressWatch {
    bool title = false;
    bool back = false;
    // The control each button was last pressed on; a release elsewhere,
    // or of a press that began outside the bar (a click the program
    // synthesised a moment before the widget came up under the pointer),
    // is no command.
    Control* on[3] = {nullptr, nullptr, nullptr};
    Rect seen;  // the bar's place when its tick last looked
  };
  PressWatch press_;
  bool SeenThere() const { return ScreenRect() == press_.seen; }
  void Pressed(Control& c, MouseButton b) {
    press_.on[static_cast<int>(b)] = SeenThere() ? &c : nullptr;
  }
  bool Released(Control& c, MouseButton b) {
    Control*& p = press_.on[static_cast<int>(b)];
    const bool same = p == &c;
    p = nullptr;
    return same;
  }
  // The pointer left the pointer widget: the edge it crossed fires.
  void LeaveWidget();
  // The tick's own watch of the left button over the pointer widget: a
  // press it sees begin on the widget (once the widget was seen there) and
  // its release there make the centre's click, also when the system hands
  // the widget no button message (under X, while another button is held,
  // every press goes to the window that button went down on). The press
  // flag makes the click once, whichever of the two sees it first.
  void WatchWidgetButton(Point at);
  bool leftSeenDown_ = false;

 public:
  // The window list (bar/switcher.h).
  Switcher switcher{*this};
};

}  // namespace sq
