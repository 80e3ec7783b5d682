// The platform seam: every call the core makes into the operating system.
//
// Read this file first. The core (app/, input/, bar/, browser/) never includes
// a system header; it talks to the desktop only through `sq::Platform`.
// Two backends implement it:
//   - platform/sim/   a simulated desktop for the tests (virtual clock, window
//                     tree, pointer, keys, clipboard, registry, shell, and an
//                     ordered record of synthesised events and caption changes);
//   - platform/win32/ the real thing, a thin mapping onto user32/shell32/...
//
// Conventions
//   * All text is GBK (code page 936) bytes in std::string. The Win32 backend
//     converts at its boundary with an explicit code page, never the ANSI one.
//   * Window handles are opaque numbers (`Wnd`); 0 means "no window".
//   * Points and rectangles of top-level windows are screen pixels. The
//     bounds of a child window are relative to its parent's client area, as a
//     form designer stores them (Left/Top/Width/Height).
//   * The program is per-monitor DPI aware: every coordinate here, the
//     pointer's and the hook's included, is a physical pixel. Scaling the
//     stored 96-DPI layouts is the form framework's work (app/frame/screens.h).
//   * Calls are named after the Win32 call they stand for where there is one,
//     so a reader who knows user32 knows what they do. Failures are quiet:
//     a call on a dead handle does nothing and returns a neutral value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sq {

using Wnd = std::uintptr_t;
using Module = std::uintptr_t;  // a loaded library (the simulator's records)

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool contains(Point p) const {
    return p.x >= left && p.x < right() && p.y >= top && p.y < bottom();
  }
  bool operator==(const Rect&) const = default;
};

// What kind of window a control is. Backends use it to pick a window class
// (Win32) or a behaviour (simulator); the core uses it for typed access.
enum class Kind {
  Form, Panel, Label, Button, Edit, Memo, ListBox, ListView, CheckBox,
  RadioButton, GroupBox, Image, Browser, Shape, Timer, MenuItem, Other
};

enum class TextAlign { Center, Left, Right };

// How a window is created. Top-level windows (parent 0) take `className`
// as their registered class; children get a class suited to `kind`.
struct WindowSpec {
  Kind kind = Kind::Panel;
  std::string className;   // "Tqircom" for forms; ignored for most children
  std::string name;        // the control's layout name, for debugging views
  std::string caption;
  Wnd parent = 0;
  Rect bounds;             // screen for top-level, parent-relative for children
  bool visible = true;
  bool enabled = true;
  bool topmost = false;    // top-level only
  bool borderless = true;  // top-level only
  int color = -1;          // background, BGR; -1 = system default
  int fontColor = -1;      // BGR; -1 = default
  std::string fontName;
  int fontSize = 0;
  std::vector<std::string> items;  // list boxes, memos
  bool checked = false;            // check boxes, radio buttons
  TextAlign align = TextAlign::Center;  // caption of a panel
  int dpi = 96;  // the DPI `bounds` were scaled for; the font follows it
  bool readOnly = false;           // edits: typed keys change nothing
};

// Synthesised-input flags, as keybd_event and mouse_event take them.
namespace keyflag { constexpr unsigned ExtendedKey = 1, KeyUp = 2; }
namespace mouseflag {
constexpr unsigned Move = 0x1, LeftDown = 0x2, LeftUp = 0x4, RightDown = 0x8,
                   RightUp = 0x10, MiddleDown = 0x20, MiddleUp = 0x40,
                   Wheel = 0x800, Absolute = 0x8000;
}

// Every event the system synthesises carries this in dwExtraInfo so the hook
// library can tell the system's own input from the user's.
constexpr std::uintptr_t kOwnInputMark = 0x51515155u;

// Window-position flags for setWindowPos (the SWP_ subset the core uses).
namespace swp {
constexpr unsigned NoSize = 0x1, NoMove = 0x2, NoZOrder = 0x4, NoActivate = 0x10,
                   ShowWindow = 0x40, HideWindow = 0x80;
}
enum class ZOrder { Keep, Top, TopMost, NoTopMost, Bottom };

