// The input window's 40 ms tick: samples the pointer and the buttons, reads
// the caption mailboxes and the histories, and runs the gestures in a fixed
// order. A step that ends the tick leaves every later step out.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <vector>

#include "platform/platform.h"

namespace sq {

class App;
class Control;

// The tick's reading of one caption mailbox whose reader it is (the input
// caption, the scroll-mode caption). A word counts as read, and the hook
// library's next word for the caption may then be written, once a whole
// tick has run over it unchanged (or, when ticks keep ending early, once
// two ticks in a row have found it). A word the tick writes itself is read
// by the next tick, so a request it leaves for that tick is not overwritten,
// unless it says it is done with ("old--", or beginning with "xx" or "qq",
// words no reader tests).
struct MailboxRead {
  std::string atStart;  // the word found at the start of this tick
  int ticks = 0;        // ticks in a row that started with that word
  std::string seen;     // the word last reported read
};

// Everything the tick keeps between ticks. Zero at start unless noted.
struct TickState {
  std::uint64_t runs = 0;   // ticks that got past the readiness check
  Point cursor;             // read at the start of every tick
  Point leftPress;          // refreshed on every tick while left is down
  Point rightPress;         // while right is down away from the command bar
  Point leftHold;           // while left is down away from the command bar
  Point prevLeftHold;
  Point leftRelease;        // first tick after an armed left release
  Point dragAnchor;         // saved when a drag begins; clicks replay there
  Point rightdnPoint;       // cursor when "rightdn" was last seen
  // Whether the right-press and left-hold points hold a press: x = 0 is a
  // point like any other where a monitor lies left of the main one.
  bool rightPressSet = false;
  bool leftHoldSet = false;

  int stillCount = 0;       // ticks held still since the press
  // The same in milliseconds on the clock: the hold settings are times,
  // whatever the ticks' pace. leftUpAt: the last tick that saw the left
  // button up (a press came after it); stillAt: the last still tick.
  // stillBroken: the pointer was away on the last tick, so the time up to
  // the next still tick does not count either.
  std::uint32_t stillMs = 0;
  std::uint32_t leftUpAt = 0, stillAt = 0;
  bool stillBroken = false;
  std::array<int, 20> stillX{}, stillY{};
  int rightHoldCount = 0;
  int rightReleaseCount = 0;

  int copyLinesWait = 0;    // ticks of the copy-lines stage
  int copyLinesCount = 0;   // lines counted when the stage was armed
  std::string savedText;    // S1: clipboard text the last line copy took
  // Ticks since the first sighting of "key--shiftc--copy--ok"; while
  // above 0 the capture is under way and counts on by itself.
  int captureCounter = 0;
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
  // A stop word that carries "wheel" is left as written; this remembers the
  // one last answered so it is answered once, not on every later tick.
  std::string wheelStopSeen;
  MailboxRead inputRead, scrollRead;
  // Drag-scrolling: the hook thread was told of a drag that has not been
  // wound up yet; how long the tick last saw Ctrl held, and when it let go.
  bool dragRunning = false;
  bool ctrlSeenDown = false;
  std::uint32_t ctrlDownSince = 0, ctrlHeldMs = 0, ctrlUpAt = 0;
};

class Tick {
 public:
  explicit Tick(App& app) : app_(app) {}
  // One tick. Does nothing until the forms it reads all exist.
  void Run();
  TickState& state() { return s_; }
  const TickState& state() const { return s_; }

  // Distances in 96-DPI units, scaled for the monitor under the pointer.
  static constexpr int kNear = 3;           // two points within 3 px are the same
  static constexpr int kClipboardWait = 20; // ticks
  static constexpr int kLongRightPress = 20;

  static constexpr int kCaretBand = 20;      // px, the caret reset band

  // Two points within kNear of each other, scaled for the DPI of the
  // monitor under the first.
  bool Same(Point a, Point b) const;
  // `v` 96-DPI units in pixels of the monitor under the pointer.
  int Px(int v) const;
  // Whether a screen point lies on a monitor.
  bool OnScreen(Point pt) const;

