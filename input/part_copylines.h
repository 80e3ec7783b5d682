// The state of copy-lines and capture: the Alt-then-Windows selection, the
// copy-lines gesture and its stage that waits for the line copy to land,
// and the capture of a finished copy into the smart clipboard with the
// column its block is aligned to.
#pragma once

#include <string>

namespace sq {

struct CopyLinesCapture {
  // The Alt-then-Windows selection waits for the next left press.
  bool selectArmed = false;
  // The copy-lines gesture ran: the next left press marks a selection.
  bool selectOnPress = false;
  bool stageWaiting = false;  // the copy-lines stage waits for its copy
  int stageTicks = 0;         // ticks of the copy-lines stage
  int stageLines = 0;         // lines counted when the stage was armed
  std::string lastLineCopy;   // clipboard text the last line copy took
  // Ticks since the first sighting of "key--shiftc--copy--ok"; while
  // above 0 the capture is under way and counts on by itself.
  int captureTicks = 0;
  int captureColumn = 0;      // the column captured blocks align to
  bool justCaptured = false;  // a capture ran and no press came since
};

}  // namespace sq