// One display of the desktop (MONITORINFO plus its DPI). Rectangles are
// physical screen pixels; the main monitor's rectangle starts at 0, 0 and
// the others may lie at negative coordinates. 96 DPI is 100 % scaling.
struct Monitor {
  Rect rect;
  Rect work;  // without the task bar and desktop toolbars
  int dpi = 96;
  bool primary = false;
  bool operator==(const Monitor&) const = default;
};

enum class Region { None, Ellipse, RoundRect };

// Message-box buttons and answers (MB_ / ID_ subset).
namespace mb { constexpr unsigned Ok = 0, OkCancel = 1, YesNo = 4; }
namespace idans { constexpr int Ok = 1, Cancel = 2, Yes = 6, No = 7; }

// Strings of the system for the system report.
enum class SystemString { ComputerName, UserName, SystemDirectory, WindowsDirectory };

struct ProcessInfo { unsigned pid = 0; std::string exePath; };

// A process's program file as the process and module snapshots tell it.
struct ProcessImage {
  unsigned pid = 0;
  std::string exeName;         // the executable's file name, no folder
  bool modulesListed = false;  // its module snapshot could be taken
  std::string mainModule;      // full path of the module named exeName; "" none
};

// Tray icon data (NOTIFYICONDATA subset). The backend chooses the
// callback message itself and hands the icon's mouse events to the handler
// set with setTrayHandler.
struct TrayIcon {
  Wnd owner = 0;
  unsigned id = 0;
  std::string tip;
  int icon = 0;  // the program's icon resource: 1 state one, 2 state two; 0 none
};

// A mouse event on the tray icon.
enum class TrayEvent { LeftDown, LeftUp, RightDown, RightUp, LeftDouble, Other };

// Which caption a word of the hook library goes to (see input/words.h).
enum class Mailbox {
  Input,   // the input window
  Bar,     // the command bar (key history words)
  Scroll,  // the scroll-mode window (mouse words)
};

// What installing the hooks came to.
enum class HookInstall {
  Installed,
  NoLibrary,   // the hook library could not be loaded
  NoExport,    // SetHookmo or SetHookkb is missing; nothing was installed
               // and the library is released
};

enum class MouseButton { Left, Right, Middle };

// Modifier keys and buttons held when an event happened.
struct ShiftState {
  bool shift = false, ctrl = false, alt = false;
  bool left = false, right = false, middle = false;
  bool operator==(const ShiftState&) const = default;
};

// An event of one of the program's own windows, raised by the backend from
// the real input (Win32: the window messages, system controls subclassed;
// simulator: its real-input calls and synthesised input, hitting the
// control under the pointer, the captured one, or the focused one for keys
// and the wheel), in the order Windows delivers them.
struct UiEvent {
  enum Type {
    MouseEnter,  // first move over the window since it was entered
    MouseMove,
    MouseLeave,  // the pointer left (TrackMouseEvent)
    MouseDown,
    MouseUp,
    DblClick,    // second press of a double click; a MouseDown with
                 // `doubleClick` set comes just before it
    MouseWheel,  // to the focused window
    KeyDown,     // to the focused window: virtual key
    KeyPress,    // the character a key typed (GBK byte); 0 after a handler
                 // swallowed it
    KeyUp,
    Activate,    // top-level windows: became the active window
    Deactivate,
    DpiChanged,     // top-level windows: the DPI the window is shown at
                    // changed (moved to another monitor, or its monitor
                    // was rescaled); `dpi` is the new one
    DisplayChange,  // top-level windows: monitors were added, removed,
                    // moved or resized
  };
  Type type = MouseMove;
  MouseButton button = MouseButton::Left;  // MouseDown, MouseUp, DblClick
  Point pt;                 // mouse events: the window's client coordinates
  ShiftState shift;
  bool doubleClick = false;
  int wheelDelta = 0;       // +120 = one notch away from the user
  int key = 0;              // KeyDown/KeyUp: virtual key; KeyPress: character
  int dpi = 0;              // DpiChanged
};
using UiEventHandler = std::function<void(UiEvent&)>;

