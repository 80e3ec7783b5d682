// Pointer and keyboard of the Win32 backend: state, capture, synthesised input.
#include "platform/win32/win32_internal.h"

namespace sq {

using namespace w32;

// ---------------------------------------------------------------- input

Point Win32Platform::getCursorPos() {
  if (handlerDepth_ > 0 && glance_.cursorKnown) return glance_.cursor;
  // Where the hook has seen no pointer event since a settled read, the
  // pointer rests where it was (under Wine a read is four server requests
  // and a round trip to the display).
  DWORD last = 0;
  const unsigned events = pointerEvents_ ? pointerEvents_(&last) : 0;
  const DWORD now = GetTickCount();
  std::optional<Point> known;
  if (pointerEvents_) known = pointer_.Known(events, last, now);
  Point at;
  if (known) {
    at = *known;
  } else {
    POINT p{};
    if (GetCursorPos(&p)) {
      at = {p.x, p.y};
      pointer_.Read(at, events, now);
    } else {
      pointer_.Forget();
    }
  }
  if (handlerDepth_ > 0) {
    glance_.cursorKnown = true;
    glance_.cursor = at;
  }
  return at;
}
void Win32Platform::setCursorPos(Point p) {
  forgetGlance();
  pointer_.Forget();
  SetCursorPos(p.x, p.y);
}
bool Win32Platform::isKeyDown(int vk) {
  // A key's state holds while the hook has seen no event that could change
  // it since a settled read (under Wine each read polls the display
  // connection and flushes the window surfaces).
  PointerEventsFn count = KeyWatch::IsButton(vk) ? pointerEvents_ : keyEvents_;
  if (!count) return GetAsyncKeyState(vk) < 0;
  DWORD last = 0;
  const unsigned events = count(&last);
  const DWORD now = GetTickCount();
  if (auto known = keys_.Known(vk, events, last, now)) return *known;
  const bool down = GetAsyncKeyState(vk) < 0;
  keys_.Read(vk, down, events, now);
  return down;
}
void Win32Platform::setCapture(Wnd w) {
  forgetGlance();
  SetCapture(H(w));
}
void Win32Platform::releaseCapture() {
  forgetGlance();
  ReleaseCapture();
}
void Win32Platform::setCursorShape(CursorShape shape) {
  // IDC_CROSS and IDC_ARROW, as wide resource ids.
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(shape == CursorShape::Cross ? 32515 : 32512)));
}
void Win32Platform::keybdEvent(int vk, int scan, unsigned flags) {
  forgetGlance();
  keys_.Forget();
  keybd_event(static_cast<BYTE>(vk), static_cast<BYTE>(scan), flags, kOwnInputMark);
}
void Win32Platform::mouseEvent(unsigned flags, int dx, int dy, int data) {
  forgetGlance();
  pointer_.Forget();
  keys_.Forget();
  mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data),
              kOwnInputMark);
}
unsigned Win32Platform::getCaretBlinkTime() { return GetCaretBlinkTime(); }

}  // namespace sq
