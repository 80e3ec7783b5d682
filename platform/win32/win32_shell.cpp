// Shell, registry, screen and files of the Win32 backend.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

#include "platform/win32/gbk.h"
#include "platform/win32/win32_platform.h"

#include <algorithm>

namespace sq {

using w32::Gbk;
using w32::Wide;

namespace {
HWND H(Wnd w) { return reinterpret_cast<HWND>(w); }

NOTIFYICONDATAW TrayData(const TrayIcon& t, HINSTANCE inst) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = H(t.owner);
  nid.uID = t.id;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = Win32Platform::kTrayCallback;
  // The state's icon from the program's resources, at the small size.
  nid.hIcon = t.icon > 0 ? static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(t.icon), IMAGE_ICON,
                                                          GetSystemMetrics(SM_CXSMICON),
                                                          GetSystemMetrics(SM_CYSMICON), LR_SHARED))
                         : nullptr;
  if (!nid.hIcon) nid.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  std::wstring tip = Wide(t.tip);
  if (tip.size() > 127) tip.resize(127);
  wcscpy(nid.szTip, tip.c_str());
  return nid;
}
}  // namespace

// ---------------------------------------------------------------- shell

bool Win32Platform::trayAdd(const TrayIcon& icon) {
  forgetGlance();
  NOTIFYICONDATAW nid = TrayData(icon, inst_);
  return Shell_NotifyIconW(NIM_ADD, &nid);
}
bool Win32Platform::trayModify(const TrayIcon& icon) {
  forgetGlance();
  NOTIFYICONDATAW nid = TrayData(icon, inst_);
  return Shell_NotifyIconW(NIM_MODIFY, &nid);
}
bool Win32Platform::trayDelete(Wnd owner, unsigned id) {
  forgetGlance();
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = H(owner);
  nid.uID = id;
  return Shell_NotifyIconW(NIM_DELETE, &nid);
}

bool Win32Platform::appBarNew(Wnd w) {
  forgetGlance();
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = H(w);
  abd.uCallbackMessage = kAppBarCallback;
  return SHAppBarMessage(ABM_NEW, &abd) != 0;
}
bool Win32Platform::appBarSetPos(Wnd w, int edge, const Rect& r) {
  forgetGlance();
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = H(w);
  abd.uEdge = static_cast<UINT>(edge);
  abd.rc = {r.left, r.top, r.right(), r.bottom()};
  SHAppBarMessage(ABM_QUERYPOS, &abd);
  return SHAppBarMessage(ABM_SETPOS, &abd) != 0;
}
bool Win32Platform::appBarRemove(Wnd w) {
  forgetGlance();
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = H(w);
  return SHAppBarMessage(ABM_REMOVE, &abd) != 0;
}
Rect Win32Platform::taskbarRect() {
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  if (!SHAppBarMessage(ABM_GETTASKBARPOS, &abd)) return {};
  return {abd.rc.left, abd.rc.top, abd.rc.right - abd.rc.left, abd.rc.bottom - abd.rc.top};
}

int Win32Platform::shellExecute(Wnd owner, const std::string& verb, const std::string& file,
                                const std::string& params, const std::string& dir, int show) {
  forgetGlance();
  ensureOle();
  std::wstring v = Wide(verb), f = Wide(file), p = Wide(params), d = Wide(dir);
  HINSTANCE r = ShellExecuteW(H(owner), verb.empty() ? nullptr : v.c_str(), f.c_str(),
                              params.empty() ? nullptr : p.c_str(),
                              dir.empty() ? nullptr : d.c_str(), show);
  return static_cast<int>(reinterpret_cast<INT_PTR>(r));
}

std::optional<std::string> Win32Platform::specialFolder(int csidl) {
  wchar_t buf[MAX_PATH];
  if (!SHGetSpecialFolderPathW(nullptr, buf, csidl, FALSE)) return std::nullopt;
  return Gbk(buf);
}