// What the window switcher asks of any window, its own or another program's.
struct WindowState {
  bool minimized = false;   // IsIconic
  bool toolWindow = false;  // WS_EX_TOOLWINDOW: no task-bar button
  bool appWindow = false;   // WS_EX_APPWINDOW: a task-bar button even when owned
  bool topmost = false;     // WS_EX_TOPMOST
  // The whole extended style as the system keeps it (GWL_EXSTYLE), for
  // filters that name exact combinations of its bits.
  unsigned exStyle = 0;
  bool maximized = false;   // IsZoomed
};

// Mouse pointer shapes for setCursorShape.
enum class CursorShape { Arrow, Cross };

// Drag-scrolling, carried out on the hook thread (input/dragscroll.h).
struct DragScrollRequest {
  Wnd target = 0;           // the window under the press point
  Point anchor;             // where the drag began
  bool systemHeld = false;  // the program pressed the left button for the user
  bool thumb = false;       // a grabbed scroll-bar thumb: the pointer moves freely
};
struct DragScrollState {
  bool active = false;    // a drag runs on the hook thread
  bool userLeft = false;  // the user's own hand holds the left button
  // The program's last request (a drag or its end) has not reached the
  // hook thread yet: `active` tells of the drag before it.
  bool pending = false;
};
// GetSystemMetrics indexes the core asks for.
namespace sm { constexpr int CxVScroll = 2, CyVScroll = 20; }

// Shell link to write (IShellLink subset).
struct ShellLink {
  std::string target, arguments, workingDir, description, iconPath;
  int iconIndex = 0;
  int showCommand = 1;  // SW_ value the shortcut starts the program with
};

// Special folders (CSIDL values).
namespace csidl { constexpr int Desktop = 0x10, Programs = 0x2, StartMenu = 0xB; }

// ---- the web browser control --------------------------------------------
//
// A WebBrowser is the system's HTML control (IWebBrowser2) filling a window
// of the program, the host given to Platform::createBrowser; it follows the
// host's size. Its events reach the core through the BrowserEvents object
// given at creation, one object per browser, on the GUI thread, in the order
// the control raises them. For one navigation of a page that loads:
//
//   navigate()  ->  beforeNavigate2   (inside the call; true cancels it and
//                                      nothing else follows)
//   later, from the message loop:
//                   downloadBegin, navigateComplete2, titleChange,
//                   downloadComplete, documentComplete
//
// with statusTextChange, progressChange and propertyChange interleaved as
// the control likes. readyState is 4 (complete) from documentComplete on. A
// page that cannot be had raises navigateError after downloadBegin; unless
// that answers true the control shows its own error page in its place
// (navigateComplete2, titleChange, downloadComplete, documentComplete with
// the address asked for). A link the user clicks raises the same events as
// navigate(); while the pointer rests on a link the status text is the
// link's address, and "" once it leaves. A page asking for a window of its
// own (a link with a target, window.open) raises newWindow2 first; the new
// window's navigation is then raised on the browser handed back.

// Navigation flags of WebBrowser::navigate (BrowserNavConstants).
namespace navflag {
constexpr unsigned OpenInNewWindow = 0x1, NoHistory = 0x2, NoReadFromCache = 0x4,
                   NoWriteToCache = 0x8;
}
// ExecWB commands (OLECMDID) and options (OLECMDEXECOPT) the program uses.
namespace olecmd {
constexpr int Open = 1, SaveAs = 4, Print = 6, Cut = 11, Copy = 12, Paste = 13,
              SelectAll = 17, ClearSelection = 18, Refresh = 22, Stop = 23;
constexpr int DoDefault = 0, PromptUser = 1, DontPromptUser = 2;
}
// The longest address the control takes (INTERNET_MAX_URL_LENGTH, the
// terminating zero not counted); navigate refuses longer ones.
constexpr std::size_t kMaxBrowserAddress = 2083;

class WebBrowser;

// What the core answers to a new-window request.
struct NewWindowReply {
  bool cancel = false;           // no window at all
  // The browser the new window opens in instead of a window of its own: a
  // browser of this platform that has not navigated yet (a new tab's).
  // Ignored when cancel is set.
  WebBrowser* into = nullptr;
};

