// Windows, controls, input, clipboard, timers and the process of the Win32
// backend. Shell, registry, files and the browser are in their own files.
#include "platform/win32/win32_platform.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

#include "hook/hookmsg.h"
#include "platform/lines.h"
#include "platform/win32/gbk.h"

namespace sq {

using w32::Gbk;
using w32::Wide;

namespace {

Win32Platform* g_self = nullptr;

// What the core asked of the backend since the running timer handler
// began, for the tick marks (TickMark).
struct CallCounts {
  unsigned textRead = 0, textWrite = 0, fromPoint = 0, parent = 0, listRead = 0,
           listWrite = 0, onScreen = 0;
  // Of those, what reached the system: texts read and written, list items
  // read, list changes.
  unsigned textReadSys = 0, textWriteSys = 0, listReadSys = 0, listWriteSys = 0;
};
CallCounts g_calls;
bool TickMarks();
void StartMark(const std::wstring& what);

constexpr wchar_t kPanelClass[] = L"SqPanel";
constexpr wchar_t kUtilClass[] = L"SqUtil";
// Window property holding the control's layout name as a global atom, so a
// test probe in another process can find a control by its name.
constexpr wchar_t kNameProp[] = L"sqname";

HWND H(Wnd w) { return reinterpret_cast<HWND>(w); }
Wnd W(HWND h) { return reinterpret_cast<Wnd>(h); }

bool IsListKind(Kind k) { return k == Kind::ListBox || k == Kind::ListView; }
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

// Changes a list that shows nothing without repainting it (a visible list
// only: redraw is switched back on afterwards).
template <class F>
void QuietlyIfUnseen(HWND h, F change) {
  const bool quiet = IsWindowVisible(h) && !ShowsOnScreen(h);
  if (quiet) SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  change();
  if (quiet) SendMessageW(h, WM_SETREDRAW, TRUE, 0);
}
// Redraw off for WM_SETREDRAW also takes the visible style away; the
// control stays visible to everyone who asks.
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

}  // namespace

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

// ---------------------------------------------------------------- windows

Wnd Win32Platform::createWindow(const WindowSpec& s) {
  forgetGlance();
  Info in;
  in.kind = s.kind;
  in.color = s.color;
  in.fontColor = s.fontColor;
  in.align = s.align;
  in.fontName = s.fontName;
  in.fontSize = s.fontSize;
  if (s.color >= 0) in.brush = CreateSolidBrush(static_cast<COLORREF>(s.color));
  std::wstring caption = Wide(s.caption);
  HWND h = nullptr;

  if (s.parent == 0) {
    in.topLevel = true;
    in.className = s.className.empty() ? std::string("SqForm") : s.className;
    std::wstring cls = Wide(in.className);
    if (TickMarks()) StartMark(L"sqform " + cls);
    registerClass(cls);
    DWORD style = (s.borderless ? WS_POPUP : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN;
    if (!s.enabled) style |= WS_DISABLED;
    // No task-bar buttons: tool windows, owned by the hidden utility window
    // (a shell that ignores the tool-window style still skips owned windows).
    DWORD ex = WS_EX_TOOLWINDOW | (s.topmost ? WS_EX_TOPMOST : 0);
    h = CreateWindowExW(ex, cls.c_str(), caption.c_str(), style, s.bounds.left, s.bounds.top,
                        s.bounds.width, s.bounds.height, util_, nullptr, inst_, nullptr);
    if (!h) {
      if (in.brush) DeleteObject(in.brush);
      return 0;
    }
    infos_[h] = in;
    if (s.visible) ShowWindow(h, SW_SHOWNA);
  } else {
    const wchar_t* cls = kPanelClass;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    switch (s.kind) {
      case Kind::Button: cls = L"BUTTON"; style |= BS_PUSHBUTTON; break;
      case Kind::CheckBox: cls = L"BUTTON"; style |= BS_AUTOCHECKBOX; break;
      case Kind::RadioButton: cls = L"BUTTON"; style |= BS_AUTORADIOBUTTON; break;
      case Kind::Edit:
        cls = L"EDIT";
        style |= ES_AUTOHSCROLL | (s.readOnly ? ES_READONLY : 0);
        ex = WS_EX_CLIENTEDGE;
        break;
      case Kind::Memo:
        cls = L"EDIT";
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
        ex = WS_EX_CLIENTEDGE;
        break;
      case Kind::ListView:
        // Report view, one column, no header: a row per window, its small
        // icon and caption; the control owns its image list.
        cls = WC_LISTVIEWW;
        style |= LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
        ex = WS_EX_CLIENTEDGE;
        break;
      case Kind::ListBox:
        cls = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
        ex = WS_EX_CLIENTEDGE;
        break;
      default: style |= WS_CLIPCHILDREN; break;  // painted by this backend
    }
    if (s.visible) style |= WS_VISIBLE;
    if (!s.enabled) style |= WS_DISABLED;
    std::wstring text = caption;
    if (s.kind == Kind::Memo && !s.items.empty()) text = Wide(JoinLines(s.items));
    if (IsListKind(s.kind)) text.clear();
    h = CreateWindowExW(ex, cls, text.c_str(), style, s.bounds.left, s.bounds.top,
                        s.bounds.width, s.bounds.height, H(s.parent),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId_++)), inst_,
                        nullptr);
    if (!h) {
      if (in.brush) DeleteObject(in.brush);
      return 0;
    }
    infos_[h] = in;
    // Windows puts a new child below its older siblings; a layout's later
    // control lies above the earlier ones, so it goes to the top.
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (cls != kPanelClass) {
      // A system control: its messages pass through WindowProc first, so
      // its mouse and key events reach the core like a panel's.
      infos_[h].orig = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
    }
    if (s.kind == Kind::ListView) {
      SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
      RECT rc{};
      GetClientRect(h, &rc);
      LVCOLUMNW col{};
      col.mask = LVCF_WIDTH;
      col.cx = rc.right - rc.left;
      SendMessageW(h, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
      HIMAGELIST il = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                       ILC_COLOR32 | ILC_MASK, 8, 8);
      SendMessageW(h, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(il));
      if (s.color >= 0) {
        SendMessageW(h, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(s.color));
        SendMessageW(h, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(s.color));
      }
      if (s.fontColor >= 0) SendMessageW(h, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(s.fontColor));
    }
    if (IsListKind(s.kind))
      for (const std::string& item : s.items) listInsert(W(h), -1, item);
    if (s.kind == Kind::CheckBox || s.kind == Kind::RadioButton)
      SendMessageW(h, BM_SETCHECK, s.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font(s.fontName, s.fontSize, s.dpi)),
               FALSE);
  if (!s.name.empty()) {
    ATOM a = GlobalAddAtomW(Wide(s.name).c_str());
    if (a) SetPropW(h, kNameProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(a)));
  }
  return W(h);
}

void Win32Platform::setFontDpi(Wnd w, int dpi) {
  Info* in = info(H(w));
  if (!in) return;
  SendMessageW(H(w), WM_SETFONT, reinterpret_cast<WPARAM>(font(in->fontName, in->fontSize, dpi)),
               TRUE);
}

