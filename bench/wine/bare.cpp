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
//   bare.exe timers hooks marker
//                     the same, and at each key pressed a topmost marker
//                     window covers the bottom 20 px of the foreground
//                     window; at each key released it goes back to height 0
//                     (two window changes and a paint a tap, no activation):
//                     the least a program that shows a pending key under
//                     the window the user types into can cost per key
//   bare.exe windows  fourteen more top-level windows of their own classes,
//                     made before the "SqBare" one, each parked or at height
//                     0 as a resident program's hidden windows stand: the
//                     least a program with fifteen windows waits for at
//                     start-up
//   bare.exe windows controls
//                     the same, each of the fifteen windows with 18 child
//                     windows of a class of its own (270 in all, as many as
//                     the program's forms hold): the least such a program
//                     with its controls waits for
// The modes come from the command line, or from SQ_BARE_MODE when the
// program is started by something that passes no arguments (the probe's
// start-time). Closing the window (WM_CLOSE) ends it with exit code 0.
#include <windows.h>

#include <cstring>

namespace {

HWND g_window = nullptr;
HWND g_marker = nullptr;

// With "controls": 18 child windows in the window.
void AddControls(HWND parent, HINSTANCE inst) {
  for (int i = 0; i < 18; ++i)
    CreateWindowExA(0, "SqBareChild", "", WS_CHILD | WS_VISIBLE, 4 * i, 2 * i, 40, 16, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), inst, nullptr);
}
constexpr UINT kKeyMessage = WM_APP + 1;

LRESULT CALLBACK KeyProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) PostMessageA(g_window, kKeyMessage, wp, 0);
  return CallNextHookEx(nullptr, code, wp, lp);
}

// The marker: a key pressed puts it under the foreground window, a key
// released takes it down to height 0. Placed only when it is not already
// there, as a key held down repeats.
void PlaceMarker(WPARAM event) {
  if (!g_marker) return;
  RECT now{};
  GetWindowRect(g_marker, &now);
  if (event == WM_KEYDOWN || event == WM_SYSKEYDOWN) {
    HWND fg = GetForegroundWindow();
    RECT r{};
    if (!fg || fg == g_marker || !GetWindowRect(fg, &r)) return;
    const RECT want{r.left, r.bottom - 20, r.right, r.bottom};
    if (EqualRect(&now, &want)) return;
    SetWindowPos(g_marker, HWND_TOPMOST, want.left, want.top, want.right - want.left, 20,
                 SWP_NOACTIVATE);
  } else if (now.bottom != now.top) {
    SetWindowPos(g_marker, nullptr, 0, 0, now.right - now.left, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
  }
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
      return 0;
    case kKeyMessage:
      PlaceMarker(wp);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(w, m, wp, lp);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR line, int) {
  char env[128] = "";
  const DWORD n = GetEnvironmentVariableA("SQ_BARE_MODE", env, sizeof env);
  const char* cmd = n > 0 && n < sizeof env ? env : line;
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = "SqBare";
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  const bool controls = cmd && std::strstr(cmd, "controls");
  if (controls) {
    WNDCLASSA c = wc;
    c.lpfnWndProc = DefWindowProcA;
    c.lpszClassName = "SqBareChild";
    RegisterClassA(&c);
  }
  if (cmd && std::strstr(cmd, "windows")) {
    // Fourteen windows before the one the probe waits for.
    for (int i = 0; i < 14; ++i) {
      char name[16] = "SqBareN";
      name[6] = static_cast<char>('a' + i);
      WNDCLASSA c = wc;
      c.lpfnWndProc = DefWindowProcA;
      c.lpszClassName = name;
      RegisterClassA(&c);
      const bool shown = i % 3 == 0;
      HWND h = CreateWindowExA(WS_EX_TOOLWINDOW | (shown ? WS_EX_TOPMOST : 0), name, name, WS_POPUP,
                               -2000, 100, 300, shown ? 60 : 0, nullptr, nullptr, inst, nullptr);
      if (h && controls) AddControls(h, inst);
      if (h && shown) ShowWindow(h, SW_SHOWNOACTIVATE);
    }
  }
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "SqBare", "bare", WS_POPUP, -2000, 0, 200, 100,
                           nullptr, nullptr, inst, nullptr);
  if (!w) return 1;
  g_window = w;
  if (controls) AddControls(w, inst);
  ShowWindow(w, SW_SHOW);
  if (cmd && std::strstr(cmd, "timers")) {
    const UINT periods[] = {40, 20, 40, 200, 100, 20, 100};
    for (UINT i = 0; i < sizeof periods / sizeof periods[0]; ++i) SetTimer(w, i + 1, periods[i], nullptr);
  } else if (cmd && std::strstr(cmd, "tick")) {
    SetTimer(w, 1, 40, nullptr);
  }
  if (cmd && std::strstr(cmd, "marker")) {
    WNDCLASSA m = wc;
    m.lpfnWndProc = DefWindowProcA;
    m.lpszClassName = "SqBareMarker";
    m.hbrBackground = CreateSolidBrush(14589846);
    RegisterClassA(&m);
    g_marker = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "SqBareMarker", "", WS_POPUP,
                               -2000, 300, 411, 0, nullptr, nullptr, inst, nullptr);
    if (g_marker) ShowWindow(g_marker, SW_SHOWNOACTIVATE);
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
