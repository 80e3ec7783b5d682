// sqprobe: windows found by class and the controls inside them, found by
// their layout name: reading them, moving them, poking them, waiting for
// them.
#include <windows.h>
#include <commctrl.h>

#include "e2e/probe/probe.h"

namespace probe {

namespace {

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

BOOL CALLBACK PrintTopLevel(HWND w, LPARAM) {
  if (!IsWindowVisible(w)) return TRUE;
  Out(ClassOf(w, 128) + L"\t" + Text(w));
  return TRUE;
}

// Prints 1 or 0 as `test` says of form CLS; exit 1 when there is none.
int FormFlag(const std::wstring& cls, bool (*test)(HWND)) {
  HWND f = Form(cls);
  OutFlag(f && test(f));
  return f ? 0 : 1;
}

// Prints the screen rectangle of a window; exit 1 when there is none.
int PrintRect(HWND h) {
  RECT r{};
  if (!h || !GetWindowRect(h, &r)) return 1;
  Out(RectText(r));
  return 0;
}

int ShowForm(const std::wstring& cls, int how) {
  HWND f = Form(cls);
  if (!f) return 1;
  ShowWindow(f, how);
  return 0;
}

HWND MessageBoxWindow() { return FindWindowW(L"#32770", nullptr); }

std::wstring Exists(const std::wstring& cls) { return Form(cls) ? L"1" : L"0"; }

// Until form CLS's caption passes `accept`, at most MS (a[1]).
int WaitCaptionMatching(const Args& a, bool (*accept)(const std::wstring& v, const std::wstring& t)) {
  return WaitUntil([&] { return Text(Form(a[0])); },
                   [&](const std::wstring& v) {
                     for (size_t i = 2; i < a.size(); ++i)
                       if (accept(v, a[i])) return true;
                     return false;
                   },
                   Ms(a[1]));
}

}  // namespace

// ---- reading ----

int CmdExists(const Args& a) {
  Out(Exists(a[0]));
  return 0;
}

int CmdCount(const Args& a) {
  for (const auto& cls : a) {
    Counter c{cls};
    EnumWindows(CountClass, reinterpret_cast<LPARAM>(&c));
    Out(std::to_wstring(c.n));
  }
  return 0;
}

int CmdCaption(const Args& a) {
  HWND f = Form(a[0]);
  Out(Text(f));
  return f ? 0 : 1;
}

int CmdText(const Args& a) {
  HWND c = Control(a[0], a[1]);
  Out(Text(c));
  return c ? 0 : 1;
}

int CmdItems(const Args& a) {
  HWND c = Control(a[0], a[1]);
  for (const auto& s : Items(c)) Out(s);
  return c ? 0 : 1;
}

int CmdItem(const Args& a) {
  auto items = Items(Control(a[0], a[1]));
  size_t i = static_cast<size_t>(Int(a[2]));
  Out(i < items.size() ? items[i] : L"");
  return i < items.size() ? 0 : 1;
}

int CmdListView(const Args& a) {
  HWND c = Control(a[0], a[1]);
  if (!c) return 1;
  const LONG_PTR style = GetWindowLongPtrW(c, GWL_STYLE);
  const LRESULT ex = SendMessageW(c, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  Out(ClassOf(c, 64) + L" " +
      std::to_wstring(SendMessageW(c, LVM_GETITEMCOUNT, 0, 0)) + L" " +
      ((style & LVS_TYPEMASK) == LVS_REPORT ? L"1 " : L"0 ") +
      ((ex & LVS_EX_FULLROWSELECT) ? L"1 " : L"0 ") +
      std::to_wstring(SendMessageW(c, LVM_GETTOPINDEX, 0, 0)));
  return 0;
}

int CmdLvRows(const Args& a) {
  // The messages carry pointers, so the rows are read through a buffer
  // in the program's memory.
  HWND c = Control(a[0], a[1]);
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

int CmdLbRow(const Args& a) {
  HWND c = Control(a[0], a[1]);
  RECT r{};
  if (!c || SendMessageW(c, LB_GETITEMRECT, static_cast<WPARAM>(Int(a[2])),
                         reinterpret_cast<LPARAM>(&r)) == LB_ERR)
    return 1;
  MapWindowPoints(c, nullptr, reinterpret_cast<POINT*>(&r), 2);
  Out(RectText(r));
  return 0;
}

int CmdHasChild(const Args& a) {
  HWND f = Form(a[0]);
  OutFlag(ChildOfClass(f, a[1]) != nullptr);
  return f ? 0 : 1;
}

int CmdRect(const Args& a) { return PrintRect(Form(a[0])); }

int CmdCRect(const Args& a) { return PrintRect(Control(a[0], a[1])); }

int CmdDpi(const Args& a) {
  HWND f = Form(a[0]);
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

int CmdVisible(const Args& a) {
  return FormFlag(a[0], [](HWND f) { return (GetWindowLongW(f, GWL_STYLE) & WS_VISIBLE) != 0; });
}

int CmdIconic(const Args& a) {
  return FormFlag(a[0], [](HWND f) { return IsIconic(f) != FALSE; });
}

int CmdZoomed(const Args& a) {
  HWND f = Form(a[0]);
  if (!f) return 1;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(f, &wp);
  Out(std::to_wstring(IsZoomed(f) ? 1 : 0) + L" " +
      std::to_wstring((GetWindowLongW(f, GWL_STYLE) & WS_MAXIMIZE) ? 1 : 0) + L" " +
      std::to_wstring(wp.showCmd));
  return 0;
}

int CmdChecked(const Args& a) {
  HWND c = Control(a[0], a[1]);
  OutFlag(c && SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED);
  return c ? 0 : 1;
}

int CmdRgnIn(const Args& a) {
  HWND f = Form(a[0]);
  RECT wr{};
  if (!f || !GetWindowRect(f, &wr)) return 1;
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(f, rgn);
  if (kind == ERROR || kind == NULLREGION) Out(L"none");
  else OutFlag(PtInRegion(rgn, Int(a[1]) - wr.left, Int(a[2]) - wr.top));
  DeleteObject(rgn);
  return 0;
}

int CmdToplevels(const Args&) {
  EnumWindows(PrintTopLevel, 0);
  return 0;
}

int CmdForeground(const Args&) {
  HWND f = GetForegroundWindow();
  Out(ClassOf(f, 128));
  return f ? 0 : 1;
}

int CmdDialog(const Args&) {
  HWND d = MessageBoxWindow();
  if (!d) return 1;
  Out(Text(d));
  for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    std::wstring t = Text(c);
    if (!t.empty()) Out(t);
  }
  return 0;
}

int CmdMsgBox(const Args&) {
  HWND d = MessageBoxWindow();
  if (!d) return 1;
  Out(Text(d));
  HWND t = GetDlgItem(d, 0xFFFF);
  Out(Text(t));
  return t ? 0 : 1;
}

// ---- writing and moving ----

int CmdSetCaption(const Args& a) {
  HWND f = Form(a[0]);
  return f && SetWindowTextW(f, a[1].c_str()) ? 0 : 1;
}

int CmdSetText(const Args& a) {
  // WM_SETTEXT, as another window would send it.
  HWND c = Control(a[0], a[1]);
  if (!c) return 1;
  SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[2].c_str()));
  return 0;
}

int CmdSetCText(const Args& a) {
  HWND c = Control(a[0], a[1]);
  return c && SetWindowTextW(c, a[2].c_str()) ? 0 : 1;
}

int CmdPlace(const Args& a) {
  HWND f = Form(a[0]);
  if (!f) return 1;
  return SetWindowPos(f, HWND_TOPMOST, Int(a[1]), Int(a[2]), Int(a[3]), Int(a[4]),
                      SWP_SHOWWINDOW | SWP_NOACTIVATE) ? 0 : 1;
}

int CmdMove(const Args& a) {
  HWND f = Form(a[0]);
  return f && SetWindowPos(f, nullptr, Int(a[1]), Int(a[2]), Int(a[3]), Int(a[4]),
                           SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
}

int CmdCPlace(const Args& a) {
  HWND c = Control(a[0], a[1]);
  if (!c) return 1;
  return SetWindowPos(c, HWND_TOP, Int(a[2]), Int(a[3]), 0, 0,
                      SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE) ? 0 : 1;
}

int CmdSetLeft(const Args& a) {
  // As the program moves its controls: x in the parent's client area.
  HWND c = Control(a[0], a[1]);
  RECT r{};
  if (!c || !GetWindowRect(c, &r)) return 1;
  MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
  return SetWindowPos(c, nullptr, Int(a[2]), r.top, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
}

int CmdMaximize(const Args& a) { return ShowForm(a[0], SW_MAXIMIZE); }

int CmdRestore(const Args& a) { return ShowForm(a[0], SW_RESTORE); }

int CmdMinimize(const Args& a) {
  HWND f = Form(a[0]);
  return f && ShowWindow(f, SW_MINIMIZE) >= 0 ? 0 : 1;
}

int CmdFocus(const Args& a) {
  HWND f = Form(a[0]);
  return f && SetForegroundWindow(f) ? 0 : 1;
}

int CmdClose(const Args& a) {
  HWND f = Form(a[0]);
  return f && PostMessageW(f, WM_CLOSE, 0, 0) ? 0 : 1;
}

int CmdPostKey(const Args& a) {
  HWND c = Control(a[0], a[1]);
  if (!c) return 1;
  const WPARAM vk = static_cast<WPARAM>(Int(a[2]));
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(vk), 0);
  PostMessageW(c, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | (scan << 16)));
  PostMessageW(c, WM_KEYUP, vk, static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u));
  return 0;
}

