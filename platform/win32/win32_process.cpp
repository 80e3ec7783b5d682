// The process of the Win32 backend: message boxes, the message loop, the
// hook library, other processes and the system's names.
#include "platform/win32/win32_internal.h"

namespace sq {

using namespace w32;

// ---------------------------------------------------------------- process

int Win32Platform::messageBox(Wnd owner, const std::string& text, const std::string& caption,
                              unsigned buttons) {
  forgetGlance();
  startPendingTimers();  // a dialog's loop runs the timers too
  return MessageBoxW(H(owner), Wide(text).c_str(), Wide(caption).c_str(), buttons);
}

int Win32Platform::runMessageLoop() {
  if (TickMarks()) StartMark(L"sqloop");
  startPendingTimers();
  if (StartWaitingBrowsers()) PostMessageW(util_, kAttachBrowserMessage, 0, 0);
  MSG m;
  BOOL r;
  while ((r = GetMessageW(&m, nullptr, 0, 0)) > 0) {
    // What the timer handlers saw is shared only by handlers that run back
    // to back, and across the words of keys (applyWord).
    if (m.message != WM_TIMER && !IsWordMessage(m.message)) forgetGlance();
    // Keys for a page go to its browser control first, which takes the
    // ones it handles itself (Tab between fields, Delete, Ctrl+C, Ctrl+V,
    // Ctrl+A and the like); the window of a page never sees them otherwise.
    if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST && TranslateBrowserKey(m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return r == 0 ? static_cast<int>(m.wParam) : -1;
}
void Win32Platform::postQuit(int code) { PostQuitMessage(code); }
void Win32Platform::exitProcess(int code) { ExitProcess(static_cast<UINT>(code)); }

HookInstall Win32Platform::installHooks(const std::string& library, Wnd input) {
  forgetGlance();
  HMODULE lib = LoadLibraryW(Wide(library).c_str());
  if (!lib) return HookInstall::NoLibrary;
  using Mo = void(__stdcall*)(HWND, int);
  using Kb = void(__stdcall*)(HWND, int, int);
  // Both entry points are looked up before either is called: SetHookmo
  // starts the hooks' thread inside the library, and a library unloaded
  // under a running thread crashes the process at the next input event.
  auto mo = reinterpret_cast<Mo>(reinterpret_cast<void*>(GetProcAddress(lib, "SetHookmo")));
  auto kb = reinterpret_cast<Kb>(reinterpret_cast<void*>(GetProcAddress(lib, "SetHookkb")));
  if (!mo || !kb) {
    FreeLibrary(lib);
    return HookInstall::NoExport;
  }
  mo(H(input), 1);
  kb(H(input), 1, 3);
  hookLib_ = lib;  // kept for the run
  setDrag_ = reinterpret_cast<SetDragFn>(reinterpret_cast<void*>(GetProcAddress(lib, "SetDragScroll")));
  getDrag_ = reinterpret_cast<GetDragFn>(reinterpret_cast<void*>(GetProcAddress(lib, "GetDragScroll")));
  pointerEvents_ = reinterpret_cast<PointerEventsFn>(
      reinterpret_cast<void*>(GetProcAddress(lib, "GetPointerEvents")));
  keyEvents_ = reinterpret_cast<PointerEventsFn>(
      reinterpret_cast<void*>(GetProcAddress(lib, "GetKeyEvents")));
  return HookInstall::Installed;
}

void Win32Platform::setHookMailbox(Mailbox box, Wnd w) {
  const int i = static_cast<int>(box);
  if (i >= 0 && i < 3) mailboxes_[i] = IsWindow(H(w)) ? H(w) : nullptr;
}

std::string Win32Platform::systemString(SystemString which) {
  wchar_t buf[MAX_PATH + 1] = {};
  DWORD n = 256;
  BOOL ok = FALSE;
  switch (which) {
    case SystemString::ComputerName: ok = GetComputerNameW(buf, &n); break;
    case SystemString::UserName: ok = GetUserNameW(buf, &n); break;
    case SystemString::SystemDirectory: ok = GetSystemDirectoryW(buf, MAX_PATH) > 0; break;
    case SystemString::WindowsDirectory: ok = GetWindowsDirectoryW(buf, MAX_PATH) > 0; break;
  }
  return ok ? Gbk(std::wstring(buf)) : std::string();
}

std::string Win32Platform::expandEnvironment(const std::string& text) {
  std::wstring w = Wide(text);
  wchar_t buf[1024] = {};
  const DWORD n = ExpandEnvironmentStringsW(w.c_str(), buf, 1024);
  if (n == 0 || n > 1024) return "";
  std::string out = Gbk(std::wstring(buf));
  if (out.size() > 255) out.resize(255);
  return out;
}

std::vector<ProcessImage> Win32Platform::processImages(const std::vector<unsigned>& pids) {
  std::vector<ProcessImage> out;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return out;
  PROCESSENTRY32W pe{};
  pe.dwSize = sizeof pe;
  for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) {
    if (std::find(pids.begin(), pids.end(), pe.th32ProcessID) == pids.end()) continue;
    ProcessImage im;
    im.pid = pe.th32ProcessID;
    im.exeName = Gbk(pe.szExeFile);
    // The module whose file name is the executable's is the program file.
    HANDLE mods = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pe.th32ProcessID);
    if (mods != INVALID_HANDLE_VALUE) {
      im.modulesListed = true;
      MODULEENTRY32W me{};
      me.dwSize = sizeof me;
      for (BOOL m = Module32FirstW(mods, &me); m; m = Module32NextW(mods, &me)) {
        wchar_t full[MAX_PATH];
        wchar_t* name = nullptr;
        const DWORD n = GetFullPathNameW(me.szExePath, MAX_PATH, full, &name);
        if (n == 0 || n >= MAX_PATH || !name) continue;
        if (lstrcmpiW(name, pe.szExeFile) == 0) {
          im.mainModule = Gbk(full);
          break;
        }
      }
      CloseHandle(mods);
    }
    out.push_back(im);
  }
  CloseHandle(snap);
  return out;
}

}  // namespace sq
