// The simulated desktop: a complete sq::Platform for the tests on Linux.
//
// It keeps a window tree with z-order, a pointer and a keyboard, a virtual
// clock with Win32-like timers, a clipboard, a registry, shell records, a
// work directory for files, and one ordered record of everything the
// program synthesises (keys, mouse events, cursor moves) and of every
// caption change. Foreign windows (a text editor, a web page, a menu) are
// added by the tests.
//
// Time. Nothing runs by itself: a test calls advance(ms), which moves the
// virtual clock and fires due timers in due-time order. A timer callback
// counts as a "handler": while one runs, keybdEvent and mouseEvent are
// recorded at once but take effect (key state, hook, delivery to the focused
// window) only after the handler returns, in the order they were made, the
// way synthesised input waits in the system while the GUI thread is busy.
// sleep(ms) moves the clock without running any timer.
//
// Real input. moveMouse, leftDown, keyDown, typeText... behave like the
// user's hands: they update the pointer and key state, pass through the hook
// (once the program has installed it) and reach the focused window.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "input/dragscroll.h"
#include "input/hookwatch.h"
#include "input/hookwords.h"
#include "input/worddelivery.h"
#include "platform/platform.h"
#include "platform/sim/simbrowser.h"
#include "platform/sim/simbrowsers.h"
#include "platform/sim/simbuttons.h"
#include "platform/sim/simclipboard.h"
#include "platform/sim/simclock.h"
#include "platform/sim/simdrag.h"
#include "platform/sim/simfiles.h"
#include "platform/sim/simhandlers.h"
#include "platform/sim/simhooks.h"
#include "platform/sim/simkeyboard.h"
#include "platform/sim/simmailboxes.h"
#include "platform/sim/simmenus.h"
#include "platform/sim/simmessages.h"
#include "platform/sim/simprocess.h"
#include "platform/sim/simqueue.h"
#include "platform/sim/simrecord.h"
#include "platform/sim/simregistry.h"
#include "platform/sim/simscreen.h"
#include "platform/sim/simscrolling.h"
#include "platform/sim/simshell.h"
#include "platform/sim/simsystem.h"
#include "platform/sim/simtaskbar.h"
#include "platform/sim/simwindowtree.h"

namespace sq {

// The hook library's entry points as the simulator hands them out:
// SetHookmo(hwnd, 1), SetHookkb(hwnd, 1, 3).
using HookExport2 = std::function<void(Wnd, int)>;
using HookExport3 = std::function<void(Wnd, int, int)>;

class SimDesktop;

class SimDesktop : public Platform {
 public:
  using HookLibrary = SimModules::HookLibrary;

  explicit SimDesktop(int screenWidth = 1024, int screenHeight = 768);
  ~SimDesktop() override;
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;

  // =================== readers for the tests ===================
  // What the program never asks of the system but a test checks: is a
  // window topmost, which list-view row is hot, what the clipboard, a file
  // or a registry value holds; a foreign program's shaped window or posted
  // message.
  bool isTopmost(Wnd w);
  void setWindowRgn(Wnd w, Region shape, const Rect& r);
  bool postMessage(Wnd w, unsigned msg, std::uintptr_t wp, std::intptr_t lp);
  int listViewHot(Wnd w);
  std::string getClipboardText() { return clipboard_.text(); }
  bool regKeyExists(const std::string& key);
  bool readFile(const std::string& name, std::string& out);
  std::optional<std::string> regGetValue(const std::string& key,
                                         const std::string& name);

  // =================== Platform ===================
  Wnd createWindow(const WindowSpec& desc) override;
  void destroyWindow(Wnd w) override;
  bool isWindow(Wnd w) override;
  std::string getWindowText(Wnd w) override;
  std::string getWindowTextUpTo(Wnd w, std::size_t maxBytes) override;
  void setWindowText(Wnd w, const std::string& text) override;
  void setTextAlign(Wnd w, TextAlign align) override;
  TextAlign textAlign(Wnd w) const;  // for the tests
  std::string getClassName(Wnd w) override;
  Rect getBounds(Wnd w) override;
  void setBounds(Wnd w, const Rect& r) override;
  Rect getWindowRect(Wnd w) override;
  // Inside the window's edge (setClientEdge), the whole window otherwise.
  Rect getClientScreenRect(Wnd w) override;
  void showWindow(Wnd w, bool show) override;
  // The window's own style bit, as a control's Visible property reads;
  // isShown() also asks the ancestors.
  bool isWindowVisible(Wnd w) override;
  void enableWindow(Wnd w, bool enable) override;
  bool isWindowEnabled(Wnd w) override;
  void setWindowPos(Wnd w, ZOrder z, const Rect& r, unsigned flags) override;
  bool bringWindowToTop(Wnd w) override;
  bool setForegroundWindow(Wnd w) override;
  Wnd setActiveWindow(Wnd w) override;
  Wnd getForegroundWindow() override;
  Wnd getParent(Wnd w) override;
  bool isChild(Wnd parent, Wnd w) override;
  Wnd windowFromPoint(Point p) override;
  Wnd getTopWindow() override;
  std::vector<Wnd> enumWindows() override;
  Wnd findWindow(const std::string& className,
                 const std::optional<std::string>& caption = {}) override;
  bool setWindowRgnFromPicture(Wnd w, int width, int height,
                               const std::vector<int>& pixels, int key) override;
  bool setPicture(Wnd w, int width, int height, const std::vector<int>& pixels) override;
  void closeWindow(Wnd w) override;
  unsigned windowProcessId(Wnd w) override;
  WindowState windowState(Wnd w) override;
  void restoreWindow(Wnd w) override;
  void setFocus(Wnd w) override;

