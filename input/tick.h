// The input window's 40 ms tick: samples the pointer and the buttons, reads
// the caption mailboxes and the histories, and runs the gestures in a fixed
// order. A step that ends the tick leaves every later step out.
#pragma once

#include <cstdint>
#include <string>

#include <vector>

#include "input/part_chords.h"
#include "input/part_copylines.h"
#include "input/part_ctrldrag.h"
#include "input/part_keys.h"
#include "input/part_reading.h"
#include "input/part_stillhold.h"
#include "platform/platform.h"

namespace sq {

class App;
class Control;

// What the tick reads of the desktop at its start: the pointer, the left
// press point, the monitors and the DPI of the one under the pointer.
struct TickView {
  Point cursor;             // read at the start of every tick
  Point leftPress;          // refreshed on every tick while left is down
  std::vector<Monitor> monitors;
  int dpi = 96;             // of the monitor under the pointer
};

class Tick {
 public:
  explicit Tick(App& app) : app_(app) {}
  // One tick. Does nothing until the forms it reads all exist.
  void Run();
  // Ticks that got past the readiness check.
  std::uint64_t runs() const { return runs_; }
  // The column captured blocks are aligned to: the command bar's captures
  // align to it and leave the column of their block.
  int CaptureColumn() const { return lines_.captureColumn; }
  void SetCaptureColumn(int column) { lines_.captureColumn = column; }

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
  bool PointerWidget();          // left hold point, right-then-left widget
  void HideMainForm();
  void InputHistoryPatterns();   // patterns of the input-word history
  void RecordInputCaption();     // input caption into both histories
  void SiblingWords();           // "ystop gohelpweb", "ystop goweb"
  void LeftDownParkBar();
  void InputMethodAndKeys();     // input-method windows, keyboard words

  // Gesture pieces shared by several steps.
  void CaptureAfterCopy();       // "key--shiftc--copy--ok" seen
  void PasteByDigit();           // "key//bshiftok2--" and a digit code
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

  static std::string PointWord(const char* prefix, Point pt);

  // The gestures' parts, each with its own state (part_*.h).
  App& app_;
  std::uint64_t runs_ = 0;
  TickView view_;
  PointerChords chords_;
  StillHold still_;
  CopyLinesCapture lines_;
  CtrlTapDrag drag_;
  MailboxReading reading_;
  KeyWordsState keys_;
};

}  // namespace sq