int CmdSetCheck(const Args& a) {
  HWND c = Control(a[0], a[1]);
  if (!c) return 1;
  SendMessageW(c, BM_SETCHECK, Int(a[2]) ? BST_CHECKED : BST_UNCHECKED, 0);
  return 0;
}

int CmdClick(const Args& a) {
  HWND c = Control(a[0], a[1]);
  if (!c) return 1;
  SendMessageW(c, BM_CLICK, 0, 0);
  return 0;
}

int CmdBmClick(const Args& a) {
  HWND c = Control(a[0], a[1]);
  return c && PostMessageW(c, BM_CLICK, 0, 0) ? 0 : 1;
}

int CmdDialogOk(const Args&) {
  HWND d = MessageBoxWindow();
  return d && PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) ? 0 : 1;
}

// ---- waits ----

int CmdWaitExists(const Args& a) {
  return WaitFor([&] { return Exists(a[0]); }, L"1", Ms(a[1]));
}

int CmdWaitGone(const Args& a) {
  return WaitFor([&] { return Exists(a[0]); }, L"0", Ms(a[1]));
}

int CmdWaitCaption(const Args& a) {
  return WaitFor([&] { return Text(Form(a[0])); }, a[1], Ms(a[2]));
}

int CmdWaitCaptionIn(const Args& a) {
  return WaitCaptionMatching(a, [](const std::wstring& v, const std::wstring& t) {
    return v == t;
  });
}