void Win32Platform::destroyWindow(Wnd w) {
  forgetGlance();
  if (!w || !IsWindow(H(w))) return;
  // Every window of the tree forgets its record in WM_NCDESTROY; whatever
  // is left (a window destroyed before its record was made) goes here.
  std::vector<HWND> all{H(w)};
  EnumChildWindows(
      H(w),
      CollectChild,
      reinterpret_cast<LPARAM>(&all));
  DestroyWindow(H(w));
  for (HWND h : all) {
    auto it = infos_.find(h);
    if (it == infos_.end()) continue;
    if (it->second.brush) DeleteObject(it->second.brush);
    infos_.erase(it);
  }
}
bool Win32Platform::isWindow(Wnd w) { return w && IsWindow(H(w)); }
bool Win32Platform::KeepsText(const Info& in) {
  // Edits change their text as the user types, without WM_SETTEXT; lists
  // have no text of their own.
  switch (in.kind) {
    case Kind::Edit: case Kind::Memo: case Kind::ListBox: case Kind::ListView:
    case Kind::Browser: case Kind::Other:
      return false;
    default:
      return true;
  }
}

const std::wstring* Win32Platform::keptText(HWND h) {
  Info* in = info(h);
  if (!in || !KeepsText(*in)) return nullptr;
  if (!in->textKnown) {
    std::wstring now = w32::WindowTextW(h);
    in = info(h);  // the read ran the window procedure
    if (!in) return nullptr;
    in->text = std::move(now);
    in->textKnown = true;
  }
  return &in->text;
}

std::string Win32Platform::getWindowText(Wnd w) {
  ++g_calls.textRead;
  if (!w) return "";
  if (const std::wstring* t = keptText(H(w))) return Gbk(*t);
  return w32::WindowText(H(w));
}
std::string Win32Platform::getWindowTextUpTo(Wnd w, std::size_t maxBytes) {
  ++g_calls.textRead;
  if (!w) return "";
  if (const std::wstring* t = keptText(H(w))) return w32::TextUpTo(t->c_str(), t->size(), maxBytes);
  return w32::WindowTextUpTo(H(w), maxBytes);
}
void Win32Platform::setWindowText(Wnd w, const std::string& text) {
  ++g_calls.textWrite;
  if (!w) return;
  const std::wstring t = Wide(text);
  // A text the window already has is not written again: no message, no
  // repaint, no server call; no reader can tell.
  if (const std::wstring* now = keptText(H(w)); now && *now == t) return;
  Info* in = info(H(w));
  // The system's edits and buttons repaint themselves on a new text; one
  // that shows nothing on the screen is left unpainted until it is exposed.
  if (in && !in->topLevel && in->kind != Kind::Panel && in->kind != Kind::Label)
    QuietlyIfUnseen(H(w), [&] { SetWindowTextW(H(w), t.c_str()); });
  else
    SetWindowTextW(H(w), t.c_str());
}
void Win32Platform::setTextAlign(Wnd w, TextAlign align) {
  Info* in = info(H(w));
  if (!in || in->align == align) return;
  in->align = align;
  InvalidateRect(H(w), nullptr, TRUE);
}
std::string Win32Platform::getClassName(Wnd w) {
  if (handlerDepth_ > 0)
    for (const auto& [h, cls] : glance_.classes)
      if (h == w) return cls;
  wchar_t buf[256];
  int n = w ? GetClassNameW(H(w), buf, 256) : 0;
  std::string cls = n > 0 ? Gbk(buf, n) : "";
  if (handlerDepth_ > 0 && w) glance_.classes.emplace_back(w, cls);
  return cls;
}