// Events of one browser control. Every address and text is GBK.
struct BrowserEvents {
  virtual ~BrowserEvents() = default;
  // The control is about to navigate (the program's navigate, a link, a
  // script). Return true to cancel the navigation.
  virtual bool beforeNavigate2(const std::string& url) { (void)url; return false; }
  // The page asks for a new window. Default: the control opens a window of
  // its own, outside the program.
  virtual NewWindowReply newWindow2() { return {}; }
  virtual void downloadBegin() {}
  // The document of `url` is being loaded into the control.
  virtual void navigateComplete2(const std::string& url) { (void)url; }
  // `url` could not be had; `status` is the control's code (an HRESULT or an
  // HTTP status). Return true to keep the control's error page out.
  virtual bool navigateError(const std::string& url, long status) {
    (void)url; (void)status;
    return false;
  }
  virtual void statusTextChange(const std::string& text) { (void)text; }
  virtual void titleChange(const std::string& title) { (void)title; }
  virtual void progressChange(long progress, long progressMax) { (void)progress; (void)progressMax; }
  virtual void propertyChange(const std::string& name) { (void)name; }
  // The page set its window's size (resizeTo, window.open's features).
  virtual void windowSetWidth(int width) { (void)width; }
  virtual void windowSetHeight(int height) { (void)height; }
  virtual void documentComplete(const std::string& url) { (void)url; }
  virtual void downloadComplete() {}
};

// The control (IWebBrowser2 subset). Calls on a browser whose control could
// not be made (no HTML engine) do nothing and answer "" / 0 / false.
class WebBrowser {
 public:
  virtual ~WebBrowser() = default;
  virtual Wnd window() const = 0;  // the host
  // Navigate2 with the flags (navflag::), no target frame, post data or
  // headers. False, and no event, when the address is empty or longer than
  // kMaxBrowserAddress or there is no control.
  virtual bool navigate(const std::string& url, unsigned flags = 0) = 0;
  virtual std::string locationURL() const = 0;
  virtual std::string locationName() const = 0;  // the title, else the address
  virtual int readyState() const = 0;  // 0..4, 4 = complete
  virtual void execWB(int command, int option) = 0;  // olecmd::
  virtual void goBack() = 0;
  virtual void goForward() = 0;
  virtual void refresh() = 0;
  virtual void stop() = 0;
  // Focuses the page's document window (its parent window's focus method).
  virtual void setFocus() = 0;
  // The document's body text, or empty when there is no document.
  virtual std::string documentText() const = 0;
};

using TimerProc = std::function<void()>;

// The seam in roles: each role is one kind of call into the system, and
// `Platform` hands them all out. A part of the core that needs one kind
// takes that role (`role::Clock&`, `role::Files&`).
namespace role {

// The program's own windows: creation, text, place, visibility, focus.
class Windows {
 public:
  virtual Wnd createWindow(const WindowSpec& desc) = 0;
  virtual void destroyWindow(Wnd w) = 0;
  virtual bool isWindow(Wnd w) = 0;
  virtual std::string getWindowText(Wnd w) = 0;            // GetWindowTextA
  // At most the first `maxBytes` bytes of the text, read without copying
  // the rest (a caption any program can make huge).
  virtual std::string getWindowTextUpTo(Wnd w, std::size_t maxBytes) {
    std::string s = getWindowText(w);
    if (s.size() > maxBytes) s.resize(maxBytes);
    return s;
  }
  virtual void setWindowText(Wnd w, const std::string& text) = 0;
  // Where a panel's caption sits in it (left, centred, right); repaints it.
  virtual void setTextAlign(Wnd w, TextAlign align) = 0;
  virtual std::string getClassName(Wnd w) = 0;             // GetClassNameA
  virtual Rect getBounds(Wnd w) = 0;       // parent-relative for children
  virtual void setBounds(Wnd w, const Rect& r) = 0;
  virtual Rect getWindowRect(Wnd w) = 0;   // screen rectangle, GetWindowRect
  // The client area in screen coordinates (GetClientRect, ClientToScreen):
  // inside the window's frame and edges, beside its scroll bars.
  virtual Rect getClientScreenRect(Wnd w) = 0;
  virtual void showWindow(Wnd w, bool show) = 0;           // SW_SHOW / SW_HIDE
  virtual bool isWindowVisible(Wnd w) = 0;  // own style bit only
  virtual void enableWindow(Wnd w, bool enable) = 0;
  virtual bool isWindowEnabled(Wnd w) = 0;
  // SetWindowPos: z-order, rectangle (screen for top-level) and flags.
  virtual void setWindowPos(Wnd w, ZOrder z, const Rect& r, unsigned flags) = 0;
  virtual void setFocus(Wnd w) = 0;
  // Redoes the window's font (as created from its WindowSpec) for `dpi`.
  virtual void setFontDpi(Wnd w, int dpi) = 0;

