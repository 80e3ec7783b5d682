// The baseline of the cost report (tools/cost.sh): a bare Win32 program
// built with the same toolchain and flags as Sipquill.exe. It creates one
// parked top-level window of class "SqBare" and runs a message loop.
//
//   bare.exe          no timer
//   bare.exe timers   the seven timers Sipquill runs while it sits in the
//                     tray (40, 20, 40, 200, 100, 20 and 100 ms), each with a
//                     handler that does nothing
//   bare.exe tick     one 40 ms timer, as the input window's tick
//   bare.exe timers hooks
//                     the seven timers, and a thread of its own holding a
//                     low-level keyboard and mouse hook, as the program's
//                     hook library does; each key event posts one message to
//                     the window, whose handler does nothing: the least a
//                     program that watches every key and tells its window
//                     can cost per key
// Closing the window (WM_CLOSE) ends it with exit code 0.
#include <windows.h>

#include <cstring>

namespace {

HWND g_window = nullptr;
constexpr UINT kKeyMessage = WM_APP + 1;

LRESULT CALLBACK KeyProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) PostMessageA(g_window, kKeyMessage, wp, 0);
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wp, LPARAM lp) {
  return CallNextHookEx(nullptr, code, wp, lp);
}

DWORD WINAPI HookThread(LPVOID) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, self, 0);
  HHOOK keys = SetWindowsHookExA(WH_KEYBOARD_LL, KeyProc, self, 0);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  if (keys) UnhookWindowsHookEx(keys);
  if (mouse) UnhookWindowsHookEx(mouse);
  return 0;
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_TIMER:
    case kKeyMessage:
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
  g_window = w;
  ShowWindow(w, SW_SHOW);
  if (cmd && std::strstr(cmd, "timers")) {
    const UINT periods[] = {40, 20, 40, 200, 100, 20, 100};
    for (UINT i = 0; i < sizeof periods / sizeof periods[0]; ++i) SetTimer(w, i + 1, periods[i], nullptr);
  } else if (cmd && std::strstr(cmd, "tick")) {
    SetTimer(w, 1, 40, nullptr);
  }
  if (cmd && std::strstr(cmd, "hooks")) {
    DWORD id = 0;
    HANDLE t = CreateThread(nullptr, 0, HookThread, nullptr, 0, &id);
    if (t) CloseHandle(t);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
