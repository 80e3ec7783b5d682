// dovahk1.dll: the system-wide mouse and keyboard hooks.
//
// SetHookmo(hwnd, 1) and SetHookkb(hwnd, 1, 3) each ask for one low-level
// hook. Both hooks live on one thread of their own that this library starts
// on the first call; the thread owns the word composer (sq::HookWords) and
// runs a message loop, which low-level hooks need on the thread that set
// them. A hook callback never waits on the program: each word is packed and
// posted to the input window (hook/hookmsg.h), whose window procedure
// writes it into the caption it belongs to. The thread runs above the
// program's threads and watches that the system has not removed its hooks
// (input/hookwatch.h), setting them again when it has.
#include <windows.h>

#include <atomic>
#include <string>

#include "hook/hookmsg.h"
#include "input/dragscroll.h"
#include "input/hookwatch.h"
#include "input/hookwords.h"

namespace {

HINSTANCE g_module = nullptr;
std::atomic<HWND> g_target{nullptr};  // the input window
HANDLE g_thread = nullptr;
DWORD g_threadId = 0;
HANDLE g_ready = nullptr;
HANDLE g_installed = nullptr;  // auto-reset: one hook request done
CRITICAL_SECTION g_startLock;

HHOOK g_mouseHook = nullptr;  // hook thread only
HHOOK g_keyHook = nullptr;    // hook thread only
sq::HookWords* g_words = nullptr;  // hook thread only

// Drag-scrolling: the GUI thread leaves a request here (SetDragScroll) and
// the hook thread takes it on its next mouse event or its next turn,
// whichever comes first; neither waits. The state tells the GUI thread
// what the hook thread last saw, and whether a request is still waiting.
sq::DragHandOff g_handOff;
sq::DragScroll* g_drag = nullptr;  // hook thread only
// Whether the system took the hooks away (input/hookwatch.h).
sq::HookWatch g_watch;  // hook thread only
// Every mouse event the hook has seen, counted, and the tick of the last:
// the GUI thread asks the system where the pointer is only when something
// moved it since its last read (GetPointerEvents, sq::PointerWatch).
std::atomic<unsigned> g_mouseEvents{0};
std::atomic<DWORD> g_lastMouseEvent{0};
// The same for key events (GetKeyEvents, sq::KeyWatch): under Wine every
// read of a key's state polls the display connection.
std::atomic<unsigned> g_keyEvents{0};
std::atomic<DWORD> g_lastKeyEvent{0};
UINT_PTR g_watchTimer = 0;
// Under Wine a move kept from the windows still moves the pointer (the X
// server's), and the system cannot put it back: moves are then counted
// from the previous one instead of from the held pointer.
bool g_pointerFree = false;
sq::Point g_lastMove;
bool g_lastMoveValid = false;

// Applies one scroll step to the drag's window; posted, so a busy or hung
// target never holds up the hook.
void ApplyScroll(HWND t, const sq::ScrollStep& s, POINT at) {
  switch (s.way) {
    case sq::ScrollWay::Lines:
      PostMessageW(t, EM_LINESCROLL, 0, s.amount);
      break;
    case sq::ScrollWay::ListLines: {
      const int n = s.amount < 0 ? -s.amount : s.amount;
      for (int i = 0; i < n && i < 64; ++i)
        PostMessageW(t, WM_VSCROLL, s.amount > 0 ? SB_LINEDOWN : SB_LINEUP, 0);
      break;
    }
    case sq::ScrollWay::Pixels:
      PostMessageW(t, 0x1000 + 20 /* LVM_SCROLL */, 0, s.amount);
      break;
    case sq::ScrollWay::Wheel:
      PostMessageW(t, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<short>(s.amount)),
                   MAKELPARAM(at.x, at.y));
      break;
  }
}

// Thread messages: install one hook.
constexpr UINT kInstallMouse = WM_APP + 1;
constexpr UINT kInstallKeys = WM_APP + 2;
// Puts the pointer back at the drag's anchor, after the hook has returned
// (where the system moved it although the move was kept from the windows).
constexpr UINT kRecentre = WM_APP + 3;
// A drag request was left: taken now, not only at the next mouse event.
constexpr UINT kTakeDrag = WM_APP + 4;