 protected:
  ~Windows() = default;
};

// The window tree and z-order, the program's windows and other programs' alike.
class Tree {
 public:
  virtual bool bringWindowToTop(Wnd w) = 0;
  virtual bool setForegroundWindow(Wnd w) = 0;
  virtual Wnd setActiveWindow(Wnd w) = 0;
  virtual Wnd getForegroundWindow() = 0;
  virtual Wnd getParent(Wnd w) = 0;
  virtual bool isChild(Wnd parent, Wnd w) = 0;   // any depth, not itself
  virtual Wnd windowFromPoint(Point p) = 0;
  virtual Wnd getTopWindow() = 0;                // first top-level in z-order
  virtual std::vector<Wnd> enumWindows() = 0;    // top-level, z-order
  virtual Wnd findWindow(const std::string& className,
                         const std::optional<std::string>& caption = {}) = 0;
  virtual void closeWindow(Wnd w) = 0;           // WM_CLOSE to another program
  virtual unsigned windowProcessId(Wnd w) = 0;
  virtual WindowState windowState(Wnd w) = 0;    // all false for a dead handle
  // ShowWindow(SW_RESTORE): a minimised window comes back where it was.
  virtual void restoreWindow(Wnd w) = 0;

 protected:
  ~Tree() = default;
};

// Monitors, the screen's pixels, and windows shaped or painted by pictures.
class Display {
 public:
  virtual int screenWidth() = 0;
  virtual int screenHeight() = 0;
  virtual int getPixel(Point p) = 0;   // BGR
  // Every monitor, the main one first (EnumDisplayMonitors, GetDpiForMonitor).
  virtual std::vector<Monitor> monitors() = 0;
  // Gives a window the shape of a picture (SetWindowRgn): `pixels` are
  // width*height colours (BGR, row by row from the top); every pixel not of
  // colour `key` is inside, the rest of the window is not (the pointer
  // there reaches the window beneath). False, the region unchanged, when
  // the sizes do not match or w is no window.
  virtual bool setWindowRgnFromPicture(Wnd w, int width, int height,
                                       const std::vector<int>& pixels, int key) = 0;
  // Shows a picture in a window (an Image control): width*height colours
  // (BGR, row by row from the top), stretched over its client area and
  // drawn under its caption. An empty picture (0 x 0) removes it. False,
  // the picture unchanged, when the sizes do not match or w is no window.
  virtual bool setPicture(Wnd w, int width, int height, const std::vector<int>& pixels) = 0;