  void mailboxSeen(Wnd w) override;

  int listCount(Wnd w) override;
  std::string listItem(Wnd w, int i) override;
  void listInsert(Wnd w, int i, const std::string& s) override;
  void listDelete(Wnd w, int i) override;
  void listSet(Wnd w, int i, const std::string& s) override;
  void listClear(Wnd w) override;
  int listSelected(Wnd w) override;
  void listSelect(Wnd w, int i) override;
  bool isChecked(Wnd w) override;
  void setChecked(Wnd w, bool on) override;
  int listViewAdd(Wnd w, const std::string& caption, std::uintptr_t icon) override;
  int listViewHitTest(Wnd w, Point client) override;
  void listViewSetHot(Wnd w, int row) override;
  int listViewTopIndex(Wnd w) override;
  void listViewScroll(Wnd w, int rows) override;
  int listViewRowHeight(Wnd w) override;
  void listViewSetColumnWidth(Wnd w, int width) override;
  // What the user sees of a list view: a vertical scroll bar (17 px) when
  // its rows do not all fit, and a horizontal one when the column is wider
  // than the client area left beside it.
  bool listViewScrollsDown(Wnd w) const;
  bool listViewScrollsSideways(Wnd w) const;
  int listItemFromPoint(Wnd w, Point client) override;
  static constexpr int kListBoxRowHeight = 13;  // the 9-pt font's item height
  // The icon handle of a list view's row (0 none or out of range).
  std::uintptr_t listViewIcon(Wnd w, int row) const;
  static constexpr int kListRowHeight = 18;  // a small icon and the 9-pt font, spaced

  Point getCursorPos() override { return cursor_; }
  void setCursorPos(Point p) override;
  bool isKeyDown(int vk) override;
  void setCapture(Wnd w) override { capture_ = w; }
  void releaseCapture() override { capture_ = 0; }
  void setCursorShape(CursorShape s) override { cursorShapes_.push_back(s); }
  void keybdEvent(int vk, int scan, unsigned flags) override;
  void mouseEvent(unsigned flags, int dx, int dy, int data) override;
  unsigned getCaretBlinkTime() override { return caretBlink_; }
  int getSystemMetrics(int index) override;
  void dragScrollBegin(const DragScrollRequest& r) override;
  void dragScrollEnd() override;
  DragScrollState dragScrollState() override;

  bool getClipboardTextUpTo(std::size_t maxBytes, std::string& out) override {
    return clipboard_.textUpTo(maxBytes, out);
  }
  bool setClipboardText(const std::string& text) override;
  void closeClipboard() override {}
  bool clipboardPrivate() override { return clipboard_.isPrivate(); }
  std::uint32_t clipboardSequence() override { return clipboard_.sequence(); }

  std::uint32_t tickCount() override { return clock_.tickCount(); }
  void sleep(unsigned ms) override;
  void setTimer(Wnd owner, unsigned id, unsigned ms, TimerProc proc) override;
  void killTimer(Wnd owner, unsigned id) override;

  int messageBox(Wnd owner, const std::string& text, const std::string& caption,
                 unsigned buttons = mb::Ok) override {
    return process_.messageBox(owner, text, caption, buttons);
  }
  int runMessageLoop() override;
  void postQuit(int code) override { process_.postQuit(code); }
  [[noreturn]] void exitProcess(int code) override { process_.exit(code); }
  // Loads "dovahk1.dll" with loadLibrary and calls its two exports, as the
  // real backend does; the library's presence is set by setHookLibrary.
  HookInstall installHooks(const std::string& library, Wnd input) override;
  void setHookMailbox(Mailbox box, Wnd w) override;
  std::vector<ProcessImage> processImages(const std::vector<unsigned>& pids) override {
    return system_.processImages(pids);
  }
  std::string systemString(SystemString which) override { return system_.systemString(which); }
  std::string expandEnvironment(const std::string& text) override {
    return system_.expandEnvironment(text);
  }

