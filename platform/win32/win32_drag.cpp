// Drag-scrolling, the GUI thread's side: measures the target's line and
// hands the drag to the hook library's thread, never waiting for it.
#include <windows.h>

#include "input/dragscroll.h"
#include "platform/win32/win32_platform.h"

namespace sq {

namespace {
// One line of the target in pixels: an edit control tells where its second
// line starts; a list box its item height; otherwise the system font's.
int LineHeightOf(HWND t, ScrollWay way) {
  DWORD_PTR r = 0;
  auto ask = [&](UINT msg, WPARAM wp, LPARAM lp) -> bool {
    return SendMessageTimeoutW(t, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, 100, &r) != 0;
  };
  char cls[96] = {};
  GetClassNameA(t, cls, sizeof cls);
  if (way == ScrollWay::Lines && lstrcmpiA(cls, "Edit") == 0) {
    if (ask(EM_LINEINDEX, 1, 0) && static_cast<LONG_PTR>(r) > 0) {
      const WPARAM second = static_cast<WPARAM>(r);
      if (ask(EM_POSFROMCHAR, 0, 0)) {
        const int y0 = static_cast<short>(HIWORD(r));
        if (ask(EM_POSFROMCHAR, second, 0)) {
          const int y1 = static_cast<short>(HIWORD(r));
          if (y1 - y0 > 0 && y1 - y0 < 200) return y1 - y0;
        }
      }
    }
  }
  if (way == ScrollWay::ListLines && ask(LB_GETITEMHEIGHT, 0, 0) && r > 0 && r < 200)
    return static_cast<int>(r);
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return MulDiv(16, dpi > 0 ? dpi : 96, 96);
}
}  // namespace

int Win32Platform::getSystemMetrics(int index) { return GetSystemMetrics(index); }

void Win32Platform::dragScrollBegin(const DragScrollRequest& q) {
  forgetGlance();
  HWND t = reinterpret_cast<HWND>(q.target);
  if (!setDrag_ || !IsWindow(t)) return;
  // Asked again on every tick while the press stays still: the running
  // drag goes on unmeasured.
  if (t == dragTarget_ && getDrag_ && (getDrag_() & (dragbits::Running | dragbits::Pending))) return;
  char cls[96] = {};
  GetClassNameA(t, cls, sizeof cls);
  const ScrollWay way = ScrollWayFor(cls);
  dragTarget_ = t;
  setDrag_(t, q.anchor.x, q.anchor.y, static_cast<int>(way), LineHeightOf(t, way),
           (q.systemHeld ? 1 : 0) | (q.thumb ? 2 : 0));
}

void Win32Platform::dragScrollEnd() {
  forgetGlance();
  dragTarget_ = nullptr;
  if (setDrag_) setDrag_(nullptr, 0, 0, 0, 0, 0);
}

DragScrollState Win32Platform::dragScrollState() {
  if (!getDrag_) return {false, GetAsyncKeyState(VK_LBUTTON) < 0, false};
  const int bits = getDrag_();
  return {(bits & dragbits::Running) != 0, (bits & dragbits::UserLeft) != 0,
          (bits & dragbits::Pending) != 0};
}

}  // namespace sq