 protected:
  ~Display() = default;
};

// State of the list boxes, list views and check boxes.
class Controls {
 public:
  virtual int listCount(Wnd w) = 0;
  virtual std::string listItem(Wnd w, int i) = 0;        // "" when out of range
  virtual void listInsert(Wnd w, int i, const std::string& s) = 0;  // -1 = end
  virtual void listDelete(Wnd w, int i) = 0;
  virtual void listSet(Wnd w, int i, const std::string& s) = 0;
  virtual void listClear(Wnd w) = 0;
  virtual int listSelected(Wnd w) = 0;                   // -1 = none
  virtual void listSelect(Wnd w, int i) = 0;
  virtual bool isChecked(Wnd w) = 0;
  virtual void setChecked(Wnd w, bool on) = 0;
  // One row per entry: a caption and a small icon (a fileIcon handle; 0
  // none), no column header, the whole row selectable. listCount, listItem,
  // listClear, listSelected and listSelect work on its rows as well. Rows
  // are a fixed height from the top of the client area; the user's press
  // (left or right) on a row selects it, the wheel over the focused list
  // scrolls it by three rows a notch, the pointer over a row makes it hot.
  // Appends a row; its index, or -1 when w is no list view.
  virtual int listViewAdd(Wnd w, const std::string& caption, std::uintptr_t icon) = 0;
  // The row at a point of the client area (LVM_HITTEST); -1 when none,
  // below the last row or outside the client area.
  virtual int listViewHitTest(Wnd w, Point client) = 0;
  virtual void listViewSetHot(Wnd w, int row) = 0;   // -1 = none
  virtual int listViewTopIndex(Wnd w) = 0;           // LVM_GETTOPINDEX
  // Scrolls by rows (negative: up), stopping at the first row and where the
  // last row shows at the bottom (LVM_SCROLL).
  virtual void listViewScroll(Wnd w, int rows) = 0;
  virtual int listViewRowHeight(Wnd w) = 0;          // pixels; 0 when none
  // The width of the one column (LVM_SETCOLUMNWIDTH). At creation it is the
  // client area's width, so rows wider than the area left beside a
  // vertical scroll bar bring a horizontal one.
  virtual void listViewSetColumnWidth(Wnd w, int width) = 0;
  // The item of a list box at a point of its client area (LB_ITEMFROMPOINT);
  // -1 when w is no list box or the point lies below the last item.
  virtual int listItemFromPoint(Wnd w, Point client) = 0;

 protected:
  ~Controls() = default;
};

// The pointer and the keyboard: state, capture, and synthesised input.
class Input {
 public:
  virtual Point getCursorPos() = 0;
  virtual void setCursorPos(Point p) = 0;
  virtual bool isKeyDown(int vk) = 0;                    // GetAsyncKeyState < 0
  virtual void setCapture(Wnd w) = 0;
  virtual void releaseCapture() = 0;
  virtual void setCursorShape(CursorShape shape) = 0;
  virtual void keybdEvent(int vk, int scan, unsigned flags) = 0;
  virtual void mouseEvent(unsigned flags, int dx, int dy, int data) = 0;
  virtual unsigned getCaretBlinkTime() = 0;
  virtual int getSystemMetrics(int index) = 0;           // sm::

 protected:
  ~Input() = default;
};

// The hook library: installing it, where its words go, and drag-scrolling on its thread.
class Hooks {
 public:
  // Loads the hook library and installs both hooks for `input`, the
  // window that receives the words: SetHookmo(input, 1), then
  // SetHookkb(input, 1, 3). Both exports are looked up before either is
  // called: a missing one releases the library with no hook in place.
  virtual HookInstall installHooks(const std::string& library, Wnd input) = 0;
  // The window whose caption the hook library's words for `box` go to;
  // 0 drops them. A destroyed window drops them too.
  virtual void setHookMailbox(Mailbox box, Wnd w) = 0;
  // The hook library's words for a window are written into its caption one
  // at a time: a word waits while the caption holds a word that its reader
  // has not read yet (any change of the caption, by any writer, counts as
  // unread), and words wait in the order they came, a few at most (the
  // oldest is dropped beyond that). The reader calls this once it has read
  // the caption; the next waiting word is written after the running handler
  // returns.
  virtual void mailboxSeen(Wnd w) = 0;
  // Drag-scrolling: the hook thread is told a drag begins (it ends the drag
  // by itself on the user's release) or that the program ends it. Neither
  // waits for the hook thread. The state is what the hook thread last saw;
  // without hooks nothing is active and the user's button is the key state.
  virtual void dragScrollBegin(const DragScrollRequest& r) = 0;
  virtual void dragScrollEnd() = 0;
  virtual DragScrollState dragScrollState() = 0;

