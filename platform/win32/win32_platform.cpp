// The Win32 backend's object: its start and end, window classes, fonts,
// timers and the tick marks; the helpers its files share. Windows,
// controls, input, the clipboard, the process, events, the shell, files and
// the browser are in files of their own.
#include "platform/win32/win32_internal.h"

namespace sq {

using namespace w32;

namespace w32 {
Win32Platform* g_self = nullptr;

CallCounts g_calls;

int RowHeight(HWND h) {
  RECT r{};
  r.left = LVIR_BOUNDS;
  if (SendMessageW(h, LVM_GETITEMCOUNT, 0, 0) > 0 &&
      SendMessageW(h, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)))
    return r.bottom - r.top;
  // No row yet: the taller of a small icon and the font, as the control
  // lays its rows out.
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  return std::max<int>(GetSystemMetrics(SM_CYSMICON), tm.tmHeight) + 1;
}

// Whether any part of a visible window can be seen: inside the screen and
// inside the client area of every ancestor. A parked window (left edge at
// -2000), or a control outside its form's client area, shows nothing, so a
// change of its text need not be painted now; moving it onto the screen
// exposes it and paints it then.
// The rectangle of all monitors. Asking costs Wine several server round
// trips a metric (it rereads its display settings each time), so it is
// asked again only after a display change (ForgetScreen) or two seconds.
RECT g_screen{};
DWORD g_screenAt = 0;
bool g_screenValid = false;
constexpr DWORD kScreenRecheckMs = 2000;
const RECT& VirtualScreen() {
  const DWORD now = GetTickCount();
  if (!g_screenValid || now - g_screenAt >= kScreenRecheckMs) {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    g_screen = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    g_screenAt = now;
    g_screenValid = true;
  }
  return g_screen;
}
void ForgetScreen() { g_screenValid = false; }

bool ShowsOnScreen(HWND h) {
  ++g_calls.onScreen;
  if (!IsWindowVisible(h)) return false;
  RECT r;
  if (!GetWindowRect(h, &r)) return false;
  if (!IntersectRect(&r, &r, &VirtualScreen())) return false;
  for (HWND p = GetAncestor(h, GA_PARENT); p && p != GetDesktopWindow(); p = GetAncestor(p, GA_PARENT)) {
    RECT c;
    if (!GetClientRect(p, &c)) return false;
    MapWindowPoints(p, HWND_DESKTOP, reinterpret_cast<POINT*>(&c), 2);
    if (!IntersectRect(&r, &r, &c)) return false;
  }
  return true;
}

void RedrawOff(HWND h) {
  SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | WS_VISIBLE);
}
BOOL CALLBACK CollectChild(HWND c, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(c);
  return TRUE;
}
BOOL CALLBACK CollectTop(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<Wnd>*>(lp)->push_back(W(h));
  return TRUE;
}
}  // namespace w32

