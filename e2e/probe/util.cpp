// sqprobe: the helpers the command handlers share.
#include "e2e/probe/probe.h"

#include <cstring>

namespace probe {

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

Args CommandLine() {
  Args out;
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

std::wstring RectText(const RECT& r) {
  return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
         std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top);
}

std::wstring Text(HWND h) {
  if (!h) return L"";
  LRESULT n = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  LRESULT got = SendMessageW(h, WM_GETTEXT, static_cast<WPARAM>(n + 1),
                             reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<size_t>(got));
  return buf;
}

std::wstring ClassOf(HWND h, int cap) {
  std::wstring cls(static_cast<size_t>(cap), L'\0');
  int n = h ? GetClassNameW(h, cls.data(), cap) : 0;
  cls.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return cls;
}

HWND Form(const std::wstring& cls) { return FindWindowW(cls.c_str(), nullptr); }

namespace {

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

}  // namespace

HWND Control(const std::wstring& cls, const std::wstring& name) {
  HWND f = Form(cls);
  if (!f) return nullptr;
  Search s{name};
  EnumChildWindows(f, MatchName, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND ChildOfClass(HWND parent, const std::wstring& cls) {
  Search s{cls};
  if (parent) EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&s));
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

HWND NotepadEdit() {
  HWND np = FindWindowW(L"Notepad", nullptr);
  return np ? FindWindowExW(np, nullptr, L"Edit", nullptr) : nullptr;
}

HWND TrayWindow() { return FindWindowW(L"Shell_TrayWnd", nullptr); }

void OpenClip() {
  for (int i = 0; i < 20 && !OpenClipboard(nullptr); ++i) Sleep(10);
}

std::wstring Clip() {
  std::wstring out;
  OpenClip();
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
  OpenClip();
  EmptyClipboard();
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(g), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(g);
  bool ok = SetClipboardData(CF_UNICODETEXT, g) != nullptr;
  CloseClipboard();
  return ok;
}

int WaitUntil(const std::function<std::wstring()>& get,
              const std::function<bool(const std::wstring&)>& accept, DWORD ms) {
  DWORD start = GetTickCount();
  std::wstring v;
  for (;;) {
    v = get();
    if (accept(v)) break;
    if (GetTickCount() - start >= ms) {
      Out(v);
      return 1;
    }
    Sleep(20);
  }
  Out(v);
  return 0;
}

int WaitFor(const std::function<std::wstring()>& get, const std::wstring& want, DWORD ms) {
  return WaitUntil(get, [&](const std::wstring& v) { return v == want; }, ms);
}

bool Start(const std::wstring& name, const std::wstring& dir, PROCESS_INFORMATION* pi) {
  std::wstring exe = name;
  bool absolute = exe.size() > 1 && (exe[1] == L':' || exe[0] == L'\\');
  if (!absolute) exe = dir + L"\\" + exe;
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  *pi = PROCESS_INFORMATION{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.c_str(), &si, pi)) {
    Out(L"cannot start, error " + std::to_wstring(GetLastError()));
    return false;
  }
  CloseHandle(pi->hThread);
  return true;
}

}  // namespace probe