 protected:
  ~Hooks() = default;
};

// The clipboard's text.
class Clipboard {
 public:
  // The clipboard text when it is at most `maxBytes` long: true and the
  // text in `out`. A longer text is not converted or copied: false, `out`
  // empty.
  virtual bool getClipboardTextUpTo(std::size_t maxBytes, std::string& out) = 0;
  virtual bool setClipboardText(const std::string& text) = 0;
  virtual void closeClipboard() = 0;
  // Whether the clipboard's owner marked its content as private (password
  // managers do): the format "ExcludeClipboardContentFromMonitorProcessing"
  // or "Clipboard Viewer Ignore" present, or "CanIncludeInClipboardHistory"
  // holding 0. Such content is pasted as usual but never kept in a history.
  virtual bool clipboardPrivate() = 0;
  // A number the system raises at every change of the clipboard's content
  // (GetClipboardSequenceNumber), whoever made it and whatever the text.
  virtual std::uint32_t clipboardSequence() = 0;

 protected:
  ~Clipboard() = default;
};

// Time and timers.
class Clock {
 public:
  virtual std::uint32_t tickCount() = 0;                 // milliseconds
  virtual void sleep(unsigned ms) = 0;                   // blocks the GUI thread
  virtual void setTimer(Wnd owner, unsigned id, unsigned ms, TimerProc proc) = 0;
  virtual void killTimer(Wnd owner, unsigned id) = 0;

 protected:
  ~Clock() = default;
};

// The process: message boxes, the message loop and its end, other processes, the system's names.
class Process {
 public:
  virtual int messageBox(Wnd owner, const std::string& text,
                         const std::string& caption, unsigned buttons = mb::Ok) = 0;
  virtual int runMessageLoop() = 0;          // returns the exit code
  virtual void postQuit(int code) = 0;
  [[noreturn]] virtual void exitProcess(int code) = 0;
  // The program files of the processes asked for: one process snapshot,
  // then one module snapshot per process asked for that exists. Processes
  // not running are left out; each pid comes once, in snapshot order.
  virtual std::vector<ProcessImage> processImages(const std::vector<unsigned>& pids) = 0;
  // GetComputerNameA, GetUserNameA, GetSystemDirectoryA, GetWindowsDirectoryA
  // ("" when the call fails).
  virtual std::string systemString(SystemString which) = 0;
  // ExpandEnvironmentStringsA: each %NAME% of a set variable replaced by
  // its value, an unset one left as written; the result cut to 255 bytes.
  virtual std::string expandEnvironment(const std::string& text) = 0;

 protected:
  ~Process() = default;
};

// The shell: tray icons, application bars, opening files, links and icons; the registry (HKEY_CLASSES_ROOT).
class Shell {
 public:
  virtual bool trayAdd(const TrayIcon& icon) = 0;
  virtual bool trayModify(const TrayIcon& icon) = 0;
  virtual bool trayDelete(Wnd owner, unsigned id) = 0;
  virtual bool appBarNew(Wnd w) = 0;   // the backend picks the callback message
  virtual bool appBarSetPos(Wnd w, int edge, const Rect& r) = 0;
  virtual bool appBarRemove(Wnd w) = 0;
  virtual Rect taskbarRect() = 0;
  virtual int shellExecute(Wnd owner, const std::string& verb, const std::string& file,
                           const std::string& params, const std::string& dir,
                           int show) = 0;
  virtual std::optional<std::string> specialFolder(int csidl) = 0;
  virtual bool createShellLink(const std::string& linkPath, const ShellLink& link) = 0;
  // The small program icon of a file (SHGetFileInfo), an opaque handle the
  // backend keeps for the run; 0 = none.
  virtual std::uintptr_t fileIcon(const std::string& path) = 0;
  virtual bool regSetValue(const std::string& key, const std::string& name,
                           const std::string& value) = 0;   // creates the key
  virtual bool regDeleteKey(const std::string& key) = 0;   // fails with subkeys