  bool trayAdd(const TrayIcon& icon) override { return taskbar_.trayAdd(icon); }
  bool trayModify(const TrayIcon& icon) override { return taskbar_.trayModify(icon); }
  bool trayDelete(Wnd owner, unsigned id) override { return taskbar_.trayDelete(owner, id); }
  bool appBarNew(Wnd w) override { return taskbar_.appBarNew(w); }
  bool appBarSetPos(Wnd w, int edge, const Rect& r) override {
    return taskbar_.appBarSetPos(w, edge, r);
  }
  bool appBarRemove(Wnd w) override { return taskbar_.appBarRemove(w); }
  Rect taskbarRect() override { return taskbar_.rect(); }
  int shellExecute(Wnd owner, const std::string& verb, const std::string& file,
                   const std::string& params, const std::string& dir, int show) override {
    return shell_.execute(owner, verb, file, params, dir, show);
  }
  std::optional<std::string> specialFolder(int csidl) override {
    return shell_.specialFolder(csidl);
  }
  bool createShellLink(const std::string& linkPath, const ShellLink& link) override {
    return shell_.createLink(linkPath, link);
  }
  std::uintptr_t fileIcon(const std::string& path) override { return shell_.fileIcon(path); }

  bool regSetValue(const std::string& key, const std::string& name,
                   const std::string& value) override;
  bool regDeleteKey(const std::string& key) override;

  int screenWidth() override { return screen_.width(); }
  int screenHeight() override { return screen_.height(); }
  int getPixel(Point p) override { return screen_.pixel(p); }
  std::vector<Monitor> monitors() override { return screen_.monitors(); }
  void setFontDpi(Wnd w, int dpi) override;

  std::string currentDirectory() override { return files_.currentDirectory(); }
  bool fileExists(const std::string& name) override;
  ReadResult readFileUpTo(const std::string& name, std::size_t maxBytes,
                          std::string& out) override;
  // Writes "NAME.sq~" beside the file and renames it over the file.
  bool writeFile(const std::string& name, const std::string& data) override;
  bool deleteFile(const std::string& name) override;
  std::vector<std::string> listFiles(const std::string& dir, std::size_t max) override;

  std::unique_ptr<WebBrowser> createBrowser(Wnd host, BrowserEvents* events) override;

  // Events of the program's windows. A left click (down and up over the
  // same control, real or synthesised) runs the control's click handler;
  // WM_CLOSE runs the close handler; a posted message runs its handler.
  // Each runs as a handler, after the running one if any.
  // Control events (simevents.cpp) come from the real-input calls and from
  // synthesised input once it takes effect: mouse events go to the
  // program's control under the pointer that Windows would give them to
  // (shown, enabled, not covered; the captured window while there is one;
  // a push button, edit or list keeps the left button's events from its
  // press to its release), keys and the wheel to the focused window;
  // activation events go with every change of the foreground window.
  void setClickHandler(Wnd w, std::function<void()> fn) override;
  void setCloseHandler(Wnd w, std::function<void()> fn) override;
  void setEventHandler(Wnd w, UiEventHandler fn) override;
  void setTrayHandler(Wnd owner, std::function<void(TrayEvent)> fn) override;
  // A handler for a message posted to a window (postMessage), for foreign
  // windows made by the tests.
  void setMessageHandler(Wnd w, unsigned msg,
                         std::function<void(std::uintptr_t, std::intptr_t)> fn);
  // Records the menu and answers with the next queued choice, else -1.
  int trackPopupMenu(Wnd owner, const std::vector<MenuEntry>& entries, Point at) override {
    return menus_.track(owner, entries, at);
  }

  // =================== for the tests ===================

  // ---- screen ----
  // The main monitor's size (the only monitor unless setMonitors says more).
  void setScreenSize(int w, int h);
  // The desktop's monitors, as the user plugs, unplugs, arranges and scales
  // them; the main one (primary, else the first) must start at 0, 0.
  // As on Windows: the pointer is kept on a monitor; every top-level window
  // whose monitor's DPI is now another gets the DPI-changed message, then
  // every top-level window the display-change message. Windows stay where
  // they are.
  void setMonitors(std::vector<Monitor> ms);
  void setPixelSource(std::function<int(Point)> f) { screen_.setPixelSource(std::move(f)); }

