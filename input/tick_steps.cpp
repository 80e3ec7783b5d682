// Gesture steps of the tick not yet built; each is a no-op that ends nothing.
#include "input/tick.h"

namespace sq {

void Tick::LeftPressAndCaretReset() {}
void Tick::ScrollModeResets() {}
void Tick::SelectionWords() {}
void Tick::RightClickReplay() {}
bool Tick::KeyHistoryGestures() { return false; }
bool Tick::PasteRequest() { return false; }
bool Tick::CopyLinesStage() { return false; }
bool Tick::CopyLinesGesture() { return false; }
bool Tick::ZGuard() { return false; }
void Tick::ParkWidgets() {}
bool Tick::RightChords() { return false; }
void Tick::TitleWordsAndCtrlTap() {}
bool Tick::DragStops() { return false; }
void Tick::LeftformOverBar() {}
bool Tick::RightPress() { return false; }
bool Tick::LeftRelease() { return false; }
bool Tick::LeftHold() { return false; }
void Tick::HideMainForm() {}
void Tick::InputHistoryPatterns() {}
void Tick::SiblingWords() {}
void Tick::LeftDownParkBar() {}
void Tick::InputMethodAndKeys() {}

}  // namespace sq