 protected:
  ~Shell() = default;
};

// Files, relative to the current directory.
class Files {
 public:
  virtual std::string currentDirectory() = 0;
  virtual bool fileExists(const std::string& name) = 0;
  // Reads at most `maxBytes`: Whole when that is the whole file, Partial
  // when the file is longer (`out` holds its first `maxBytes` bytes),
  // Failed when it could not be opened or a read failed.
  enum class ReadResult { Failed, Whole, Partial };
  virtual ReadResult readFileUpTo(const std::string& name, std::size_t maxBytes,
                                  std::string& out) = 0;
  // Replaces the file in one step: the data goes to a temporary file beside
  // it, which then takes the file's place. A failure at any point leaves
  // the old file as it was.
  virtual bool writeFile(const std::string& name, const std::string& data) = 0;
  virtual bool deleteFile(const std::string& name) = 0;
  // Names of the files (not folders) in a folder, sorted byte-wise; empty
  // when there is no such folder. At most `max` names.
  virtual std::vector<std::string> listFiles(const std::string& dir, std::size_t max) = 0;

 protected:
  ~Files() = default;
};

// The web browser control.
class Browsers {
 public:
  // A browser control filling `host` (a Kind::Browser child). `events` may
  // be null: nothing is told then, and pages' new windows are dropped.
  virtual std::unique_ptr<WebBrowser> createBrowser(Wnd host, BrowserEvents* events) = 0;

 protected:
  ~Browsers() = default;
};

// How a window's own events reach the core. Each handler runs on the GUI
// thread as a handler of its own (after the running one, for posted
// input); a window destroyed meanwhile gets nothing.
class Events {
 public:
  // How a window's own events reach the core. Each handler runs on the GUI
  // thread as a handler of its own (after the running one, for posted
  // input); a window destroyed meanwhile gets nothing.
  // A click on a control: button notification, list selection by the user,
  // or the left button pressed and released on a panel or label.
  virtual void setClickHandler(Wnd w, std::function<void()> fn) = 0;
  // The user or another program asks a form to close (WM_CLOSE): runs `fn`
  // instead of destroying the window.
  virtual void setCloseHandler(Wnd w, std::function<void()> fn) = 0;
  // Mouse, keyboard and activation events of a window (see UiEvent).
  virtual void setEventHandler(Wnd w, UiEventHandler fn) = 0;
  // Mouse events on the tray icons owned by `owner`.
  virtual void setTrayHandler(Wnd owner, std::function<void(TrayEvent)> fn) = 0;
  // Shows a popup menu at a screen point and waits until it closes
  // (TrackPopupMenu). Returns the index of the chosen entry, or -1.
  struct MenuEntry {
    std::string caption;
    bool enabled = true;
    bool separator = false;
  };
  virtual int trackPopupMenu(Wnd owner, const std::vector<MenuEntry>& entries, Point at) = 0;

 protected:
  ~Events() = default;
};

}  // namespace role

// Every role, from one object: the backend the program or a test runs on.
class Platform : public role::Windows, public role::Tree, public role::Display,
                 public role::Controls, public role::Input, public role::Hooks,
                 public role::Clipboard, public role::Clock, public role::Process,
                 public role::Shell, public role::Files, public role::Browsers,
                 public role::Events {
 public:
  virtual ~Platform() = default;

  role::Windows& windows() { return *this; }
  role::Tree& tree() { return *this; }
  role::Display& display() { return *this; }
  role::Controls& controls() { return *this; }
  role::Input& input() { return *this; }
  role::Hooks& hooks() { return *this; }
  role::Clipboard& clipboard() { return *this; }
  role::Clock& clock() { return *this; }
  role::Process& process() { return *this; }
  role::Shell& shell() { return *this; }
  role::Files& files() { return *this; }
  role::Browsers& browsers() { return *this; }
  role::Events& events() { return *this; }
};

// The window class of popup menus, the system's for every program.
inline constexpr char kPopupMenuClass[] = "#32768";

// The window without a parent that holds the point (0 where there is none);
// the bound only guards against a broken parent chain.
inline Wnd TopLevelAt(Platform& p, Point pt) {
  Wnd w = p.windowFromPoint(pt);
  for (int depth = 0; w && depth < 256; ++depth) {
    const Wnd parent = p.getParent(w);
    if (!parent) break;
    w = parent;
  }
  return w;
}

// Terminates a handler the way the framework's exceptions do; the sim's
// exitProcess throws this so a test can observe an exit code.
struct ProcessExit {
  int code;
};

}  // namespace sq
