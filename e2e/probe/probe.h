// sqprobe: what the command handlers share. The helpers are in util.cpp,
// the handlers in windows.cpp, notepad.cpp and system.cpp, the command
// table and main() in sqprobe.cpp.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace probe {

// A command's arguments, the command name itself not included.
using Args = std::vector<std::wstring>;
// A handler returns the process's exit code, or kBadArgs when its
// arguments do not fit its usage line.
using Handler = int (*)(const Args&);
constexpr int kBadArgs = -1;

constexpr ULONG_PTR kOwnInputMark = 0x51515155u;  // as the program marks its input

// ---- output and arguments ----
std::string Utf8(const std::wstring& w);
// Writes one line to stdout, UTF-8.
void Out(const std::wstring& line);
inline void OutFlag(bool b) { Out(b ? L"1" : L"0"); }
// The command line split as the C runtime does (quotes, backslashes).
Args CommandLine();
inline int Int(const std::wstring& s) { return _wtoi(s.c_str()); }
inline DWORD Ms(const std::wstring& s) { return static_cast<DWORD>(Int(s)); }
// "left top width height".
std::wstring RectText(const RECT& r);

// A function of a system DLL, looked up at run time (null when absent).
template <class F>
F Api(const wchar_t* dll, const char* name) {
  HMODULE m = GetModuleHandleW(dll);
  if (!m) m = LoadLibraryW(dll);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

// ---- windows ----
// A window's text; WM_GETTEXT reaches controls of other processes.
std::wstring Text(HWND h);
// A window's class name, cut to cap - 1 characters ("" for no window).
std::wstring ClassOf(HWND h, int cap = 256);
// The first top-level window of the class.
HWND Form(const std::wstring& cls);
// The child of form CLS whose "sqname" property names it NAME.
HWND Control(const std::wstring& cls, const std::wstring& name);
// The first descendant of `parent` of the window class.
HWND ChildOfClass(HWND parent, const std::wstring& cls);
// A list box's items.
std::vector<std::wstring> Items(HWND lb);
// Notepad's edit control.
HWND NotepadEdit();
// The shell's task bar window.
HWND TrayWindow();

// ---- clipboard ----
// Opens the clipboard, retrying for up to 200 ms while another has it.
void OpenClip();
std::wstring Clip();
bool SetClip(const std::wstring& text);

// ---- waits: each polls every 20 ms and gives up after `ms` ----
// Until `accept` takes the value `get` returns; prints the last value.
int WaitUntil(const std::function<std::wstring()>& get,
              const std::function<bool(const std::wstring&)>& accept, DWORD ms);
// Until `get` returns `want`.
int WaitFor(const std::function<std::wstring()>& get, const std::wstring& want, DWORD ms);

// ---- processes ----
// Starts EXE (a relative name is taken in DIR) with DIR as its current
// directory; prints "cannot start, error N" and returns false on failure.
bool Start(const std::wstring& exe, const std::wstring& dir, PROCESS_INFORMATION* pi);

// ---- the handlers, one per command ----
// windows.cpp: windows and controls found by class and name
int CmdExists(const Args& a);
int CmdCount(const Args& a);
int CmdCaption(const Args& a);
int CmdSetCaption(const Args& a);
int CmdText(const Args& a);
int CmdSetText(const Args& a);
int CmdSetCText(const Args& a);
int CmdItems(const Args& a);
int CmdItem(const Args& a);
int CmdListView(const Args& a);
int CmdLvRows(const Args& a);
int CmdLbRow(const Args& a);
int CmdHasChild(const Args& a);
int CmdRect(const Args& a);
int CmdCRect(const Args& a);
int CmdDpi(const Args& a);
int CmdVisible(const Args& a);
int CmdIconic(const Args& a);
int CmdZoomed(const Args& a);
int CmdChecked(const Args& a);
int CmdRgnIn(const Args& a);
int CmdPlace(const Args& a);
int CmdMove(const Args& a);
int CmdCPlace(const Args& a);
int CmdSetLeft(const Args& a);
int CmdMaximize(const Args& a);
int CmdRestore(const Args& a);
int CmdMinimize(const Args& a);
int CmdFocus(const Args& a);
int CmdClose(const Args& a);
int CmdPostKey(const Args& a);
int CmdSetCheck(const Args& a);
int CmdClick(const Args& a);
int CmdBmClick(const Args& a);
int CmdToplevels(const Args& a);
int CmdForeground(const Args& a);
int CmdDialog(const Args& a);
int CmdMsgBox(const Args& a);
int CmdDialogOk(const Args& a);
int CmdWaitExists(const Args& a);
int CmdWaitGone(const Args& a);
int CmdWaitCaption(const Args& a);
int CmdWaitCaptionIn(const Args& a);
int CmdWaitCaptionPrefix(const Args& a);
int CmdWaitItem(const Args& a);
int CmdWaitRect(const Args& a);
int CmdCaptionTrace(const Args& a);
// notepad.cpp: Notepad, the clipboard, the keyboard
int CmdNotepad(const Args& a);
int CmdSetNotepad(const Args& a);
int CmdEditNotepad(const Args& a);
int CmdNotepadTop(const Args& a);
int CmdNotepadCaretTop(const Args& a);
int CmdNpView(const Args& a);
int CmdNpLines(const Args& a);
int CmdWaitNotepad(const Args& a);
int CmdClip(const Args& a);
int CmdSetClip(const Args& a);
int CmdSetClipMarked(const Args& a);
int CmdWaitClip(const Args& a);
int CmdKey(const Args& a);
int CmdKeyLog(const Args& a);
int CmdHeld(const Args& a);
int CmdLButton(const Args& a);
// system.cpp: the shell, the screen, the registry, processes
int CmdTray(const Args& a);
int CmdWaitTray(const Args& a);
int CmdTrayIcon(const Args& a);
int CmdTaskbar(const Args& a);
int CmdMonitors(const Args& a);
int CmdWorkArea(const Args& a);
int CmdAppBarTop(const Args& a);
int CmdInk(const Args& a);
int CmdPixel(const Args& a);
int CmdRegKey(const Args& a);
int CmdRegValue(const Args& a);
int CmdShortcut(const Args& a);
int CmdMakeShortcut(const Args& a);
int CmdRunWait(const Args& a);
int CmdStartTime(const Args& a);
int CmdAnchor(const Args& a);

}  // namespace probe
