// sqprobe: reads (and pokes) the state of a running Sipquill from another
// process, for the end-to-end tests under Wine.
//
//   sqprobe.exe COMMAND ARGS...
//
// Output is UTF-8 on stdout, one value per line; the exit code is 0 on
// success, 1 when a wait timed out or a window was not found, 2 on a bad
// command. Windows are found by class; a control inside a form by the
// layout name that the program stores in the window property "sqname" (a
// global atom). Commands:
//   exists CLASS                   1 or 0
//   count CLASS...                 number of top-level windows of each CLASS,
//                                  one a line
//   caption CLASS                  the window's caption
//   setcaption CLASS TEXT          writes the caption (stands in for another program)
//   text CLASS NAME                caption of control NAME
//   items CLASS NAME               items of list control NAME, one a line
//   item CLASS NAME INDEX          one item ("" when out of range, exit 1)
//   rect CLASS                     left top width height
//   crect CLASS NAME               the same for control NAME
//   listview CLASS NAME            "CLASS ROWS REPORT FULLROW TOP": a list view's
//                                  window class, its row count, whether it is in
//                                  report view, with full-row selection (1 or 0),
//                                  and its top row
//   dpi CLASS                      "system S window W awareness A": the system
//                                  DPI, the window's DPI and its process's DPI
//                                  awareness (0 unaware, 1 system, 2 per
//                                  monitor; -1 where the system lacks the call)
//   monitors                       "left top width height dpi", one a line
// The probe itself is per-monitor DPI aware, so every rectangle it reads is
// in physical pixels.
//   place CLASS X Y W H            shows the window topmost at that place,
//                                  without activating it
//   postkey CLASS NAME VK          posts a key's press and release to
//                                  control NAME (WM_KEYDOWN, WM_KEYUP)
//   setcheck CLASS NAME 0|1        sets a check box's or radio button's mark
//                                  without a click (no notification)
//   trayicon                       the state whose colour the tray icon shows
//                                  on the screen: 1 (blue), 2 (green) or none
//   has-child CLASS CHILDCLASS     1 when a window of CHILDCLASS is inside
//   visible CLASS                  1 or 0 (style bit)
//   notepad                        the text of Notepad's edit control
//   setnotepad TEXT                replaces it by TEXT, all of it selected
//   setctext CLASS NAME TEXT       writes control NAME's caption
//   notepad-top                    Notepad's first visible line
//   notepad-caret-top              Notepad's caret and view to the top
//   clip                           the clipboard text
//   setclip TEXT                   puts TEXT on the clipboard
//   tray                           1 when a task bar with tray icons is shown
//   wait-tray 0|1 MS               until `tray` answers so
//   taskbar                        the task bar's visible children: class and
//                                  text, one a line
//   regkey KEY                     1 when HKEY_CLASSES_ROOT\KEY exists
//   regvalue KEY                   the default string value of HKEY_CLASSES_ROOT\KEY
//                                  (exit 1 when the key or the value is missing)
//   focus CLASS                    makes the window the foreground window
//   close CLASS                    posts WM_CLOSE
//   key VK down|up own|user        synthesises a key event; "own" carries the
//                                  program's mark in dwExtraInfo
//   key-log MS                     prints "ready", records every key event a
//                                  low-level keyboard hook sees for MS, then
//                                  prints them, one a line: "VK down|up", then
//                                  " own" when injected with the program's
//                                  mark, " injected" when injected without it
//   dialog                         caption and texts of an open message box
//   msgbox                         caption, then the message text of an open
//                                  message box (the static control 0xFFFF)
//   dialog-ok                      answers an open message box with IDOK
//   run-wait EXE DIR MS            starts EXE (relative names are taken in DIR)
//                                  with DIR as its current directory, waits at
//                                  most MS and prints its exit code; on timeout
//                                  prints "timeout", ends the process, exits 1
//   caption-trace MS CLASS UNTIL [CLASS UNTIL]...
//                                  prints "ready", then "CLASS: caption" for
//                                  every caption each window shows (polled
//                                  every millisecond from before it exists),
//                                  until each caption has read its UNTIL;
//                                  exit 1 when MS pass first
//   wait-exists CLASS MS           until the window exists
//   wait-gone CLASS MS             until no window of the class exists
//   wait-caption CLASS TEXT MS     until the caption equals TEXT; prints it
//   wait-caption-in CLASS MS TEXT...  until the caption equals one of the TEXTs
//   wait-caption-prefix CLASS MS PREFIX...  until the caption begins with one
//                                  of the PREFIXes
//   wait-item CLASS NAME I TEXT MS until item I of list NAME equals TEXT
//   wait-notepad TEXT MS           until Notepad's text equals TEXT
//   wait-clip TEXT MS              until the clipboard text equals TEXT
//   shortcut LNK                   a shell link's target path, then its
//                                  working directory (exit 1 when unreadable)
//   make-shortcut LNK TARGET DIR   writes a shell link to TARGET with working
//                                  directory DIR
//   start-time EXE DIR CLASS MS    starts EXE as run-wait does and prints the
//                                  milliseconds until the process has a
//                                  top-level window of CLASS; leaves it
//                                  running ("timeout" and exit 1 after MS)
//   held                           the virtual keys and buttons the system
//                                  holds down (GetAsyncKeyState), one code a
//                                  line; nothing when none
//   ink CLASS NAME                 "DARK LIGHT": how many of the screen's
//                                  pixels (every second one each way) in the
//                                  left three quarters of control NAME are
//                                  dark (text) and light (background)
//   toplevels                      visible top-level windows, topmost first:
//                                  "CLASS<TAB>TITLE", one a line
//   foreground                     the foreground window's class
//   iconic CLASS                   1 when the window is minimised
//   minimize CLASS                 minimises the window
//   editnotepad TEXT               replaces Notepad's text by TEXT, marked as
//                                  changed since the last save
//   move CLASS X Y W H             moves a window there, z-order kept
//   setleft CLASS NAME X           moves control NAME to x X in its parent
//   lvrows CLASS NAME              a list view's rows: "TEXT<TAB>IMAGE<TAB>TOP<TAB>
//                                  BOTTOM", one a line (IMAGE below 0: no icon;
//                                  TOP, BOTTOM: the row's screen y range)
//   workarea                       the work area (SPI_GETWORKAREA) and the
//                                  main monitor's work rectangle, "left top
//                                  width height" each, one a line
//   appbar-top H                   registers a desktop toolbar of height H at
//                                  the top edge, prints the top the shell
//                                  would give it (below every band already
//                                  reserved there) and removes it again
//   maximize CLASS / restore CLASS shows the window maximised / restored
//   zoomed CLASS                   "Z S C": IsZoomed, the WS_MAXIMIZE style bit
//                                  and the placement's show command
// Every wait polls each 20 ms and gives up after MS milliseconds.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr ULONG_PTR kOwnInputMark = 0x51515155u;  // as the program marks its input

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

