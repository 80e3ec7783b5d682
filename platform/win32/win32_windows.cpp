// Windows of the Win32 backend: creation, text, place, visibility, focus, the
// window tree and z-order, shapes and pictures.
#include "platform/win32/win32_internal.h"

namespace sq {

using namespace w32;

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
    in->keep(std::move(now));
  }
  return &in->text;
}
const std::string* Win32Platform::keptGbk(HWND h) {
  if (!keptText(h)) return nullptr;
  Info* in = info(h);
  if (!in->gbkKnown) {
    in->gbk = Gbk(in->text);
    in->gbkKnown = true;
  }
  return &in->gbk;
}

std::string Win32Platform::getWindowText(Wnd w) {
  ++g_calls.textRead;
  if (!w) return "";
  if (const std::string* t = keptGbk(H(w))) return *t;
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
  OwnTextWrite own(*this, in != nullptr);
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
  if (handlerDepth_ > 0 && w) {
    noteGlance();
    glance_.classes.emplace_back(w, cls);
  }
  return cls;
}

template <class K, class V, class Ask>
V Win32Platform::glanced(std::vector<std::pair<K, V>>& kept, const K& key, Wnd w, Ask ask) {
  if (handlerDepth_ == 0 || !w || info(H(w))) return ask();
  for (const auto& [k, v] : kept)
    if (k == key) return v;
  V v = ask();
  noteGlance();
  kept.emplace_back(key, v);
  return v;
}

Rect Win32Platform::getWindowRect(Wnd w) {
  return glanced(glance_.rects, w, [&]() -> Rect {
    RECT r{};
    if (!w || !GetWindowRect(H(w), &r)) return {};
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  });
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
  OwnPlaceChange own(*this);
  if (w)
    SetWindowPos(H(w), nullptr, r.left, r.top, r.width, r.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
void Win32Platform::showWindow(Wnd w, bool show) {
  OwnPlaceChange own(*this);
  // Showing never activates: the program works for whatever window has the
  // focus; an explicit setForegroundWindow activates.
  if (w) ShowWindow(H(w), show ? SW_SHOWNA : SW_HIDE);
}
bool Win32Platform::isWindowVisible(Wnd w) {
  return glanced(glance_.visible, w, [&] {
    return w && IsWindow(H(w)) && (GetWindowLongW(H(w), GWL_STYLE) & WS_VISIBLE) != 0;
  });
}
void Win32Platform::enableWindow(Wnd w, bool enable) {
  forgetGlance();
  if (w) EnableWindow(H(w), enable);
}
bool Win32Platform::isWindowEnabled(Wnd w) {
  return glanced(glance_.enabled, w, [&] { return w && IsWindowEnabled(H(w)); });
}

void Win32Platform::setWindowPos(Wnd w, ZOrder z, const Rect& r, unsigned flags) {
  // One that may activate the window changes what is in front too.
  if (!(flags & SWP_NOACTIVATE)) forgetGlance();
  OwnPlaceChange own(*this);
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
    noteGlance();
    glance_.foregroundKnown = true;
    glance_.foreground = w;
  }
  return w;
}
Wnd Win32Platform::getParent(Wnd w) {
  ++g_calls.parent;
  if (!w) return 0;
  if (handlerDepth_ > 0)
    for (const auto& [c, parent] : glance_.parents)
      if (c == w) return parent;
  HWND p = GetParent(H(w));
  // The hidden owner of the program's forms is not a parent the core sees.
  const Wnd parent = p == util_ ? 0 : W(p);
  if (handlerDepth_ > 0) {
    noteGlance();
    glance_.parents.emplace_back(w, parent);
  }
  return parent;
}
bool Win32Platform::isChild(Wnd parent, Wnd w) {
  if (!parent || !w) return false;
  return glanced(glance_.children, std::pair{parent, w}, w,
                 [&] { return IsChild(H(parent), H(w)) != FALSE; });
}
Wnd Win32Platform::windowFromPoint(Point p) {
  ++g_calls.fromPoint;
  if (handlerDepth_ > 0)
    for (const auto& [at, w] : glance_.under)
      if (at == p) return w;
  const Wnd w = W(WindowFromPoint(POINT{p.x, p.y}));
  if (handlerDepth_ > 0) {
    noteGlance();
    glance_.under.emplace_back(p, w);
  }
  return w;
}
Wnd Win32Platform::getTopWindow() {
  if (handlerDepth_ > 0 && glance_.topKnown) return glance_.top;
  const Wnd w = W(GetTopWindow(nullptr));
  if (handlerDepth_ > 0) {
    noteGlance();
    glance_.topKnown = true;
    glance_.top = w;
  }
  return w;
}

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
  if (byClass) {
    noteGlance();
    glance_.found.emplace_back(className, w);
  }
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
  return glanced(glance_.states, w, [&] {
    WindowState s;
    if (!w) return s;
    // Two reads of another program's window (each a round trip under
    // Wine): minimised and maximised are bits of its style, as IsIconic
    // and IsZoomed read them; a window that is gone fails the first read.
    SetLastError(ERROR_SUCCESS);
    const LONG_PTR style = GetWindowLongPtrW(H(w), GWL_STYLE);
    if (style == 0 && GetLastError() != ERROR_SUCCESS) return s;
    const LONG_PTR ex = GetWindowLongPtrW(H(w), GWL_EXSTYLE);
    s.minimized = (style & WS_MINIMIZE) != 0;
    s.toolWindow = (ex & WS_EX_TOOLWINDOW) != 0;
    s.appWindow = (ex & WS_EX_APPWINDOW) != 0;
    s.topmost = (ex & WS_EX_TOPMOST) != 0;
    s.exStyle = static_cast<unsigned>(ex);
    s.maximized = (style & WS_MAXIMIZE) != 0;
    return s;
  });
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

}  // namespace sq
