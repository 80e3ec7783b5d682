// The life panel: a bar across the top of the screen registered as a
// desktop toolbar, with a browser control showing the local hint page.
// Hidden panels on it keep the near-pointer state the input core and the
// command bar read and write; its three timers keep the near mode and its
// hints, the mouse picture window beside the clip widget, the wheel mode
// and the wheel tip on the active window's title bar.
//
// Other forms touch: its hidden panels (Panel2, Panel4, Panel7, Panel9,
// Panel12, Panel22: the input core; Panel15, Panel18, Label2, Label3: the
// browser's timer and the browser's status and link words), its caption
// (the scroll-mode window, the input core), its height and its buttons
// (the main form's menu, the command bar's tick), NextHint and
// ShowHelpTitle (the browser, the main form), leftselect and
// leftdownmess (the input core).
#pragma once

#include <array>
#include <cstdint>

#include "app/app.h"
#include "app/frame/form.h"
#include "forms/lifeform_controls.h"

namespace sq {

class Tlifeform : public Form, public lifeform_controls {
 public:
  explicit Tlifeform(App& app);
  void FormCreate() override;
  void FormDestroy() override;
  // Register as a desktop toolbar along the top edge at the current height,
  // which step 11 of Timer1 keeps.
  void Button1Click();
  // Remove the toolbar; while the process is ending, close the main form.
  void Button3Click();
  // Copy the selection and offer the clip widget at the pointer.
  void rightcopyClick();
  // Stops the panel's browser and opens the local hint page again (the
  // main menu's "提示").
  void ShowHelpTitle();
  // The hint page's "换一条提示": stops the panel's browser and opens the
  // next of the hint pages that exist, after the last the first again.
  void NextHint();
  // The hint pages, first to last ("\helptitle.htm" first).
  static const char* const kHintPages[];
  static const int kHintPageCount;
  // "file://" + current directory + "\helptitle.htm".
  std::string HelpTitleAddress();
  WebBrowser* browser() { return browser_.get(); }

  // Near mode and hints, double right click, selection card (100 ms).
  void Timer1Timer();
  // Mouse picture window beside the clip widget (20 ms).
  void Timer2Timer();
  // Wheel mode from motion, wheel tip on the active window (100 ms).
  void Timer3Timer();

  static constexpr int kEdgeTop = 1;
  bool registered() const { return registered_; }
  // The height (96-DPI units) the toolbar was last registered with.
  int registeredHeight() const { return registeredHeight_; }

 private:
  std::unique_ptr<BrowserEvents> links_;  // its links go to the browser window
  int hint_ = 0;                          // index in kHintPages of the page shown
  // Steps of Timer1; each returns true when it ends the tick.
  bool SelectionCardAt(Point p);
  void DoubleRightClick(Point p);
  void KeepAtTop();
  // Steps of Timer2.
  bool MiddlePressHandled();
  bool ClipWidgetCard(Point p);  // true when it ends the tick
  // Steps of Timer3.
  void PlaceWheelTip();
  void FitMaximisedBelow();
  void WheelModeFromMotion(Point p);

  bool OverBar(Point p);
  bool OverBarOrBrowser(Point p);
  bool OverControl(const Control& c, Point p);
  bool Same(Point a, Point b);
  void ShowCard(Point p, int panel);  // 1, 2, 3: the card's picture; 0 keeps it
  void ClickOf(Control& c);            // a plain call of a click handler
  void PopupMainMenu(Point at);
  void MenuRelease();
  void PictureHover();
  void BringRightformUp();

  std::unique_ptr<WebBrowser> browser_;
  bool registered_ = false;
  int registeredHeight_ = 32;
  // Press state: points are screen pixels, x 0 means none.
  enum class Press { None, Left, Right };
  struct PressState {
    Point left{0, 0};
    Point right{0, 0};
    Press last = Press::None;
    std::array<Point, 2> rightRelease{};
    int nextRelease = 0;
    bool doubleRight = false;
    bool leftSeen = false;  // Timer2 saw the left button down since Timer1 ran
  };
  PressState press_;
  // Ctrl was down at the last Timer1 tick, which ran at ctrlTick_ (ms).
  bool ctrlHeld_ = false;
  std::uint32_t ctrlTick_ = 0;
  // The last wheel word seen and whether the command bar was tall, so that
  // each places the wheel tip again once.
  std::string tipWheelWord_;
  bool tipBarTall_ = false;
  bool freshSample_ = false;  // Timer3 took a pointer sample on its last tick
};

}  // namespace sq