bool Win32Platform::createShellLink(const std::string& linkPath, const ShellLink& link) {
  ensureOle();
  IShellLinkW* sl = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&sl))))
    return false;
  sl->SetPath(Wide(link.target).c_str());
  sl->SetArguments(Wide(link.arguments).c_str());
  sl->SetWorkingDirectory(Wide(link.workingDir).c_str());
  sl->SetDescription(Wide(link.description).c_str());
  sl->SetShowCmd(link.showCommand);
  if (!link.iconPath.empty()) sl->SetIconLocation(Wide(link.iconPath).c_str(), link.iconIndex);
  bool ok = false;
  IPersistFile* pf = nullptr;
  if (SUCCEEDED(sl->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf)))) {
    ok = SUCCEEDED(pf->Save(Wide(linkPath).c_str(), TRUE));
    pf->Release();
  }
  sl->Release();
  return ok;
}

std::uintptr_t Win32Platform::fileIcon(const std::string& path) {
  ensureOle();
  // Icons are kept for the run: the window switcher asks for the same few
  // program files on every refresh.
  auto it = icons_.find(path);
  if (it != icons_.end()) return reinterpret_cast<std::uintptr_t>(it->second);
  SHFILEINFOW sfi{};
  HICON icon = nullptr;
  if (SHGetFileInfoW(Wide(path).c_str(), 0, &sfi, sizeof sfi, SHGFI_ICON | SHGFI_SMALLICON))
    icon = sfi.hIcon;
  icons_[path] = icon;
  return reinterpret_cast<std::uintptr_t>(icon);
}

// ---------------------------------------------------------------- registry

