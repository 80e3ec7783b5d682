// Controls of the Win32 backend: list boxes, list views, check boxes.
#include "platform/win32/win32_internal.h"

namespace sq {

using namespace w32;

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

}  // namespace sq