// ---- word trace (end-to-end soak) ----------------------------------------
// With SQ_WORD_TRACE naming a file, the hook thread appends to that name
// plus ".hook" every word it posts ("H box text"), each callback that took
// 20 ms or more ("L microseconds") and, with every write, how many
// callbacks ran so far ("C count"). Lines collect in memory and go to the file
// from the thread's message loop every 200 ms, so a callback never waits on
// the disk. The program writes its own lines to the file named
// (platform/win32): appends from two threads to one file may overwrite
// each other.
HANDLE g_trace = INVALID_HANDLE_VALUE;  // hook thread only
std::string g_traceLines;
unsigned long g_calls = 0;
constexpr LONGLONG kSlowUs = 20000;
LARGE_INTEGER g_freq;
constexpr UINT_PTR kTraceFlushMs = 200;

void TraceOpen() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"SQ_WORD_TRACE", path, MAX_PATH);
  if (n == 0 || n + 5 >= MAX_PATH) return;
  lstrcatW(path, L".hook");
  g_trace = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  QueryPerformanceFrequency(&g_freq);
  if (g_trace != INVALID_HANDLE_VALUE) SetTimer(nullptr, 0, kTraceFlushMs, nullptr);
}
void TraceFlush() {
  if (g_trace == INVALID_HANDLE_VALUE || g_traceLines.empty()) return;
  g_traceLines += "C " + std::to_string(g_calls) + "\n";
  DWORD done = 0;
  WriteFile(g_trace, g_traceLines.data(), static_cast<DWORD>(g_traceLines.size()), &done, nullptr);
  g_traceLines.clear();
}
LONGLONG TraceNow() {
  if (g_trace == INVALID_HANDLE_VALUE) return 0;
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}
void TraceCallback(LONGLONG start) {
  if (g_trace == INVALID_HANDLE_VALUE || g_freq.QuadPart == 0) return;
  const LONGLONG us = (TraceNow() - start) * 1000000 / g_freq.QuadPart;
  ++g_calls;
  if (us >= kSlowUs) g_traceLines += "L " + std::to_string(us) + "\n";
}

void Deliver(const std::vector<sq::Word>& words) {
  HWND to = g_target.load();
  if (!to) return;
  for (const sq::Word& w : words) {
    if (g_trace != INVALID_HANDLE_VALUE)
      g_traceLines += "H " + std::to_string(static_cast<int>(w.box)) + " " + w.text + "\n";
    sq::hookmsg::WordBlock* b =
        sq::hookmsg::PackWord(static_cast<std::uint32_t>(w.box), w.text, w.onlyIf,
                              static_cast<std::uint32_t>(w.key), static_cast<std::uint32_t>(w.edge));
    if (!b) continue;
    if (!PostMessageW(to, sq::hookmsg::kWordMessage, 0, reinterpret_cast<LPARAM>(b)))
      sq::hookmsg::FreeWord(b);
  }
}

LRESULT CALLBACK KeyProc(int code, WPARAM wp, LPARAM lp) {
  const LONGLONG start = TraceNow();
  const DWORD now = GetTickCount();
  g_watch.Called(now);
  g_lastKeyEvent.store(now);
  g_keyEvents.fetch_add(1);
  if (code == HC_ACTION && g_words) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    sq::KeyInput e;
    e.vk = static_cast<int>(k->vkCode);
    e.up = (k->flags & LLKHF_UP) != 0 || wp == WM_KEYUP || wp == WM_SYSKEYUP;
    e.injected = (k->flags & LLKHF_INJECTED) != 0;
    e.extra = static_cast<std::uintptr_t>(k->dwExtraInfo);
    Deliver(g_words->Key(e));
  }
  const LRESULT r = CallNextHookEx(g_keyHook, code, wp, lp);
  TraceCallback(start);
  return r;
}

