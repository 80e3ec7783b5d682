// sqprobe: the shell's task bar and tray, the monitors and the work area,
// the screen's pixels, the registry, shell links and processes.
#include <windows.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "e2e/probe/probe.h"

namespace probe {

namespace {

// Wine shows its task bar only while a tray icon exists.
std::wstring TrayShown() {
  HWND t = TrayWindow();
  return t && IsWindowVisible(t) ? L"1" : L"0";
}

// One line per visible child of the task bar: its class and its text
// (Wine's window buttons are owner-drawn and have none).
BOOL CALLBACK PrintButtonText(HWND c, LPARAM) {
  if (!IsWindowVisible(c)) return TRUE;
  Out(ClassOf(c, 64) + L" " + Text(c));
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

// The screen's device context (another window's DC reads wrong colours).
class ScreenDC {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() { ReleaseDC(nullptr, dc_); }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  COLORREF operator()(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
};

// A shell link object, COM initialised for as long as it lives.
class ShellLink {
 public:
  ShellLink() {
    com_ = SUCCEEDED(CoInitialize(nullptr));
    if (com_ && FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkW, reinterpret_cast<void**>(&link_))))
      link_ = nullptr;
  }
  ~ShellLink() {
    if (file_) file_->Release();
    if (link_) link_->Release();
    if (com_) CoUninitialize();
  }
  ShellLink(const ShellLink&) = delete;
  ShellLink& operator=(const ShellLink&) = delete;
  bool com() const { return com_; }
  IShellLinkW* link() const { return link_; }
  IPersistFile* file() {
    if (!file_ && link_ &&
        FAILED(link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_))))
      file_ = nullptr;
    return file_;
  }

 private:
  bool com_ = false;
  IShellLinkW* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

}  // namespace

// ---- the task bar ----

int CmdTray(const Args&) {
  Out(TrayShown());
  return 0;
}

int CmdWaitTray(const Args& a) { return WaitFor(TrayShown, a[0], Ms(a[1])); }

int CmdTrayIcon(const Args&) {
  // The icons are drawn in solid colours: count the pixels of each over
  // the task bar.
  HWND t = TrayWindow();
  RECT r{};
  if (!t || !IsWindowVisible(t) || !GetWindowRect(t, &r)) {
    Out(L"none");
    return 0;
  }
  int blue = 0, green = 0;
  {
    ScreenDC pixel;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        COLORREF c = pixel(x, y);
        const int R = GetRValue(c), G = GetGValue(c), B = GetBValue(c);
        if (R < 80 && G >= 60 && G < 140 && B > 180) ++blue;
        if (R < 80 && G > 160 && B < 100) ++green;
      }
  }
  Out(blue > 20 && blue > green ? L"1" : green > 20 ? L"2" : L"none");
  return 0;
}

int CmdTaskbar(const Args&) {
  // The task bar's window buttons are children of the tray window.
  HWND t = TrayWindow();
  if (!t) return 1;
  EnumChildWindows(t, PrintButtonText, 0);
  return 0;
}

// ---- monitors, the work area, desktop toolbars ----

int CmdMonitors(const Args&) {
  EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
  return 0;
}

int CmdWorkArea(const Args&) {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  Out(RectText(r));
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
  Out(RectText(mi.rcWork));
  return 0;
}

int CmdAppBarTop(const Args& a) {
  const int h = Int(a[0]);
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

// ---- the screen ----

int CmdInk(const Args& a) {
  RECT r{};
  HWND c = Control(a[0], a[1]);
  if (!c || !GetWindowRect(c, &r)) return 1;
  int dark = 0, light = 0;
  {
    ScreenDC pixel;
    for (LONG y = r.top + 2; y < r.bottom - 2; y += 2)
      for (LONG x = r.left + 2; x < r.left + (r.right - r.left) * 3 / 4; x += 2) {
        const COLORREF p = pixel(x, y);
        if (p == CLR_INVALID) continue;
        const int lum = (GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3;
        if (lum < 96) ++dark;
        else if (lum > 192) ++light;
      }
  }
  Out(std::to_wstring(dark) + L" " + std::to_wstring(light));
  return 0;
}

int CmdPixel(const Args& a) {
  COLORREF c;
  {
    ScreenDC pixel;
    c = pixel(Int(a[0]), Int(a[1]));
  }
  Out(std::to_wstring(GetRValue(c)) + L" " + std::to_wstring(GetGValue(c)) + L" " +
      std::to_wstring(GetBValue(c)));
  return 0;
}

// ---- the registry (HKEY_CLASSES_ROOT) ----

int CmdRegKey(const Args& a) {
  HKEY k;
  bool ok = RegOpenKeyExW(HKEY_CLASSES_ROOT, a[0].c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS;
  if (ok) RegCloseKey(k);
  OutFlag(ok);
  return 0;
}

int CmdRegValue(const Args& a) {
  HKEY k;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, a[0].c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 1;
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

// ---- shell links ----

int CmdShortcut(const Args& a) {
  wchar_t target[MAX_PATH] = {}, dir[MAX_PATH] = {};
  bool ok;
  {
    ShellLink s;
    if (!s.com()) return 1;
    ok = s.link() && s.file() && SUCCEEDED(s.file()->Load(a[0].c_str(), STGM_READ)) &&
         SUCCEEDED(s.link()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
         SUCCEEDED(s.link()->GetWorkingDirectory(dir, MAX_PATH));
  }
  if (!ok) return 1;
  Out(target);
  Out(dir);
  return 0;
}

int CmdMakeShortcut(const Args& a) {
  ShellLink s;
  if (!s.com()) return 1;
  return s.link() && SUCCEEDED(s.link()->SetPath(a[1].c_str())) &&
                 SUCCEEDED(s.link()->SetWorkingDirectory(a[2].c_str())) && s.file() &&
                 SUCCEEDED(s.file()->Save(a[0].c_str(), TRUE))
             ? 0
             : 1;
}

// ---- processes ----

int CmdRunWait(const Args& a) {
  PROCESS_INFORMATION pi;
  if (!Start(a[0], a[1], &pi)) return 1;
  DWORD waited = WaitForSingleObject(pi.hProcess, Ms(a[2]));
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

int CmdStartTime(const Args& a) {
  const std::wstring& cls = a[2];
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t0);
  PROCESS_INFORMATION pi;
  if (!Start(a[0], a[1], &pi)) return 1;
  DWORD limit = Ms(a[3]);
  int rc = 1;
  for (;;) {
    HWND w = nullptr;
    bool found = false;
    while ((w = FindWindowExW(nullptr, w, cls.c_str(), nullptr)) != nullptr) {
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

// Holds the desktop open. The server closes a virtual desktop one second
// after its last user has gone and refuses it to whoever comes later, so a
// program started right after the previous one ended (and Notepad with
// it) could land in a desktop that was closing. A window only for
// messages makes this thread a user of the desktop; it stays until killed.
int CmdAnchor(const Args&) {
  HWND w = CreateWindowExW(0, L"STATIC", L"sq anchor", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!w) return 1;
  Out(L"ready");
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
  return 0;
}

}  // namespace probe
