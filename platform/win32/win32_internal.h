// What the files of the Win32 backend share: the one backend object, the
// counts of the tick marks, the window classes, handle casts and the small
// helpers about what a window shows. Internal to platform/win32.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "hook/hookmsg.h"
#include "platform/lines.h"
#include "platform/win32/gbk.h"
#include "platform/win32/win32_platform.h"

namespace sq::w32 {

// The backend object of the process (the window procedure and the timer
// thunk find it here); null before and after it lives.
extern Win32Platform* g_self;

// What the core asked of the backend since the running timer handler
// began, for the tick marks (TickMark).
struct CallCounts {
  unsigned textRead = 0, textWrite = 0, fromPoint = 0, parent = 0, listRead = 0,
           listWrite = 0, onScreen = 0;
  // Of those, what reached the system: texts read and written, list items
  // read, list changes.
  unsigned textReadSys = 0, textWriteSys = 0, listReadSys = 0, listWriteSys = 0;
};
extern CallCounts g_calls;
// Whether the tick marks are on (SQ_TICK_MARKS), and one start-up mark.
bool TickMarks();
void StartMark(const std::wstring& what);

inline constexpr wchar_t kPanelClass[] = L"SqPanel";
inline constexpr wchar_t kUtilClass[] = L"SqUtil";
// Window property holding the control's layout name as a global atom, so a
// test probe in another process can find a control by its name.
inline constexpr wchar_t kNameProp[] = L"sqname";

inline HWND H(Wnd w) { return reinterpret_cast<HWND>(w); }
inline Wnd W(HWND h) { return reinterpret_cast<Wnd>(h); }

inline bool IsListKind(Kind k) { return k == Kind::ListBox || k == Kind::ListView; }
// The height of a list view's rows, or what it will be before the first.
int RowHeight(HWND h);

// The rectangle of all monitors, asked again only after a display change
// (ForgetScreen) or two seconds.
const RECT& VirtualScreen();
void ForgetScreen();
// Whether any part of a visible window can be seen: inside the screen and
// inside the client area of every ancestor.
bool ShowsOnScreen(HWND h);

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
void RedrawOff(HWND h);
BOOL CALLBACK CollectChild(HWND c, LPARAM lp);
BOOL CALLBACK CollectTop(HWND h, LPARAM lp);

}  // namespace sq::w32
