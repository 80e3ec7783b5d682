// The baseline of the cost report (tools/cost.sh): a bare Win32 program
// built with the same toolchain and flags as Sipquill.exe. It creates one
// parked top-level window of class "SqBare" and runs a message loop.
//
//   bare.exe          no timer
//   bare.exe timers   the seven timers Sipquill runs while it sits in the
//                     tray (40, 20, 40, 200, 100, 20 and 100 ms), each with a
//                     handler that does nothing
//   bare.exe tick     one 40 ms timer, as the input window's tick
// Closing the window (WM_CLOSE) ends it with exit code 0.
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_TIMER:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(w, m, wp, lp);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = "SqBare";
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "SqBare", "bare", WS_POPUP, -2000, 0, 200, 100,
                           nullptr, nullptr, inst, nullptr);
  if (!w) return 1;
  ShowWindow(w, SW_SHOW);
  if (cmd && std::strstr(cmd, "timers")) {
    const UINT periods[] = {40, 20, 40, 200, 100, 20, 100};
    for (UINT i = 0; i < sizeof periods / sizeof periods[0]; ++i) SetTimer(w, i + 1, periods[i], nullptr);
  } else if (cmd && std::strstr(cmd, "tick")) {
    SetTimer(w, 1, 40, nullptr);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
