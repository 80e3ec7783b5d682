// sqprobe: Notepad's edit control, the clipboard and the keyboard.
#include "e2e/probe/probe.h"

namespace probe {

namespace {

// Runs `act` on Notepad's edit control; exit 1 when Notepad is not there.
template <class F>
int OnNotepad(F act) {
  HWND e = NotepadEdit();
  if (!e) return 1;
  act(e);
  return 0;
}

void SetNotepadText(HWND e, const std::wstring& text) {
  SendMessageW(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CaretToTop(HWND e) {
  SendMessageW(e, EM_SETSEL, 0, 0);
  SendMessageW(e, EM_SCROLLCARET, 0, 0);
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

}  // namespace

// ---- Notepad ----

int CmdNotepad(const Args&) {
  HWND e = NotepadEdit();
  Out(Text(e));
  return e ? 0 : 1;
}

int CmdSetNotepad(const Args& a) {
  return OnNotepad([&](HWND e) {
    SetNotepadText(e, a[0]);
    SendMessageW(e, EM_SETSEL, 0, -1);
  });
}

int CmdEditNotepad(const Args& a) {
  // As an edit by its user: the text counts as changed since the last save.
  return OnNotepad([&](HWND e) {
    SetNotepadText(e, a[0]);
    SendMessageW(e, EM_SETMODIFY, TRUE, 0);
  });
}

int CmdNotepadTop(const Args&) {
  return OnNotepad([](HWND e) {
    Out(std::to_wstring(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0)));
  });
}

int CmdNotepadCaretTop(const Args&) {
  return OnNotepad([](HWND e) {
    CaretToTop(e);
    SendMessageW(e, WM_VSCROLL, SB_TOP, 0);
  });
}

int CmdNpView(const Args&) {
  return OnNotepad([](HWND e) {
    DWORD s = 0, t = 0;
    SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&t));
    const LRESULT first = SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0);
    const LRESULT caretLine = SendMessageW(e, EM_LINEFROMCHAR, t, 0);
    const LRESULT second = SendMessageW(e, EM_LINEINDEX, first + 1, 0);
    auto lineY = [&](LRESULT index) {
      return static_cast<int>(static_cast<short>(HIWORD(SendMessageW(e, EM_POSFROMCHAR, index, 0))));
    };
    const int y0 = lineY(SendMessageW(e, EM_LINEINDEX, first, 0));
    const int y1 = second >= 0 ? lineY(second) : y0;
    RECT r{};
    GetWindowRect(e, &r);
    Out(std::to_wstring(first) + L" " + std::to_wstring(s) + L" " + std::to_wstring(t) + L" " +
        std::to_wstring(caretLine) + L" " + std::to_wstring(y1 - y0) + L" " + RectText(r));
  });
}

int CmdNpLines(const Args& a) {
  return OnNotepad([&](HWND e) {
    std::wstring text;
    const int n = Int(a[0]);
    for (int i = 1; i <= n; ++i) text += std::to_wstring(i) + (i < n ? L"\r\n" : L"");
    SetNotepadText(e, text);
    CaretToTop(e);
  });
}

int CmdWaitNotepad(const Args& a) {
  return WaitFor([] { return Text(NotepadEdit()); }, a[0], Ms(a[1]));
}

// ---- the clipboard ----

int CmdClip(const Args&) {
  Out(Clip());
  return 0;
}

int CmdSetClip(const Args& a) { return SetClip(a[0]) ? 0 : 1; }

int CmdSetClipMarked(const Args& a) {
  if (!SetClip(a[0])) return 1;
  const std::wstring& mark = a[1];
  if (mark == L"none") return 0;
  const wchar_t* name = mark == L"exclude" ? L"ExcludeClipboardContentFromMonitorProcessing"
                        : mark == L"ignore" ? L"Clipboard Viewer Ignore"
                                            : L"CanIncludeInClipboardHistory";
  const UINT fmt = RegisterClipboardFormatW(name);
  OpenClip();
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
  *static_cast<DWORD*>(GlobalLock(g)) = mark == L"history1" ? 1 : 0;
  GlobalUnlock(g);
  const bool ok = SetClipboardData(fmt, g) != nullptr;
  CloseClipboard();
  return ok ? 0 : 1;
}

int CmdWaitClip(const Args& a) { return WaitFor(Clip, a[0], Ms(a[1])); }

// ---- the keyboard ----

int CmdKey(const Args& a) {
  keybd_event(static_cast<BYTE>(Int(a[0])), 0, a[1] == L"up" ? KEYEVENTF_KEYUP : 0,
              a[2] == L"own" ? kOwnInputMark : 0);
  return 0;
}

int CmdKeyLog(const Args& a) {
  // A low-level hook is called on this thread, so it has to pump messages.
  HHOOK h = SetWindowsHookExW(WH_KEYBOARD_LL, LogKey, GetModuleHandleW(nullptr), 0);
  if (!h) return 1;
  Out(L"ready");
  DWORD start = GetTickCount(), ms = Ms(a[0]);
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

int CmdHeld(const Args&) {
  for (int vk = 1; vk < 255; ++vk)
    if (GetAsyncKeyState(vk) < 0) Out(std::to_wstring(vk));
  return 0;
}

int CmdLButton(const Args&) {
  OutFlag(GetAsyncKeyState(VK_LBUTTON) < 0);
  return 0;
}

}  // namespace probe