  // ---- windows ----
  // A foreign top-level window (parent 0, bounds on the screen) or child
  // (bounds relative to the parent). Shown, enabled, on top of its band.
  Wnd addWindow(const std::string& className, const std::string& caption, Rect r,
                Wnd parent = 0);
  // A text editor: top-level "Notepad" window with an "Edit" child filling
  // it; it becomes the foreground window with the focus on the Edit.
  Wnd addTextEditor(Rect r, const std::string& caption = "无标题 - 记事本");
  // The Edit child of an editor (given the editor or the Edit itself).
  Wnd editorEdit(Wnd w);
  std::string editorText(Wnd w);
  // Replaces the text; the caret goes to the end, nothing selected.
  void setEditorText(Wnd w, const std::string& text);
  // Selects bytes [start, end); the caret is at `end`.
  void setSelection(Wnd w, std::size_t start, std::size_t end);
  std::string selectionText(Wnd w);
  std::size_t caretPos(Wnd w);

  // ---- scrolling of foreign windows ----
  // Content of `lines` lines of `lineHeight` pixels that scrolls by the
  // messages a window of its class takes (edit, rich edit: lines; list box:
  // line steps; list view: pixels; every window: the wheel, 3 lines a
  // notch, unless `takesWheel` is off). Text editors have it already, their
  // lines being their text's.
  void setScrollContent(Wnd w, int lines, int lineHeight, bool takesWheel = true);
  int firstVisibleLine(Wnd w) const;  // 0 when the window has no content
  int wheelReceived(Wnd w) const;     // sum of the wheel deltas it was sent
  // Every scroll the hook applied: "Edit lines -3", "AppWnd wheel 120".
  const std::vector<std::string>& scrollLog() const { return scrolling_.log(); }
  // A foreign editor selects from the line pressed to the line under the
  // pointer while it sees the left button held and the pointer move.

  // The window tree as text, top-level windows in z-order, children
  // indented (last created first, as they lie on top), for failure messages.
  std::string describe() const;
  // Own bit and every ancestor's: whether the window can be seen at all.
  bool isShown(Wnd w) const;
  const SimWindow* window(Wnd w) const;
  SimWindow* window(Wnd w);
  std::vector<Wnd> children(Wnd w) const;
  Wnd topLevelOf(Wnd w) const;
  // The descendant of `top` whose layout name is `name` (0 when none).
  Wnd findControl(Wnd top, const std::string& name) const;
  // The window of a form class, then its control by layout name.
  Wnd findControl(const std::string& formClass, const std::string& name);
  Wnd focusWindow() const { return focus_; }
  Wnd captureWindow() const { return capture_; }
  const std::vector<CursorShape>& cursorShapes() const { return cursorShapes_; }
  // The program's window the pointer is over, as its events told (0 none).
  Wnd hoverWindow() const { return hover_; }
  bool hasEventHandler(Wnd w) const { return handlers_.hasEvent(w); }
  // Hands w one event as a backend would, at once: for tests of the
  // framework against event orders Windows may produce (a leave that never
  // comes). False when w has no handler.
  bool sendRawEvent(Wnd w, UiEvent e);
  // The double-click time (ms) and the square a second press must fall in.
  void setDoubleClickTime(unsigned ms) { buttons_.setDoubleClickTime(ms); }
  // Label, Image and Shape controls have no window of their own in the
  // framework, so the pointer finds what lies under them; off by this call.
  void setGraphicControlsTransparent(bool on) { tree_.setGraphicsTransparent(on); }
  // A click on one of the program's own windows activates it, as a click
  // on any window does; off by this call (foreign windows still activate).
  void setOwnWindowsActivateOnClick(bool on) { activateOwnOnClick_ = on; }
  // Button grab as Wine under X has it: while any mouse button is held,
  // every press and release goes to the window the first held button was
  // pressed on, whatever is under the pointer now (Windows itself sends
  // each to the window under the pointer; a program that works here works
  // there too).
  void setButtonGrab(bool on) { buttons_.setGrabs(on); }
  void setWindowProcessId(Wnd w, unsigned pid);
  // A foreign window minimised by its user, or given extended styles.
  void setMinimized(Wnd w, bool on);
  void setExtendedStyle(Wnd w, bool toolWindow, bool appWindow);
  unsigned ownProcessId() const { return ownPid_; }
  const std::vector<SimPostedMessage>& postedMessages() const {
    return messages_.postedMessages();
  }
  const std::vector<Wnd>& closeRequests() const { return messages_.closeRequests(); }
  // Foreign windows asked to close are destroyed unless this is set.
  void setForeignWindowsIgnoreClose(bool on) { messages_.setForeignIgnoreClose(on); }
  void setCaretBlinkTime(unsigned ms) { caretBlink_ = ms; }