Win32Platform::Win32Platform(HINSTANCE inst) : inst_(inst) {
  g_self = this;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  registerClass(kPanelClass);
  registerClass(kUtilClass);
  util_ = CreateWindowExW(0, kUtilClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, inst_,
                          nullptr);
  wchar_t trace[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"SQ_WORD_TRACE", trace, MAX_PATH);
  if (n > 0 && n < MAX_PATH)
    wordTrace_ = CreateFileW(trace, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void Win32Platform::ensureOle() {
  // OLE, not only COM: the browser control's copy and paste go through the
  // OLE clipboard, and dragging in and out of a page needs OLE's drag and
  // drop; both fail on a thread that only initialised COM. Started by the
  // first call that needs it (it costs a start-up a good part of its time).
  if (oleTried_) return;
  oleTried_ = true;
  comReady_ = SUCCEEDED(OleInitialize(nullptr));
}

Win32Platform::~Win32Platform() {
  for (auto& [h, in] : infos_)
    if (in.brush) DeleteObject(in.brush);
  for (auto& [k, f] : fonts_) DeleteObject(f);
  if (comReady_) OleUninitialize();
  if (wordTrace_ != INVALID_HANDLE_VALUE) CloseHandle(wordTrace_);
  g_self = nullptr;
}

void Win32Platform::Run(const std::function<void()>& fn) {
  // A C++ exception must not unwind through user32's dispatch frames.
  try {
    if (fn) fn();
  } catch (const std::exception& e) {
    OutputDebugStringA(e.what());
  } catch (...) {
  }
}

void Win32Platform::registerClass(const std::wstring& name) {
  if (classes_.count(name)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = inst_;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = nullptr;  // WM_ERASEBKGND paints the window's colour
  wc.lpszClassName = name.c_str();
  RegisterClassExW(&wc);
  classes_[name] = true;
}

HFONT Win32Platform::font(const std::string& name, int size, int dpi) {
  auto key = std::make_tuple(name, size, dpi);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  // Points at the DPI of the monitor the window is laid out for.
  int height = -MulDiv(size > 0 ? size : 9, dpi > 0 ? dpi : 96, 72);
  std::wstring face = name.empty() ? Wide("宋体") : Wide(name);
  HFONT f = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  fonts_[key] = f;
  return f;
}

Win32Platform::Info* Win32Platform::info(HWND h) {
  auto it = infos_.find(h);
  return it == infos_.end() ? nullptr : &it->second;
}

// ---------------------------------------------------------------- time

std::uint32_t Win32Platform::tickCount() { return GetTickCount(); }
void Win32Platform::sleep(unsigned ms) {
  forgetGlance();
  Sleep(ms);
}

HWND Win32Platform::timerOwner(Wnd owner) { return owner ? H(owner) : util_; }

void Win32Platform::setTimer(Wnd owner, unsigned id, unsigned ms, TimerProc proc) {
  HWND h = timerOwner(owner);
  timers_[{h, id}] = std::move(proc);
  if (timersStarted_) {
    leaveGroup(h, id);
    SetTimer(h, id, ms, TimerThunk);
    return;
  }
  for (auto& [ph, pid, pms] : pendingTimers_)
    if (ph == h && pid == id) {
      pms = ms;
      return;
    }
  pendingTimers_.emplace_back(h, id, ms);
}
void Win32Platform::killTimer(Wnd owner, unsigned id) {
  HWND h = timerOwner(owner);
  KillTimer(h, id);
  leaveGroup(h, id);
  timers_.erase({h, id});
  std::erase_if(pendingTimers_, [&](const auto& t) {
    return std::get<0>(t) == h && std::get<1>(t) == id;
  });
}
// The timers of the start share one system timer per period: each runs at
// its own period as before, the ones of a period back to back in the order
// they were made, and the process wakes once where it woke for each.
void Win32Platform::startPendingTimers() {
  if (timersStarted_) return;
  timersStarted_ = true;
  for (const auto& [h, id, ms] : pendingTimers_) {
    auto g = std::find_if(groups_.begin(), groups_.end(),
                          [&](const TimerGroup& t) { return t.ms == ms; });
    if (g == groups_.end()) g = groups_.insert(groups_.end(), TimerGroup{ms, {}});
    g->members.emplace_back(h, id);
  }
  pendingTimers_.clear();
  for (std::size_t i = 0; i < groups_.size(); ++i)
    SetTimer(util_, kGroupTimer + i, groups_[i].ms, GroupThunk);
}
void Win32Platform::leaveGroup(HWND h, UINT_PTR id) {
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    auto& m = groups_[i].members;
    const auto it = std::find(m.begin(), m.end(), std::make_pair(h, id));
    if (it == m.end()) continue;
    m.erase(it);
    if (m.empty()) KillTimer(util_, kGroupTimer + i);
    return;
  }
}

namespace {
long long NowUs() {
  static const long long freq = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return f.QuadPart > 0 ? f.QuadPart : 1;
  }();
  LARGE_INTEGER c{};
  QueryPerformanceCounter(&c);
  return static_cast<long long>(static_cast<double>(c.QuadPart) * 1e6 / static_cast<double>(freq));
}
}  // namespace

void Win32Platform::noteGlance() {
  if (glance_.takenUs == 0) glance_.takenUs = NowUs();
}
void Win32Platform::glanceAtHandlerStart() {
  glance_.cursorKnown = false;
  if (glance_.takenUs == 0) return;
  const long long age = NowUs() - glance_.takenUs;
  if (age <= kGlanceUs) return;
  if (age > kQuietGlanceUs || !inputQuiet()) forgetGlance();
}

bool Win32Platform::inputQuiet() {
  // While the user has neither typed nor moved the mouse for a while, the
  // look-ups may live longer: what changes then is what other programs do
  // on their own, seen at most kQuietGlanceUs late.
  if (!pointerEvents_ || !keyEvents_) return false;
  DWORD lastKey = 0, lastMouse = 0;
  pointerEvents_(&lastMouse);
  keyEvents_(&lastKey);
  const DWORD tick = GetTickCount();
  return tick - lastMouse >= kQuietAfterMs && tick - lastKey >= kQuietAfterMs;
}

void ForgetGlance() {
  if (g_self) g_self->forgetGlance();
}

namespace w32 {
// Tick marks for counting what each timer costs: with SQ_TICK_MARKS set,
// every timer handler is bracketed by two atom look-ups named after it
// ("sqtick{ CLASS ID" and "sqtick}"), which a server trace
// (WINEDEBUG=+server) shows in line with the handler's own requests, so
// the requests of each tick can be counted (tools/tickcount.py).
bool TickMarks() {
  static const bool on = GetEnvironmentVariableW(L"SQ_TICK_MARKS", nullptr, 0) > 0;
  return on;
}
// With the tick marks on, the start-up too: "sqform CLASS +MS" as each
// form's window is made, "sqloop +MS" as the message loop begins, in
// milliseconds since the process was created.
void StartMark(const std::wstring& what) {
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& f) {
    return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
  };
  const unsigned long long ms = (ticks(now) - ticks(created)) / 10000;
  const std::wstring mark = what + L" +" + std::to_wstring(ms);
  GlobalFindAtomW(mark.c_str());
}

void TickMark(HWND h, UINT_PTR id, bool begin) {
  if (!begin) {
    const CallCounts& c = g_calls;
    const std::wstring mark = L"sqtick} tr=" + std::to_wstring(c.textRead) +
                              L" tw=" + std::to_wstring(c.textWrite) +
                              L" wp=" + std::to_wstring(c.fromPoint) +
                              L" gp=" + std::to_wstring(c.parent) +
                              L" lr=" + std::to_wstring(c.listRead) +
                              L" lw=" + std::to_wstring(c.listWrite) +
                              L" so=" + std::to_wstring(c.onScreen) +
                              L" trs=" + std::to_wstring(c.textReadSys) +
                              L" tws=" + std::to_wstring(c.textWriteSys) +
                              L" lrs=" + std::to_wstring(c.listReadSys) +
                              L" lws=" + std::to_wstring(c.listWriteSys);
    GlobalFindAtomW(mark.c_str());
    return;
  }
  g_calls = {};
  wchar_t cls[64] = L"?";
  GetClassNameW(h, cls, 64);
  const std::wstring mark = L"sqtick{ " + std::wstring(cls) + L" " + std::to_wstring(id);
  GlobalFindAtomW(mark.c_str());
}
}  // namespace w32