LRESULT CALLBACK MouseProc(int code, WPARAM wp, LPARAM lp) {
  const LONGLONG start = TraceNow();
  const DWORD now = GetTickCount();
  g_watch.Called(now);
  // The time first: a reader that sees the new count sees this time too.
  g_lastMouseEvent.store(now);
  g_mouseEvents.fetch_add(1);
  if (code == HC_ACTION && g_words) {
    const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
    sq::MouseInput e;
    bool known = true;
    switch (wp) {
      case WM_MOUSEMOVE: e.action = sq::MouseAction::Move; break;
      case WM_LBUTTONDOWN: e.action = sq::MouseAction::LeftDown; break;
      case WM_LBUTTONUP: e.action = sq::MouseAction::LeftUp; break;
      case WM_RBUTTONDOWN: e.action = sq::MouseAction::RightDown; break;
      case WM_RBUTTONUP: e.action = sq::MouseAction::RightUp; break;
      case WM_MBUTTONDOWN: e.action = sq::MouseAction::MiddleDown; break;
      case WM_MBUTTONUP: e.action = sq::MouseAction::MiddleUp; break;
      case WM_MOUSEWHEEL:
        e.action = sq::MouseAction::Wheel;
        e.wheelDelta = static_cast<short>(HIWORD(m->mouseData));
        break;
      default: known = false; break;
    }
    if (known) {
      e.x = m->pt.x;
      e.y = m->pt.y;
      e.injected = (m->flags & LLMHF_INJECTED) != 0;
      e.extra = static_cast<std::uintptr_t>(m->dwExtraInfo);
      g_handOff.Take(*g_drag);
      const HWND target = reinterpret_cast<HWND>(g_drag->target().window);
      if (g_pointerFree && g_drag->active() && wp == WM_MOUSEMOVE && !sq::HookWords::IsOwn(e.injected, e.extra)) {
        // The pointer moved although its moves are kept from the windows:
        // each move is counted from the last one, as from a held pointer.
        const sq::Point at = g_drag->target().anchor;
        const sq::Point was = g_lastMoveValid ? g_lastMove : at;
        g_lastMove = {e.x, e.y};
        g_lastMoveValid = true;
        e.x = at.x + (e.x - was.x);
        e.y = at.y + (e.y - was.y);
      }
      if (!g_drag->active()) g_lastMoveValid = false;
      const bool alive = !g_drag->active() || IsWindow(target);
      // The drag counts moves from its anchor, never from the pointer: no
      // need to ask the system where the pointer is on every event.
      sq::HookMouseResult r = sq::HookMouse(*g_words, *g_drag, e, {m->pt.x, m->pt.y}, alive);
      Deliver(r.words);
      if (r.drag.scroll) ApplyScroll(target, r.drag.step, m->pt);
      if (r.drag.releaseLeft) mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, sq::kOwnInputMark);
      g_handOff.Publish(*g_drag);
      // Where the system moved the pointer although the move was kept from
      // the windows, it is put back, so every move counts from the anchor.
      // (Under Wine the moves are counted from the previous one instead.)
      if (!g_pointerFree && r.drag.recentre && wp == WM_MOUSEMOVE)
        PostThreadMessageW(GetCurrentThreadId(), kRecentre, 0, 0);
      if (r.drag.swallow) return 1;
    }
  }
  const LRESULT r = CallNextHookEx(g_mouseHook, code, wp, lp);
  TraceCallback(start);
  return r;
}

// Sets both hooks again where the system took them away: a hook whose
// callback overran LowLevelHooksTimeout is removed without a word.
void Reinstall() {
  if (g_mouseHook) {
    UnhookWindowsHookEx(g_mouseHook);  // fails for a hook already removed
    g_mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_module, 0);
  }
  if (g_keyHook) {
    UnhookWindowsHookEx(g_keyHook);
    g_keyHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyProc, g_module, 0);
  }
}

void WatchHooks() {
  LASTINPUTINFO li{};
  li.cbSize = sizeof li;
  if (!GetLastInputInfo(&li)) return;
  if (g_watch.Lost(GetTickCount(), li.dwTime)) Reinstall();
}

DWORD WINAPI HookThread(LPVOID) {
  sq::HookWords words;
  // Held modifiers are checked against the system's key state before they
  // change a key's word: a release the hook never saw does not leave them
  // held. GetAsyncKeyState reads the state as of the event before this
  // one, which is all a modifier needs, and waits on nobody.
  words.SetSystemKeys([](int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; });
  g_words = &words;
  sq::DragScroll drag;
  g_drag = &drag;
  g_pointerFree = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  MSG msg;
  // Make sure the thread has a queue before the starter posts to it.
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  TraceOpen();
  g_watch.Called(GetTickCount());
  g_watchTimer = SetTimer(nullptr, 0, sq::HookWatch::kCheckMs, nullptr);
  SetEvent(g_ready);
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == WM_TIMER) {
      if (g_watchTimer && msg.wParam == g_watchTimer) WatchHooks();
      else TraceFlush();
      continue;
    }
    if (msg.hwnd == nullptr && msg.message == kTakeDrag) {
      g_handOff.Take(*g_drag);
      continue;
    }
    if (msg.hwnd == nullptr && msg.message == kInstallMouse) {
      if (!g_mouseHook) g_mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_module, 0);
      g_watch.Called(GetTickCount());
      SetEvent(g_installed);
      continue;
    }
    if (msg.hwnd == nullptr && msg.message == kInstallKeys) {
      if (!g_keyHook) g_keyHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyProc, g_module, 0);
      g_watch.Called(GetTickCount());
      SetEvent(g_installed);
      continue;
    }
    if (msg.hwnd == nullptr && msg.message == kRecentre) {
      if (g_drag && g_drag->active()) {
        // Wine's server keeps its pointer at the anchor and skips a move
        // to where it thinks the pointer is; a step aside first makes it
        // move the real pointer back.
        // Both moves reach the hook unmarked (SetCursorPos carries no
        // mark): they are told to the drag first as its own, so they are
        // neither kept, nor counted as the hand's, nor recentred again.
        const sq::Point at = g_drag->target().anchor;
        g_drag->OwnMoveComing({at.x + 1, at.y});
        g_drag->OwnMoveComing(at);
        SetCursorPos(at.x + 1, at.y);
        SetCursorPos(at.x, at.y);
      }
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  g_words = nullptr;
  g_drag = nullptr;
  return 0;
}