  // ---- time ----
  // Moves the clock forward by ms, firing due timers (and applying the
  // input they synthesised) on the way.
  void advance(unsigned ms);
  // The system clock jumps forward without the program running (a machine
  // waking from sleep; near 2^32 ms the tick count wraps). Timers that fell
  // due meanwhile fire once at the next advance.
  void jumpClock(std::uint64_t ms) {
    if (!queue_.busy()) clock_.jump(ms);
  }
  // The user's hands during the program's next sleep: `hands` runs (real
  // input, hook words queued behind the sleeping handler) once the clock
  // has moved by that sleep.
  void duringNextSleep(std::function<void()> hands) { duringSleep_ = std::move(hands); }
  // Runs fn as a handler would run: its synthesised input waits until it
  // returns. For start-up code and similar calls made outside a timer.
  void runAsHandler(const std::function<void()>& fn);
  bool inHandler() const { return queue_.busy(); }
  bool hasTimer(Wnd owner, unsigned id) const;
  std::size_t timerCount() const;
  // Interval of a running timer, 0 when none.
  unsigned timerInterval(Wnd owner, unsigned id) const;

  // ---- window events ----
  // Runs the click handler of w as a click would; false when it has none.
  bool runClickHandler(Wnd w);
  bool hasClickHandler(Wnd w) const { return handlers_.hasClick(w); }
  bool hasCloseHandler(Wnd w) const { return handlers_.hasClose(w); }
  // Moves the pointer to the middle of w's screen rectangle and clicks.
  void clickWindow(Wnd w);
  // The user clicks the tray icon `id` with a button: down then up reach
  // its owner's tray handler. False when there is no such icon.
  bool trayClick(unsigned id, MouseButton button);
  // One mouse message on the icon, by its number (0x201 left down, 0x202
  // left up, 0x204 right down, 0x205 right up, 0x203 left double click).
  bool trayMessage(unsigned id, unsigned mouseMessage);
  using PopupMenuRecord = SimPopupMenu;
  const std::vector<PopupMenuRecord>& popupMenus() const { return menus_.shown(); }
  // The next popup menu chooses this entry (index, or the first entry with
  // this caption); -1 dismisses it.
  void queueMenuChoice(int index) { menus_.queueChoice(index); }
  void queueMenuChoice(const std::string& caption) { menus_.queueChoice(caption); }

  // ---- real input ----
  void moveMouse(int x, int y);
  void leftDown();
  void leftUp();
  void rightDown();
  void rightUp();
  void middleDown();
  void middleUp();
  void wheel(int notches);  // +1 = one notch up (away from the user)
  void click() { leftDown(); leftUp(); }
  void keyDown(int vk);
  void keyUp(int vk);
  void tapKey(int vk) { keyDown(vk); keyUp(vk); }
  // The key goes up where neither the hook nor any window hears of it: on
  // the secure desktop (Ctrl+Alt+Del, Win+L) or behind a UAC prompt. Only
  // the key state follows.
  void keyUpUnseen(int vk);
  // Timed hands: each edge `ms` after the one before, the clock (and the
  // program's ticks) running in between, so a tap may be shorter than a
  // tick. chord({17, 'C'}, 5) is Ctrl down, 5 ms, C down, 5 ms, C up,
  // 5 ms, Ctrl up: keys go down in order and up in reverse order.
  void tapKey(int vk, unsigned ms) { keyDown(vk); advance(ms); keyUp(vk); }
  void chord(const std::vector<int>& keys, unsigned ms);
  void click(unsigned ms) { leftDown(); advance(ms); leftUp(); }
  void rightClick(unsigned ms) { rightDown(); advance(ms); rightUp(); }
  // Auto-repeat, as a keyboard makes it: the key pressed last, while it is
  // held, goes down again after the typematic delay and then at the
  // typematic rate, key-downs with no key-up between them, each passing the
  // hook and reaching the focused window like the first. It stops when
  // that key goes up or another is pressed. Windows' defaults: 500 ms,
  // about 30 a second. The program's synthesised keys do not repeat.
  static constexpr unsigned kTypematicDelayMs = SimKeyboard::kTypematicDelayMs,
                            kTypematicPeriodMs = SimKeyboard::kTypematicPeriodMs;
  void setTypematic(unsigned delayMs, unsigned periodMs) {
    keyboard_.setTypematic(delayMs, periodMs);
  }
  // Types ASCII text: letters (Shift for capitals), digits, space, Enter
  // for '\n' and a few punctuation keys.
  void typeText(const std::string& ascii);

