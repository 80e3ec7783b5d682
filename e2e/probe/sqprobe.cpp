// sqprobe: reads (and pokes) the state of a running Sipquill from another
// process, for the end-to-end tests under Wine.
//
//   sqprobe.exe COMMAND ARGS...
//   sqprobe.exe help               the commands, one usage line each
//
// Output is UTF-8 on stdout, one value per line; the exit code is 0 on
// success, 1 when a wait timed out or a window was not found, 2 on a bad
// command. Windows are found by class; a control inside a form by the
// layout name that the program stores in the window property "sqname" (a
// global atom). The probe itself is per-monitor DPI aware, so every
// rectangle it reads is in physical pixels. Every wait polls each 20 ms
// and gives up after MS milliseconds.
//
// The commands are the table below: each one's name, its arguments (the
// ones before the first "[" are required; "X..." is one or more), what it
// does, and its handler. Extra arguments are ignored.
#include <algorithm>

#include "e2e/probe/probe.h"

namespace probe {
namespace {

struct Command {
  const wchar_t* name;
  const wchar_t* args;
  const wchar_t* what;
  Handler run;
};

// clang-format off
const Command kCommands[] = {
  // ---- top-level windows, found by class ----
  {L"exists", L"CLASS", L"1 when a window of CLASS exists, else 0", CmdExists},
  {L"count", L"CLASS...", L"the number of top-level windows of each CLASS, one a line", CmdCount},
  {L"caption", L"CLASS", L"the window's caption", CmdCaption},
  {L"setcaption", L"CLASS TEXT", L"writes the caption (stands in for another program)", CmdSetCaption},
  {L"rect", L"CLASS", L"the window's screen rectangle: left top width height", CmdRect},
  {L"visible", L"CLASS", L"1 when the window has the WS_VISIBLE style, else 0", CmdVisible},
  {L"iconic", L"CLASS", L"1 when the window is minimised, else 0", CmdIconic},
  {L"zoomed", L"CLASS", L"\"Z S C\": IsZoomed, the WS_MAXIMIZE style bit, the placement's show command", CmdZoomed},
  {L"dpi", L"CLASS", L"\"system S window W awareness A\": system DPI, window DPI, its process's awareness (0 unaware, 1 system, 2 per monitor, -1 no such call)", CmdDpi},
  {L"has-child", L"CLASS CHILDCLASS", L"1 when a window of CHILDCLASS is inside the window, else 0", CmdHasChild},
  {L"rgn-in", L"CLASS X Y", L"1 or 0: whether screen point X Y lies in the window's region (\"none\": no region)", CmdRgnIn},
  {L"place", L"CLASS X Y W H", L"shows the window topmost at that place, without activating it", CmdPlace},
  {L"move", L"CLASS X Y W H", L"moves the window there, z-order kept", CmdMove},
  {L"maximize", L"CLASS", L"shows the window maximised", CmdMaximize},
  {L"restore", L"CLASS", L"shows the window restored", CmdRestore},
  {L"minimize", L"CLASS", L"minimises the window", CmdMinimize},
  {L"focus", L"CLASS", L"makes the window the foreground window", CmdFocus},
  {L"close", L"CLASS", L"posts WM_CLOSE to the window", CmdClose},
  {L"toplevels", L"", L"visible top-level windows, topmost first: \"CLASS<TAB>TITLE\", one a line", CmdToplevels},
  {L"foreground", L"", L"the foreground window's class", CmdForeground},
  // ---- controls inside a form, found by layout name ----
  {L"text", L"CLASS NAME", L"the caption of control NAME", CmdText},
  {L"settext", L"CLASS NAME TEXT", L"sends control NAME WM_SETTEXT, as another window would", CmdSetText},
  {L"setctext", L"CLASS NAME TEXT", L"writes control NAME's caption (SetWindowText)", CmdSetCText},
  {L"items", L"CLASS NAME", L"the items of list box NAME, one a line", CmdItems},
  {L"item", L"CLASS NAME INDEX", L"one item of list box NAME (\"\" and exit 1 when out of range)", CmdItem},
  {L"lbrow", L"CLASS NAME I", L"the screen rectangle of list box NAME's row I", CmdLbRow},
  {L"listview", L"CLASS NAME", L"\"CLASS ROWS REPORT FULLROW TOP\": a list view's class, row count, report view and full-row selection (1 or 0), top row", CmdListView},
  {L"lvrows", L"CLASS NAME", L"a list view's rows, \"TEXT<TAB>IMAGE<TAB>TOP<TAB>BOTTOM\" one a line (IMAGE below 0: no icon; TOP, BOTTOM: screen y range)", CmdLvRows},
  {L"crect", L"CLASS NAME", L"control NAME's screen rectangle: left top width height", CmdCRect},
  {L"cplace", L"CLASS NAME X Y", L"moves control NAME to X Y in its parent, on top, and shows it", CmdCPlace},
  {L"setleft", L"CLASS NAME X", L"moves control NAME to x X in its parent's client area", CmdSetLeft},
  {L"checked", L"CLASS NAME", L"1 when check box NAME is checked, else 0", CmdChecked},
  {L"setcheck", L"CLASS NAME 0|1", L"sets a check box's or radio button's mark without a click (no notification)", CmdSetCheck},
  {L"click", L"CLASS NAME", L"clicks button NAME (BM_CLICK sent, returns when it is handled)", CmdClick},
  {L"bmclick", L"CLASS NAME", L"clicks button NAME as another window would (BM_CLICK posted)", CmdBmClick},
  {L"postkey", L"CLASS NAME VK", L"posts a key's press and release to control NAME (WM_KEYDOWN, WM_KEYUP)", CmdPostKey},
  {L"ink", L"CLASS NAME", L"\"DARK LIGHT\": dark and light screen pixels (every second one each way) in the left three quarters of control NAME", CmdInk},
  // ---- message boxes ----
  {L"dialog", L"", L"the caption and the texts of an open message box, one a line", CmdDialog},
  {L"msgbox", L"", L"the caption, then the message text (static control 0xFFFF) of an open message box", CmdMsgBox},
  {L"dialog-ok", L"", L"answers an open message box with IDOK", CmdDialogOk},
  // ---- waits ----
  {L"wait-exists", L"CLASS MS", L"until a window of CLASS exists; prints 1 (or 0 on timeout)", CmdWaitExists},
  {L"wait-gone", L"CLASS MS", L"until no window of CLASS exists; prints 0 (or 1 on timeout)", CmdWaitGone},
  {L"wait-caption", L"CLASS TEXT MS", L"until the caption equals TEXT; prints the caption", CmdWaitCaption},
  {L"wait-caption-in", L"CLASS MS TEXT...", L"until the caption equals one of the TEXTs; prints the caption", CmdWaitCaptionIn},
  {L"wait-caption-prefix", L"CLASS MS PREFIX...", L"until the caption begins with one of the PREFIXes; prints the caption", CmdWaitCaptionPrefix},
  {L"wait-item", L"CLASS NAME I TEXT MS", L"until item I of list box NAME equals TEXT; prints the item", CmdWaitItem},
  {L"wait-rect", L"CLASS RECT MS", L"until the window's rectangle reads RECT (\"left top width height\" or none); prints it", CmdWaitRect},
  {L"caption-trace", L"MS CLASS UNTIL [CLASS UNTIL]...", L"prints \"ready\", then \"CLASS: caption\" for every caption each window shows (polled each ms) until each reads its UNTIL; exit 1 when MS pass first", CmdCaptionTrace},
  // ---- Notepad ----
  {L"notepad", L"", L"the text of Notepad's edit control", CmdNotepad},
  {L"setnotepad", L"TEXT", L"replaces Notepad's text by TEXT, all of it selected", CmdSetNotepad},
  {L"editnotepad", L"TEXT", L"replaces Notepad's text by TEXT, marked as changed since the last save", CmdEditNotepad},
  {L"nplines", L"N", L"Notepad's text made N numbered lines, shown from the top", CmdNpLines},
  {L"notepad-top", L"", L"Notepad's first visible line", CmdNotepadTop},
  {L"notepad-caret-top", L"", L"Notepad's caret and view to the top", CmdNotepadCaretTop},
  {L"npview", L"", L"\"FIRST START END CARETLINE LINEHEIGHT L T W H\": Notepad's first visible line, selection, caret line, line height, edit rectangle", CmdNpView},
  {L"wait-notepad", L"TEXT MS", L"until Notepad's text equals TEXT; prints it", CmdWaitNotepad},
  // ---- the clipboard ----
  {L"clip", L"", L"the clipboard text", CmdClip},
  {L"setclip", L"TEXT", L"puts TEXT on the clipboard", CmdSetClip},
  {L"setclip-marked", L"TEXT MARK", L"puts TEXT on the clipboard with a privacy mark: none, exclude, ignore, history0, history1", CmdSetClipMarked},
  {L"wait-clip", L"TEXT MS", L"until the clipboard text equals TEXT; prints it", CmdWaitClip},
  // ---- the keyboard and the mouse buttons ----
  {L"key", L"VK down|up own|user", L"synthesises a key event; \"own\" carries the program's mark in dwExtraInfo", CmdKey},
  {L"key-log", L"MS", L"prints \"ready\", records key events for MS, then prints \"VK down|up\" one a line, \" own\" or \" injected\" added for injected ones", CmdKeyLog},
  {L"held", L"", L"the virtual keys and buttons held down (GetAsyncKeyState), one code a line", CmdHeld},
  {L"lbutton", L"", L"1 when the left mouse button is down, else 0", CmdLButton},
  // ---- the task bar, the screen, the desktop ----
  {L"tray", L"", L"1 when a task bar with tray icons is shown, else 0", CmdTray},
  {L"wait-tray", L"0|1 MS", L"until `tray` answers so; prints the answer", CmdWaitTray},
  {L"trayicon", L"", L"the state whose colour the tray icon shows on the screen: 1 (blue), 2 (green) or none", CmdTrayIcon},
  {L"taskbar", L"", L"the task bar's visible children: class and text, one a line", CmdTaskbar},
  {L"monitors", L"", L"\"left top width height dpi\" of each monitor, one a line", CmdMonitors},
  {L"workarea", L"", L"the work area (SPI_GETWORKAREA), then the main monitor's work rectangle: left top width height", CmdWorkArea},
  {L"appbar-top", L"H", L"the top the shell gives a desktop toolbar of height H at the top edge (registered, then removed)", CmdAppBarTop},
  {L"pixel", L"X Y", L"\"R G B\" of the screen pixel at X Y", CmdPixel},
  // ---- the registry, shell links, processes ----
  {L"regkey", L"KEY", L"1 when HKEY_CLASSES_ROOT\\KEY exists, else 0", CmdRegKey},
  {L"regvalue", L"KEY", L"the default string value of HKEY_CLASSES_ROOT\\KEY (exit 1 when missing)", CmdRegValue},
  {L"shortcut", L"LNK", L"a shell link's target path, then its working directory (exit 1 when unreadable)", CmdShortcut},
  {L"make-shortcut", L"LNK TARGET DIR", L"writes a shell link to TARGET with working directory DIR", CmdMakeShortcut},
  {L"run-wait", L"EXE DIR MS", L"starts EXE (relative to DIR) in DIR, waits at most MS, prints its exit code; on timeout prints \"timeout\", ends it, exit 1", CmdRunWait},
  {L"start-time", L"EXE DIR CLASS MS", L"starts EXE as run-wait does, prints the ms until it has a top-level window of CLASS, leaves it running (\"timeout\", exit 1 after MS)", CmdStartTime},
  {L"anchor", L"", L"prints \"ready\" and stays a user of the desktop (which the server closes a second after its last user) until killed", CmdAnchor},
};
// clang-format on

// The number of required arguments: the words of the usage line before
// the first optional one.
size_t Required(const wchar_t* args) {
  size_t n = 0;
  for (const wchar_t* p = args; *p;) {
    while (*p == L' ') ++p;
    if (!*p || *p == L'[') break;
    ++n;
    while (*p && *p != L' ') ++p;
  }
  return n;
}

std::wstring UsageLine(const Command& c) {
  std::wstring line = c.name;
  if (*c.args) line += std::wstring(L" ") + c.args;
  return line;
}

void Help() {
  Out(L"usage: sqprobe COMMAND ARGS...");
  Out(L"Output is UTF-8, one value a line; exit 0 on success, 1 when a wait timed out or");
  Out(L"a window was not found, 2 on a bad command. Rectangles are in physical pixels;");
  Out(L"waits poll every 20 ms and give up after MS milliseconds. Commands:");
  constexpr size_t kColumn = 36;
  for (const Command& c : kCommands) {
    std::wstring line = L"  " + UsageLine(c);
    if (line.size() + 1 > kColumn) {
      Out(line);
      line.clear();
    }
    line.resize(kColumn, L' ');
    Out(line + c.what);
  }
}

int BadUsage(const Command& c) {
  Out(L"usage: sqprobe " + UsageLine(c));
  return 2;
}

int Unknown() {
  Out(L"usage: sqprobe COMMAND ARGS (sqprobe help lists the commands)");
  return 2;
}

int Run(const Args& all) {
  if (all.size() < 2) {
    Help();
    return 2;
  }
  const std::wstring& name = all[1];
  if (name == L"help") {
    Help();
    return 0;
  }
  const auto* c = std::find_if(std::begin(kCommands), std::end(kCommands),
                               [&](const Command& k) { return name == k.name; });
  if (c == std::end(kCommands)) return Unknown();
  const Args args(all.begin() + 2, all.end());
  if (args.size() < Required(c->args)) return BadUsage(*c);
  const int rc = c->run(args);
  return rc == kBadArgs ? BadUsage(*c) : rc;
}

}  // namespace
}  // namespace probe

int main() {
  using probe::Api;
  // Physical pixels: per-monitor aware (V2, else V1) where the system has it.
  if (auto ctx = Api<BOOL(WINAPI*)(HANDLE)>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
    if (!ctx(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))))
      ctx(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)));
  } else if (auto aware = Api<BOOL(WINAPI*)()>(L"user32.dll", "SetProcessDPIAware")) {
    aware();
  }
  return probe::Run(probe::CommandLine());
}