void Out(const std::wstring& line) {
  std::string s = Utf8(line) + "\n";
  DWORD done = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &done,
            nullptr);
}

// The command line split as the C runtime does (quotes, backslashes).
std::vector<std::wstring> Args() {
  std::vector<std::wstring> out;
  const wchar_t* p = GetCommandLineW();
  while (*p) {
    while (*p == L' ' || *p == L'\t') ++p;
    if (!*p) break;
    std::wstring a;
    bool quoted = false;
    while (*p && (quoted || (*p != L' ' && *p != L'\t'))) {
      if (*p == L'\\') {
        size_t n = 0;
        while (*p == L'\\') { ++n; ++p; }
        if (*p == L'"') {
          a.append(n / 2, L'\\');
          if (n % 2) { a += L'"'; ++p; }
        } else {
          a.append(n, L'\\');
        }
      } else if (*p == L'"') {
        quoted = !quoted;
        ++p;
      } else {
        a += *p++;
      }
    }
    out.push_back(a);
  }
  return out;
}

std::wstring Text(HWND h) {
  if (!h) return L"";
  // WM_GETTEXT reaches controls of other processes (GetWindowText does not).
  LRESULT n = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  LRESULT got = SendMessageW(h, WM_GETTEXT, static_cast<WPARAM>(n + 1),
                             reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<size_t>(got));
  return buf;
}

// One line per visible child of the task bar: its class and its text
// (Wine's window buttons are owner-drawn and have none).
BOOL CALLBACK PrintButtonText(HWND c, LPARAM) {
  if (!IsWindowVisible(c)) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(c, cls, 64);
  Out(std::wstring(cls) + L" " + Text(c));
  return TRUE;
}

HWND Form(const std::wstring& cls) { return FindWindowW(cls.c_str(), nullptr); }

struct Search {
  std::wstring name;
  HWND found = nullptr;
};

BOOL CALLBACK MatchName(HWND c, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(c, L"sqname")));
  wchar_t buf[256];
  if (atom && GlobalGetAtomNameW(atom, buf, 256) && s->name == buf) {
    s->found = c;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK MatchClass(HWND c, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  wchar_t buf[256];
  if (GetClassNameW(c, buf, 256) && s->name == buf) {
    s->found = c;
    return FALSE;
  }
  return TRUE;
}

HWND Control(const std::wstring& cls, const std::wstring& name) {
  HWND f = Form(cls);
  if (!f) return nullptr;
  Search s{name};
  EnumChildWindows(f, MatchName, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<std::wstring> Items(HWND lb) {
  std::vector<std::wstring> out;
  LRESULT n = SendMessageW(lb, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    LRESULT len = SendMessageW(lb, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len == LB_ERR) break;
    std::wstring buf(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = SendMessageW(lb, LB_GETTEXT, static_cast<WPARAM>(i),
                               reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    out.push_back(buf);
  }
  return out;
}

struct Counter {
  std::wstring cls;
  int n = 0;
};

BOOL CALLBACK CountClass(HWND w, LPARAM lp) {
  auto* c = reinterpret_cast<Counter*>(lp);
  wchar_t buf[256];
  if (GetClassNameW(w, buf, 256) && c->cls == buf) ++c->n;
  return TRUE;
}

std::vector<std::wstring> g_keys;

LRESULT CALLBACK LogKey(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    std::wstring e = std::to_wstring(k->vkCode) + ((k->flags & LLKHF_UP) ? L" up" : L" down");
    if (k->flags & LLKHF_INJECTED) e += k->dwExtraInfo == kOwnInputMark ? L" own" : L" injected";
    g_keys.push_back(e);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

HWND NotepadEdit() {
  HWND np = FindWindowW(L"Notepad", nullptr);
  return np ? FindWindowExW(np, nullptr, L"Edit", nullptr) : nullptr;
}

std::wstring Clip() {
  std::wstring out;
  for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(10);
  if (HANDLE d = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(d))) {
      out = p;
      GlobalUnlock(d);
    }
  }
  CloseClipboard();
  return out;
}

bool SetClip(const std::wstring& text) {
  for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(10);
  EmptyClipboard();
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(g), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(g);
  bool ok = SetClipboardData(CF_UNICODETEXT, g) != nullptr;
  CloseClipboard();
  return ok;
}

// Polls `get` until it returns `want` or `ms` pass; prints the last value.
int WaitFor(const std::function<std::wstring()>& get, const std::wstring& want, DWORD ms) {
  DWORD start = GetTickCount();
  std::wstring v;
  for (;;) {
    v = get();
    if (v == want) break;
    if (GetTickCount() - start >= ms) {
      Out(v);
      return 1;
    }
    Sleep(20);
  }
  Out(v);
  return 0;
}

DWORD Ms(const std::wstring& s) { return static_cast<DWORD>(_wtoi(s.c_str())); }

int Usage() {
  Out(L"usage: sqprobe COMMAND ARGS (see the source for the commands)");
  return 2;
}

}  // namespace

namespace {
template <class F>
F Api(const wchar_t* dll, const char* name) {
  HMODULE m = GetModuleHandleW(dll);
  if (!m) m = LoadLibraryW(dll);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

std::wstring RectText(const RECT& r) {
  return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
         std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top);
}

BOOL CALLBACK PrintTopLevel(HWND w, LPARAM) {
  if (!IsWindowVisible(w)) return TRUE;
  wchar_t cls[128] = {};
  GetClassNameW(w, cls, 128);
  Out(std::wstring(cls) + L"\t" + Text(w));
  return TRUE;
}

BOOL CALLBACK PrintMonitor(HMONITOR m, HDC, LPRECT, LPARAM) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(m, &mi)) return TRUE;
  UINT dx = 0, dy = 0;
  auto forMonitor = Api<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)>(L"shcore.dll", "GetDpiForMonitor");
  if (!forMonitor || FAILED(forMonitor(m, 0, &dx, &dy))) dx = 0;
  Out(RectText(mi.rcMonitor) + L" " + std::to_wstring(dx));
  return TRUE;
}
}  // namespace