  // ---- hook library ----
  void setHookLibrary(HookLibrary h) { modules_.setHookLibrary(h); }
  Module loadLibrary(const std::string& name);  // 0 on failure
  // Unloads the library. A hook thread it started goes on running in code
  // that is no longer there: the next event its hooks see crashes the
  // process (std::runtime_error), as it does on Windows.
  void freeLibrary(Module m);
  HookExport2 getExport2(Module m, const std::string& name);
  HookExport3 getExport3(Module m, const std::string& name);
  Wnd hookMailbox(Mailbox box) const { return mailboxes_.named(box); }
  // The system takes the low-level hooks away without telling anyone, as
  // Windows does when a callback overran LowLevelHooksTimeout: input goes
  // on reaching the windows and the hooks see none of it until the hook
  // library sets them again. The library's thread runs its watch
  // (input/hookwatch.h) every HookWatch::kCheckMs against the system's
  // time of the last input, as it does on Windows.
  void removeHooks();
  int hookReinstalls() const { return hooks_.reinstalls(); }
  // The user's hands act as the program next asks for a drag, before the
  // request reaches the hook thread (the GUI thread was held up between
  // reading the drag state and asking).
  void duringNextDragRequest(std::function<void()> hands) {
    drag_.duringNextRequest(std::move(hands));
  }
  bool mouseHookInstalled() const { return hooks_.mouse(); }
  bool keyboardHookInstalled() const { return hooks_.keyboard(); }
  Wnd hookWindow() const { return hooks_.window(); }
  const std::vector<std::string>& libraryLoads() const { return modules_.loads(); }
  const std::vector<Module>& libraryFrees() const { return modules_.frees(); }
  // The hook's words as they were delivered, in delivery order: written
  // into their caption (applied), refused (no such window, or the caption
  // did not read the word's condition) or dropped from a full waiting line.
  // A word still waiting for its reader is not in the record yet.
  using HookWordRecord = SimHookWord;
  const std::vector<HookWordRecord>& hookWords() const { return mailboxes_.delivered(); }
  // Words waiting for the reader of w to read its caption.
  std::size_t waitingWords(Wnd w) const { return mailboxes_.waiting(w); }
  std::uint64_t droppedWords() const { return mailboxes_.dropped(); }

  // ---- process ----
  bool quitPosted() const { return process_.quitPosted(); }
  int quitCode() const { return process_.quitCode(); }
  std::optional<int> exitCode() const { return process_.exitCode(); }
  // runMessageLoop advances the clock by up to this many ms (in 10 ms
  // steps) waiting for a quit; 0 (the default) returns at once.
  void setMessageLoopBudget(unsigned ms) { process_.setLoopBudget(ms); }
  void setProcesses(std::vector<ProcessInfo> p) { system_.setProcesses(std::move(p)); }
  // Snapshots of the running processes: a process whose modules cannot be
  // listed (another user's, a protected one) answers with its bare
  // executable name. Counts of the snapshots taken and of the icon lookups
  // (fileIcon), as a system monitor would see them.
  void setProcessModulesHidden(unsigned pid, bool hidden) {
    system_.setModulesHidden(pid, hidden);
  }
  int processSnapshots() const { return system_.processSnapshots(); }
  int moduleSnapshots() const { return system_.moduleSnapshots(); }
  // Icon lookups the shell answered: fileIcon keeps each path's first
  // answer for the run, as the Windows backend does.
  int fileIconLookups() const { return shell_.fileIconLookups(); }
  // Sets a foreign window's whole extended style (WS_EX_ bits): the tool,
  // task-bar, topmost and raised-edge bits act as their own flags do, the
  // rest is kept as given.
  void setExtendedStyleBits(Wnd w, unsigned exStyle);
  // The system's strings and environment as the system report reads them.
  void setSystemString(SystemString which, const std::string& v) {
    system_.setSystemString(which, v);
  }
  void setEnvironment(const std::string& name, const std::string& v) {
    system_.setEnvironment(name, v);
  }
  const std::vector<SimMessageBox>& messageBoxes() const { return process_.messageBoxes(); }
  // Answer of the next message boxes (default idans::Ok); queued answers
  // are used first, one per box.
  void setMessageBoxAnswer(int a) { process_.setMessageBoxAnswer(a); }
  // The user's hands while the next message box is up (real input, the
  // hooks seeing it as ever), before it is answered.
  void duringNextMessageBox(std::function<void()> hands) {
    process_.duringNextMessageBox(std::move(hands));
  }
  void queueMessageBoxAnswer(int a) { process_.queueMessageBoxAnswer(a); }