// Starts the hook thread once and asks it for one hook. Waits (bounded)
// until the hook is installed, so input right after the call is seen.
void Request(HWND target, UINT what) {
  if (target) g_target.store(target);
  EnterCriticalSection(&g_startLock);
  if (!g_thread) {
    g_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_installed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_thread = CreateThread(nullptr, 0, HookThread, nullptr, 0, &g_threadId);
    // Above the program's threads, so a busy machine does not hold its
    // callbacks past LowLevelHooksTimeout (after which Windows removes the
    // hooks); every callback is short and never waits.
    if (g_thread) SetThreadPriority(g_thread, THREAD_PRIORITY_HIGHEST);
    if (g_thread) WaitForSingleObject(g_ready, 5000);
  }
  LeaveCriticalSection(&g_startLock);
  if (g_threadId && PostThreadMessageW(g_threadId, what, 0, 0))
    WaitForSingleObject(g_installed, 2000);
}

}  // namespace

extern "C" {

__declspec(dllexport) void __stdcall SetHookmo(HWND target, int mode) {
  (void)mode;  // 1: report buttons and wheel
  Request(target, kInstallMouse);
}

__declspec(dllexport) void __stdcall SetHookkb(HWND target, int mode, int detail) {
  (void)mode;    // 1: report keys
  (void)detail;  // 3: both the key-history and the input words
  Request(target, kInstallKeys);
}

// Drag-scrolling from the GUI thread: a drag begins in `target` (the press
// point x, y; way: sq::ScrollWay; flags 1: the program holds the button,
// 2: a grabbed thumb), or, with no target, the program ends it.
__declspec(dllexport) void __stdcall SetDragScroll(HWND target, int x, int y, int way,
                                                   int lineHeight, int flags) {
  if (!target) {
    g_handOff.AskEnd();
  } else {
    sq::DragTarget t;
    t.window = reinterpret_cast<sq::Wnd>(target);
    t.anchor = {x, y};
    t.way = static_cast<sq::ScrollWay>(way < 0 || way > 3 ? 3 : way);
    t.lineHeight = lineHeight;
    t.systemHeld = (flags & 1) != 0;
    t.thumb = (flags & 2) != 0;
    g_handOff.Ask(t);
  }
  // The hook thread takes it on its next turn, or on a mouse event first.
  if (g_threadId) PostThreadMessageW(g_threadId, kTakeDrag, 0, 0);
}

// 1: a drag runs; 2: the user's hand holds the left button; 4: the last
// request has not reached the hook thread yet (sq::dragbits).
__declspec(dllexport) int __stdcall GetDragScroll() { return g_handOff.State(); }

// How many mouse events the hook has seen, and (in *last) the tick count of
// the last one; any thread may ask.
__declspec(dllexport) unsigned __stdcall GetPointerEvents(DWORD* last) {
  const unsigned n = g_mouseEvents.load();
  if (last) *last = g_lastMouseEvent.load();
  return n;
}

// How many key events the hook has seen, and (in *last) the tick count of
// the last one; any thread may ask.
__declspec(dllexport) unsigned __stdcall GetKeyEvents(DWORD* last) {
  const unsigned n = g_keyEvents.load();
  if (last) *last = g_lastKeyEvent.load();
  return n;
}

BOOL WINAPI DllMain(HINSTANCE inst, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = inst;
    InitializeCriticalSection(&g_startLock);
    DisableThreadLibraryCalls(inst);
  }
  return TRUE;
}

}  // extern "C"