int CmdWaitCaptionPrefix(const Args& a) {
  return WaitCaptionMatching(a, [](const std::wstring& v, const std::wstring& t) {
    return v.compare(0, t.size(), t) == 0;
  });
}

int CmdWaitItem(const Args& a) {
  size_t i = static_cast<size_t>(Int(a[2]));
  return WaitFor(
      [&] {
        auto items = Items(Control(a[0], a[1]));
        return i < items.size() ? items[i] : std::wstring();
      },
      a[3], Ms(a[4]));
}

int CmdWaitRect(const Args& a) {
  return WaitFor([&] {
    RECT r{};
    HWND f = Form(a[0]);
    return f && GetWindowRect(f, &r) ? RectText(r) : std::wstring(L"none");
  }, a[1], Ms(a[2]));
}

int CmdCaptionTrace(const Args& a) {
  // MS, then CLASS UNTIL pairs.
  if (a.size() % 2 == 0) return kBadArgs;
  // GetWindowTextW on another process's window reads the text the window
  // manager keeps and sends no message, so it answers while the program
  // is still inside its creation handlers.
  DWORD start = GetTickCount(), ms = Ms(a[0]);
  size_t n = (a.size() - 1) / 2;
  std::vector<std::wstring> last(n);
  std::vector<bool> seen(n, false), done(n, false);
  Out(L"ready");
  for (;;) {
    bool all = true;
    for (size_t i = 0; i < n; ++i) {
      const std::wstring& cls = a[1 + 2 * i];
      if (HWND w = FindWindowW(cls.c_str(), nullptr)) {
        wchar_t buf[512] = L"";
        GetWindowTextW(w, buf, 512);
        if (!seen[i] || last[i] != buf) {
          Out(cls + L": " + buf);
          last[i] = buf;
          seen[i] = true;
        }
        if (last[i] == a[2 + 2 * i]) done[i] = true;
      }
      all = all && done[i];
    }
    if (all) return 0;
    if (GetTickCount() - start >= ms) return 1;
    Sleep(1);
  }
}

}  // namespace probe