void CALLBACK Win32Platform::GroupThunk(HWND, UINT, UINT_PTR gid, DWORD) {
  if (!g_self || gid < kGroupTimer || gid - kGroupTimer >= g_self->groups_.size()) return;
  // A handler may kill or set timers of its period: each runs only while
  // it is still a member.
  const auto members = g_self->groups_[gid - kGroupTimer].members;
  for (const auto& [h, id] : members) {
    if (!g_self) return;
    const auto& now = g_self->groups_[gid - kGroupTimer].members;
    if (std::find(now.begin(), now.end(), std::make_pair(h, id)) != now.end())
      TimerThunk(h, WM_TIMER, id, 0);
  }
}

void CALLBACK Win32Platform::TimerThunk(HWND h, UINT, UINT_PTR id, DWORD) {
  if (!g_self) return;
  auto it = g_self->timers_.find({h, id});
  if (it == g_self->timers_.end()) return;
  TimerProc copy = it->second;  // the handler may kill or reset its timer
  const bool marks = TickMarks();
  if (marks) TickMark(h, id, true);
  g_self->glanceAtHandlerStart();
  ++g_self->handlerDepth_;
  Run(copy);
  if (g_self) --g_self->handlerDepth_;
  if (marks) TickMark(h, id, false);
}

}  // namespace sq
