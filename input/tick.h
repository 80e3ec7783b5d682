// The input window's 40 ms tick: samples the pointer and the buttons, reads
// the caption mailboxes and the histories, and runs the gestures in a fixed
// order. A step that ends the tick leaves every later step out.
#pragma once

#include <array>

#include "platform/platform.h"

namespace sq {

class App;

// Everything the tick keeps between ticks. Zero at start unless noted.
struct TickState {
  Point cursor;             // read at the start of every tick
  Point leftPress;          // refreshed on every tick while left is down
  Point rightPress;         // while right is down away from the command bar
  Point leftHold;           // while left is down away from the command bar
  Point prevLeftHold;
  Point leftRelease;        // first tick after an armed left release
  Point dragAnchor;         // saved when a drag begins; clicks replay there
  Point rightdnPoint;       // cursor when "rightdn" was last seen

  int stillCount = 0;       // ticks held still since the press
  std::array<int, 20> stillX{}, stillY{};
  int rightHoldCount = 0;
  int rightReleaseCount = 0;

  int copyLinesWait = 0;    // ticks of the copy-lines stage
  int copyLinesCount = 0;   // lines counted when the stage was armed
  std::string savedText;    // S1: clipboard text when the stage was armed
  int captureCounter = 0;   // sightings of "key--shiftc--copy--ok"
  int captureColumn = 0;

  bool selectArmed = false;
  bool copyLinesArmed = false;  // the copy-lines stage is waiting
  bool copyLinesFlag = false;
  bool captureFlag = false;
  bool listInsert = false;
  bool dragActive = false;
  bool ctrlDrag = false;
  bool releaseArmed = false;
  bool leftWasUp = false;
  bool zGuard = false;
  bool gowebOnce = false;   // "ystop goweb" handled until the next left press
};

class Tick {
 public:
  explicit Tick(App& app) : app_(app) {}
  // One tick. Does nothing until the forms it reads all exist.
  void Run();
  TickState& state() { return s_; }
  const TickState& state() const { return s_; }

  static constexpr int kNear = 3;           // two points within 3 px are the same
  static constexpr int kClipboardWait = 20; // ticks
  static constexpr int kLongRightPress = 20;

  static bool Same(Point a, Point b) {
    return (a.x - b.x <= kNear && b.x - a.x <= kNear) &&
           (a.y - b.y <= kNear && b.y - a.y <= kNear);
  }

 private:
  bool Ready() const;
  // Each returns true when it ends the tick.
  void Relays();                 // steps 1, 3, 6
  void LeftPressAndCaretReset(); // steps 4, 5
  void ScrollModeResets();       // step 7
  void SelectionWords();         // step 8
  void RightClickReplay();       // step 9
  bool KeyHistoryGestures();     // step 10
  bool PasteRequest();           // step 11
  bool CopyLinesStage();         // step 12
  bool CopyLinesGesture();       // step 13
  bool ZGuard();                 // step 14
  void ParkWidgets();            // step 15
  bool RightChords();            // step 16
  void TitleWordsAndCtrlTap();   // step 17
  bool DragStops();              // step 18
  void LeftformOverBar();        // step 19
  bool RightPress();             // step 20
  bool LeftRelease();            // step 21
  bool LeftHold();               // step 22
  void HideMainForm();           // step 23
  void InputHistoryPatterns();   // step 24
  void RecordInputCaption();     // step 25
  void SiblingWords();           // step 26
  void LeftDownParkBar();        // step 27
  void InputMethodAndKeys();     // step 28

  App& app_;
  TickState s_;
};

}  // namespace sq