int main() {
  // Physical pixels: per-monitor aware (V2, else V1) where the system has it.
  if (auto ctx = Api<BOOL(WINAPI*)(HANDLE)>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
    if (!ctx(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))))
      ctx(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)));
  } else if (auto aware = Api<BOOL(WINAPI*)()>(L"user32.dll", "SetProcessDPIAware")) {
    aware();
  }
  std::vector<std::wstring> a = Args();
  if (a.size() < 2) return Usage();
  const std::wstring& cmd = a[1];
  auto need = [&](size_t n) { return a.size() >= n + 2; };

  if (cmd == L"exists" && need(1)) {
    Out(Form(a[2]) ? L"1" : L"0");
    return 0;
  }
  if (cmd == L"count" && need(1)) {
    for (size_t i = 2; i < a.size(); ++i) {
      Counter c{a[i]};
      EnumWindows(CountClass, reinterpret_cast<LPARAM>(&c));
      Out(std::to_wstring(c.n));
    }
    return 0;
  }
  if (cmd == L"caption" && need(1)) {
    HWND f = Form(a[2]);
    Out(Text(f));
    return f ? 0 : 1;
  }
  if (cmd == L"setcaption" && need(2)) {
    HWND f = Form(a[2]);
    return f && SetWindowTextW(f, a[3].c_str()) ? 0 : 1;
  }
  if (cmd == L"text" && need(2)) {
    HWND c = Control(a[2], a[3]);
    Out(Text(c));
    return c ? 0 : 1;
  }
  if (cmd == L"items" && need(2)) {
    HWND c = Control(a[2], a[3]);
    for (const auto& s : Items(c)) Out(s);
    return c ? 0 : 1;
  }
  if (cmd == L"item" && need(3)) {
    auto items = Items(Control(a[2], a[3]));
    size_t i = static_cast<size_t>(_wtoi(a[4].c_str()));
    Out(i < items.size() ? items[i] : L"");
    return i < items.size() ? 0 : 1;
  }
  if (cmd == L"listview" && need(2)) {
    HWND c = Control(a[2], a[3]);
    if (!c) return 1;
    wchar_t cls[64] = {};
    GetClassNameW(c, cls, 64);
    const LONG_PTR style = GetWindowLongPtrW(c, GWL_STYLE);
    const LRESULT ex = SendMessageW(c, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    Out(std::wstring(cls) + L" " +
        std::to_wstring(SendMessageW(c, LVM_GETITEMCOUNT, 0, 0)) + L" " +
        ((style & LVS_TYPEMASK) == LVS_REPORT ? L"1 " : L"0 ") +
        ((ex & LVS_EX_FULLROWSELECT) ? L"1 " : L"0 ") +
        std::to_wstring(SendMessageW(c, LVM_GETTOPINDEX, 0, 0)));
    return 0;
  }
  if (cmd == L"has-child" && need(2)) {
    HWND f = Form(a[2]);
    Search s{a[3]};
    if (f) EnumChildWindows(f, MatchClass, reinterpret_cast<LPARAM>(&s));
    Out(s.found ? L"1" : L"0");
    return f ? 0 : 1;
  }
  if (cmd == L"rect" && need(1)) {
    RECT r{};
    HWND f = Form(a[2]);
    if (!f || !GetWindowRect(f, &r)) return 1;
    Out(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
        std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
    return 0;
  }
  if (cmd == L"crect" && need(2)) {
    RECT r{};
    HWND c = Control(a[2], a[3]);
    if (!c || !GetWindowRect(c, &r)) return 1;
    Out(RectText(r));
    return 0;
  }
  if (cmd == L"dpi" && need(1)) {
    HWND f = Form(a[2]);
    if (!f) return 1;
    auto sys = Api<UINT(WINAPI*)()>(L"user32.dll", "GetDpiForSystem");
    auto win = Api<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    auto ctx = Api<HANDLE(WINAPI*)(HWND)>(L"user32.dll", "GetWindowDpiAwarenessContext");
    auto awareness = Api<int(WINAPI*)(HANDLE)>(L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
    const int s = sys ? static_cast<int>(sys()) : -1;
    const int w = win ? static_cast<int>(win(f)) : -1;
    const int aw = ctx && awareness ? awareness(ctx(f)) : -1;
    Out(L"system " + std::to_wstring(s) + L" window " + std::to_wstring(w) + L" awareness " +
        std::to_wstring(aw));
    return 0;
  }
  // ---- desktop toolbar, work area and window placement ----
  if (cmd == L"workarea") {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    Out(RectText(r));
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    Out(RectText(mi.rcWork));
    return 0;
  }
  if (cmd == L"appbar-top" && need(1)) {
    const int h = _wtoi(a[2].c_str());
    HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"sqprobe-appbar", WS_POPUP, 0, 0,
                             1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!w) return 1;
    APPBARDATA abd{};
    abd.cbSize = sizeof abd;
    abd.hWnd = w;
    abd.uCallbackMessage = WM_APP + 1;
    if (!SHAppBarMessage(ABM_NEW, &abd)) {
      DestroyWindow(w);
      return 1;
    }
    abd.uEdge = ABE_TOP;
    abd.rc = {0, 0, GetSystemMetrics(SM_CXSCREEN), h};
    SHAppBarMessage(ABM_QUERYPOS, &abd);
    Out(std::to_wstring(abd.rc.top));
    SHAppBarMessage(ABM_REMOVE, &abd);
    DestroyWindow(w);
    return 0;
  }
  if ((cmd == L"maximize" || cmd == L"restore") && need(1)) {
    HWND f = Form(a[2]);
    if (!f) return 1;
    ShowWindow(f, cmd == L"maximize" ? SW_MAXIMIZE : SW_RESTORE);
    return 0;
  }
  if (cmd == L"zoomed" && need(1)) {
    HWND f = Form(a[2]);
    if (!f) return 1;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(f, &wp);
    Out(std::to_wstring(IsZoomed(f) ? 1 : 0) + L" " +
        std::to_wstring((GetWindowLongW(f, GWL_STYLE) & WS_MAXIMIZE) ? 1 : 0) + L" " +
        std::to_wstring(wp.showCmd));
    return 0;
  }
  // ---- end of desktop toolbar block ----
  if (cmd == L"monitors") {
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
    return 0;
  }
  if (cmd == L"place" && a.size() >= 7) {
    HWND f = Form(a[2]);
    if (!f) return 1;
    return SetWindowPos(f, HWND_TOPMOST, _wtoi(a[3].c_str()), _wtoi(a[4].c_str()),
                        _wtoi(a[5].c_str()), _wtoi(a[6].c_str()),
                        SWP_SHOWWINDOW | SWP_NOACTIVATE) ? 0 : 1;
  }
  if (cmd == L"postkey" && need(3)) {
    HWND c = Control(a[2], a[3]);
    if (!c) return 1;
    const WPARAM vk = static_cast<WPARAM>(_wtoi(a[4].c_str()));
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(vk), 0);
    PostMessageW(c, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageW(c, WM_KEYUP, vk, static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u));
    return 0;
  }
  if (cmd == L"setcheck" && need(3)) {
    HWND c = Control(a[2], a[3]);
    if (!c) return 1;
    SendMessageW(c, BM_SETCHECK, _wtoi(a[4].c_str()) ? BST_CHECKED : BST_UNCHECKED, 0);
    return 0;
  }
  if (cmd == L"trayicon") {
    // The icons are drawn in solid colours: count the pixels of each over
    // the task bar (the screen DC; another window's DC reads wrong colours).
    HWND t = FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT r{};
    if (!t || !IsWindowVisible(t) || !GetWindowRect(t, &r)) {
      Out(L"none");
      return 0;
    }
    HDC dc = GetDC(nullptr);
    int blue = 0, green = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        COLORREF c = GetPixel(dc, x, y);
        const int R = GetRValue(c), G = GetGValue(c), B = GetBValue(c);
        if (R < 80 && G >= 60 && G < 140 && B > 180) ++blue;
        if (R < 80 && G > 160 && B < 100) ++green;
      }
    ReleaseDC(nullptr, dc);
    Out(blue > 20 && blue > green ? L"1" : green > 20 ? L"2" : L"none");
    return 0;
  }
  if (cmd == L"visible" && need(1)) {
    HWND f = Form(a[2]);
    Out(f && (GetWindowLongW(f, GWL_STYLE) & WS_VISIBLE) ? L"1" : L"0");
    return f ? 0 : 1;
  }
  // Drag-scrolling checks. npview: Notepad's first visible line, the
  // selection (start end), the caret's line, the line height and the edit's
  // screen rectangle. nplines N: N numbered lines, shown from the top.
  // lbutton: whether the left button is down. settext FORM CONTROL TEXT.
  // bmclick FORM CONTROL: a button clicked as another window would.
  if (cmd == L"npview") {
    HWND e = NotepadEdit();
    if (!e) return 1;
    DWORD s = 0, t = 0;
    SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&t));
    const LRESULT first = SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0);
    const LRESULT caretLine = SendMessageW(e, EM_LINEFROMCHAR, t, 0);
    const LRESULT second = SendMessageW(e, EM_LINEINDEX, first + 1, 0);
    const int y0 = static_cast<short>(HIWORD(SendMessageW(e, EM_POSFROMCHAR, SendMessageW(e, EM_LINEINDEX, first, 0), 0)));
    const int y1 = second >= 0 ? static_cast<short>(HIWORD(SendMessageW(e, EM_POSFROMCHAR, second, 0))) : y0;
    RECT r{};
    GetWindowRect(e, &r);
    Out(std::to_wstring(first) + L" " + std::to_wstring(s) + L" " + std::to_wstring(t) + L" " +
        std::to_wstring(caretLine) + L" " + std::to_wstring(y1 - y0) + L" " + RectText(r));
    return 0;
  }
  if (cmd == L"nplines" && need(1)) {
    HWND e = NotepadEdit();
    if (!e) return 1;
    std::wstring text;
    const int n = _wtoi(a[2].c_str());
    for (int i = 1; i <= n; ++i) text += std::to_wstring(i) + (i < n ? L"\r\n" : L"");
    SendMessageW(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(e, EM_SETSEL, 0, 0);
    SendMessageW(e, EM_SCROLLCARET, 0, 0);
    return 0;
  }
  if (cmd == L"lbutton") {
    Out(GetAsyncKeyState(VK_LBUTTON) < 0 ? L"1" : L"0");
    return 0;
  }
  if (cmd == L"settext" && need(3)) {
    HWND c = Control(a[2], a[3]);
    if (!c) return 1;
    SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[4].c_str()));
    return 0;
  }
  if (cmd == L"bmclick" && need(2)) {
    HWND c = Control(a[2], a[3]);
    return c && PostMessageW(c, BM_CLICK, 0, 0) ? 0 : 1;
  }
  if (cmd == L"notepad") {
    HWND e = NotepadEdit();
    Out(Text(e));
    return e ? 0 : 1;
  }
  if (cmd == L"setnotepad" && need(1)) {
    HWND e = NotepadEdit();
    if (!e) return 1;
    SendMessageW(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[2].c_str()));
    SendMessageW(e, EM_SETSEL, 0, -1);
    return 0;
  }
  if (cmd == L"clip") {
    Out(Clip());
    return 0;
  }
  // ---- the browser window's checks ----
  // setctext CLASS NAME TEXT: writes a control's caption as another window would.
  // notepad-top: Notepad's first visible line; notepad-caret-top: caret at the top.
  if (cmd == L"setctext" && need(3)) {
    HWND c = Control(a[2], a[3]);
    return c && SetWindowTextW(c, a[4].c_str()) ? 0 : 1;
  }
  if (cmd == L"notepad-top") {
    HWND e = NotepadEdit();
    if (!e) return 1;
    Out(std::to_wstring(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0)));
    return 0;
  }
  if (cmd == L"notepad-caret-top") {
    HWND e = NotepadEdit();
    if (!e) return 1;
    SendMessageW(e, EM_SETSEL, 0, 0);
    SendMessageW(e, EM_SCROLLCARET, 0, 0);
    SendMessageW(e, WM_VSCROLL, SB_TOP, 0);
    return 0;
  }
  if (cmd == L"setclip" && need(1)) return SetClip(a[2]) ? 0 : 1;
  // ---- the command bar and the smart clipboard ----
  //   setclip-marked TEXT MARK     puts TEXT on the clipboard with a privacy
  //                                mark: none, exclude, ignore, history0, history1
  //   settext CLASS NAME TEXT      writes control NAME's caption
  //   cplace CLASS NAME X Y        moves control NAME (parent pixels) and shows it
  //   lbrow CLASS NAME I           screen rectangle of a list box's row I
  if (cmd == L"setclip-marked" && need(2)) {
    if (!SetClip(a[2])) return 1;
    if (a[3] == L"none") return 0;
    const wchar_t* name = a[3] == L"exclude" ? L"ExcludeClipboardContentFromMonitorProcessing"
                          : a[3] == L"ignore" ? L"Clipboard Viewer Ignore"
                                              : L"CanIncludeInClipboardHistory";
    const UINT fmt = RegisterClipboardFormatW(name);
    for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(10);
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
    *static_cast<DWORD*>(GlobalLock(g)) = a[3] == L"history1" ? 1 : 0;
    GlobalUnlock(g);
    const bool ok = SetClipboardData(fmt, g) != nullptr;
    CloseClipboard();
    return ok ? 0 : 1;
  }
  if (cmd == L"settext" && need(3)) {
    HWND c = Control(a[2], a[3]);
    return c && SetWindowTextW(c, a[4].c_str()) ? 0 : 1;
  }
  if (cmd == L"cplace" && need(4)) {
    HWND c = Control(a[2], a[3]);
    if (!c) return 1;
    return SetWindowPos(c, HWND_TOP, _wtoi(a[4].c_str()), _wtoi(a[5].c_str()), 0, 0,
                        SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE) ? 0 : 1;
  }
  if (cmd == L"lbrow" && need(3)) {
    HWND c = Control(a[2], a[3]);
    RECT r{};
    if (!c || SendMessageW(c, LB_GETITEMRECT, static_cast<WPARAM>(_wtoi(a[4].c_str())),
                           reinterpret_cast<LPARAM>(&r)) == LB_ERR)
      return 1;
    MapWindowPoints(c, nullptr, reinterpret_cast<POINT*>(&r), 2);
    Out(RectText(r));
    return 0;
  }
  auto tray = [] {
    // Wine shows its task bar only while a tray icon exists.
    HWND t = FindWindowW(L"Shell_TrayWnd", nullptr);
    return std::wstring(t && IsWindowVisible(t) ? L"1" : L"0");
  };
  if (cmd == L"tray") {
    Out(tray());
    return 0;
  }
  if (cmd == L"wait-tray" && need(2)) return WaitFor(tray, a[2], Ms(a[3]));
  if (cmd == L"taskbar") {
    // The texts of the task bar's window buttons (children of the tray window).
    HWND t = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!t) return 1;
    EnumChildWindows(t, PrintButtonText, 0);
    return 0;
  }
  if (cmd == L"regkey" && need(1)) {
    HKEY k;
    bool ok = RegOpenKeyExW(HKEY_CLASSES_ROOT, a[2].c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS;
    if (ok) RegCloseKey(k);
    Out(ok ? L"1" : L"0");
    return 0;
  }
  if (cmd == L"regvalue" && need(1)) {
    HKEY k;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, a[2].c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 1;
    DWORD type = 0, size = 0;
    LONG r = RegQueryValueExW(k, nullptr, nullptr, &type, nullptr, &size);
    std::wstring v;
    if (r == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
      v.assign(size / sizeof(wchar_t) + 1, L'\0');
      r = RegQueryValueExW(k, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(v.data()), &size);
      v.resize(wcsnlen(v.c_str(), size / sizeof(wchar_t)));
    } else if (r == ERROR_SUCCESS) {
      r = ERROR_INVALID_DATA;
    }
    RegCloseKey(k);
    if (r != ERROR_SUCCESS) return 1;
    Out(v);
    return 0;
  }
  if (cmd == L"focus" && need(1)) {
    HWND f = Form(a[2]);
    return f && SetForegroundWindow(f) ? 0 : 1;
  }
  if (cmd == L"close" && need(1)) {
    HWND f = Form(a[2]);
    return f && PostMessageW(f, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (cmd == L"key" && need(3)) {
    keybd_event(static_cast<BYTE>(_wtoi(a[2].c_str())), 0, a[3] == L"up" ? KEYEVENTF_KEYUP : 0,
                a[4] == L"own" ? kOwnInputMark : 0);
    return 0;
  }
  if (cmd == L"key-log" && need(1)) {
    // A low-level hook is called on this thread, so it has to pump messages.
    HHOOK h = SetWindowsHookExW(WH_KEYBOARD_LL, LogKey, GetModuleHandleW(nullptr), 0);
    if (!h) return 1;
    Out(L"ready");
    DWORD start = GetTickCount(), ms = Ms(a[2]);
    for (DWORD gone; (gone = GetTickCount() - start) < ms;) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - gone, QS_ALLINPUT);
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
    }
    UnhookWindowsHookEx(h);
    for (const auto& e : g_keys) Out(e);
    return 0;
  }
  if (cmd == L"dialog") {
    HWND d = FindWindowW(L"#32770", nullptr);
    if (!d) return 1;
    Out(Text(d));
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      std::wstring t = Text(c);
      if (!t.empty()) Out(t);
    }
    return 0;
  }
  if (cmd == L"msgbox") {
    HWND d = FindWindowW(L"#32770", nullptr);
    if (!d) return 1;
    Out(Text(d));
    HWND t = GetDlgItem(d, 0xFFFF);
    Out(Text(t));
    return t ? 0 : 1;
  }
  if (cmd == L"dialog-ok") {
    HWND d = FindWindowW(L"#32770", nullptr);
    return d && PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) ? 0 : 1;
  }
  if (cmd == L"shortcut" && need(1)) {
    if (FAILED(CoInitialize(nullptr))) return 1;
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t target[MAX_PATH] = {}, dir[MAX_PATH] = {};
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Load(a[2].c_str(), STGM_READ)) &&
              SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
              SUCCEEDED(link->GetWorkingDirectory(dir, MAX_PATH));
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    if (!ok) return 1;
    Out(target);
    Out(dir);
    return 0;
  }
  if (cmd == L"make-shortcut" && need(3)) {
    if (FAILED(CoInitialize(nullptr))) return 1;
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
              SUCCEEDED(link->SetPath(a[3].c_str())) &&
              SUCCEEDED(link->SetWorkingDirectory(a[4].c_str())) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Save(a[2].c_str(), TRUE));
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return ok ? 0 : 1;
  }
  if (cmd == L"start-time" && need(4)) {
    std::wstring exe = a[2];
    const std::wstring& dir = a[3];
    bool absolute = exe.size() > 1 && (exe[1] == L':' || exe[0] == L'\\');
    if (!absolute) exe = dir + L"\\" + exe;
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.c_str(), &si, &pi)) {
      Out(L"cannot start, error " + std::to_wstring(GetLastError()));
      return 1;
    }
    CloseHandle(pi.hThread);
    DWORD limit = Ms(a[5]);
    int rc = 1;
    for (;;) {
      HWND w = nullptr;
      bool found = false;
      while ((w = FindWindowExW(nullptr, w, a[4].c_str(), nullptr)) != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == pi.dwProcessId) found = true;
      }
      QueryPerformanceCounter(&t1);
      double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                  static_cast<double>(freq.QuadPart);
      if (found) {
        Out(std::to_wstring(static_cast<long long>(ms + 0.5)));
        rc = 0;
        break;
      }
      if (ms > limit || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
        Out(L"timeout");
        break;
      }
      Sleep(1);
    }
    CloseHandle(pi.hProcess);
    return rc;
  }
  if (cmd == L"run-wait" && need(3)) {
    std::wstring exe = a[2];
    const std::wstring& dir = a[3];
    bool absolute = exe.size() > 1 && (exe[1] == L':' || exe[0] == L'\\');
    if (!absolute) exe = dir + L"\\" + exe;
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.c_str(), &si, &pi)) {
      Out(L"cannot start, error " + std::to_wstring(GetLastError()));
      return 1;
    }
    CloseHandle(pi.hThread);
    DWORD waited = WaitForSingleObject(pi.hProcess, Ms(a[4]));
    DWORD code = 0;
    int rc = 0;
    if (waited == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code)) {
      Out(std::to_wstring(code));
    } else {
      Out(L"timeout");
      TerminateProcess(pi.hProcess, 255);
      WaitForSingleObject(pi.hProcess, 5000);
      rc = 1;
    }
    CloseHandle(pi.hProcess);
    return rc;
  }
  if (cmd == L"wait-caption-prefix" && need(3)) {
    DWORD start = GetTickCount(), ms = Ms(a[3]);
    for (;;) {
      std::wstring v = Text(Form(a[2]));
      for (size_t i = 4; i < a.size(); ++i)
        if (v.compare(0, a[i].size(), a[i]) == 0) {
          Out(v);
          return 0;
        }
      if (GetTickCount() - start >= ms) {
        Out(v);
        return 1;
      }
      Sleep(20);
    }
  }
  if (cmd == L"caption-trace" && a.size() >= 5 && a.size() % 2 == 1) {
    // GetWindowTextW on another process's window reads the text the window
    // manager keeps and sends no message, so it answers while the program
    // is still inside its creation handlers.
    DWORD start = GetTickCount(), ms = Ms(a[2]);
    size_t n = (a.size() - 3) / 2;
    std::vector<std::wstring> last(n);
    std::vector<bool> seen(n, false), done(n, false);
    Out(L"ready");
    for (;;) {
      bool all = true;
      for (size_t i = 0; i < n; ++i) {
        const std::wstring& cls = a[3 + 2 * i];
        if (HWND w = FindWindowW(cls.c_str(), nullptr)) {
          wchar_t buf[512] = L"";
          GetWindowTextW(w, buf, 512);
          if (!seen[i] || last[i] != buf) {
            Out(cls + L": " + buf);
            last[i] = buf;
            seen[i] = true;
          }
          if (last[i] == a[4 + 2 * i]) done[i] = true;
        }
        all = all && done[i];
      }
      if (all) return 0;
      if (GetTickCount() - start >= ms) return 1;
      Sleep(1);
    }
  }
  if (cmd == L"wait-exists" && need(2))
    return WaitFor([&] { return std::wstring(Form(a[2]) ? L"1" : L"0"); }, L"1", Ms(a[3]));
  if (cmd == L"wait-gone" && need(2))
    return WaitFor([&] { return std::wstring(Form(a[2]) ? L"1" : L"0"); }, L"0", Ms(a[3]));
  if (cmd == L"wait-caption" && need(3))
    return WaitFor([&] { return Text(Form(a[2])); }, a[3], Ms(a[4]));
  if (cmd == L"wait-caption-in" && need(3)) {
    DWORD start = GetTickCount(), ms = Ms(a[3]);
    for (;;) {
      std::wstring v = Text(Form(a[2]));
      for (size_t i = 4; i < a.size(); ++i)
        if (v == a[i]) {
          Out(v);
          return 0;
        }
      if (GetTickCount() - start >= ms) {
        Out(v);
        return 1;
      }
      Sleep(20);
    }
  }
  if (cmd == L"wait-item" && need(5)) {
    size_t i = static_cast<size_t>(_wtoi(a[4].c_str()));
    return WaitFor(
        [&] {
          auto items = Items(Control(a[2], a[3]));
          return i < items.size() ? items[i] : std::wstring();
        },
        a[5], Ms(a[6]));
  }
  if (cmd == L"wait-notepad" && need(2))
    return WaitFor([] { return Text(NotepadEdit()); }, a[2], Ms(a[3]));
  if (cmd == L"wait-clip" && need(2)) return WaitFor(Clip, a[2], Ms(a[3]));
  if (cmd == L"ink" && need(2)) {
    RECT r{};
    HWND c = Control(a[2], a[3]);
    if (!c || !GetWindowRect(c, &r)) return 1;
    HDC dc = GetDC(nullptr);
    int dark = 0, light = 0;
    for (LONG y = r.top + 2; y < r.bottom - 2; y += 2)
      for (LONG x = r.left + 2; x < r.left + (r.right - r.left) * 3 / 4; x += 2) {
        const COLORREF p = GetPixel(dc, x, y);
        if (p == CLR_INVALID) continue;
        const int lum = (GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3;
        if (lum < 96) ++dark;
        else if (lum > 192) ++light;
      }
    ReleaseDC(nullptr, dc);
    Out(std::to_wstring(dark) + L" " + std::to_wstring(light));
    return 0;
  }
  if (cmd == L"held") {
    for (int vk = 1; vk < 255; ++vk)
      if (GetAsyncKeyState(vk) < 0) Out(std::to_wstring(vk));
    return 0;
  }
  // ---- the tip windows: check boxes, moving a window, waiting for a
  // window's rectangle, clicking a button, window regions, screen pixels.
  if (cmd == L"checked" && need(2)) {
    HWND c = Control(a[2], a[3]);
    Out(c && SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0");
    return c ? 0 : 1;
  }
  if (cmd == L"move" && a.size() >= 7) {
    HWND f = Form(a[2]);
    return f && SetWindowPos(f, nullptr, _wtoi(a[3].c_str()), _wtoi(a[4].c_str()),
                             _wtoi(a[5].c_str()), _wtoi(a[6].c_str()),
                             SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
  }
  if (cmd == L"wait-rect" && need(3)) {
    return WaitFor([&] {
      RECT r{};
      HWND f = Form(a[2]);
      return f && GetWindowRect(f, &r) ? RectText(r) : std::wstring(L"none");
    }, a[3], Ms(a[4]));
  }
  if (cmd == L"click" && need(2)) {
    HWND c = Control(a[2], a[3]);
    if (!c) return 1;
    SendMessageW(c, BM_CLICK, 0, 0);
    return 0;
  }
  if (cmd == L"rgn-in" && need(3)) {
    // Whether a screen point lies in the window's region ("none": no region).
    HWND f = Form(a[2]);
    RECT wr{};
    if (!f || !GetWindowRect(f, &wr)) return 1;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(f, rgn);
    if (kind == ERROR || kind == NULLREGION) Out(L"none");
    else Out(PtInRegion(rgn, _wtoi(a[3].c_str()) - wr.left, _wtoi(a[4].c_str()) - wr.top) ? L"1" : L"0");
    DeleteObject(rgn);
    return 0;
  }
  if (cmd == L"pixel" && need(2)) {
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, _wtoi(a[2].c_str()), _wtoi(a[3].c_str()));
    ReleaseDC(nullptr, dc);
    Out(std::to_wstring(GetRValue(c)) + L" " + std::to_wstring(GetGValue(c)) + L" " +
        std::to_wstring(GetBValue(c)));
    return 0;
  }
  // ---- window switcher: the desktop's windows and the list's rows ----
  if (cmd == L"toplevels") {
    // Visible top-level windows in z-order, topmost first: "CLASS<TAB>TITLE".
    EnumWindows(PrintTopLevel, 0);
    return 0;
  }
  if (cmd == L"foreground") {
    HWND f = GetForegroundWindow();
    wchar_t cls[128] = {};
    if (f) GetClassNameW(f, cls, 128);
    Out(cls);
    return f ? 0 : 1;
  }
  if (cmd == L"iconic" && need(1)) {
    HWND f = Form(a[2]);
    Out(f && IsIconic(f) ? L"1" : L"0");
    return f ? 0 : 1;
  }
  if (cmd == L"minimize" && need(1)) {
    HWND f = Form(a[2]);
    return f && ShowWindow(f, SW_MINIMIZE) >= 0 ? 0 : 1;
  }
  if (cmd == L"editnotepad" && need(1)) {
    // Replaces Notepad's text by TEXT as an edit by its user does: the
    // text counts as changed since the last save.
    HWND e = NotepadEdit();
    if (!e) return 1;
    SendMessageW(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[2].c_str()));
    SendMessageW(e, EM_SETMODIFY, TRUE, 0);
    return 0;
  }
  if (cmd == L"setleft" && need(3)) {
    // Moves control NAME to client x X of its parent, as the program does.
    HWND c = Control(a[2], a[3]);
    RECT r{};
    if (!c || !GetWindowRect(c, &r)) return 1;
    MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
    return SetWindowPos(c, nullptr, _wtoi(a[4].c_str()), r.top, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
  }
  if (cmd == L"lvrows" && need(2)) {
    // A list view's rows, "TEXT<TAB>IMAGE" one a line, read through a
    // buffer in the program's memory (the messages carry pointers).
    HWND c = Control(a[2], a[3]);
    DWORD pid = 0;
    if (!c || !GetWindowThreadProcessId(c, &pid)) return 1;
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!proc) return 1;
    constexpr int kChars = 512;
    const SIZE_T size = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
    auto* remote = static_cast<char*>(VirtualAllocEx(proc, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    if (!remote) {
      CloseHandle(proc);
      return 1;
    }
    const int n = static_cast<int>(SendMessageW(c, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      LVITEMW it{};
      it.mask = LVIF_TEXT | LVIF_IMAGE;
      it.iItem = i;
      it.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
      it.cchTextMax = kChars;
      wchar_t text[kChars] = {};
      WriteProcessMemory(proc, remote, &it, sizeof it, nullptr);
      WriteProcessMemory(proc, remote + sizeof(LVITEMW), text, sizeof text, nullptr);
      SendMessageW(c, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
      ReadProcessMemory(proc, remote, &it, sizeof it, nullptr);
      ReadProcessMemory(proc, remote + sizeof(LVITEMW), text, sizeof text, nullptr);
      text[kChars - 1] = 0;
      RECT rc{};
      rc.left = LVIR_BOUNDS;
      WriteProcessMemory(proc, remote, &rc, sizeof rc, nullptr);
      SendMessageW(c, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
      ReadProcessMemory(proc, remote, &rc, sizeof rc, nullptr);
      MapWindowPoints(c, nullptr, reinterpret_cast<POINT*>(&rc), 2);
      Out(std::wstring(text) + L"\t" + std::to_wstring(it.iImage) + L"\t" +
          std::to_wstring(rc.top) + L"\t" + std::to_wstring(rc.bottom));
    }
    VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    CloseHandle(proc);
    return 0;
  }
  return Usage();
}