Rect Win32Platform::getWindowRect(Wnd w) {
  RECT r{};
  if (!w || !GetWindowRect(H(w), &r)) return {};
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
Rect Win32Platform::getClientScreenRect(Wnd w) {
  RECT r{};
  if (!w || !GetClientRect(H(w), &r)) return {};
  POINT o{0, 0};
  if (!ClientToScreen(H(w), &o)) return {};
  return {o.x, o.y, r.right - r.left, r.bottom - r.top};
}
Rect Win32Platform::getBounds(Wnd w) {
  RECT r{};
  if (!w || !GetWindowRect(H(w), &r)) return {};
  HWND parent = (GetWindowLongW(H(w), GWL_STYLE) & WS_CHILD) ? GetParent(H(w)) : nullptr;
  if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
void Win32Platform::setBounds(Wnd w, const Rect& r) {
  forgetGlance();
  if (w)
    SetWindowPos(H(w), nullptr, r.left, r.top, r.width, r.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
void Win32Platform::showWindow(Wnd w, bool show) {
  forgetGlance();
  // Showing never activates: the program works for whatever window has the
  // focus; an explicit setForegroundWindow activates.
  if (w) ShowWindow(H(w), show ? SW_SHOWNA : SW_HIDE);
}
bool Win32Platform::isWindowVisible(Wnd w) {
  return w && IsWindow(H(w)) && (GetWindowLongW(H(w), GWL_STYLE) & WS_VISIBLE) != 0;
}
void Win32Platform::enableWindow(Wnd w, bool enable) {
  forgetGlance();
  if (w) EnableWindow(H(w), enable);
}
bool Win32Platform::isWindowEnabled(Wnd w) { return w && IsWindowEnabled(H(w)); }

void Win32Platform::setWindowPos(Wnd w, ZOrder z, const Rect& r, unsigned flags) {
  forgetGlance();
  if (!w) return;
  HWND after = nullptr;
  switch (z) {
    case ZOrder::Keep: flags |= SWP_NOZORDER; break;
    case ZOrder::Top: after = HWND_TOP; break;
    case ZOrder::TopMost: after = HWND_TOPMOST; break;
    case ZOrder::NoTopMost: after = HWND_NOTOPMOST; break;
    case ZOrder::Bottom: after = HWND_BOTTOM; break;
  }
  SetWindowPos(H(w), after, r.left, r.top, r.width, r.height, flags);
}
bool Win32Platform::bringWindowToTop(Wnd w) {
  forgetGlance();
  return w && BringWindowToTop(H(w));
}
bool Win32Platform::setForegroundWindow(Wnd w) {
  forgetGlance();
  return w && SetForegroundWindow(H(w));
}
Wnd Win32Platform::setActiveWindow(Wnd w) {
  forgetGlance();
  return W(SetActiveWindow(H(w)));
}
Wnd Win32Platform::getForegroundWindow() {
  if (handlerDepth_ > 0 && glance_.foregroundKnown) return glance_.foreground;
  const Wnd w = W(GetForegroundWindow());
  if (handlerDepth_ > 0) {
    glance_.foregroundKnown = true;
    glance_.foreground = w;
  }
  return w;
}
Wnd Win32Platform::getParent(Wnd w) {
  ++g_calls.parent;
  if (!w) return 0;
  HWND p = GetParent(H(w));
  // The hidden owner of the program's forms is not a parent the core sees.
  return p == util_ ? 0 : W(p);
}
bool Win32Platform::isChild(Wnd parent, Wnd w) { return parent && w && IsChild(H(parent), H(w)); }
Wnd Win32Platform::windowFromPoint(Point p) {
  ++g_calls.fromPoint;
  if (handlerDepth_ > 0)
    for (const auto& [at, w] : glance_.under)
      if (at == p) return w;
  const Wnd w = W(WindowFromPoint(POINT{p.x, p.y}));
  if (handlerDepth_ > 0) glance_.under.emplace_back(p, w);
  return w;
}
Wnd Win32Platform::getTopWindow() { return W(GetTopWindow(nullptr)); }

std::vector<Wnd> Win32Platform::enumWindows() {
  std::vector<Wnd> out;
  EnumWindows(
      CollectTop,
      reinterpret_cast<LPARAM>(&out));
  return out;
}

Wnd Win32Platform::findWindow(const std::string& className,
                              const std::optional<std::string>& caption) {
  const bool byClass = !caption && !className.empty() && handlerDepth_ > 0;
  if (byClass)
    for (const auto& [cls, w] : glance_.found)
      if (cls == className) return w;
  std::wstring cls = Wide(className), cap = caption ? Wide(*caption) : L"";
  const Wnd w = W(FindWindowW(className.empty() ? nullptr : cls.c_str(),
                              caption ? cap.c_str() : nullptr));
  if (byClass) glance_.found.emplace_back(className, w);
  return w;
}

bool Win32Platform::setWindowRgnFromPicture(Wnd w, int width, int height,
                                            const std::vector<int>& pixels, int key) {
  forgetGlance();
  if (!w || !IsWindow(H(w)) || width < 0 || height < 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return false;
  // One rectangle per run of inside pixels on a row, joined.
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  for (int y = 0; y < height; ++y) {
    const int* row = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width;) {
      if (row[x] == key) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < width && row[x] != key) ++x;
      HRGN run = CreateRectRgn(start, y, x, y + 1);
      CombineRgn(rgn, rgn, run, RGN_OR);
      DeleteObject(run);
    }
  }
  if (!SetWindowRgn(H(w), rgn, TRUE)) {
    DeleteObject(rgn);
    return false;
  }
  return true;  // the system owns the region from here on
}

bool Win32Platform::setPicture(Wnd w, int width, int height, const std::vector<int>& pixels) {
  Info* in = w ? info(H(w)) : nullptr;
  if (!in || width < 0 || height < 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return false;
  in->picture = pixels;
  in->pictureWidth = width;
  in->pictureHeight = height;
  InvalidateRect(H(w), nullptr, TRUE);
  return true;
}

void Win32Platform::closeWindow(Wnd w) {
  forgetGlance();
  if (w) PostMessageW(H(w), WM_CLOSE, 0, 0);
}
WindowState Win32Platform::windowState(Wnd w) {
  WindowState s;
  if (!w || !IsWindow(H(w))) return s;
  const LONG_PTR ex = GetWindowLongPtrW(H(w), GWL_EXSTYLE);
  s.minimized = IsIconic(H(w)) != FALSE;
  s.toolWindow = (ex & WS_EX_TOOLWINDOW) != 0;
  s.appWindow = (ex & WS_EX_APPWINDOW) != 0;
  s.topmost = (ex & WS_EX_TOPMOST) != 0;
  s.exStyle = static_cast<unsigned>(ex);
  s.maximized = IsZoomed(H(w)) != FALSE;
  return s;
}

void Win32Platform::restoreWindow(Wnd w) {
  forgetGlance();
  if (w) ShowWindow(H(w), SW_RESTORE);
}

unsigned Win32Platform::windowProcessId(Wnd w) {
  DWORD pid = 0;
  if (w) GetWindowThreadProcessId(H(w), &pid);
  return pid;
}
void Win32Platform::setFocus(Wnd w) {
  forgetGlance();
  SetFocus(H(w));
}

// ---------------------------------------------------------------- controls

std::vector<std::string> Win32Platform::memoLines(HWND h) {
  return SplitLines(w32::WindowText(h));
}
void Win32Platform::setMemoLines(HWND h, const std::vector<std::string>& lines) {
  SetWindowTextW(h, Wide(JoinLines(lines)).c_str());
}

const std::vector<std::string>* Win32Platform::keptItems(HWND h) {
  Info* in = info(h);
  if (!in || in->kind != Kind::ListBox) return nullptr;
  if (!in->itemsKnown) {
    std::vector<std::string> items;
    const LRESULT n = SendMessageW(h, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      const LRESULT len = SendMessageW(h, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
      if (len == LB_ERR) return nullptr;
      std::wstring buf(static_cast<size_t>(len) + 1, L'\0');
      const LRESULT got =
          SendMessageW(h, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf.data()));
      items.push_back(got == LB_ERR ? "" : Gbk(buf.c_str(), static_cast<int>(got)));
    }
    in = info(h);
    if (!in) return nullptr;
    in->items = std::move(items);
    in->itemsKnown = true;
  }
  return &in->items;
}

void Win32Platform::followList(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT r) {
  Info* in = info(h);
  if (!in || !in->itemsKnown) return;
  auto& items = in->items;
  auto forget = [&] {
    in->itemsKnown = false;
    items.clear();
  };
  switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      if (r == LB_ERR || r == LB_ERRSPACE) return;  // nothing was added
      const auto* text = reinterpret_cast<const wchar_t*>(lp);
      if (r < 0 || static_cast<size_t>(r) > items.size() || !text) return forget();
      items.insert(items.begin() + r, Gbk(text));
      return;
    }
    case LB_DELETESTRING:
      if (r == LB_ERR) return;
      if (wp >= items.size()) return forget();
      items.erase(items.begin() + static_cast<std::ptrdiff_t>(wp));
      return;
    case LB_RESETCONTENT: items.clear(); return;
    case LB_DIR: case LB_ADDFILE: case LB_SETCOUNT: forget(); return;
    default: return;  // reads, the selection, item data: the texts stay
  }
}

int Win32Platform::listCount(Wnd w) {
  ++g_calls.listRead;
  Info* in = info(H(w));
  if (!in) return 0;
  if (const auto* items = keptItems(H(w))) return static_cast<int>(items->size());
  if (in->kind == Kind::Memo) return static_cast<int>(memoLines(H(w)).size());
  if (in->kind == Kind::ListView)
    return static_cast<int>(SendMessageW(H(w), LVM_GETITEMCOUNT, 0, 0));
  if (!IsListKind(in->kind)) return 0;
  LRESULT n = SendMessageW(H(w), LB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

std::string Win32Platform::listItem(Wnd w, int i) {
  ++g_calls.listRead;
  Info* in = info(H(w));
  if (!in || i < 0) return "";
  if (in->kind == Kind::Memo) {
    auto lines = memoLines(H(w));
    return i < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(i)] : "";
  }
  if (in->kind == Kind::ListView) {
    if (i >= listCount(w)) return "";
    wchar_t buf[512] = {};
    LVITEMW it{};
    it.iSubItem = 0;
    it.pszText = buf;
    it.cchTextMax = 512;
    LRESULT got = SendMessageW(H(w), LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                               reinterpret_cast<LPARAM>(&it));
    return Gbk(buf, static_cast<int>(got));
  }
  if (!IsListKind(in->kind)) return "";
  if (const auto* items = keptItems(H(w)))
    return i < static_cast<int>(items->size()) ? (*items)[static_cast<size_t>(i)] : "";
  LRESULT n = SendMessageW(H(w), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
  if (n == LB_ERR) return "";
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  LRESULT got =
      SendMessageW(H(w), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf.data()));
  return got == LB_ERR ? "" : Gbk(buf.c_str(), static_cast<int>(got));
}

void Win32Platform::listInsert(Wnd w, int i, const std::string& s) {
  ++g_calls.listWrite;
  Info* in = info(H(w));
  if (!in) return;
  if (in->kind == Kind::Memo) {
    auto lines = memoLines(H(w));
    if (i < 0 || i > static_cast<int>(lines.size())) i = static_cast<int>(lines.size());
    lines.insert(lines.begin() + i, s);
    setMemoLines(H(w), lines);
    return;
  }
  if (in->kind == Kind::ListView) {
    std::wstring ws = Wide(s);
    LVITEMW it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE;
    it.iItem = i < 0 ? listCount(w) : i;
    it.pszText = ws.data();
    it.iImage = I_IMAGENONE;
    SendMessageW(H(w), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
    return;
  }
  if (!IsListKind(in->kind)) return;
  std::wstring ws = Wide(s);
  changeList(H(w), [&] {
    SendMessageW(H(w), LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(ws.c_str()));
  });
}

// A list box that shows nothing on the screen (in a parked form, or
// outside its form's client area, as the histories are) is put to sleep:
// its redraw stays off, so a change repaints nothing, not even its scroll
// bar, whose range changes with every item. It wakes and paints once it
// can be seen again (wakeExposed, on any move, size or show of the
// program's windows).
template <class F>
void Win32Platform::changeList(HWND h, F change) {
  Info* in = info(h);
  if (in && !in->dormant && IsWindowVisible(h) && !ShowsOnScreen(h)) {
    RedrawOff(h);
    in->dormant = true;
    dormant_.push_back(h);
  }
  change();
}

void Win32Platform::wakeExposed() {
  if (waking_ || dormant_.empty()) return;
  waking_ = true;
  std::vector<HWND> wake;
  for (auto it = dormant_.begin(); it != dormant_.end();) {
    Info* in = info(*it);
    if (in && !ShowsOnScreen(*it)) {
      ++it;
      continue;
    }
    if (in) {
      in->dormant = false;
      wake.push_back(*it);
    }
    it = dormant_.erase(it);
  }
  for (HWND h : wake) {
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  waking_ = false;
}

void Win32Platform::listDelete(Wnd w, int i) {
  ++g_calls.listWrite;
  Info* in = info(H(w));
  if (!in || i < 0) return;
  if (in->kind == Kind::Memo) {
    auto lines = memoLines(H(w));
    if (i >= static_cast<int>(lines.size())) return;
    lines.erase(lines.begin() + i);
    setMemoLines(H(w), lines);
    return;
  }
  if (in->kind == Kind::ListView) {
    SendMessageW(H(w), LVM_DELETEITEM, static_cast<WPARAM>(i), 0);
    if (in->hot >= listCount(w)) in->hot = -1;
    return;
  }
  if (IsListKind(in->kind))
    changeList(H(w), [&] { SendMessageW(H(w), LB_DELETESTRING, static_cast<WPARAM>(i), 0); });
}

void Win32Platform::listSet(Wnd w, int i, const std::string& s) {
  ++g_calls.listWrite;
  Info* in = info(H(w));
  if (!in || i < 0) return;
  if (in->kind == Kind::Memo) {
    auto lines = memoLines(H(w));
    if (i >= static_cast<int>(lines.size())) return;
    lines[static_cast<size_t>(i)] = s;
    setMemoLines(H(w), lines);
    return;
  }
  if (!IsListKind(in->kind) || i >= listCount(w)) return;
  if (in->kind == Kind::ListView) {
    std::wstring ws = Wide(s);
    LVITEMW it{};
    it.iSubItem = 0;
    it.pszText = ws.data();
    SendMessageW(H(w), LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    return;
  }
  // An item that already reads so is not written again.
  if (const auto* items = keptItems(H(w)); items && (*items)[static_cast<size_t>(i)] == s) return;
  int sel = listSelected(w);
  SendMessageW(H(w), LB_DELETESTRING, static_cast<WPARAM>(i), 0);
  listInsert(w, i, s);
  if (sel == i) listSelect(w, i);
}

void Win32Platform::listClear(Wnd w) {
  ++g_calls.listWrite;
  Info* in = info(H(w));
  if (!in) return;
  if (in->kind == Kind::Memo) SetWindowTextW(H(w), L"");
  if (in->kind == Kind::ListView) {
    SendMessageW(H(w), LVM_DELETEALLITEMS, 0, 0);
    if (auto il = reinterpret_cast<HIMAGELIST>(SendMessageW(H(w), LVM_GETIMAGELIST, LVSIL_SMALL, 0)))
      ImageList_RemoveAll(il);
    in->hot = -1;
    return;
  }
  if (IsListKind(in->kind))
    changeList(H(w), [&] { SendMessageW(H(w), LB_RESETCONTENT, 0, 0); });
}

int Win32Platform::listSelected(Wnd w) {
  Info* in = info(H(w));
  if (!in || !IsListKind(in->kind)) return -1;
  if (in->kind == Kind::ListView)
    return static_cast<int>(SendMessageW(H(w), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  LRESULT r = SendMessageW(H(w), LB_GETCURSEL, 0, 0);
  return r == LB_ERR ? -1 : static_cast<int>(r);
}
void Win32Platform::listSelect(Wnd w, int i) {
  Info* in = info(H(w));
  if (in && in->kind == Kind::ListView) {
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = 0;
    SendMessageW(H(w), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
    if (i < 0 || i >= listCount(w)) return;
    it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(H(w), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    return;
  }
  if (in && IsListKind(in->kind)) SendMessageW(H(w), LB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

int Win32Platform::listViewAdd(Wnd w, const std::string& caption, std::uintptr_t icon) {
  Info* in = info(H(w));
  if (!in || in->kind != Kind::ListView) return -1;
  int image = I_IMAGENONE;
  auto il = reinterpret_cast<HIMAGELIST>(SendMessageW(H(w), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  if (icon && il) image = ImageList_ReplaceIcon(il, -1, reinterpret_cast<HICON>(icon));
  std::wstring ws = Wide(caption);
  LVITEMW it{};
  it.mask = LVIF_TEXT | LVIF_IMAGE;
  it.iItem = listCount(w);
  it.pszText = ws.data();
  it.iImage = image < 0 ? I_IMAGENONE : image;
  LRESULT r = SendMessageW(H(w), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
  return static_cast<int>(r);
}

int Win32Platform::listViewHitTest(Wnd w, Point c) {
  Info* in = info(H(w));
  if (!in || in->kind != Kind::ListView) return -1;
  RECT rc{};
  GetClientRect(H(w), &rc);
  if (c.x < 0 || c.y < 0 || c.x >= rc.right || c.y >= rc.bottom) return -1;
  LVHITTESTINFO ht{};
  ht.pt = {c.x, c.y};
  LRESULT r = SendMessageW(H(w), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&ht));
  if (r >= 0 && (ht.flags & LVHT_ONITEM)) return static_cast<int>(r);
  // Full-row selection: a point right of the column is still on its row.
  const int top = listViewTopIndex(w), h = RowHeight(H(w));
  if (h <= 0) return -1;
  RECT first{};
  first.left = LVIR_BOUNDS;
  if (!SendMessageW(H(w), LVM_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&first)))
    return -1;
  if (c.y < first.top) return -1;
  const int row = top + (c.y - first.top) / h;
  return row < listCount(w) ? row : -1;
}

void Win32Platform::listViewSetHot(Wnd w, int row) {
  Info* in = info(H(w));
  if (!in || in->kind != Kind::ListView) return;
  in->hot = row >= 0 && row < listCount(w) ? row : -1;
}
int Win32Platform::listViewTopIndex(Wnd w) {
  Info* in = info(H(w));
  if (!in || in->kind != Kind::ListView) return 0;
  return static_cast<int>(SendMessageW(H(w), LVM_GETTOPINDEX, 0, 0));
}
void Win32Platform::listViewScroll(Wnd w, int rows) {
  Info* in = info(H(w));
  if (!in || in->kind != Kind::ListView || rows == 0) return;
  // Report view scrolls by pixels, rounded to whole rows by the control,
  // which also stops at both ends.
  const long long dy = static_cast<long long>(rows) * RowHeight(H(w));
  SendMessageW(H(w), LVM_SCROLL, 0,
               static_cast<LPARAM>(std::clamp<long long>(dy, -(1LL << 30), 1LL << 30)));
}
int Win32Platform::listViewRowHeight(Wnd w) {
  Info* in = info(H(w));
  return in && in->kind == Kind::ListView ? RowHeight(H(w)) : 0;
}
void Win32Platform::listViewSetColumnWidth(Wnd w, int width) {
  Info* in = info(H(w));
  if (!in || in->kind != Kind::ListView) return;
  // Set on every hover: only a change is written, as a write repaints.
  const int cx = std::max(0, width);
  if (SendMessageW(H(w), LVM_GETCOLUMNWIDTH, 0, 0) == cx) return;
  SendMessageW(H(w), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(cx, 0));
}
int Win32Platform::listItemFromPoint(Wnd w, Point c) {
  Info* in = info(H(w));
  if (!in || in->kind != Kind::ListBox || c.x < 0 || c.y < 0) return -1;
  const LRESULT r = SendMessageW(H(w), LB_ITEMFROMPOINT, 0, MAKELPARAM(c.x, c.y));
  return HIWORD(r) ? -1 : static_cast<int>(LOWORD(r));
}

bool Win32Platform::isChecked(Wnd w) {
  return w && SendMessageW(H(w), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void Win32Platform::setChecked(Wnd w, bool on) {
  if (w) SendMessageW(H(w), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// ---------------------------------------------------------------- input

Point Win32Platform::getCursorPos() {
  if (handlerDepth_ > 0 && glance_.cursorKnown) return glance_.cursor;
  POINT p{};
  GetCursorPos(&p);
  if (handlerDepth_ > 0) {
    glance_.cursorKnown = true;
    glance_.cursor = {p.x, p.y};
  }
  return {p.x, p.y};
}
void Win32Platform::setCursorPos(Point p) {
  forgetGlance();
  SetCursorPos(p.x, p.y);
}
bool Win32Platform::isKeyDown(int vk) { return GetAsyncKeyState(vk) < 0; }
void Win32Platform::setCapture(Wnd w) {
  forgetGlance();
  SetCapture(H(w));
}
void Win32Platform::releaseCapture() {
  forgetGlance();
  ReleaseCapture();
}
void Win32Platform::setCursorShape(CursorShape shape) {
  // IDC_CROSS and IDC_ARROW, as wide resource ids.
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(shape == CursorShape::Cross ? 32515 : 32512)));
}
void Win32Platform::keybdEvent(int vk, int scan, unsigned flags) {
  forgetGlance();
  keybd_event(static_cast<BYTE>(vk), static_cast<BYTE>(scan), flags, kOwnInputMark);
}
void Win32Platform::mouseEvent(unsigned flags, int dx, int dy, int data) {
  forgetGlance();
  mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data),
              kOwnInputMark);
}
unsigned Win32Platform::getCaretBlinkTime() { return GetCaretBlinkTime(); }

// ---------------------------------------------------------------- clipboard

namespace {
bool OpenClip() {
  // Another program may hold the clipboard for a moment.
  for (int i = 0; i < 10; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(5);
  }
  return false;
}
}  // namespace

bool Win32Platform::getClipboardTextUpTo(std::size_t maxBytes, std::string& out) {
  out.clear();
  if (!OpenClip()) return true;  // no clipboard reads as the empty text
  bool fits = true;
  if (HANDLE d = GetClipboardData(CF_UNICODETEXT)) {
    // Each UTF-16 unit is at least one GBK byte: a text of more units than
    // the limit is too long without converting it.
    const SIZE_T units = GlobalSize(d) / sizeof(wchar_t);
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(d))) {
      const std::size_t len = wcsnlen(p, units);
      if (len > maxBytes) {
        fits = false;
      } else {
        out = Gbk(p, static_cast<int>(len));
        if (out.size() > maxBytes) {
          out.clear();
          fits = false;
        }
      }
      GlobalUnlock(d);
    }
  } else if (HANDLE a = GetClipboardData(CF_TEXT)) {
    const SIZE_T bytes = GlobalSize(a);
    if (auto* p = static_cast<const char*>(GlobalLock(a))) {
      const std::size_t len = strnlen(p, bytes);
      if (len > maxBytes) fits = false;
      else out.assign(p, len);
      GlobalUnlock(a);
    }
  }
  CloseClipboard();
  return fits;
}

bool Win32Platform::setClipboardText(const std::string& text) {
  if (!OpenClip()) return false;
  EmptyClipboard();
  std::wstring w = Wide(text);
  bool ok = false;
  if (HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t))) {
    std::memcpy(GlobalLock(g), w.c_str(), (w.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(g);
    ok = SetClipboardData(CF_UNICODETEXT, g) != nullptr;
    if (!ok) GlobalFree(g);
  }
  // The GBK bytes as well, so a reader of CF_TEXT gets them whatever its
  // code page.
  if (HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    std::memcpy(GlobalLock(g), text.c_str(), text.size() + 1);
    GlobalUnlock(g);
    if (!SetClipboardData(CF_TEXT, g)) GlobalFree(g);
  }
  CloseClipboard();
  return ok;
}

void Win32Platform::closeClipboard() { CloseClipboard(); }

std::uint32_t Win32Platform::clipboardSequence() { return GetClipboardSequenceNumber(); }

bool Win32Platform::clipboardPrivate() {
  static const UINT exclude = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
  static const UINT ignore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
  static const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
  if ((exclude && IsClipboardFormatAvailable(exclude)) ||
      (ignore && IsClipboardFormatAvailable(ignore)))
    return true;
  if (!history || !IsClipboardFormatAvailable(history)) return false;
  // The history mark is a DWORD: 0 keeps the content out of any history.
  if (!OpenClip()) return true;  // unreadable mark: keep it out
  bool excluded = false;
  if (HANDLE d = GetClipboardData(history)) {
    if (GlobalSize(d) >= sizeof(DWORD)) {
      if (auto* v = static_cast<const DWORD*>(GlobalLock(d))) {
        excluded = *v == 0;
        GlobalUnlock(d);
      }
    }
  }
  CloseClipboard();
  return excluded;
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
  SetTimer(h, id, ms, TimerThunk);
}
void Win32Platform::killTimer(Wnd owner, unsigned id) {
  HWND h = timerOwner(owner);
  KillTimer(h, id);
  timers_.erase({h, id});
}

void ForgetGlance() {
  if (g_self) g_self->forgetGlance();
}

namespace {
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
}  // namespace

void CALLBACK Win32Platform::TimerThunk(HWND h, UINT, UINT_PTR id, DWORD) {
  if (!g_self) return;
  auto it = g_self->timers_.find({h, id});
  if (it == g_self->timers_.end()) return;
  TimerProc copy = it->second;  // the handler may kill or reset its timer
  const bool marks = TickMarks();
  if (marks) TickMark(h, id, true);
  g_self->forgetGlance();
  ++g_self->handlerDepth_;
  Run(copy);
  if (g_self) {
    --g_self->handlerDepth_;
    g_self->forgetGlance();
  }
  if (marks) TickMark(h, id, false);
}

// ---------------------------------------------------------------- process

int Win32Platform::messageBox(Wnd owner, const std::string& text, const std::string& caption,
                              unsigned buttons) {
  forgetGlance();
  return MessageBoxW(H(owner), Wide(text).c_str(), Wide(caption).c_str(), buttons);
}

int Win32Platform::runMessageLoop() {
  if (TickMarks()) StartMark(L"sqloop");
  MSG m;
  BOOL r;
  while ((r = GetMessageW(&m, nullptr, 0, 0)) > 0) {
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

// ---------------------------------------------------------------- events

void Win32Platform::setClickHandler(Wnd w, std::function<void()> fn) {
  if (Info* in = info(H(w))) in->onClick = std::move(fn);
}
void Win32Platform::setCloseHandler(Wnd w, std::function<void()> fn) {
  if (Info* in = info(H(w))) in->onClose = std::move(fn);
}
void Win32Platform::setEventHandler(Wnd w, UiEventHandler fn) {
  if (Info* in = info(H(w))) in->onEvent = std::move(fn);
}
void Win32Platform::setTrayHandler(Wnd owner, std::function<void(TrayEvent)> fn) {
  if (Info* in = info(H(owner))) in->onTray = std::move(fn);
}

int Win32Platform::trackPopupMenu(Wnd owner, const std::vector<MenuEntry>& entries, Point at) {
  forgetGlance();
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& e = entries[i];
    if (e.separator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (e.enabled ? MF_ENABLED : MF_GRAYED);
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(i + 1), Wide(e.caption).c_str());
  }
  // The owner must be the foreground window or the menu does not close
  // when the user clicks elsewhere.
  SetForegroundWindow(H(owner));
  int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN,
                                               at.x, at.y, 0, H(owner), nullptr));
  PostMessageW(H(owner), WM_NULL, 0, 0);
  DestroyMenu(menu);
  return chosen > 0 ? chosen - 1 : -1;
}

namespace {
// Posted to a mailbox window by mailboxSeen: its waiting words may go on.
constexpr UINT kDeliverMessage = WM_APP + 0x3A2;
}  // namespace

void Win32Platform::applyWord(LPARAM lp) {
  const auto* b = reinterpret_cast<const hookmsg::WordBlock*>(lp);
  if (!b) return;
  // The window the core named for the box (setHookMailbox), while it lives.
  HWND target = b->box < 3 ? mailboxes_[b->box] : nullptr;
  if (target && IsWindow(target)) {
    Word word{static_cast<Mailbox>(b->box), hookmsg::WordText(b), hookmsg::WordOnlyIf(b),
              static_cast<int>(b->key), b->edge <= 3 ? static_cast<Word::Edge>(b->edge) : Word::Edge::None};
    const std::uint64_t dropped = delivery_.Dropped();
    const bool now = delivery_.Offer(W(target), word);
    for (const Word& passed : delivery_.Superseded()) traceWord('P', target, passed.text);
    if (now) writeWord(target, word);
    else if (delivery_.Dropped() != dropped && delivery_.LastDropped())
      traceWord('D', target, delivery_.LastDropped()->text);
  } else {
    traceWord('D', nullptr, hookmsg::WordText(b));
  }
  hookmsg::FreeWord(b);
}

void Win32Platform::writeWord(HWND to, const Word& word) {
  // The condition is tested when the word's turn comes, not when it arrived.
  if (word.onlyIf.empty() || getWindowText(W(to)) == word.onlyIf)
    SetWindowTextW(to, Wide(word.text).c_str());
  else
    traceWord('K', to, word.text);
}

void Win32Platform::traceWord(char kind, HWND box, const std::string& text) {
  if (wordTrace_ == INVALID_HANDLE_VALUE) return;
  int i = 0;
  while (i < 3 && mailboxes_[i] != box) ++i;
  if (kind == 'W' && i == 3) return;  // not a mailbox
  if (kind == 'S') {
    if (i == 3 || traceSeen_[i] == text) return;
    traceSeen_[i] = text;
  }
  std::string line = std::string(1, kind) + " " + std::to_string(i) + " " + text;
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  line += '\n';
  DWORD done = 0;
  WriteFile(wordTrace_, line.data(), static_cast<DWORD>(line.size()), &done, nullptr);
}

void Win32Platform::deliverWaiting(HWND w) {
  while (auto word = delivery_.Next(W(w))) writeWord(w, *word);
}

void Win32Platform::mailboxSeen(Wnd w) {
  if (!w || !info(H(w))) return;
  if (wordTrace_ != INVALID_HANDLE_VALUE) traceWord('S', H(w), getWindowText(w));
  delivery_.Seen(w);
  // The reader is inside its tick: the next word goes after it returns.
  if (delivery_.Waiting(w) > 0) PostMessageW(H(w), kDeliverMessage, 0, 0);
}

void Win32Platform::paintPanel(HWND h, Info& in) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  if (in.kind == Kind::GroupBox) {
    RECT frame = rc;
    frame.top += 7;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  }
  if (!in.picture.empty()) {
    // BGR ints are the 0x00RRGGBB of a top-down 32-bit DIB with red and
    // blue swapped.
    std::vector<DWORD> bits(in.picture.size());
    for (size_t i = 0; i < bits.size(); ++i) {
      const unsigned c = static_cast<unsigned>(in.picture[i]);
      bits[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = in.pictureWidth;
    bi.bmiHeader.biHeight = -in.pictureHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, rc.right, rc.bottom, 0, 0, in.pictureWidth, in.pictureHeight,
                  bits.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
  }
  if (in.kind != Kind::Image && in.kind != Kind::Browser && in.kind != Kind::Shape) {
    std::wstring text;
    int n = GetWindowTextLengthW(h);
    text.resize(static_cast<size_t>(n) + 1);
    text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), n + 1)));
    if (!text.empty()) {
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, in.fontColor >= 0 ? static_cast<COLORREF>(in.fontColor)
                                         : GetSysColor(COLOR_BTNTEXT));
      UINT fmt = DT_NOPREFIX;
      if (in.kind == Kind::Panel) {
        fmt |= DT_VCENTER | DT_SINGLELINE;
        fmt |= in.align == TextAlign::Left ? DT_LEFT : in.align == TextAlign::Right ? DT_RIGHT : DT_CENTER;
      }
      else if (in.kind == Kind::GroupBox) { rc.left += 8; fmt |= DT_SINGLELINE; }
      else fmt |= DT_LEFT | DT_WORDBREAK;
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, fmt);
      SelectObject(dc, old);
    }
  }
  EndPaint(h, &ps);
}

LRESULT CALLBACK Win32Platform::WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (g_self) return g_self->handle(h, msg, wp, lp);
  return DefWindowProcW(h, msg, wp, lp);
}

LRESULT Win32Platform::fallback(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  Info* in = info(h);
  if (in && in->orig) return CallWindowProcW(in->orig, h, msg, wp, lp);
  return DefWindowProcW(h, msg, wp, lp);
}

namespace {
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED, missing from older headers
constexpr UINT kListMessageLast = 0x01B3;     // LB_MSGMAX of the newest headers
ShiftState MouseShift(WPARAM wp) {
  ShiftState s;
  s.shift = (wp & MK_SHIFT) != 0;
  s.ctrl = (wp & MK_CONTROL) != 0;
  s.alt = GetKeyState(VK_MENU) < 0;
  s.left = (wp & MK_LBUTTON) != 0;
  s.right = (wp & MK_RBUTTON) != 0;
  s.middle = (wp & MK_MBUTTON) != 0;
  return s;
}
ShiftState KeyShift() {
  // One ask for the whole keyboard (under Wine each GetKeyState is a
  // server round trip).
  BYTE k[256] = {};
  GetKeyboardState(k);
  ShiftState s;
  s.shift = (k[VK_SHIFT] & 0x80) != 0;
  s.ctrl = (k[VK_CONTROL] & 0x80) != 0;
  s.alt = (k[VK_MENU] & 0x80) != 0;
  s.left = (k[VK_LBUTTON] & 0x80) != 0;
  s.right = (k[VK_RBUTTON] & 0x80) != 0;
  s.middle = (k[VK_MBUTTON] & 0x80) != 0;
  return s;
}
Point ClientPoint(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }
}  // namespace

bool Win32Platform::raise(HWND h, UiEvent& e) {
  Info* in = info(h);
  if (!in || !in->onEvent) return false;
  UiEventHandler fn = in->onEvent;  // the handler may replace itself
  const int key = e.key;
  Run([&] { fn(e); });
  return key != 0 && e.key == 0;
}

bool Win32Platform::raiseEvents(HWND h, Info& in, UINT msg, WPARAM wp, LPARAM lp) {
  UiEvent e;
  switch (msg) {
    case WM_MOUSEMOVE: {
      if (!in.tracking) {
        // Ask for the leave, then tell the window it was entered.
        TRACKMOUSEEVENT t{};
        t.cbSize = sizeof t;
        t.dwFlags = TME_LEAVE;
        t.hwndTrack = h;
        in.tracking = TrackMouseEvent(&t) != FALSE;
        UiEvent enter;
        enter.type = UiEvent::MouseEnter;
        enter.pt = ClientPoint(lp);
        raise(h, enter);
        if (!info(h)) return false;  // the handler destroyed the window
      }
      e.type = UiEvent::MouseMove;
      e.pt = ClientPoint(lp);
      e.shift = MouseShift(wp);
      // A list view's hot row follows the pointer before its handler
      // hears of the move.
      if (in.kind == Kind::ListView) in.hot = listViewHitTest(W(h), e.pt);
      return raise(h, e);
    }
    case WM_MOUSELEAVE:
      in.tracking = false;
      in.hot = -1;
      e.type = UiEvent::MouseLeave;
      return raise(h, e);
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
      const bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      e.type = UiEvent::MouseDown;
      e.button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? MouseButton::Left
                 : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? MouseButton::Right
                                                                       : MouseButton::Middle;
      e.pt = ClientPoint(lp);
      e.shift = MouseShift(wp);
      e.doubleClick = dbl;
      if (e.button == MouseButton::Left) in.leftPressed = true;
      raise(h, e);
      if (dbl && info(h)) {
        UiEvent d = e;
        d.type = UiEvent::DblClick;
        raise(h, d);
      }
      return false;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      e.type = UiEvent::MouseUp;
      e.button = msg == WM_LBUTTONUP ? MouseButton::Left
                 : msg == WM_RBUTTONUP ? MouseButton::Right : MouseButton::Middle;
      e.pt = ClientPoint(lp);
      e.shift = MouseShift(wp);
      return raise(h, e);
    case WM_MOUSEWHEEL: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};  // screen
      ScreenToClient(h, &p);
      e.type = UiEvent::MouseWheel;
      e.wheelDelta = GET_WHEEL_DELTA_WPARAM(wp);
      e.pt = {p.x, p.y};
      e.shift = MouseShift(GET_KEYSTATE_WPARAM(wp));
      return raise(h, e);
    }
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
    case WM_KEYUP: case WM_SYSKEYUP:
      e.type = (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) ? UiEvent::KeyDown : UiEvent::KeyUp;
      e.key = static_cast<int>(wp);
      e.shift = KeyShift();
      return raise(h, e);
    case WM_CHAR: {
      // The character's first GBK byte (the whole of it for ASCII).
      const wchar_t wc[2] = {static_cast<wchar_t>(wp), 0};
      const std::string gbk = Gbk(wc);
      e.type = UiEvent::KeyPress;
      e.key = gbk.empty() ? 0 : static_cast<unsigned char>(gbk[0]);
      e.shift = KeyShift();
      if (e.key == 0) return false;
      return raise(h, e);
    }
    case kDpiChangedMessage:
      if (!in.topLevel || !in.onEvent) return false;
      e.type = UiEvent::DpiChanged;
      e.dpi = LOWORD(wp);
      raise(h, e);
      return true;  // the core places the window itself
    case WM_DISPLAYCHANGE:
      if (!in.topLevel || !in.onEvent) return false;
      e.type = UiEvent::DisplayChange;
      raise(h, e);
      return true;
    case WM_ACTIVATE:
      if (!in.topLevel) return false;
      e.type = LOWORD(wp) == WA_INACTIVE ? UiEvent::Deactivate : UiEvent::Activate;
      e.shift = KeyShift();
      raise(h, e);
      return false;
    default:
      return false;
  }
}

LRESULT Win32Platform::handle(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETTEXT: ++g_calls.textReadSys; break;
    case WM_SETTEXT: ++g_calls.textWriteSys; break;
    case LB_GETTEXT: case LB_GETCOUNT: ++g_calls.listReadSys; break;
    case LB_ADDSTRING: case LB_INSERTSTRING: case LB_DELETESTRING: case LB_RESETCONTENT:
      ++g_calls.listWriteSys;
      break;
    default: break;
  }
  if (msg == WM_PAINT && TickMarks()) {
    // The form's class and the control's layout name.
    wchar_t cls[64] = L"?", name[64] = L"";
    GetClassNameW(GetAncestor(h, GA_ROOT), cls, 64);
    if (HANDLE a = GetPropW(h, kNameProp))
      GlobalGetAtomNameW(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(a)), name, 64);
    const std::wstring mark = L"sqpaint " + std::wstring(cls) + L"." + name;
    GlobalFindAtomW(mark.c_str());
  }
  if (msg == hookmsg::kWordMessage) {
    applyWord(lp);
    return 0;
  }
  if (msg == kDeliverMessage) {
    deliverWaiting(h);
    return 0;
  }
  if (msg == WM_DISPLAYCHANGE || msg == kDpiChangedMessage || msg == WM_SETTINGCHANGE) {
    monitorsValid_ = false;
    ForgetScreen();
  }
  if (msg == WM_WINDOWPOSCHANGED || msg == WM_DISPLAYCHANGE) wakeExposed();
  Info* in = info(h);
  if (in && msg == kTrayCallback && in->onTray) {
    TrayEvent e = TrayEvent::Other;
    switch (LOWORD(lp)) {
      case WM_LBUTTONDOWN: e = TrayEvent::LeftDown; break;
      case WM_LBUTTONUP: e = TrayEvent::LeftUp; break;
      case WM_LBUTTONDBLCLK: e = TrayEvent::LeftDouble; break;
      case WM_RBUTTONDOWN: e = TrayEvent::RightDown; break;
      case WM_RBUTTONUP: e = TrayEvent::RightUp; break;
      default: break;
    }
    auto fn = in->onTray;
    Run([&] { fn(e); });
    return fallback(h, msg, wp, lp);
  }
  if (in && raiseEvents(h, *in, msg, wp, lp)) return 0;  // swallowed
  in = info(h);  // a handler may have destroyed the window
  if (!in && msg != WM_NCDESTROY) return IsWindow(h) ? DefWindowProcW(h, msg, wp, lp) : 0;
  switch (msg) {
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lp);
      Info* c = child ? info(child) : nullptr;
      if (!c) break;
      WORD code = HIWORD(wp);
      bool click = (code == BN_CLICKED && !IsListKind(c->kind) && c->kind != Kind::Edit &&
                    c->kind != Kind::Memo) ||
                   (code == LBN_SELCHANGE && IsListKind(c->kind));
      if (click && c->onClick) {
        auto fn = c->onClick;
        Run(fn);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      Info* c = info(reinterpret_cast<HWND>(lp));
      if (!c || (c->color < 0 && c->fontColor < 0)) break;
      HDC dc = reinterpret_cast<HDC>(wp);
      if (c->fontColor >= 0) SetTextColor(dc, static_cast<COLORREF>(c->fontColor));
      int sys = (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_BTNFACE;
      if (c->color >= 0) SetBkColor(dc, static_cast<COLORREF>(c->color));
      else SetBkColor(dc, GetSysColor(sys));
      return reinterpret_cast<LRESULT>(c->brush ? c->brush : GetSysColorBrush(sys));
    }
    case WM_ERASEBKGND: {
      if (!in || in->orig) break;
      RECT rc;
      GetClientRect(h, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, in->brush ? in->brush : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT:
      if (in && !in->topLevel && !in->orig) {
        paintPanel(h, *in);
        return 0;
      }
      break;
    case WM_SETTEXT: {
      if (!in) break;
      // Every new text of a window, whoever writes it, comes here: the
      // kept copy follows it (or is dropped when the write failed).
      const auto* now = reinterpret_cast<const wchar_t*>(lp);
      const std::wstring next = now ? now : L"";
      if (in->topLevel) {
        // A new word in a form's caption, from any writer, is unread until
        // its reader says so (WordDelivery).
        const std::wstring* kept = keptText(h);
        const std::wstring before = kept ? *kept : w32::WindowTextW(h);
        LRESULT r = DefWindowProcW(h, msg, wp, lp);
        if (Info* after = info(h)) {
          after->textKnown = r != FALSE;
          if (r) after->text = next;
        }
        if (before != next) {
          delivery_.Changed(W(h));
          if (wordTrace_ != INVALID_HANDLE_VALUE) traceWord('W', h, Gbk(next));
        }
        return r;
      }
      LRESULT r;
      if (!in->orig) {
        // A panel paints its caption; one that shows nothing on the screen
        // is not repainted for a new word (mailbox traffic lands mostly in
        // parked windows).
        r = DefWindowProcW(h, msg, wp, lp);
        if (ShowsOnScreen(h)) InvalidateRect(h, nullptr, TRUE);
      } else {
        r = fallback(h, msg, wp, lp);
      }
      if (Info* after = info(h); after && KeepsText(*after)) {
        after->textKnown = r != FALSE;
        if (r) after->text = next;
      }
      return r;
    }
    case WM_MOUSEWHEEL:
      // Handled where it arrived; a panel does not pass it to its parent.
      if (in && !in->orig) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (in && in->kind == Kind::ListView && in->orig) {
        // The list view's own procedure selects the row, then waits for the
        // release or a drag in a loop of its own that takes the button-up
        // message: the release is told from here once it is over.
        const int vk = msg == WM_LBUTTONDOWN ? VK_LBUTTON : VK_RBUTTON;
        LRESULT r = fallback(h, msg, wp, lp);
        Info* after = info(h);
        if (after && GetKeyState(vk) >= 0) {
          POINT p{};
          GetCursorPos(&p);
          ScreenToClient(h, &p);
          UiEvent up;
          up.type = UiEvent::MouseUp;
          up.button = msg == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right;
          up.pt = {p.x, p.y};
          up.shift = KeyShift();
          raise(h, up);
        }
        return r;
      }
      break;
    case WM_LBUTTONUP:
      // A panel or label is clicked by a left press and release on it.
      if (in && !in->topLevel && !in->orig) {
        const bool pressed = in->leftPressed;
        in->leftPressed = false;
        if (pressed && in->onClick) {
          auto fn = in->onClick;
          Run(fn);
        }
        return 0;
      }
      if (in) in->leftPressed = false;
      break;
    case WM_CLOSE:
      if (in && in->topLevel) {
        if (in->onClose) {
          auto fn = in->onClose;
          Run(fn);
        } else {
          ShowWindow(h, SW_HIDE);  // forms are never destroyed by a close
        }
        return 0;
      }
      break;
    case WM_NCDESTROY: {
      WNDPROC orig = in ? in->orig : nullptr;
      if (in) {
        if (in->brush) DeleteObject(in->brush);
        infos_.erase(h);
      }
      for (HWND& m : mailboxes_)
        if (m == h) m = nullptr;
      for (auto it = timers_.begin(); it != timers_.end();)
        it = it->first.first == h ? timers_.erase(it) : std::next(it);
      if (HANDLE a = RemovePropW(h, kNameProp))
        GlobalDeleteAtom(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(a)));
      if (orig) return CallWindowProcW(orig, h, msg, wp, lp);
      return DefWindowProcW(h, msg, wp, lp);
    }
    default: break;
  }
  if (in && in->kind == Kind::ListBox && msg >= LB_ADDSTRING && msg <= kListMessageLast) {
    // Whoever changes a list box's items, the kept copy follows.
    const LRESULT r = fallback(h, msg, wp, lp);
    followList(h, msg, wp, lp, r);
    return r;
  }
  return fallback(h, msg, wp, lp);
}

}  // namespace sq