  // ---- clipboard ----
  int clipboardWrites() const { return clipboard_.writes(); }
  // Another program puts text on the clipboard with one of the private
  // marks (any write of the clipboard afterwards clears the mark, as
  // EmptyClipboard does).
  using ClipboardMark = SimClipboard::Mark;
  void setClipboardMarked(const std::string& text, ClipboardMark mark) {
    clipboard_.writeMarked(text, mark);
  }

  // ---- shell ----
  const std::vector<TrayIcon>& trayIcons() const { return taskbar_.trayIcons(); }
  const std::vector<std::string>& trayLog() const { return taskbar_.trayLog(); }  // "add 1", ...
  const std::vector<SimAppBar>& appBars() const { return taskbar_.appBars(); }
  // Desktop toolbars: the shell refuses new registrations while set. A
  // shell that reserves (Windows) takes each bar's band off the work area
  // of the main monitor; one that does not (Wine, as measured) keeps the
  // work area whole while still placing the bars.
  void setAppBarsRefused(bool on) { taskbar_.setAppBarsRefused(on); }
  void setShellReservesAppBars(bool on) { taskbar_.setReservesAppBars(on); }
  // The main monitor's work area: the monitor less the task bar's and the
  // reserved toolbars' bands along the top edge.
  Rect workArea() const;
  // The user maximises a foreign window: it fills the work area of the
  // main monitor and stays maximised when moved.
  void maximizeWindow(Wnd w);
  void setTaskbarRect(const Rect& r) { taskbar_.setRect(r); }
  const std::vector<SimShellExecute>& shellExecutes() const { return shell_.executes(); }
  // Extension (".scf") with or without a handler; without, shellExecute
  // answers 31 (no association). By default ".scf" has none.
  void setShellAssociation(const std::string& ext, bool present) {
    shell_.setAssociation(ext, present);
  }
  void setSpecialFolder(int csidl, std::optional<std::string> path) {
    shell_.setSpecialFolder(csidl, std::move(path));
  }
  const std::map<std::string, ShellLink>& shellLinks() const { return shell_.links(); }
  void setFileIcon(const std::string& path, int icon) { shell_.setFileIcon(path, icon); }

  // ---- registry ----
  std::vector<std::string> registryKeys() const;  // as created, sorted

  // ---- files ----
  // The Linux directory that stands for the current directory.
  const std::string& workDir() const { return files_.workDir(); }
  void setCurrentDirectory(const std::string& winPath) { files_.setCurrentDirectory(winPath); }
  // Linux path of a file name as the program gives it.
  std::string hostPath(const std::string& name) const { return files_.hostPath(name); }
  // The process dies during the next file write after `bytes` bytes: the
  // write stops there, nothing is renamed, writeFile answers false (as far
  // as anyone is left to see it).
  void killNextWriteAfter(std::size_t bytes) { files_.killNextWriteAfter(bytes); }
  // Every read of a file fails (a disk error) while on.
  void setFileReadsFail(bool on) { files_.setReadsFail(on); }
  int fileWrites() const { return files_.writes(); }
  static constexpr const char* kTempSuffix = SimFiles::kTempSuffix;

  // ---- browsers ----
  const std::vector<SimBrowser*>& browsers() const { return browsers_.all(); }
  // What a browser shows for an address: its title and body text, or a
  // page made of HTML (title, text and links, see simbrowser.h). Without an
  // entry, a "file://" address of a file in the work directory shows that
  // file read as HTML; any other address is a page that cannot be had.
  void setPage(const std::string& url, const std::string& title, const std::string& text) {
    browsers_.setPage(url, title, text);
  }
  void setPageHtml(const std::string& url, const std::string& html) {
    browsers_.setPageHtml(url, html);
  }
  // When off, a navigation stops at readyState 3 after navigateComplete2
  // until the test calls SimBrowser::finishLoading().
  void setBrowsersCompleteAtOnce(bool on) { browsers_.setCompleteAtOnce(on); }

  // ---- the record ----
  const std::vector<SimEvent>& events() const { return record_.events(); }
  std::size_t mark() const { return record_.mark(); }
  std::vector<std::string> eventsSince(std::size_t mark, const EventFilter& filter = {}) const {
    return record_.since(mark, filter);
  }
  // Same, each prefixed with its time relative to `t0`: "+40 key 17 down".
  std::vector<std::string> timedEventsSince(std::size_t mark, std::uint32_t t0,
                                            const EventFilter& filter = {}) const {
    return record_.timedSince(mark, t0, filter);
  }
  void clearEvents() { record_.clear(); }