  // The lines of a copied block shifted so that line 0's text starts at
  // `column` (bytes of GBK text; blanks are single spaces). Returns the
  // shift N: N > 0 prefixes N blanks, N < 0 removes |N| bytes from the
  // start of every line, never past a line's end and never through the
  // middle of a double-byte character. The shift is bounded by the
  // alignment column's budget (budget::kAlignColumn).
  static int AlignLines(std::vector<std::string>& lines, int column);

 private:
  bool Ready() const;
  // Steps 1 to 28; false when a step ended the tick before step 23.
  bool Steps();
  void BeginReading();
  void EndReading(bool whole);
  // The input caption holds a pending word (one not marked handled with
  // "old--") from outside this tick that no whole tick has read yet.
  bool InputPending();
  // The steps in the order the tick takes them. Those returning bool end
  // the tick when they return true.
  void Relays();                 // captions copied to the mirrors
  void LeftPressAndCaretReset(); // left-press point, caret band reset
  void ScrollModeResets();       // the caret window's ListBox3 triggers
  void SelectionWords();         // caret caption words
  void RightClickReplay();       // "oldright"
  bool KeyHistoryGestures();     // Alt tapped twice, Alt then Windows key
  bool PasteRequest();           // "key--ctrlv"
  bool CopyLinesStage();         // waiting for the line copy to land
  bool CopyLinesGesture();       // "alt2menu--51"
  bool ZGuard();                 // Z held under a pending key word
  void ParkWidgets();            // bar and menus the pointer has left
  bool RightChords();            // "rightdn" / "rightup"
  void TitleWordsAndCtrlTap();   // title caption, Ctrl tap, "key--mode"
  bool DragStops();              // "ystop" words from the scroll-mode window
  void LeftformOverBar();
  bool RightPress();             // right held: press point, rightrb menu
  bool LeftRelease();
  bool LeftHold();               // pointer widget, still test, drag start
  void HideMainForm();
  void InputHistoryPatterns();   // patterns of the input-word history
  void RecordInputCaption();     // input caption into both histories
  void SiblingWords();           // "ystop gohelpweb", "ystop goweb"
  void LeftDownParkBar();
  void InputMethodAndKeys();     // input-method windows, keyboard words

  // Gesture pieces shared by several steps.
  void CaptureAfterCopy();       // "key--shiftc--copy--ok" seen
  void PasteByDigit();           // "key//bshiftok2--" and a digit code
  Wnd TopWindowAt(Point p);
  bool OverBar();                // pointer over a descendant of the bar
  bool OverBarOrBrowser();
  void BringToFront(Wnd w);
  void ShowClipPanels();
  // The clip widget (dx, dy) from the pointer, on the pointer's monitor.
  void ShowClipWidget(int dx, int dy);
  void FocusUnder(Point p);
  void InsertSmartClipboard(const std::string& text);
  // The clipboard text when it is within the capture budget (bytes and
  // lines) and not marked private; false otherwise, the text left alone.
  bool ReadCapturable(std::string& text);
  // Replaces a list's items by `lines` in one pass.
  static void SetLines(Control& list, const std::vector<std::string>& lines);
  int BarEdit2Ticks();           // the bar's Edit2 number / 20
  // Whether the left button has been held still for the settings panel's
  // hold time (its Edit2, in milliseconds).
  bool HeldStillLongEnough();
  // Drag-scrolling on the hook thread: begin one for the window under the
  // pointer; wind one up (title word, badge, capture, cursor, pointer back);
  // whether the user's own hand holds the left button.
  void BeginDrag(bool systemHeld);
  void EndDrag();
  bool UserHoldsLeft();
  // A Ctrl hold the tick saw last longer than a person's tap.
  bool CtrlHeldLong();
  void TrackCtrlHold();           // every tick
  static constexpr std::uint32_t kCtrlTapMaxMs = 600;
  WebBrowser* BrowserPage();     // the web control of the browser's page

  App& app_;
  TickState s_;
  std::vector<Monitor> monitors_;  // read at the start of every tick
  int cursorDpi_ = 96;             // of the monitor under the pointer
};

}  // namespace sq