bool Win32Platform::regSetValue(const std::string& key, const std::string& name,
                                const std::string& value) {
  HKEY k;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, Wide(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    return false;
  std::wstring n = Wide(name), v = Wide(value);
  LONG r = RegSetValueExW(k, name.empty() ? nullptr : n.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(v.c_str()),
                          static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
  return r == ERROR_SUCCESS;
}

bool Win32Platform::regDeleteKey(const std::string& key) {
  // Fails while the key has subkeys, as the system call does.
  return RegDeleteKeyW(HKEY_CLASSES_ROOT, Wide(key).c_str()) == ERROR_SUCCESS;
}

// ---------------------------------------------------------------- screen

int Win32Platform::screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int Win32Platform::screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
int Win32Platform::getPixel(Point p) {
  // Through the screen DC: another program's window DC gives wrong colours
  // under Wine.
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  return c == CLR_INVALID ? -1 : static_cast<int>(c);
}

namespace {
struct MonitorList {
  std::vector<Monitor>* out;
  HRESULT(WINAPI* dpiFor)(HMONITOR, int, UINT*, UINT*);
  int systemDpi;
};

BOOL CALLBACK CollectMonitor(HMONITOR m, HDC, LPRECT, LPARAM lp) {
  auto* list = reinterpret_cast<MonitorList*>(lp);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(m, &mi)) return TRUE;
  Monitor out;
  const RECT& r = mi.rcMonitor;
  const RECT& w = mi.rcWork;
  out.rect = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  out.work = {w.left, w.top, w.right - w.left, w.bottom - w.top};
  out.primary = (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
  UINT dx = 0, dy = 0;
  // MDT_EFFECTIVE_DPI (0); without shcore (before Windows 8.1) every
  // monitor has the system DPI.
  if (list->dpiFor && SUCCEEDED(list->dpiFor(m, 0, &dx, &dy)) && dx > 0)
    out.dpi = static_cast<int>(dx);
  else
    out.dpi = list->systemDpi;
  list->out->push_back(out);
  return TRUE;
}
}  // namespace

std::vector<Monitor> Win32Platform::monitors() {
  // Asked several times a tick: kept for two seconds (each ask costs Wine
  // a dozen server round trips), and dropped at once when a window hears
  // of a display or DPI change.
  const DWORD now = GetTickCount();
  if (monitorsValid_ && now - monitorsAt_ < 2000) return monitors_;
  using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const DpiForMonitor dpiFor = [] {
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    return shcore ? reinterpret_cast<DpiForMonitor>(
                        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  HDC dc = GetDC(nullptr);
  const int systemDpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  std::vector<Monitor> out;
  MonitorList list{&out, dpiFor, systemDpi};
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&list));
  std::stable_partition(out.begin(), out.end(), [](const Monitor& m) { return m.primary; });
  monitors_ = out;
  monitorsAt_ = now;
  monitorsValid_ = true;
  return out;
}

// ---------------------------------------------------------------- files

std::string Win32Platform::currentDirectory() {
  wchar_t buf[MAX_PATH];
  DWORD n = GetCurrentDirectoryW(MAX_PATH, buf);
  return Gbk(buf, static_cast<int>(n));
}
std::vector<std::string> Win32Platform::listFiles(const std::string& dir, std::size_t max) {
  std::vector<std::string> out;
  WIN32_FIND_DATAW fd{};
  HANDLE h = FindFirstFileW(Wide(dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(Gbk(fd.cFileName));
  } while (out.size() < 4 * max + 64 && FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(out.begin(), out.end());
  if (out.size() > max) out.resize(max);
  return out;
}

bool Win32Platform::fileExists(const std::string& name) {
  DWORD a = GetFileAttributesW(Wide(name).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
namespace {
// Reads up to `maxBytes` of an open file; Failed on any read error.
Platform::ReadResult ReadHandle(HANDLE h, std::size_t maxBytes, std::string& out) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h, &size) || size.QuadPart < 0) return Platform::ReadResult::Failed;
  const unsigned long long total = static_cast<unsigned long long>(size.QuadPart);
  const std::size_t want = total > maxBytes ? maxBytes : static_cast<std::size_t>(total);
  out.resize(want);
  std::size_t got = 0;
  while (got < want) {
    DWORD chunk = static_cast<DWORD>(want - got > (1u << 20) ? (1u << 20) : want - got);
    DWORD n = 0;
    if (!ReadFile(h, out.data() + got, chunk, &n, nullptr) || n == 0) {
      out.clear();
      return Platform::ReadResult::Failed;
    }
    got += n;
  }
  return total > maxBytes ? Platform::ReadResult::Partial : Platform::ReadResult::Whole;
}
}  // namespace

Platform::ReadResult Win32Platform::readFileUpTo(const std::string& name, std::size_t maxBytes,
                                                 std::string& out) {
  out.clear();
  HANDLE h = CreateFileW(Wide(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ReadResult::Failed;
  ReadResult r = ReadHandle(h, maxBytes, out);
  CloseHandle(h);
  return r;
}

bool Win32Platform::writeFile(const std::string& name, const std::string& data) {
  // The new content goes to a temporary file beside the target, is flushed
  // to the disk, and then takes the target's place in one step: a crash at
  // any moment leaves either the old file or the new one, whole.
  const std::wstring target = Wide(name);
  const std::wstring tmp = target + L".sq~";
  HANDLE h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < data.size()) {
    DWORD chunk = static_cast<DWORD>(data.size() - done > (1u << 20) ? (1u << 20)
                                                                     : data.size() - done);
    DWORD n = 0;
    ok = WriteFile(h, data.data() + done, chunk, &n, nullptr) && n == chunk;
    done += n;
  }
  ok = ok && FlushFileBuffers(h);
  ok = CloseHandle(h) && ok;
  if (ok)
    ok = MoveFileExW(tmp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) DeleteFileW(tmp.c_str());
  return ok;
}

bool Win32Platform::deleteFile(const std::string& name) {
  return DeleteFileW(Wide(name).c_str()) != 0;
}

}  // namespace sq