 private:
  friend class SimBrowser;
  // Runs fn as a handler now, or after the running handler returns.
  void dispatch(std::function<void()> fn);
  Wnd clickTarget(Point p) const { return tree_.clickTarget(p); }
  void deliverClose(Wnd w);

  SimWindow* rec(Wnd w) { return tree_.rec(w); }
  const SimWindow* rec(Wnd w) const { return tree_.rec(w); }
  Rect boundsOf(const SimWindow& r) const { return tree_.boundsOf(r); }
  Rect screenRect(const SimWindow& r) const { return tree_.screenRect(r); }
  void raise(Wnd w) { tree_.raise(w); }
  void activate(Wnd w);   // foreground + focus
  void eraseWindow(Wnd w);
  void logCaption(SimWindow& r, const std::string& old);

  void applyKey(int vk, bool up, bool injected, int scan);
  void applyMouse(unsigned flags, int dx, int dy, int data, bool injected);
  void hookKey(int vk, bool up, bool injected);
  // True when the hook keeps the event from every window; `at` is where the
  // event happens (a move's new point).
  bool hookMouse(MouseAction a, int delta, bool injected, Point at);
  // Scrolling of foreign windows (simscroll.cpp).
  void scrollBy(Wnd w, const ScrollStep& step);
  // The system's own work between the program's timers: auto-repeat and
  // the hook thread's turns (its queue and its watch timer).
  std::uint64_t nextSystemDue() const;
  void runSystemDue();
  void systemUntil(std::uint64_t t);
  void postToHookThread(std::function<void()> work);
  void inputSeen() { hooks_.inputSeen(); }
  // The hook thread puts the pointer back at the drag's anchor.
  void recentrePointer();
  void applyWords(const std::vector<Word>& words);
  void buttonDown();
  void deliverKey(int vk, bool up);
  // Control events (simevents.cpp).
  void raiseEvent(Wnd w, const UiEvent& e, std::function<void(const UiEvent&)> after = {});
  void sendEvent(Wnd w, UiEvent::Type type);  // activation: at once
  void pointerMoved();
  void mouseButtonEvent(MouseButton b, bool down, Wnd target);
  void wheelEvent(int delta);
  int listRowsShown(const SimWindow& r) const;
  void clampTop(SimWindow& r);
  void foregroundChanged(Wnd from, Wnd to);
  Wnd mouseTarget() const;
  Wnd ownMouseTarget() const;  // 0 unless one of the program's windows
  Point clientPoint(Wnd w) const;
  ShiftState shiftState() const { return keyboard_.shiftState(); }
  void programKey(SimWindow& r, int vk, bool up);
  void editorKey(SimWindow& e, int vk);
  void flushPending();
  void endHandler();

  // A top-level window's DPI by the system's rule (the monitor with the
  // largest share of it, else the nearest); sends the DPI-changed message
  // when it differs from the last.
  void updateSystemDpi(Wnd w);
  // The page window under the pointer hears of the pointer and the left
  // button (links: status text, clicks).
  void browserPointer();
  void browserButton(MouseButton b, bool down, Wnd target);

  // ---- the parts (each one's header says what it keeps) ----
  SimScreen screen_;
  SimWindowTree tree_;
  SimClock clock_;
  SimKeyboard keyboard_;
  SimQueue queue_;
  SimModules modules_;
  SimHooks hooks_;
  SimDrag drag_;
  SimMailboxes mailboxes_;
  SimProcess process_;
  SimSystem system_;
  SimClipboard clipboard_;
  SimTaskbar taskbar_;
  SimShell shell_;
  SimRegistry registry_;
  SimFiles files_;
  SimBrowsers browsers_;
  SimRecord record_;
  SimHandlers handlers_;
  SimMessages messages_;
  SimMenus menus_;
  SimButtons buttons_;
  SimScrolling scrolling_;

  // ---- the desktop's own state ----
  HookWords composer_;  // the hook library's words from its hooks' input
  Wnd foreground_ = 0, focus_ = 0, capture_ = 0;
  Wnd hover_ = 0;  // window that last got a mouse move
  bool movingPointer_ = false;
  Point cursor_{512, 384};
  std::vector<CursorShape> cursorShapes_;
  unsigned caretBlink_ = 530;
  bool activateOwnOnClick_ = true;
  unsigned ownPid_ = 4242;
  std::function<void()> duringSleep_;
};

}  // namespace sq
